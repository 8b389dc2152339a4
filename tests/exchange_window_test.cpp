// Exchanges with the processor run beside the windows: a Receive All on line
// with the wire-timed simulator while the library window rescans its folder,
// another bank is edited and its record of unsaved work is written; and the
// exchanges' own messages in a Japanese frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "controls/colorbutton.h"
#include "editors/ui/ctpanel.h"
#include "device/ui/progresswin.h"
#include "editors/ui/projectwin.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "sim/factorybank.h"
#include "sim/orb8simulator.h"
#include "tests/apprig.h"
#include "tests/testfiles.h"
#include "workspace/ui/recoverykeeper.h"

using namespace orb8;

TEST(Exchange, ReceiveAllWhileTheLibraryRescansAndAnotherBankIsEdited) {
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(banks + "/live.orb", 4, "CRUNCH", "slap-back", 10));
    QTemporaryDir recovery;
    AppRig rig({true, {}}, {}, false, recovery.path(), ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    TProjectWindow* target = win.Documents().CurrentProject;
    rig.Connect();
    rig.Idle();
    rig.WaitExchange();

    win.LibraryMenu->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(library->AddFolderBtn, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return library->Model().rowCount() == 80; }, 20000));

    win.ProjectNewMenu->trigger();
    TProjectWindow* other = win.Documents().CurrentProject;
    ASSERT_NE(other, target);
    win.MdiArea->setActiveSubWindow(target->SubWindow());
    rig.TakeLog();
    win.UploadMenu->trigger();
    ASSERT_TRUE(win.Host().ExchangeRunning());
    // Meanwhile: a rescan, and an edit of the other bank whose record falls due.
    QSignalSpy handed(win.Recovery(), &RecoveryKeeper::RecordHandedOver);
    QTest::mouseClick(library->RescanBtn, Qt::LeftButton);
    AppRig::Change(other, [](ProjectDocument& d) { EncodeName("OTHER", d.PatchOfRow(5)); });
    ASSERT_TRUE(handed.wait(20000));
    rig.WaitExchange();

    // Every patch came in, asked for in order, and the other bank kept its edit.
    EXPECT_EQ(win.Link().lastReceived, 80);
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i)
        ASSERT_EQ(target->Document().patches[static_cast<std::size_t>(i)], Unpack(factory[static_cast<std::size_t>(i)])) << i;
    EXPECT_EQ(DecodeName(other->Document().patches[4]), "OTHER   ");
    std::vector<int> asked;
    for (const std::string& line : rig.TakeLog())
        if (line.find("PatchRequest") != std::string::npos) asked.push_back(static_cast<int>(asked.size()));
    EXPECT_EQ(asked.size(), 80u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return library->Model().rowCount() == 80; }, 20000));
    EXPECT_FALSE(win.ProgressWin->isVisible());
}

// The exchanges' messages reach the user in the frame's language: the texts
// the processor's exchanges have stay as they are, in a Japanese frame too.
TEST(Exchange, ResultsInAJapaneseFrame) {
    for (const bool japanese : {false, true}) {
        AppRig rig({false, {}}, {}, japanese);
        TMainWin& win = *rig.win;
        rig.Connect();
        rig.Idle();
        rig.WaitExchange();
        rig.dialogs.yesNo = false;
        win.UploadMenu->trigger();
        rig.WaitExchange();
        EXPECT_EQ(rig.dialogs.Last("question"), "Get Patches from ORB-8.\nThis takes little while.\nExecute?");
        // A processor that answers with nonsense: "Data failure.".
        rig.system.Simulator()->With([](Orb8Simulator& s) {
            s.InjectFault("PatchRequest", 3, SimFault::Unrecognised);
            return 0;
        });
        rig.dialogs.yesNo = true;
        win.UploadMenu->trigger();
        rig.WaitExchange();
        EXPECT_EQ(rig.dialogs.Last("information"), "Data failure.");
        win.OnLineMenu->trigger();  // off line
        rig.Idle();
        QTest::mouseClick(win.ControlPanel->UploadBtn, Qt::LeftButton);
        rig.WaitExchange();
        EXPECT_EQ(rig.dialogs.Last("information"), "Not be OnLine.");
    }
}
