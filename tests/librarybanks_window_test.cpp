// Building banks from the library: several results chosen with Shift make a
// new bank in their order, with their comments, as one step; several
// dragged onto a bank fill the rows from the drop row on, as one step.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "editors/ui/projectwin.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "tests/apprig.h"
#include "tests/rowinput.h"
#include "tests/testfiles.h"

using namespace orb8;

TEST(LibraryBanks, NewBankFromSelectionAndADragOfSeveral) {
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(banks + "/a.orb", 4, "CRUNCH", "slap-back", 10));
    ASSERT_TRUE(WriteOnePatchBank(banks + "/b.orb", 7, "CHIME", "bells", 30));
    ASSERT_TRUE(WriteOnePatchBank(banks + "/c.orb", 9, "CHUG", "", 40));
    AppRig rig({false, {}}, {}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    TProjectWindow* first = win.Documents().CurrentProject;
    win.LibraryMenu->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(library->AddFolderBtn, Qt::LeftButton);
    QTest::keyClicks(library->SearchEdit, "ch");  // CRUNCH, CHIME, CHUG
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QTest::keyClick(library->SearchEdit, Qt::Key_Return);
        return library->Model().rowCount() == 3;
    }, 20000));
    std::vector<PatchClip> shown;
    for (int row = 0; row < 3; ++row) shown.push_back(*library->Model().ClipAt(row));

    // Nothing chosen beyond the current row at first; Shift+click takes all three.
    ClickRow(library->Results, 0);
    ClickRow(library->Results, 2, Qt::ShiftModifier);
    const auto windows = win.Documents().Windows.size();
    QTest::mouseClick(library->NewBankBtn, Qt::LeftButton);
    ASSERT_EQ(win.Documents().Windows.size(), windows + 1);
    TProjectWindow* made = win.Documents().CurrentProject;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(made->Document().patches[static_cast<std::size_t>(i)], shown[static_cast<std::size_t>(i)].patch) << i;
        EXPECT_EQ(made->Document().comments[static_cast<std::size_t>(i)], shown[static_cast<std::size_t>(i)].comment) << i;
    }
    EXPECT_EQ(made->Document().patches[3], InitialPatch());
    EXPECT_EQ(made->Session().StepCount(), 1);
    made->Undo();
    EXPECT_EQ(made->Document().patches[0], InitialPatch());

    // The three dragged onto row 79 of the first bank: two fit, the third is said.
    const std::unique_ptr<QMimeData> dragged(library->Model().mimeData(library->Results->selectionModel()->selectedIndexes()));
    DropOnRow(first->Grid(), 79, dragged.get());
    EXPECT_EQ(first->Document().patches[78], shown[0].patch);
    EXPECT_EQ(first->Document().patches[79], shown[1].patch);
    EXPECT_EQ(first->Document().comments[79], shown[1].comment);
    EXPECT_NE(win.statusBar()->currentMessage().indexOf("1 of the patches did not fit"), -1)
        << win.statusBar()->currentMessage().toStdString();
    win.MdiArea->setActiveSubWindow(first->SubWindow());
    win.OnIdleHandlerIdle();
    EXPECT_EQ(win.UndoMenu->text(), "Undo Copy 2 patches to u93");
    win.UndoMenu->trigger();
    EXPECT_EQ(first->Document().patches[78], InitialPatch());
    EXPECT_EQ(first->Document().patches[79], InitialPatch());
}
