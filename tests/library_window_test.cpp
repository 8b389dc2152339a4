// The Library window as a user drives it: Window > Library on an empty
// library, Add Folder, a search typed into the field, the details of the
// patch found, a query the syntax refuses, and a double-click that opens the
// bank at that patch.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "app/ui/mainwin.h"
#include "editors/ui/projectwin.h"
#include "library/sqlite.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "tests/apprig.h"
#include "tests/testfiles.h"

using namespace orb8;

namespace {

// Waits on the event loop (never a fixed sleep) until `done`, at most 20 s.
bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 20000); }

}  // namespace

TEST(LibraryWindow, AddAFolderSearchAndOpenTheBankAtThePatch) {
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    {
        ProjectDocument bank;
        EncodeName("CRUNCH", bank.patches[4]);
        bank.patches[4][ModuleSwitches] = DriveOn;
        bank.comments[4] = "slap-back for the encore";
        bank.fileName = banks + "/live.orb";
        ASSERT_TRUE(bank.Save(DefaultCustomSettings()).ok());
    }
    orb8::MidiSystem system(AppRig::Options({false, {}}));
    ScriptedDialogs dialogs;
    MainWinOptions options{false, {}, false};
    options.libraryDatabase = QString::fromStdString(dir.Path("library.db"));
    TMainWin win(system, dialogs, options);
    win.show();

    ASSERT_TRUE(win.LibraryMenu->isVisible());
    win.LibraryMenu->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    ASSERT_TRUE(library->isVisible());
    EXPECT_TRUE(WaitFor([&] { return library->Status->text().contains("empty"); })) << library->Status->text().toStdString();

    dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(library->AddFolderBtn, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return library->Model().rowCount() == 80; })) << library->Status->text().toStdString();

    library->SearchEdit->setFocus();
    QTest::keyClicks(library->SearchEdit, "encore drive:on");
    QTest::keyClick(library->SearchEdit, Qt::Key_Return);
    ASSERT_EQ(library->Model().rowCount(), 1);
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::NameColumn).data().toString(), "CRUNCH");
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::PatchColumn).data().toString(),
              QString::fromStdString(PatchLabel(4)));
    EXPECT_EQ(library->Places->model()->rowCount(), 1);
    EXPECT_EQ(library->History->model()->rowCount(), 1);
    EXPECT_EQ(library->Status->text(), "1 patches");

    // A mark set while another connection holds the database (a scan's
    // rebuild) is refused with a message, not a crash; later it is kept.
    {
        orb8::sql::Database scan(dir.Path("library.db"));
        scan.Exec("BEGIN IMMEDIATE");
        QTest::mouseClick(library->Favourite, Qt::LeftButton, {}, QPoint(8, library->Favourite->height() / 2));
        EXPECT_FALSE(library->Favourite->isChecked());
        EXPECT_TRUE(library->Status->text().contains("could not be kept")) << library->Status->text().toStdString();
        scan.Exec("ROLLBACK");
    }
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::FavouriteColumn).data().toString(), "");
    QTest::mouseClick(library->Favourite, Qt::LeftButton, {}, QPoint(8, library->Favourite->height() / 2));
    EXPECT_TRUE(library->Favourite->isChecked());
    EXPECT_EQ(library->Model().index(0, LibraryResultModel::FavouriteColumn).data().toString(), QString(u'\u2605'));
    QTest::keyClicks(library->SearchEdit, " fav");
    QTest::keyClick(library->SearchEdit, Qt::Key_Return);
    EXPECT_EQ(library->Model().rowCount(), 1);

    // A query the syntax refuses says why, in the status line.
    QTest::keyClicks(library->SearchEdit, " nosuchparam>3");
    QTest::keyClick(library->SearchEdit, Qt::Key_Return);
    EXPECT_TRUE(library->Status->text().contains("No parameter is called")) << library->Status->text().toStdString();
    library->SearchEdit->clear();
    QTest::keyClicks(library->SearchEdit, "crunch");
    QTest::keyClick(library->SearchEdit, Qt::Key_Return);
    ASSERT_EQ(library->Model().rowCount(), 1);

    // A double-click opens the bank with that patch selected.
    QTableView* results = library->Results;
    const QRect cell = results->visualRect(library->Model().index(0, LibraryResultModel::NameColumn));
    // The first click of the two, then the second one as the double-click.
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(win.CurrentProject);
    EXPECT_EQ(win.CurrentProject->FileName(), banks + "/live.orb");
    EXPECT_EQ(win.CurrentProject->CurrentRow(), 5);

    dialogs.discardUnsaved = true;
    win.close();
}
