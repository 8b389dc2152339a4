// Building banks from the library: several results chosen with Shift make a
// new bank in their order, with their comments, as one step; several
// dragged onto a bank fill the rows from the drop row on, as one step.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "editors/ui/projectwin.h"
#include "library/ui/librarymanagepane.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/libraryservice.h"
#include "library/ui/librarywin.h"
#include "tests/apprig.h"
#include "tests/librarysearch.h"
#include "tests/rowinput.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

namespace {

// Banks a, b and c with CRUNCH, CHIME and CHUG, one each; the folder, or empty when one could not be written.
std::string ThreeBanks(const TempDir& dir) {
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    const bool written = WriteOnePatchBank(banks + "/a.orb", 4, "CRUNCH", "slap-back", 10) &&
                         WriteOnePatchBank(banks + "/b.orb", 7, "CHIME", "bells", 30) &&
                         WriteOnePatchBank(banks + "/c.orb", 9, "CHUG", "", 40);
    return written ? banks : std::string();
}

}  // namespace

TEST(LibraryBanks, NewBankFromSelectionAndADragOfSeveral) {
    TempDir dir;
    const std::string banks = ThreeBanks(dir);
    ASSERT_FALSE(banks.empty());
    AppRig rig({false, {}}, {}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    TProjectWindow* first = win.Documents().CurrentProject();
    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(SearchLibrary(library, "ch"));  // CRUNCH, CHIME, CHUG
    ASSERT_TRUE(SearchAgainUntil(library, [&] { return library->Model().rowCount() == 3; }));
    std::vector<PatchClip> shown;
    for (int row = 0; row < 3; ++row) shown.push_back(*library->Model().ClipAt(row));

    // Nothing chosen beyond the current row at first; Shift+click takes all three.
    ClickRow(Named<QTableView>(*library, "Results"), 0);
    ClickRow(Named<QTableView>(*library, "Results"), 2, Qt::ShiftModifier);
    const auto windows = win.Documents().Windows().size();
    QTest::mouseClick(Named<QPushButton>(*library, "NewBankBtn"), Qt::LeftButton);
    ASSERT_EQ(win.Documents().Windows().size(), windows + 1);
    TProjectWindow* made = win.Documents().CurrentProject();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(made->Document().patches[static_cast<std::size_t>(i)], shown[static_cast<std::size_t>(i)].patch) << i;
        EXPECT_EQ(made->Document().comments[static_cast<std::size_t>(i)], shown[static_cast<std::size_t>(i)].comment) << i;
    }
    EXPECT_EQ(made->Document().patches[3], InitialPatch());
    EXPECT_EQ(made->Session().StepCount(), 1);
    made->Undo();
    EXPECT_EQ(made->Document().patches[0], InitialPatch());

    // The three dragged onto row 79 of the first bank: two fit, the third is said.
    const std::unique_ptr<QMimeData> dragged(library->Model().mimeData(Named<QTableView>(*library, "Results")->selectionModel()->selectedIndexes()));
    DropOnRow(first->Grid(), 79, dragged.get());
    EXPECT_EQ(first->Document().patches[78], shown[0].patch);
    EXPECT_EQ(first->Document().patches[79], shown[1].patch);
    EXPECT_EQ(first->Document().comments[79], shown[1].comment);
    EXPECT_NE(win.statusBar()->currentMessage().indexOf("1 of the patches did not fit"), -1)
        << win.statusBar()->currentMessage().toStdString();
    Named<QMdiArea>(win, "MdiArea")->setActiveSubWindow(first->SubWindow());
    win.OnIdleHandlerIdle();
    EXPECT_EQ(Named<QAction>(win, "UndoMenu")->text(), "Undo Copy 2 patches to u93");
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(first->Document().patches[78], InitialPatch());
    EXPECT_EQ(first->Document().patches[79], InitialPatch());
}

// The Sources tab: a damaged file is listed with its reason, a sound kept in
// two banks is listed with both places (one opens its bank there), a source
// removed leaves the results; and the chosen results exported as a bank file.
TEST(LibraryBanks, SourcesProblemsDoublesAndExport) {
    TempDir dir;
    const std::string banks = dir.Path("banks"), more = dir.Path("more");
    std::filesystem::create_directories(banks);
    std::filesystem::create_directories(more);
    ASSERT_TRUE(WriteOnePatchBank(banks + "/a.orb", 4, "CRUNCH", "slap-back", 10));
    ASSERT_TRUE(WriteOnePatchBank(banks + "/copy.orb", 4, "CRUNCH", "slap-back", 10));
    WriteAll(banks + "/broken.orb", std::vector<std::uint8_t>(100, 7));
    ASSERT_TRUE(WriteOnePatchBank(more + "/b.orb", 7, "CHIME", "bells", 30));
    AppRig rig({false, {}}, {}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    rig.dialogs.folderNames = {QString::fromStdString(banks), QString::fromStdString(more)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(SearchLibrary(library, "c"));  // CRUNCH twice, CHIME
    ASSERT_TRUE(SearchAgainUntil(library, [&] { return library->Model().rowCount() == 3; }));

    auto* tabs = library->findChild<QTabWidget*>();
    auto* manage = library->findChild<QWidget*>("LibraryManage");
    ASSERT_TRUE(tabs && manage);
    tabs->setCurrentWidget(manage);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !static_cast<LibraryManagePane*>(manage)->Reading(); }, 20000));
    auto* sources = manage->findChild<QListView*>("Sources");
    auto* problems = manage->findChild<QListView*>("Problems");
    auto* doubles = manage->findChild<QTreeView*>("Doubles");
    ASSERT_EQ(sources->model()->rowCount(), 2);
    ASSERT_EQ(problems->model()->rowCount(), 1);
    EXPECT_TRUE(problems->model()->index(0, 0).data().toString().startsWith("broken.orb:"));
    const QModelIndex crunch = doubles->model()->match(doubles->model()->index(0, 0), Qt::DisplayRole,
                                                       "CRUNCH", 1, Qt::MatchStartsWith)
                                   .value(0);
    ASSERT_TRUE(crunch.isValid());
    EXPECT_EQ(doubles->model()->rowCount(crunch), 2);
    const auto windows = win.Documents().Windows().size();
    doubles->expand(crunch);
    const QModelIndex place = doubles->model()->index(0, 0, crunch);
    doubles->setCurrentIndex(place);
    QTest::keyClick(doubles, Qt::Key_Return);
    ASSERT_EQ(win.Documents().Windows().size(), windows + 1);
    EXPECT_EQ(win.Documents().CurrentProject()->CurrentRow(), 5);

    // The chosen results as a bank file.
    ClickRow(Named<QTableView>(*library, "Results"), 0);
    ClickRow(Named<QTableView>(*library, "Results"), 2, Qt::ShiftModifier);
    const std::string exported = dir.Path("chosen.orb");
    rig.dialogs.saveNames = {QString::fromStdString(exported)};
    QTest::mouseClick(Named<QPushButton>(*library, "ExportBankBtn"), Qt::LeftButton);
    ProjectDocument written;
    written.fileName = exported;
    ASSERT_TRUE(written.Load().ok());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(written.patches[static_cast<std::size_t>(i)], library->Model().ClipAt(i)->patch) << i;
    EXPECT_EQ(written.patches[3], InitialPatch());
    EXPECT_TRUE(Named<QLabel>(*library, "Status")->text().startsWith("3 patches written to"));
    // Not onto the file of an open bank (its window's Save would overwrite
    // the export, or the export its unsaved work); a name that gains the
    // extension onto a file that exists is asked about.
    const std::string openBank = win.Documents().CurrentProject()->Doc().FileName();
    const auto bankBytes = ReadAll(openBank), exportBytes = ReadAll(exported);
    rig.dialogs.saveNames = {QString::fromStdString(openBank)};
    QTest::mouseClick(Named<QPushButton>(*library, "ExportBankBtn"), Qt::LeftButton);
    EXPECT_NE(rig.dialogs.Last("error").indexOf("is open in another window"), -1);
    EXPECT_EQ(ReadAll(openBank), bankBytes);
    rig.dialogs.yesNo = false;
    rig.dialogs.saveNames = {QString::fromStdString(dir.Path("chosen"))};
    ClickRow(Named<QTableView>(*library, "Results"), 1);
    QTest::mouseClick(Named<QPushButton>(*library, "ExportBankBtn"), Qt::LeftButton);
    EXPECT_NE(rig.dialogs.Last("question").indexOf("already exists"), -1);
    EXPECT_EQ(ReadAll(exported), exportBytes);

    // "more" no longer read: CHIME leaves the results.
    for (int row = 0; row < sources->model()->rowCount(); ++row)
        if (sources->model()->index(row, 0).data().toString().endsWith("more")) sources->setCurrentIndex(sources->model()->index(row, 0));
    rig.dialogs.yesNo = true;
    QTest::mouseClick(manage->findChild<QPushButton*>("RemoveSourceBtn"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !static_cast<LibraryManagePane*>(manage)->Reading(); }, 20000));
    EXPECT_EQ(sources->model()->rowCount(), 1);
    ASSERT_TRUE(SearchAgainUntil(library, [&] { return library->Model().rowCount() == 2; }));
}

// A header click orders the results by its column (again: the other way, a
// third time: as found); a search saved under a name is listed, runs when
// chosen, and is there in the next window made with the same settings.
TEST(LibraryBanks, SortedColumnsAndSavedSearches) {
    TempDir dir;
    const std::string banks = ThreeBanks(dir);
    ASSERT_FALSE(banks.empty());
    QSettings settings(QString::fromStdString(dir.Path("settings.ini")), QSettings::IniFormat);
    ScriptedDialogs dialogs;
    LibraryService service(QString::fromStdString(dir.Path("library.db")));
    QString error;
    ASSERT_TRUE(service.Open(error)) << error.toStdString();
    QString added;
    ASSERT_TRUE(service.AddSource(QString::fromStdString(banks), added));
    {
        TLibraryWin library(service, dialogs, &settings, nullptr);
        library.show();
        ASSERT_TRUE(SearchLibrary(&library, "ch"));
        ASSERT_TRUE(SearchAgainUntil(&library, [&] { return library.Model().rowCount() == 3; }));
        const auto names = [&] {
            QStringList shown;
            for (int row = 0; row < library.Model().rowCount(); ++row)
                shown << library.Model().index(row, LibraryResultModel::NameColumn).data().toString();
            return shown.join(' ');
        };
        EXPECT_EQ(names(), "CRUNCH CHIME CHUG");
        QHeaderView* header = Named<QTableView>(library, "Results")->horizontalHeader();
        const auto clickName = [&] {
            const int x = header->sectionViewportPosition(LibraryResultModel::NameColumn) + 5;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
            return LibraryShown(&library);
        };
        ASSERT_TRUE(clickName());
        EXPECT_EQ(names(), "CHIME CHUG CRUNCH");
        ASSERT_TRUE(clickName());
        EXPECT_EQ(names(), "CRUNCH CHUG CHIME");
        ASSERT_TRUE(clickName());
        EXPECT_EQ(names(), "CRUNCH CHIME CHUG");

        EXPECT_FALSE(Named<QComboBox>(library, "SavedSearchList")->isEnabled());
        dialogs.texts = {"  all the ch  "};
        QTest::mouseClick(Named<QPushButton>(library, "SaveSearchBtn"), Qt::LeftButton);
        ASSERT_EQ(Named<QComboBox>(library, "SavedSearchList")->count(), 2);
        EXPECT_EQ(Named<QComboBox>(library, "SavedSearchList")->itemText(1), "all the ch");
        ASSERT_TRUE(SearchLibrary(&library, "crunch"));
        EXPECT_EQ(library.Model().rowCount(), 1);
    }
    TLibraryWin again(service, dialogs, &settings, nullptr);
    again.show();
    ASSERT_EQ(Named<QComboBox>(again, "SavedSearchList")->count(), 2);
    Named<QComboBox>(again, "SavedSearchList")->setFocus();
    QTest::keyClick(Named<QComboBox>(again, "SavedSearchList"), Qt::Key_Down);
    ASSERT_TRUE(LibraryShown(&again));
    EXPECT_EQ(Named<QLineEdit>(again, "SearchEdit")->text(), "ch");
    EXPECT_EQ(again.Model().rowCount(), 3);
    QTest::mouseClick(Named<QPushButton>(again, "ForgetSearchBtn"), Qt::LeftButton);
    EXPECT_EQ(Named<QComboBox>(again, "SavedSearchList")->count(), 1);
    EXPECT_EQ(QSettings(QString::fromStdString(dir.Path("settings.ini")), QSettings::IniFormat)
                  .beginReadArray("library/savedSearches"),
              0);
}
