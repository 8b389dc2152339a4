// The window program driven as a user drives it: menu items, keys and the
// mouse on the list, checked against the documents, the saved files and the
// simulated ORB-8's message log.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QUrl>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "controls/colorbutton.h"
#include "customdist/ui/customdistwin.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "editors/ui/aboutbox.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/memo.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "device/ui/midi.h"
#include "midi/midisystem.h"
#include "sim/factorybank.h"
#include "tests/apprig.h"
#include "tests/appwindow.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;


TEST(MainWindow, StartsWithANewProjectAndItsList) {
    App app;
    ASSERT_EQ(app.win->Documents().Windows().size(), 1);
    TProjectWindow* p = app.Project();
    EXPECT_EQ(p->Caption(), "NoName1");
    EXPECT_EQ(app.win->windowTitle(), "ORB-8ED - NoName1");
    EXPECT_EQ(app.WindowItems(), QStringList{"&1:NoName1*"});
    EXPECT_EQ(app.win->Documents().CurrentProject(), p);
    EXPECT_TRUE(app.Panel()->isEnabled());
    EXPECT_EQ(p->Grid()->CellText(1, 0), "U01");
    EXPECT_EQ(p->Grid()->CellText(80, 0), "u94");
    EXPECT_EQ(p->Grid()->CellText(1, 1), "        ");
    EXPECT_EQ(p->Grid()->CellText(7, 2), "OFF");
    EXPECT_EQ(Named<QLabel>(*app.Panel(), "PatchNo")->text(), "U01");
    // Enabling: nothing to paste yet, nothing to save.
    app.Idle();
    EXPECT_FALSE(app.Action("SaveMenu")->isEnabled());
    EXPECT_TRUE(app.Action("SaveAsMenu")->isEnabled());
    EXPECT_TRUE(app.Action("CopyMenu")->isEnabled());
    EXPECT_FALSE(app.Action("PasteMenu")->isEnabled());
    EXPECT_FALSE(app.Action("UploadMenu")->isEnabled());
    EXPECT_FALSE(app.Menu("ChanMenu")->isEnabled());
    EXPECT_EQ(app.Action("OnLineMenu")->text(), "On &Line");
    EXPECT_EQ(Named<TColorButton>(*app.Panel(), "OnLineBtn")->Color(), QColor(0, 0, 0x80));
    EXPECT_EQ(Named<TColorButton>(*app.Panel(), "OffLineBtn")->Color(), QColor(0, 0xFF, 0));
    EXPECT_EQ(app.Action("SaveMenu")->statusTip(), "Save this Project Overwritten");
    EXPECT_EQ(app.Action("SaveMenu")->toolTip(), "Save");
}

TEST(MainWindow, OpenByNameAndTheCommandLine) {
    TempDir dir;
    ProjectDocument saved;
    saved.comments[4] = "from disk";
    saved.fileName = dir.Path("Bank.ORB");
    ASSERT_TRUE(saved.Save().ok());

    App app({QString::fromStdString(saved.fileName)});
    ASSERT_EQ(app.win->Documents().Windows().size(), 1);  // no empty project besides
    EXPECT_EQ(app.Project()->Caption().toStdString(), saved.fileName);
    EXPECT_EQ(app.Project()->Document().comments[4], "from disk");
    EXPECT_EQ(app.win->windowTitle().toStdString(), "ORB-8ED - " + saved.fileName);

    EXPECT_EQ(app.win->OpenByName(QString::fromStdString(dir.Path("x.orbx"))), nullptr);
    EXPECT_EQ(app.win->Documents().Windows().size(), 1);

    // A path that does not exist: reported, and the blank window keeps it
    // for a later Save but is captioned as the new project it is.
    const std::string missing = dir.Path("new.orb");
    auto* w = app.win->OpenByName(QString::fromStdString(missing));
    EXPECT_EQ(app.dialogs.Last("error").toStdString(), missing + "can't be opened.\nNo such file or directory.");
    EXPECT_EQ(w->Caption(), "NoName2");
    EXPECT_EQ(w->Doc().FileName(), missing);
    // The bank turns up there (a disk plugged in again): Save asks before it
    // replaces what this window never read, and No leaves it as it is.
    WriteAll(missing, ReadAll(saved.fileName));
    App::Change(static_cast<TProjectWindow*>(w), [](ProjectDocument& d) { d.comments[0] = "blank"; });
    app.dialogs.yesNo = false;
    app.Action("SaveMenu")->trigger();
    EXPECT_NE(app.dialogs.Last("question").indexOf("already exists"), -1);
    EXPECT_EQ(app.dialogs.Count("saveas"), 1);  // offered another name instead, and cancelled
    EXPECT_EQ(ReadAll(missing), ReadAll(saved.fileName));
    app.dialogs.yesNo = true;
    app.Action("SaveMenu")->trigger();  // asked again, and replaced this time
    EXPECT_EQ(w->Caption().toStdString(), missing);
    EXPECT_FALSE(w->Doc().Modified());
    app.Action("SaveMenu")->trigger();  // its own file now: no question
    EXPECT_EQ(app.dialogs.Count("question"), 2);

    // A file that exists but is no project: no path is left behind, so Save
    // asks for a name instead of overwriting it.
    const std::string junk = dir.Path("junk.orb");
    WriteAll(junk, std::vector<std::uint8_t>(100, 7));
    auto* j = app.win->OpenByName(QString::fromStdString(junk));
    EXPECT_NE(app.dialogs.Last("error").indexOf("Nothing was loaded"), -1);
    EXPECT_EQ(j->Doc().FileName(), "");
    EXPECT_EQ(j->Caption(), "NoName3");
    app.Action("SaveMenu")->trigger();
    EXPECT_EQ(app.dialogs.Count("saveas"), 2);
    EXPECT_EQ(ReadAll(junk).size(), 100u);

    App english({"-E"}, true);
    EXPECT_EQ(english.win->Documents().Windows().size(), 1);

    // A bank dropped on the frame from a file manager opens; other files do not.
    const std::string other = dir.Path("other.orb");
    WriteAll(other, ReadAll(saved.fileName));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(other)),
                  QUrl::fromLocalFile(QString::fromStdString(dir.Path("notes.txt")))});
    const auto before = app.win->Documents().Windows().size();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(app.win.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(app.win.get(), &drop);
    ASSERT_EQ(app.win->Documents().Windows().size(), before + 1);
    EXPECT_EQ(app.win->Documents().Windows().last()->Doc().FileName(), other);

    // A file already open, by any spelling of its path, is not opened a second
    // time (a second copy's Save would overwrite the first's unsaved work):
    // its window comes to the front with that work.
    TProjectWindow* first = app.Project();
    App::Change(first, [](ProjectDocument& d) { d.comments[1] = "unsaved"; });
    const std::string spelled = dir.Path(".") + "/" + std::filesystem::path(saved.fileName).filename().string();
    EXPECT_EQ(app.win->OpenByName(QString::fromStdString(spelled)), first);
    EXPECT_EQ(app.win->Documents().Windows().size(), before + 1);
    EXPECT_EQ(app.win->Documents().Active(), first);
    EXPECT_EQ(first->Document().comments[1], "unsaved");
}

TEST(MainWindow, SaveAsGivesTheExtensionAndSaveClearsTheMark) {
    TempDir dir;
    App app;
    TProjectWindow* p = app.Project();
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("bank"))};
    app.Action("SaveAsMenu")->trigger();
    ASSERT_TRUE(std::filesystem::exists(dir.Path("bank.orb")));
    EXPECT_EQ(app.win->windowTitle().toStdString(), "ORB-8ED - " + dir.Path("bank.orb"));

    app.dialogs.saveNames = {QString::fromStdString(dir.Path("other.ORB"))};
    app.Action("SaveAsMenu")->trigger();
    EXPECT_TRUE(std::filesystem::exists(dir.Path("other.ORB")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("other.ORB.orb")));

    // A change marks the project, Save clears the mark.
    App::Change(p, [](ProjectDocument& d) { d.comments[2] = "three"; });
    ASSERT_TRUE(p->Doc().Modified());
    app.Idle();
    app.Action("SaveMenu")->trigger();
    ASSERT_FALSE(p->Doc().Modified());
    p->SetCurrentRow(3);
    app.Action("CopyMenu")->trigger();
    p->SetCurrentRow(4);
    app.Action("PasteMenu")->trigger();
    EXPECT_TRUE(p->Caption().endsWith("*"));
    app.Idle();
    EXPECT_TRUE(app.Action("SaveMenu")->isEnabled());
    app.Action("SaveMenu")->trigger();
    EXPECT_FALSE(p->Caption().endsWith("*"));

    // A cancelled dialog changes nothing; a name that exists once the
    // extension is added is asked about.
    app.Action("SaveAsMenu")->trigger();
    EXPECT_EQ(p->Doc().FileName(), dir.Path("other.ORB"));
    app.dialogs.yesNo = false;
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("bank"))};
    app.Action("SaveAsMenu")->trigger();
    EXPECT_NE(app.dialogs.Last("question").indexOf("already exists"), -1);
    EXPECT_EQ(p->Doc().FileName(), dir.Path("other.ORB"));
    app.dialogs.yesNo = true;

    // Save As onto the file of another open window is refused: the two
    // windows' saves would overwrite each other. Onto its own file it saves.
    app.Action("ProjectNewMenu")->trigger();
    TProjectWindow* second = app.Project(1);
    ASSERT_TRUE(second);
    ASSERT_NE(second, p);
    const auto onDisk = ReadAll(dir.Path("other.ORB"));
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("other.ORB"))};
    app.Action("SaveAsMenu")->trigger();
    EXPECT_NE(app.dialogs.Last("error").indexOf("is open in another window"), -1);
    EXPECT_EQ(second->Doc().FileName(), "");
    EXPECT_EQ(ReadAll(dir.Path("other.ORB")), onDisk);
    app.win->Documents().CloseDocument(second->Doc());
    app.Idle();
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("other.ORB"))};
    app.Action("SaveAsMenu")->trigger();
    EXPECT_EQ(p->Doc().FileName(), dir.Path("other.ORB"));
    EXPECT_FALSE(p->Doc().Modified());

    // A save that fails is reported and the mark stays.
    App::Change(p, [](ProjectDocument& d) { d.comments[0] = "x"; });
    p->Doc().SetFileName(dir.Path("gone/x.orb"));
    app.Idle();
    app.Action("SaveMenu")->trigger();
    EXPECT_NE(app.dialogs.Last("error").indexOf("couldn't be saved"), -1);
    EXPECT_TRUE(p->Doc().Modified());
}

TEST(MainWindow, WindowListCaptionsAndShortcuts) {
    App app;
    for (int i = 0; i < 10; ++i) app.Action("ProjectNewMenu")->trigger();
    const QStringList items = app.WindowItems();
    ASSERT_EQ(items.size(), 11);
    EXPECT_EQ(items[8], "&9:NoName9");
    EXPECT_EQ(items[10], "11:NoName11*");
    const QList<QAction*> actions = app.Menu("WindowMenu")->actions();
    QAction* ninth = nullptr;
    QAction* eleventh = nullptr;
    for (QAction* a : actions) {
        if (a->text() == "&9:NoName9") ninth = a;
        if (a->text() == "11:NoName11") eleventh = a;
    }
    ASSERT_TRUE(ninth && eleventh);
    EXPECT_EQ(ninth->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_9));
    EXPECT_TRUE(eleventh->shortcut().isEmpty());
    ninth->trigger();
    EXPECT_EQ(app.win->Documents().Active(), app.Project(8));
    EXPECT_EQ(app.win->windowTitle(), "ORB-8ED - NoName9");
}

// Closing the project the editor shows, while another project stays: the
// editor never stays enabled with no patch in it.
TEST(MainWindow, ClosingTheShownProjectShowsTheNextOnesPatch) {
    App app;
    app.Action("CustomDistNewMenu")->trigger();
    app.Action("ProjectNewMenu")->trigger();
    for (QAction* a : app.Menu("WindowMenu")->actions())
        if (a->text().startsWith("&1:")) a->trigger();
    ASSERT_EQ(app.Panel()->Project(), &app.Project(0)->Session());
    TProjectWindow* other = app.Project(1);
    app.Project(0)->SubWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(app.win->Documents().CurrentProject(), other);
    EXPECT_TRUE(app.Panel()->isEnabled());
    EXPECT_EQ(app.Panel()->Project(), &other->Session());
    EXPECT_EQ(Named<QLabel>(*app.Panel(), "PatchNo")->text(), "U01");
}

TEST(MainWindow, OnlyACustomDistWindowDisablesCopyPasteAndComment) {
    App app;
    app.Project()->SubWindow()->close();
    EXPECT_EQ(app.win->windowTitle(), "ORB-8ED");
    app.Action("CustomDistNewMenu")->trigger();
    EXPECT_EQ(app.win->Documents().Windows().last()->Caption(), "NoNameDst1");
    app.Idle();
    EXPECT_FALSE(app.Action("CopyMenu")->isEnabled());
    EXPECT_FALSE(app.Action("PasteMenu")->isEnabled());
    EXPECT_FALSE(app.Action("MemoMenu")->isEnabled());
    EXPECT_TRUE(app.Action("SaveAsMenu")->isEnabled());
    EXPECT_FALSE(app.Panel()->isEnabled());
}

TEST(ProjectWindow, DragPreviewAndMove) {
    App app;
    TProjectWindow* p = app.Project();
    App::Change(p, [](ProjectDocument& d) {
        for (int r = 1; r <= kPatchCount; ++r) {
            EncodeName("P" + std::to_string(r), d.PatchOfRow(r));
            d.SetCommentOfRow(r, "c" + std::to_string(r));
        }
    });
    auto names = [&](int from, int to) {
        QStringList list;
        for (int r = from; r <= to; ++r) list << p->Grid()->CellText(r, 1).trimmed();
        return list;
    };
    p->PatchGridMouseDown(2);
    p->PatchGridDragOver(5, false);
    EXPECT_EQ(names(1, 6), (QStringList{"P1", "P3", "P4", "P5", "P2", "P6"}));
    p->PatchGridDragOver(1, false);  // straight on to row 1
    EXPECT_EQ(names(1, 6), (QStringList{"P2", "P1", "P3", "P4", "P5", "P6"}));
    p->PatchGridDragOver(0, true);  // the heading: the bank as it was
    EXPECT_EQ(names(1, 3), (QStringList{"P1", "P2", "P3"}));
    p->PatchGridDragOver(5, false);
    p->PatchGridDragDrop(*p, 5);
    EXPECT_EQ(names(1, 6), (QStringList{"P1", "P3", "P4", "P5", "P2", "P6"}));
    EXPECT_EQ(DecodeName(p->Document().patches[4]), "P2      ");
    EXPECT_EQ(p->Document().CommentOfRow(5), "c2");
    EXPECT_EQ(p->CurrentRow(), 5);
    EXPECT_EQ(Named<QLabel>(*app.Panel(), "PatchNo")->text(), "U11");
    EXPECT_TRUE(p->Doc().Modified());
    EXPECT_EQ(p->Caption(), "NoName1*");

    // Back onto its own row, or out of the window: nothing changes.
    const int steps = p->Session().StepCount();
    p->PatchGridMouseDown(3);
    p->PatchGridDragOver(9, false);
    p->PointerLeft();
    EXPECT_EQ(names(3, 4), (QStringList{"P4", "P5"}));
    p->PatchGridDragOver(3, false);
    p->PatchGridDragDrop(*p, 3);
    EXPECT_EQ(p->Session().StepCount(), steps);
    EXPECT_EQ(names(1, 6), (QStringList{"P1", "P3", "P4", "P5", "P2", "P6"}));
}

// Several rows chosen with Shift: copied and pasted as one step; a press
// inside them drags the block, which moves as one step.
TEST(ProjectWindow, SeveralRowsCopyPasteAndMoveAsOneStep) {
    App app;
    TProjectWindow* p = app.Project();
    App::Change(p, [](ProjectDocument& d) {
        for (int r = 1; r <= kPatchCount; ++r) EncodeName("P" + std::to_string(r), d.PatchOfRow(r));
    });
    auto names = [&](int from, int to) {
        QStringList list;
        for (int r = from; r <= to; ++r) list << p->Grid()->CellText(r, 1).trimmed();
        return list;
    };
    const auto at = [&](int row) { return p->Grid()->visualRect(p->Grid()->model()->index(row - 1, 1)).center(); };
    QWidget* rows = p->Grid()->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, at(2));
    QTest::mouseClick(rows, Qt::LeftButton, Qt::ShiftModifier, at(4));
    EXPECT_EQ(p->ChosenRows(), (std::vector<int>{2, 3, 4}));
    app.Action("CopyMenu")->trigger();
    QTest::mouseClick(rows, Qt::LeftButton, {}, at(10));
    const int steps = p->Session().StepCount();
    app.Action("PasteMenu")->trigger();
    EXPECT_EQ(names(9, 13), (QStringList{"P9", "P2", "P3", "P4", "P13"}));
    EXPECT_EQ(p->Session().StepCount(), steps + 1);
    app.win->OnIdleHandlerIdle();
    EXPECT_EQ(app.Action("UndoMenu")->text(), "Undo Paste 3 patches to U22");
    EXPECT_EQ(p->ChosenRows(), (std::vector<int>{10, 11, 12}));

    // Pressed on the block's middle row and dropped on row 20: the block lands on 19..21.
    QTest::mousePress(rows, Qt::LeftButton, {}, at(11));
    EXPECT_EQ(p->ChosenRows(), (std::vector<int>{10, 11, 12}));
    p->PatchGridDragOver(20, false);
    EXPECT_EQ(names(18, 22), (QStringList{"P21", "P2", "P3", "P4", "P22"}));  // the preview
    p->PatchGridDragDrop(*p, 20);
    EXPECT_EQ(names(9, 12), (QStringList{"P9", "P13", "P14", "P15"}));
    EXPECT_EQ(names(18, 22), (QStringList{"P21", "P2", "P3", "P4", "P22"}));
    EXPECT_EQ(p->Session().StepCount(), steps + 2);
    EXPECT_EQ(p->ChosenRows(), (std::vector<int>{19, 20, 21}));
    EXPECT_EQ(p->CurrentRow(), 20);
    p->Undo();
    EXPECT_EQ(names(9, 13), (QStringList{"P9", "P2", "P3", "P4", "P13"}));
    p->Undo();
    EXPECT_EQ(names(9, 11), (QStringList{"P9", "P10", "P11"}));
}

TEST(ProjectWindow, HoldingOverTheHeadingScrollsUp) {
    App app;
    TProjectWindow* p = app.Project();
    p->SetCurrentRow(4);
    p->PatchGridMouseDown(4);
    // Held over the heading, the list scrolls up a row at a time until the first.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        p->PatchGridDragOver(0, true);
        return p->CurrentRow() == 1;
    }, 10000));
    EXPECT_EQ(p->CurrentRow(), 1);
    EXPECT_EQ(Named<QLabel>(*app.Panel(), "PatchNo")->text(), "U01");
    p->PatchGridEndDrag();
}

TEST(ProjectWindow, DropFromAnotherProjectCopiesThePatch) {
    App app;
    app.Action("ProjectNewMenu")->trigger();
    TProjectWindow* a = app.Project(0);
    TProjectWindow* b = app.Project(1);
    App::Change(a, [](ProjectDocument& d) {
        d.PatchOfRow(2)[DriveType] = 12;
        d.PatchOfRow(2)[ModuleSwitches] = DriveOn;
        d.SetCommentOfRow(2, "fuzz lead");
    });
    const ProjectDocument before = a->Document();
    const int aSteps = a->Session().StepCount();
    a->PatchGridMouseDown(2);
    b->PatchGridDragDrop(*a, 7);
    EXPECT_EQ(b->Document().patches[6][DriveType], 12);
    EXPECT_EQ(b->Document().CommentOfRow(7), "fuzz lead");
    EXPECT_EQ(b->Grid()->CellText(7, 2).trimmed(), "FUZZ");
    EXPECT_EQ(b->CurrentRow(), 7);
    EXPECT_TRUE(b->Doc().Modified());  // a change like any other
    EXPECT_EQ(a->Session().StepCount(), aSteps);
    EXPECT_EQ(a->Document().patches, before.patches);
}

TEST(ProjectWindow, EnterChangesNothingAndArrowsSelect) {
    App app;
    TProjectWindow* p = app.Project();
    p->Grid()->setFocus();
    QTest::keyClick(p->Grid(), Qt::Key_Down);
    QTest::keyClick(p->Grid(), Qt::Key_Down);
    EXPECT_EQ(p->CurrentRow(), 3);
    EXPECT_EQ(Named<QLabel>(*app.Panel(), "PatchNo")->text(), "U03");
    QTest::keyClick(p->Grid(), Qt::Key_Return);
    EXPECT_EQ(p->CurrentRow(), 3);
    EXPECT_FALSE(p->Doc().Modified());
    // A click on a row selects it.
    const QRect cell = p->Grid()->visualRect(p->Grid()->model()->index(5, 1));
    QTest::mouseClick(p->Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(p->CurrentRow(), 6);
}

TEST(ProjectWindow, CloseQueryAndItsAnswers) {
    TempDir dir;
    App app;
    TProjectWindow* p = app.Project();
    AppRig::Touch(p);
    app.dialogs.saveAnswers = {UserDialogs::Answer::Cancel};
    p->SubWindow()->close();
    EXPECT_EQ(app.win->Documents().Windows().size(), 1);
    EXPECT_EQ(app.dialogs.Last("save"), "This Project  has not been saved.\nSave this?");

    // Yes, then a cancelled save dialog: the window stays with its changes.
    app.dialogs.saveAnswers = {UserDialogs::Answer::Yes};
    p->SubWindow()->close();
    EXPECT_EQ(app.win->Documents().Windows().size(), 1);
    EXPECT_TRUE(p->Doc().Modified());

    // Yes and a name: saved, then closed.
    app.dialogs.saveAnswers = {UserDialogs::Answer::Yes};
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("kept"))};
    QPointer<TProjectWindow> gone = p;
    gone->SubWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(std::filesystem::exists(dir.Path("kept.orb")));
    EXPECT_EQ(app.win->Documents().Windows().size(), 0);
    EXPECT_EQ(app.win->windowTitle(), "ORB-8ED");
    EXPECT_EQ(Named<QPlainTextEdit>(*app.Memo(), "Memo")->toPlainText(), "");

    // No: closed without saving; an unmodified one closes without a question.
    app.Action("ProjectNewMenu")->trigger();
    AppRig::Touch(app.Project());
    app.dialogs.saveAnswers = {UserDialogs::Answer::No};
    const int asked = app.dialogs.Count("save");
    app.Project()->SubWindow()->close();
    EXPECT_EQ(app.dialogs.Count("save"), asked + 1);
    EXPECT_EQ(app.win->Documents().Windows().size(), 0);
    app.Action("ProjectNewMenu")->trigger();
    app.Project()->SubWindow()->close();
    EXPECT_EQ(app.dialogs.Count("save"), asked + 1);

    // Quitting asks each modified window, the last first; Cancel keeps all.
    app.Action("ProjectNewMenu")->trigger();
    app.Action("CustomDistNewMenu")->trigger();
    for (auto& w : app.win->Documents().Windows()) AppRig::Touch(w);
    app.dialogs.saveAnswers = {UserDialogs::Answer::No, UserDialogs::Answer::Cancel};
    EXPECT_FALSE(app.win->close());
    EXPECT_EQ(app.win->Documents().Windows().size(), 1);
    EXPECT_TRUE(app.dialogs.shown[app.dialogs.shown.size() - 2].text.startsWith("CustomDistFile"));

    // The last window goes first even when another is active; the title then
    // names the active one that stayed, not none.
    app.Action("CustomDistNewMenu")->trigger();
    for (QAction* a : app.Menu("WindowMenu")->actions())
        if (a->text().startsWith("&1:")) a->trigger();
    ASSERT_EQ(app.win->Documents().Active(), app.Project());
    app.dialogs.saveAnswers = {UserDialogs::Answer::Cancel};
    EXPECT_FALSE(app.win->close());
    EXPECT_EQ(app.win->Documents().Windows().size(), 1);
    EXPECT_EQ(app.win->windowTitle(), "ORB-8ED - " + app.Project()->Caption());
}

TEST(CommentWindow, HandBackToThePatchItCameFrom) {
    TempDir dir;
    App app;
    TProjectWindow* a = app.Project();
    QPlainTextEdit* memo = Named<QPlainTextEdit>(*app.Memo(), "Memo");
    a->SetCurrentRow(3);
    memo->setFocus();
    memo->setPlainText("warm lead");
    a->SetCurrentRow(5);
    EXPECT_EQ(a->Document().CommentOfRow(3), "warm lead");
    EXPECT_EQ(a->Grid()->CellText(3, 5), "warm lead");
    EXPECT_EQ(memo->toPlainText(), "");
    EXPECT_TRUE(a->Doc().Modified());

    // Typed while A was current, then B activated: it goes to A.
    app.Action("ProjectNewMenu")->trigger();
    TProjectWindow* b = app.Project(1);
    a->SubWindow()->showNormal();
    Named<QMdiArea>(*app.win, "MdiArea")->setActiveSubWindow(a->SubWindow());
    memo->setPlainText("for A");
    Named<QMdiArea>(*app.win, "MdiArea")->setActiveSubWindow(b->SubWindow());
    EXPECT_EQ(a->Document().CommentOfRow(5), "for A");
    EXPECT_EQ(b->Document().CommentOfRow(1), "");

    // Saving with the comment still being typed saves it.
    memo->setPlainText("saved at once");
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("b"))};
    app.Action("SaveMenu")->trigger();
    ProjectDocument back;
    back.fileName = dir.Path("b.orb");
    ASSERT_TRUE(back.Load().ok());
    EXPECT_EQ(back.comments[0], "saved at once");
}

TEST(CommentWindow, LimitsAndOldBytes) {
    App app;
    TProjectWindow* p = app.Project();
    QPlainTextEdit* memo = Named<QPlainTextEdit>(*app.Memo(), "Memo");
    memo->setPlainText(QString(250, 'x'));
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText("y");  // the 251st character is refused
    EXPECT_EQ(memo->toPlainText(), QString(250, 'x'));
    memo->setPlainText(QString(128, QChar(0x00E9)));  // 128 characters, 256 bytes: too long
    EXPECT_EQ(memo->toPlainText(), QString(250, 'x'));

    // Bytes from an older program: shown in its code page, kept exactly unless edited.
    App::Change(p, [](ProjectDocument& d) { d.SetCommentOfRow(2, "caf\xE9"); });
    EXPECT_EQ(p->Grid()->CellText(2, 5), QString::fromUtf8("caf\xC3\xA9"));
    p->SetCurrentRow(2);
    EXPECT_EQ(memo->toPlainText(), QString::fromUtf8("caf\xC3\xA9"));
    p->SetCurrentRow(1);
    EXPECT_EQ(p->Document().CommentOfRow(2), "caf\xE9");
    p->SetCurrentRow(2);
    memo->setPlainText(QString::fromUtf8("caf\xC3\xA9!"));
    p->SetCurrentRow(1);
    EXPECT_EQ(p->Document().CommentOfRow(2), "caf\xC3\xA9!");

    // Closing only minimises; Window > Comment brings it back with its text.
    p->SetCurrentRow(2);
    app.Memo()->parentWidget()->close();
    EXPECT_TRUE(app.Memo()->parentWidget()->isMinimized());
    app.Action("MemoMenu")->trigger();
    EXPECT_FALSE(app.Memo()->parentWidget()->isMinimized());
    EXPECT_EQ(memo->toPlainText(), QString::fromUtf8("caf\xC3\xA9!"));
}

// Pasting with nothing copied (a fresh login) must not crash any text entry;
// pasted text goes into the comment up to its limit, and Edit > Paste follows
// the clipboard while the comment window has the focus.
TEST(CommentWindow, PasteFromAnEmptyAndAFullClipboard) {
    App app;
    TProjectWindow* p = app.Project();
    QPlainTextEdit* memo = Named<QPlainTextEdit>(*app.Memo(), "Memo");
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // Under a window system the focus needs an active window.
    app.win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.win.get()));
    app.Action("MemoMenu")->trigger();
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "");
    app.Idle();
    EXPECT_FALSE(app.Action("PasteMenu")->isEnabled());
    app.Action("CustomDistNewMenu")->trigger();
    for (QLineEdit* entry : app.win->findChildren<QLineEdit*>()) {
        const QString before = entry->text();
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(entry->text(), before) << entry->objectName().toStdString();
    }
    Named<QMdiArea>(*app.win, "MdiArea")->setActiveSubWindow(p->SubWindow());

    memo->setFocus();
    clipboard->setText(QString(300, 'z'));
    // Opening the Edit menu takes the focus from the comment; Paste stays enabled.
    app.Menu("EditMenu")->popup(app.win->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(app.Action("PasteMenu")->isEnabled());
    app.Menu("EditMenu")->hide();
    memo->setFocus();
    QTest::keyClicks(memo, "ab");
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "ab" + QString(248, 'z'));
    // Full: the menu's Paste adds nothing, and nothing is lost.
    app.Action("PasteMenu")->trigger();
    EXPECT_EQ(memo->toPlainText().size(), 250);
    p->SetCurrentRow(2);
    EXPECT_EQ(p->Document().CommentOfRow(1), ("ab" + std::string(248, 'z')));

    // Edit > Paste with the comment focused pastes text there, not the copy buffer.
    memo->setFocus();
    clipboard->setText(QStringLiteral("slap-back"));
    app.Action("PasteMenu")->trigger();
    EXPECT_EQ(memo->toPlainText(), "slap-back");
    clipboard->clear();
}

TEST(MainWindow, CopyAndPasteAPatch) {
    App app;
    TProjectWindow* p = app.Project();
    App::Change(p, [](ProjectDocument& d) {
        d.PatchOfRow(3)[ModuleSwitches] = ModOn;
        d.PatchOfRow(3)[ModType] = 5;
        d.SetCommentOfRow(3, "phaser");
    });
    p->SetCurrentRow(3);
    app.Action("CopyMenu")->trigger();
    p->SetCurrentRow(10);
    app.Action("PasteMenu")->trigger();
    EXPECT_EQ(p->Document().patches[9], p->Document().patches[2]);
    EXPECT_EQ(p->Document().CommentOfRow(10), "phaser");
    EXPECT_EQ(p->Grid()->CellText(10, 0), "U22");
    EXPECT_EQ(p->Grid()->CellText(10, 3), p->Grid()->CellText(3, 3));
    EXPECT_EQ(Named<QPlainTextEdit>(*app.Memo(), "Memo")->toPlainText(), "phaser");
    EXPECT_EQ(p->Caption(), "NoName1*");
}

TEST(MainWindow, DesignModeAndHelp) {
    App app;
    QList<QUrl> opened;
    app.win->OpenUrl = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    app.Idle();
    EXPECT_FALSE(app.Action("DesignMenu")->isEnabled());  // only on line
    app.Action("OnLineMenu")->trigger();
    app.WaitExchange();
    app.Idle();  // the processor follows the selected patch first
    app.Drain();
    app.ClearTraffic();
    app.dialogs.yesNo = false;
    app.Action("DesignMenu")->trigger();
    EXPECT_EQ(app.dialogs.Last("question"), "Enter design mode.\nExecute?");
    EXPECT_FALSE(app.win->DesignMode());
    app.dialogs.yesNo = true;
    app.Action("DesignMenu")->trigger();
    EXPECT_TRUE(app.win->DesignMode());
    app.Drain();
    EXPECT_EQ(Count(app.Traffic(), "ParameterChange"), 14);
    const PatchData edit = app.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; });
    EXPECT_EQ(edit[DriveType], 20);
    EXPECT_EQ(DecodeName(edit), "DESIGN  ");

    app.Action("OnLineHMenu")->trigger();
    app.Action("VHomeMenu")->trigger();
    app.Action("ORBPageMenu")->trigger();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("OnLineHelp/index.html"));
    EXPECT_EQ(opened[1].host(), "www.example.com");
    EXPECT_EQ(app.Action("VHomeMenu")->statusTip(), opened[1].toString());
}

TEST(MainWindow, JapaneseCaptions) {
    App app({}, true);
    EXPECT_EQ(app.Menu("FileMenu")->title(), QString::fromUtf8("ファイル(&F)"));
    EXPECT_EQ(app.Action("SaveMenu")->text(), QString::fromUtf8("上書き保存..(&S)"));
    EXPECT_EQ(app.Menu("NewMenu")->menuAction()->statusTip(), QString::fromUtf8("新規のファイルを作成します"));
    EXPECT_EQ(app.Action("UploadMenu")->text(), "&Receive All");  // kept in English
    AppRig::Touch(app.Project());
    app.dialogs.saveAnswers = {UserDialogs::Answer::Cancel};
    app.Project()->SubWindow()->close();
    EXPECT_EQ(app.dialogs.Last("save"), QString::fromUtf8("プロジェクトは保存されていません。\n保存しますか？"));
    const std::string missing = "/nonexistent/x.orb";
    app.win->OpenByName(QString::fromStdString(missing));
    EXPECT_TRUE(app.dialogs.Last("error").startsWith(QString::fromUtf8("/nonexistent/x.orbは開けませんでした。\n")));
    // A file of the wrong size: the message and the kind of file in Japanese.
    TempDir dir;
    const std::string wrong = dir.Path("wrong.orb");
    ASSERT_TRUE(WriteFileAtomically(wrong, std::vector<std::uint8_t>(10, 0)).ok());
    app.win->OpenByName(QString::fromStdString(wrong));
    EXPECT_EQ(app.dialogs.Last("error"),
              QString::fromStdString(wrong) + QString::fromUtf8("はプロジェクトファイルではありません（10バイト、正しくは") +
                  QString::number(kProjectFileBytes) + QString::fromUtf8("バイト）。何も読み込んでいません。"));
}

TEST(AboutBox, SplashClosesOnItsTimerAboutStaysForAKey) {
    MidiSystem system(SimulatorOnly({false, {}}));
    ScriptedDialogs dialogs;
    TMainWin win(system, dialogs, MainWinOptions{false, {}, true});
    EXPECT_TRUE(win.About().isVisible());
    EXPECT_TRUE(Named<QTimer>(win.About(), "ACTimer")->isActive());
    QMetaObject::invokeMethod(Named<QTimer>(win.About(), "ACTimer"), "timeout", Qt::DirectConnection);  // the 2 seconds are up
    EXPECT_FALSE(win.About().isVisible());
    EXPECT_FALSE(Named<QTimer>(win.About(), "ACTimer")->isActive());
    QTimer::singleShot(0, [&] {  // once the box runs its own loop
        EXPECT_TRUE(win.About().isVisible());
        QTest::keyClick(&win.About(), Qt::Key_Space);
    });
    Named<QAction>(win, "AboutMenu")->trigger();
    EXPECT_FALSE(win.About().isVisible());
    EXPECT_EQ(win.About().size(), QSize(377, 246));
}

TEST(MainWindow, RemembersPortsRecentFilesAndItsPlace) {
    TempDir dir;
    QSettings settings(QString::fromStdString(dir.Path("orb8ed.conf")), QSettings::IniFormat);
    ProjectDocument saved;
    saved.fileName = dir.Path("kept.orb");
    ASSERT_TRUE(saved.Save().ok());
    {
        MidiSystem system(SimulatorOnly({false, {}}));
        ScriptedDialogs dialogs;
        TMainWin win(system, dialogs, MainWinOptions{false, {}, false, &settings});
        win.show();
        EXPECT_TRUE(win.RecentFiles().isEmpty());
        win.OpenByName(QString::fromStdString(saved.fileName));
        win.resize(700, 650);
        win.close();
    }
    EXPECT_EQ(settings.value("midi/output").toString(), "ORB-8 Simulator");
    EXPECT_EQ(settings.value("recentFiles").toStringList(), QStringList{QString::fromStdString(saved.fileName)});
    // Next run: the same place, the list; a port that is gone falls back to device 0.
    settings.setValue("midi/output", "A port unplugged since");
    MidiSystem system(SimulatorOnly({false, {}}));
    ScriptedDialogs dialogs;
    TMainWin win(system, dialogs, MainWinOptions{false, {}, false, &settings});
    win.show();
    EXPECT_EQ(win.size(), QSize(700, 650));
    EXPECT_EQ(win.Midi().MidiOutName, "ORB-8 Simulator");
    ASSERT_EQ(Named<QMenu>(win, "RecentMenu")->actions().size(), 1);
    Named<QMenu>(win, "RecentMenu")->actions()[0]->trigger();
    EXPECT_EQ(win.Documents().Windows().last()->Doc().FileName(), saved.fileName);
    dialogs.discardUnsaved = true;
    win.close();
}
