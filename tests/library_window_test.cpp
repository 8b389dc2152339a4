// The Library window as a user drives it: Window > Library on an empty
// library, Add Folder, a search typed into the field, the details of the
// patch found, a query the syntax refuses, and a double-click that opens the
// bank at that patch; on line, a result dragged onto a bank's row, an
// earlier version of a slot compared and taken back, and the user's marks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "app/ui/mainwin.h"
#include "editors/ui/differenceswin.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "library/patchlibrary.h"
#include "library/sqlite.h"
#include "sim/orb8simulator.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "tests/apprig.h"
#include "tests/librarysearch.h"
#include "tests/rowinput.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

namespace {

// Waits on the event loop (never a fixed sleep) until `done`, at most 20 s.
bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 20000); }

}  // namespace

TEST(LibraryWindow, AddAFolderSearchAndOpenTheBankAtThePatch) {
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(banks + "/live.orb", 4, "CRUNCH", "slap-back for the encore"));
    orb8::MidiSystem system(AppRig::Options({false, {}}));
    ScriptedDialogs dialogs;
    MainWinOptions options{false, {}, false};
    options.libraryDatabase = QString::fromStdString(dir.Path("library.db"));
    TMainWin win(system, dialogs, options);
    win.show();

    ASSERT_TRUE(Named<QAction>(win, "LibraryMenu")->isVisible());
    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    ASSERT_TRUE(library->isVisible());
    EXPECT_TRUE(WaitFor([&] { return Named<QLabel>(*library, "Status")->text().contains("empty"); })) << Named<QLabel>(*library, "Status")->text().toStdString();

    dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return library->Model().rowCount() == 80; })) << Named<QLabel>(*library, "Status")->text().toStdString();
    // The scan's end may start another (the folder changed while it ran); its summary takes the status line.
    ASSERT_TRUE(WaitFor([&] { return !library->Scanning(); }));

    Named<QLineEdit>(*library, "SearchEdit")->setFocus();
    ASSERT_TRUE(SearchLibrary(library, "encore drive:on"));
    ASSERT_EQ(library->Model().rowCount(), 1);
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::NameColumn).data().toString(), "CRUNCH");
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::PatchColumn).data().toString(),
              QString::fromStdString(PatchLabel(4)));
    EXPECT_EQ(Named<QTreeView>(*library, "Places")->model()->rowCount(), 1);
    EXPECT_EQ(Named<QTreeView>(*library, "History")->model()->rowCount(), 1);
    EXPECT_EQ(Named<QLabel>(*library, "Status")->text(), "1 patches");
    // Similar sounds arrive from the library's own thread: the bank's other (initial) patch.
    EXPECT_TRUE(WaitFor([&] { return Named<QTreeView>(*library, "Similar")->model()->rowCount() == 1; }));
    // A scan that ends meanwhile keeps the chosen patch and its details.
    QTest::mouseClick(Named<QPushButton>(*library, "RescanBtn"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return Named<QLabel>(*library, "Status")->text().contains("1 unchanged"); })) << Named<QLabel>(*library, "Status")->text().toStdString();
    ASSERT_TRUE(LibraryShown(library));
    EXPECT_EQ(Named<QTableView>(*library, "Results")->currentIndex().row(), 0);
    EXPECT_EQ(Named<QTreeView>(*library, "Places")->model()->rowCount(), 1);
    EXPECT_TRUE(WaitFor([&] { return Named<QTreeView>(*library, "Similar")->model()->rowCount() == 1; }));

    // A mark set while another connection holds the database (a scan
    // writing) is never dropped: it waits, and is stored once it can be.
    {
        orb8::sql::Database scan(dir.Path("library.db"));
        scan.Exec("BEGIN IMMEDIATE");
        QTest::mouseClick(Named<QCheckBox>(*library, "Favourite"), Qt::LeftButton, {}, QPoint(8, Named<QCheckBox>(*library, "Favourite")->height() / 2));
        EXPECT_TRUE(Named<QCheckBox>(*library, "Favourite")->isChecked());
        EXPECT_TRUE(Named<QLabel>(*library, "Status")->text().contains("will be stored")) << Named<QLabel>(*library, "Status")->text().toStdString();
        scan.Exec("ROLLBACK");
    }
    EXPECT_TRUE(WaitFor([&] { return Named<QLabel>(*library, "Status")->text().contains("stored."); })) << Named<QLabel>(*library, "Status")->text().toStdString();
    {
        orb8::library::PatchLibrary check(dir.Path("library.db"));
        EXPECT_TRUE(check.NotesOf(library->Model().PlaceAt(0)->patch).favourite);
    }
    EXPECT_TRUE(Named<QCheckBox>(*library, "Favourite")->isChecked());
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::FavouriteColumn).data().toString(), QString(u'\u2605'));
    ASSERT_TRUE(SearchLibrary(library, "encore drive:on fav"));
    EXPECT_EQ(library->Model().rowCount(), 1);

    // A query the syntax refuses says why, in the status line.
    ASSERT_TRUE(SearchLibrary(library, "encore drive:on fav nosuchparam>3"));
    EXPECT_TRUE(Named<QLabel>(*library, "Status")->text().contains("No parameter is called")) << Named<QLabel>(*library, "Status")->text().toStdString();
    ASSERT_TRUE(SearchLibrary(library, "crunch"));
    ASSERT_EQ(library->Model().rowCount(), 1);

    // A double-click opens the bank with that patch selected.
    QTableView* results = Named<QTableView>(*library, "Results");
    const QRect cell = results->visualRect(library->Model().index(0, LibraryResultModel::NameColumn));
    // The first click of the two, then the second one as the double-click.
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(win.Documents().CurrentProject());
    EXPECT_EQ(win.Documents().CurrentProject()->Doc().FileName(), banks + "/live.orb");
    EXPECT_EQ(win.Documents().CurrentProject()->CurrentRow(), 5);
    // Again while it is open: the same window, not a second copy of the bank.
    TProjectWindow* opened = win.Documents().CurrentProject();
    opened->SetCurrentRow(1);
    const auto open = win.Documents().Windows().size();
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(win.Documents().Windows().size(), open);
    EXPECT_EQ(win.Documents().CurrentProject(), opened);
    EXPECT_EQ(opened->CurrentRow(), 5);

    // The bank moved away (a disk unplugged) and its window closed: the
    // library says so and opens no blank window under its name that a Save
    // could write over it.
    win.Documents().CloseDocument(opened->Doc());
    const auto windows = win.Documents().Windows().size();
    std::filesystem::rename(banks + "/live.orb", dir.Path("away.orb"));
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(win.Documents().Windows().size(), windows);
    EXPECT_NE(dialogs.Last("error").indexOf("missing"), -1) << dialogs.Last("error").toStdString();

    dialogs.discardUnsaved = true;
    win.close();
}

TEST(LibraryWindow, DragIntoABankTakeAnEarlierVersionAndKeepMarks) {
    TempDir dir;
    const std::string banks = dir.Path("banks"), live = banks + "/live.orb";
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(live, 4, "CRUNCH", "slap-back for the encore", 10));
    AppRig rig({false, {}}, {}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    rig.Connect();
    TMainWin& win = *rig.win;
    auto* bar = win.findChild<QToolBar*>("LibraryToolBar");
    ASSERT_TRUE(bar && bar->isVisible());
    QTest::mouseClick(bar->widgetForAction(Named<QAction>(win, "LibraryMenu")), Qt::LeftButton);
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library && library->isVisible());
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return library->Model().rowCount() == 80; })) << Named<QLabel>(*library, "Status")->text().toStdString();
    ASSERT_TRUE(SearchLibrary(library, "crunch"));
    ASSERT_EQ(library->Model().rowCount(), 1);
    ASSERT_TRUE(library->ChosenPatch());
    const PatchData crunch = library->ChosenPatch()->patch;

    // Dropped on row 10 of the open bank: one step, and the processor gets the patch.
    TProjectWindow* project = win.Documents().CurrentProject();
    ASSERT_TRUE(project);
    rig.TakeLog();
    const std::unique_ptr<QMimeData> dragged(library->Model().mimeData({library->Model().index(0, 0)}));  // a drag would own it
    DropOnRow(project->Grid(), 10, dragged.get());
    EXPECT_EQ(project->Document().patches[9], crunch);
    EXPECT_EQ(project->Document().comments[9], "slap-back for the encore");
    EXPECT_EQ(project->CurrentRow(), 10);
    EXPECT_TRUE(project->Doc().Modified());
    win.OnIdleHandlerIdle();
    EXPECT_EQ(Named<QAction>(win, "UndoMenu")->text(), "Undo Copy to U22");
    auto heldByProcessor = [&] { return rig.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; }); };
    EXPECT_TRUE(WaitFor([&] { return heldByProcessor() == crunch; }));
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(project->Document().patches[9], InitialPatch());
    EXPECT_FALSE(project->Doc().Modified());

    // The bank changes on disk; its slot's earlier version is compared with
    // the editor's patch and taken back over it.
    ASSERT_TRUE(WriteOnePatchBank(live, 4, "CRUNCH 2", "brighter", 30));
    std::filesystem::last_write_time(live, std::filesystem::last_write_time(live) + std::chrono::seconds(5));
    QTest::mouseClick(Named<QPushButton>(*library, "RescanBtn"), Qt::LeftButton);
    ASSERT_TRUE(SearchLibrary(library, "crunch"));
    ASSERT_TRUE(SearchAgainUntil(library, [&] { return Named<QTreeView>(*library, "History")->model()->rowCount() == 2; }));
    auto* tabs = library->findChild<QTabWidget*>();
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    ASSERT_TRUE(Named<QTreeView>(*library, "History")->isVisible());
    ClickRow(Named<QTreeView>(*library, "History"), 1);
    QTest::mouseClick(Named<QPushButton>(*library, "CompareBtn"), Qt::LeftButton);
    auto* differences = win.findChild<TDifferencesWin*>();
    ASSERT_TRUE(differences && differences->isVisible());
    EXPECT_TRUE(differences->B.project->currentText().startsWith("CRUNCH (live.orb U11), until"))
        << differences->B.project->currentText().toStdString();
    EXPECT_FALSE(differences->B.patch->isEnabled());
    ASSERT_GT(Named<QTreeWidget>(*differences, "DifferencesList")->topLevelItemCount(), 1);
    EXPECT_NE(Named<QTreeWidget>(*differences, "DifferencesList")->topLevelItem(0)->text(0), "The two patches are the same.");
    QTest::mouseClick(Named<QPushButton>(*library, "CopyBtn"), Qt::LeftButton);
    EXPECT_EQ(project->Document().patches[9], crunch);
    EXPECT_EQ(project->Document().comments[9], "slap-back for the encore");
    win.OnIdleHandlerIdle();
    EXPECT_TRUE(WaitFor([&] { return heldByProcessor() == crunch; }));
    EXPECT_EQ(Named<QTreeWidget>(*differences, "DifferencesList")->topLevelItem(0)->text(0), "The two patches are the same.");

    // Tags, a rating and a note are kept in the library.
    ClickRow(Named<QTableView>(*library, "Results"), 0);
    Named<QLineEdit>(*library, "Tags")->setFocus();
    const QString automatic = Named<QLineEdit>(*library, "Tags")->text();  // from the name
    QTest::keyClick(Named<QLineEdit>(*library, "Tags"), Qt::Key_End);
    QTest::keyClicks(Named<QLineEdit>(*library, "Tags"), ", live, encore");
    QTest::keyClick(Named<QLineEdit>(*library, "Tags"), Qt::Key_Return);
    Named<QComboBox>(*library, "Rating")->setFocus();
    QTest::keyClick(Named<QComboBox>(*library, "Rating"), Qt::Key_Down);
    QTest::keyClick(Named<QComboBox>(*library, "Rating"), Qt::Key_Down);
    Named<QLineEdit>(*library, "Note")->setFocus();
    QTest::keyClicks(Named<QLineEdit>(*library, "Note"), "the one from the tour");
    QTest::keyClick(Named<QLineEdit>(*library, "Note"), Qt::Key_Return);
    // (marks that a scan's writing holds up go in a moment later)
    library::PatchLibrary check(dir.Path("library.db"));
    const auto place = check.PlaceAt(live, 4);
    ASSERT_TRUE(place);
    EXPECT_TRUE(WaitFor([&] { return check.NotesOf(place->patch).note == "the one from the tour"; }));
    const auto notes = check.NotesOf(place->patch);
    EXPECT_NE(std::find(notes.tags.begin(), notes.tags.end(), "live"), notes.tags.end());
    EXPECT_NE(std::find(notes.tags.begin(), notes.tags.end(), "encore"), notes.tags.end());
    EXPECT_EQ(notes.tags.size(), automatic.split(',', Qt::SkipEmptyParts).size() + 2);
    EXPECT_EQ(notes.rating, 2);
    EXPECT_EQ(notes.note, "the one from the tour");
}

// What the user is in the middle of survives the library's own work: a note
// being typed stays through a rescan; Compare and Copy wait for a chosen
// patch; Ctrl+Z reaches the bank a patch was copied to; Esc closes; a bank
// saved over in place and a source another program added are read.
TEST(LibraryWindow, TypingThroughARescanShortcutsAndTheWatcher) {
    TempDir dir;
    const std::string banks = dir.Path("banks"), live = banks + "/live.orb";
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(live, 4, "CRUNCH", "slap-back", 10));
    AppRig rig({false, {}}, {}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    EXPECT_TRUE(WaitFor([&] { return Named<QLabel>(*library, "Status")->text().contains("empty"); })) << Named<QLabel>(*library, "Status")->text().toStdString();
    EXPECT_FALSE(Named<QPushButton>(*library, "CompareBtn")->isEnabled());
    EXPECT_FALSE(Named<QPushButton>(*library, "CopyBtn")->isEnabled());
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return library->Model().rowCount() == 80; }));
    ASSERT_TRUE(SearchLibrary(library, "crunch"));
    ASSERT_EQ(library->Model().rowCount(), 1);
    EXPECT_TRUE(Named<QPushButton>(*library, "CompareBtn")->isEnabled());

    // A note half typed when a rescan ends stays, and is kept on Enter.
    Named<QLineEdit>(*library, "Note")->setFocus();
    QTest::keyClicks(Named<QLineEdit>(*library, "Note"), "half of a no");
    QTest::mouseClick(Named<QPushButton>(*library, "RescanBtn"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return Named<QLabel>(*library, "Status")->text().contains("unchanged"); })) << Named<QLabel>(*library, "Status")->text().toStdString();
    EXPECT_EQ(Named<QLineEdit>(*library, "Note")->text(), "half of a no");
    Named<QLineEdit>(*library, "Note")->setFocus();
    QTest::keyClicks(Named<QLineEdit>(*library, "Note"), "te");
    QTest::keyClick(Named<QLineEdit>(*library, "Note"), Qt::Key_Return);
    {
        library::PatchLibrary check(dir.Path("library.db"));
        EXPECT_EQ(check.NotesOf(check.PlaceAt(live, 4)->patch).note, "half of a note");
    }

    // Copy to Current Patch, then Ctrl+Z in the Library window takes it back.
    TProjectWindow* project = win.Documents().CurrentProject();
    ASSERT_TRUE(project);
    ClickRow(Named<QTableView>(*library, "Results"), 0);
    QTest::mouseClick(Named<QPushButton>(*library, "CopyBtn"), Qt::LeftButton);
    ASSERT_TRUE(project->Doc().Modified());
    QTest::keyClick(library, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(project->Doc().Modified());

    // The bank saved over in place (no folder changes): read again by itself.
    ASSERT_TRUE(WriteOnePatchBank(live, 4, "CRUNCH 2", "brighter", 30));
    std::filesystem::last_write_time(live, std::filesystem::last_write_time(live) + std::chrono::seconds(5));
    // (what the library holds is asked: a second scan, for the time set just
    // after, may follow the first at once)
    EXPECT_TRUE(WaitFor([&] {
        library::PatchLibrary check(dir.Path("library.db"));
        const auto place = check.PlaceAt(live, 4);
        return place && place->name == "CRUNCH 2";
    })) << Named<QLabel>(*library, "Status")->text().toStdString();
    // A source another program adds is watched and read too.
    const std::string more = dir.Path("more");
    std::filesystem::create_directories(more);
    ASSERT_TRUE(WriteOnePatchBank(more + "/other.orb", 1, "FARAWAY", "", 20));
    {
        library::PatchLibrary tool(dir.Path("library.db"));
        tool.AddSource(more);
    }
    ASSERT_TRUE(SearchLibrary(library, "faraway"));
    EXPECT_TRUE(SearchAgainUntil(library, [&] { return library->Model().rowCount() == 1; }))
        << Named<QLabel>(*library, "Status")->text().toStdString();

    QTest::keyClick(library, Qt::Key_Escape);
    EXPECT_FALSE(library->isVisible());
    rig.dialogs.discardUnsaved = true;
}
