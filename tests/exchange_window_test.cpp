// Exchanges with the processor run beside the windows: a Receive All on line
// with the wire-timed simulator while the library window rescans its folder,
// another bank is edited and its record of unsaved work is written; and the
// exchanges' own messages in a Japanese frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QPushButton>
#include <QStatusBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "customdist/ui/customdistwin.h"
#include <QTableView>
#include "controls/colorbutton.h"
#include "editors/ui/ctpanel.h"
#include "device/sysexfile.h"
#include "device/ui/midimonitorwin.h"
#include "device/ui/progresswin.h"
#include "device/ui/trafficmodel.h"
#include "editors/ui/projectwin.h"
#include "device/ui/midi.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "sim/factorybank.h"
#include "sim/orb8simulator.h"
#include "tests/apprig.h"
#include "tests/librarysearch.h"
#include "tests/testfiles.h"
#include "workspace/ui/recoverykeeper.h"
#include "controls/named.h"

using namespace orb8;

namespace {

// On line, with a library of its own in `dir`, and the selected patch on the processor.
struct OnLineWithLibrary : AppRig {
    explicit OnLineWithLibrary(const TempDir& dir)
        : AppRig({false, {}}, {}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
                 QString::fromStdString(dir.Path("library.db"))) {
        Connect();
        win->Documents().CurrentProject()->SetCurrentRow(1);
        Idle();
        WaitExchange();
    }
};

}  // namespace

TEST(Exchange, ReceiveAllWhileTheLibraryRescansAndAnotherBankIsEdited) {
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(banks + "/live.orb", 4, "CRUNCH", "slap-back", 10));
    QTemporaryDir recovery;
    AppRig rig({true, {}}, {}, false, recovery.path(), ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    TProjectWindow* target = win.Documents().CurrentProject();
    rig.Connect();
    rig.Idle();
    rig.WaitExchange();

    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return library->Model().rowCount() == 80; }, 20000));

    Named<QAction>(win, "ProjectNewMenu")->trigger();
    TProjectWindow* other = win.Documents().CurrentProject();
    ASSERT_NE(other, target);
    Named<QMdiArea>(win, "MdiArea")->setActiveSubWindow(target->SubWindow());
    rig.TakeLog();
    Named<QAction>(win, "UploadMenu")->trigger();
    ASSERT_TRUE(win.Host().ExchangeRunning());
    // Meanwhile: a rescan, and an edit of the other bank whose record falls due.
    QSignalSpy handed(win.Recovery(), &RecoveryKeeper::RecordHandedOver);
    QTest::mouseClick(Named<QPushButton>(*library, "RescanBtn"), Qt::LeftButton);
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
    // The bank received is kept in the processor's history, which the library indexes too.
    EXPECT_TRUE(QTest::qWaitFor([&] { return library->Model().rowCount() == 160; }, 20000))
        << library->Model().rowCount();
    EXPECT_FALSE(Named<TProgressWin>(win, "ProgressWin")->isVisible());
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
        Named<QAction>(win, "UploadMenu")->trigger();
        rig.WaitExchange();
        EXPECT_EQ(rig.dialogs.Last("question"), "Get Patches from ORB-8.\nThis takes little while.\nExecute?");
        // A processor that answers with nonsense: "Data failure.".
        rig.system.Simulator()->With([](Orb8Simulator& s) {
            s.InjectFault("PatchRequest", 3, SimFault::Unrecognised);
            return 0;
        });
        rig.dialogs.yesNo = true;
        Named<QAction>(win, "UploadMenu")->trigger();
        rig.WaitExchange();
        EXPECT_EQ(rig.dialogs.Last("information"), "Data failure.");
        Named<QAction>(win, "OnLineMenu")->trigger();  // off line
        rig.Idle();
        QTest::mouseClick(Named<TColorButton>(*Named<TControlPanel>(win, "ControlPanel"), "UploadBtn"), Qt::LeftButton);
        rig.WaitExchange();
        EXPECT_EQ(rig.dialogs.Last("information"), "Not be OnLine.");
    }
}

// Each Receive All is kept, without asking, as a dated snapshot that the
// library indexes: the Processor History lists them, tells what U11 held in
// each, and opens one as a bank at that slot.
TEST(Exchange, EachReceiveIsKeptInTheProcessorsHistory) {
    TempDir dir;
    OnLineWithLibrary rig(dir);
    TMainWin& win = *rig.win;
    for (const char* name : {"FIRST", "FIRST", "THIRD"}) {
        rig.system.Simulator()->With([name](Orb8Simulator& s) {
            PatchData p = Unpack(s.bank[4]);
            EncodeName(name, p);
            s.bank[4] = Pack(p);
            return 0;
        });
        Named<QAction>(win, "UploadMenu")->trigger();
        rig.WaitExchange();
    }
    // The custom distortions received are kept too.
    Named<QAction>(win, "CustomDistNewMenu")->trigger();
    QTest::mouseClick(Named<QPushButton>(*win.Documents().CurrentCustomDist(), "RecvBtn"), Qt::LeftButton);
    rig.WaitExchange();
    Named<QMdiArea>(win, "MdiArea")->setActiveSubWindow(win.Documents().Projects().front()->SubWindow());
    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    ASSERT_TRUE(library);
    auto* pane = library->findChild<QWidget*>("ProcessorHistory");
    ASSERT_TRUE(pane);
    auto* snapshots = pane->findChild<QListView*>("Snapshots");
    auto* slot = pane->findChild<QComboBox*>("HistorySlot");
    auto* slotHistory = pane->findChild<QListView*>("SlotHistory");
    ASSERT_TRUE(snapshots && slot && slotHistory);
    ASSERT_EQ(snapshots->model()->rowCount(), 4);
    int sets = 0, newestBank = -1;
    for (int row = 0; row < 4; ++row) {
        const QString text = snapshots->model()->index(row, 0).data().toString();
        EXPECT_TRUE(text.contains("ORB-8 on channel 1")) << text.toStdString();
        const bool set = text.contains("custom distortions received");
        sets += set;
        if (!set && newestBank < 0) newestBank = row;
    }
    EXPECT_EQ(sets, 1);
    // The newest bank (three in one second are kept a second apart, in order).
    ASSERT_GE(newestBank, 0);
    snapshots->setCurrentIndex(snapshots->model()->index(newestBank, 0));
    slot->setCurrentIndex(4);
    ASSERT_EQ(slotHistory->model()->rowCount(), 3);
    auto entry = [&](int row) { return slotHistory->model()->index(row, 0).data().toString(); };
    EXPECT_TRUE(entry(0).contains("THIRD") && entry(0).contains("(changed)")) << entry(0).toStdString();
    EXPECT_TRUE(entry(1).contains("FIRST") && !entry(1).contains("(changed)")) << entry(1).toStdString();
    EXPECT_TRUE(entry(2).contains("FIRST") && entry(2).contains("(changed)")) << entry(2).toStdString();

    // The library finds the snapshots' patches.
    ASSERT_TRUE(SearchLibrary(library, "third"));
    ASSERT_TRUE(SearchAgainUntil(library, [&] { return library->Model().rowCount() >= 1; }));

    // The newest, opened as a bank at U11.
    const auto before = win.Documents().Windows().size();
    QTest::mouseClick(pane->findChild<QPushButton*>("OpenSnapshotBtn"), Qt::LeftButton);
    ASSERT_EQ(win.Documents().Windows().size(), before + 1);
    TProjectWindow* opened = win.Documents().CurrentProject();
    ASSERT_TRUE(opened);
    EXPECT_NE(opened->Doc().FileName().find("processor-history"), std::string::npos);
    EXPECT_EQ(DecodeName(opened->Document().patches[4]), "THIRD   ");
    EXPECT_EQ(opened->CurrentRow(), 5);
}

// Send Changed: without knowing what the processor holds it offers a Receive
// All into a new bank; then only the patches changed since go, and are read back.
TEST(Exchange, SendChangedSendsOnlyWhatTheProcessorLacks) {
    TempDir dir;
    OnLineWithLibrary rig(dir);
    TMainWin& win = *rig.win;
    const auto windows = win.Documents().Windows().size();
    Named<QAction>(win, "SendChangedMenu")->trigger();
    rig.WaitExchange();
    EXPECT_TRUE(std::any_of(rig.dialogs.shown.begin(), rig.dialogs.shown.end(), [](const ScriptedDialogs::Box& b) {
        return b.kind == "question" && b.text.contains("does not know what this ORB-8 holds");
    }));
    ASSERT_EQ(win.Documents().Windows().size(), windows + 1);
    TProjectWindow* bank = win.Documents().CurrentProject();
    const auto factory = FactoryBank();
    ASSERT_EQ(bank->Document().patches[22], Unpack(factory[22]));

    for (const int row : {5, 23, 80})
        AppRig::Change(bank, [row](ProjectDocument& d) { d.PatchOfRow(row)[PatchLevel] = 3; });
    auto names = [&] {
        rig.Drain();
        return rig.system.Simulator()->With([](Orb8Simulator& s) {
            auto n = s.ReceivedNames();
            s.ClearLog();
            return n;
        });
    };
    rig.Idle();
    names();
    Named<QAction>(win, "SendChangedMenu")->trigger();
    rig.WaitExchange();
    const std::vector<std::string> expected = {"WriteOpen",  "PatchDump",    "PatchDump",    "PatchDump",
                                               "WriteClose", "PatchRequest", "PatchRequest", "PatchRequest"};
    EXPECT_EQ(names(), expected);
    EXPECT_TRUE(win.statusBar()->currentMessage().startsWith("Sent 3 changed patches (U11, U53, u94); read back, all as sent"))
        << win.statusBar()->currentMessage().toStdString();
    const auto held = rig.system.Simulator()->With([](Orb8Simulator& s) { return s.bank; });
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(held[static_cast<std::size_t>(i)], Pack(bank->Document().patches[static_cast<std::size_t>(i)])) << i;
    // Known now: nothing more to send.
    Named<QAction>(win, "SendChangedMenu")->trigger();
    rig.WaitExchange();
    EXPECT_EQ(rig.dialogs.Last("information"), "The ORB-8 already holds every patch of this bank.");
    EXPECT_TRUE(names().empty());
}

// Try on the Processor: the chosen library patch plays on the processor, no
// bank or editor changes; another row plays that one; Esc plays the editor's
// patch again.
TEST(Exchange, TryALibraryPatchOnTheProcessor) {
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    ASSERT_TRUE(WriteOnePatchBank(banks + "/live.orb", 4, "CRUNCH", "slap-back", 10));
    ASSERT_TRUE(WriteOnePatchBank(banks + "/other.orb", 7, "SHIMMER", "", 30));
    OnLineWithLibrary rig(dir);
    TMainWin& win = *rig.win;
    TProjectWindow* project = win.Documents().CurrentProject();
    auto playing = [&] {
        rig.Drain();
        return rig.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; });
    };
    const PatchData editors = project->Document().patches[0];
    ASSERT_EQ(playing(), editors);

    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    rig.dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return library->Model().rowCount() == 160; }, 20000));
    ASSERT_TRUE(SearchLibrary(library, "h"));  // CRUNCH and SHIMMER
    ASSERT_EQ(library->Model().rowCount(), 2);
    QTest::mouseClick(Named<QPushButton>(*library, "TryBtn"), Qt::LeftButton);
    ASSERT_TRUE(Named<QPushButton>(*library, "TryBtn")->isChecked());
    const PatchData first = library->ChosenPatch()->patch;
    EXPECT_EQ(playing(), first);
    EXPECT_TRUE(win.statusBar()->currentMessage().contains("from the library")) << win.statusBar()->currentMessage().toStdString();
    // Another row: that one plays.
    Named<QTableView>(*library, "Results")->setFocus();
    QTest::keyClick(Named<QTableView>(*library, "Results"), Qt::Key_Down);
    const PatchData second = library->ChosenPatch()->patch;
    ASSERT_NE(first, second);
    EXPECT_EQ(playing(), second);
    EXPECT_FALSE(project->Doc().Modified());
    EXPECT_EQ(*Named<TControlPanel>(win, "ControlPanel")->EditedPatch(), editors);
    // Esc: the editor's patch again, and the window stays.
    QTest::keyClick(Named<QTableView>(*library, "Results"), Qt::Key_Escape);
    EXPECT_FALSE(Named<QPushButton>(*library, "TryBtn")->isChecked());
    EXPECT_TRUE(library->isVisible());
    EXPECT_EQ(playing(), editors);
}

// The MIDI monitor lists a Receive All's requests and replies in order and
// saves them as a .syx file that the SysEx reader (orb8tool import-syx's) takes in.
TEST(Exchange, TheMonitorListsAReceiveAllAndSavesItAsSysEx) {
    TempDir dir;
    AppRig rig;
    TMainWin& win = *rig.win;
    rig.Connect();
    win.Documents().CurrentProject()->SetCurrentRow(1);
    rig.Idle();
    rig.WaitExchange();
    Named<QAction>(win, "MonitorMenu")->trigger();
    auto* monitor = win.findChild<TMidiMonitorWin*>();
    ASSERT_TRUE(monitor && monitor->isVisible());
    Named<QAction>(win, "UploadMenu")->trigger();
    rig.WaitExchange();
    monitor->TakeRecorded();
    const TrafficModel& model = monitor->Model();
    ASSERT_EQ(model.rowCount(), 160);
    for (int i = 0; i < 80; ++i) {
        EXPECT_EQ(model.index(2 * i, TrafficModel::Name).data().toString(), "PatchRequest") << i;
        EXPECT_EQ(model.index(2 * i, TrafficModel::Direction).data().toString(), "Out");
        EXPECT_EQ(model.index(2 * i + 1, TrafficModel::Name).data().toString(), "PatchDump") << i;
        EXPECT_EQ(model.index(2 * i + 1, TrafficModel::Direction).data().toString(), "In");
    }
    const std::string saved = dir.Path("receive.syx");
    rig.dialogs.saveNames = {QString::fromStdString(saved)};
    QTest::mouseClick(monitor->findChild<QPushButton*>("SaveSyxBtn"), Qt::LeftButton);
    const auto bytes = ReadAll(saved);
    const SysExContents contents = ReadSysEx(bytes);
    EXPECT_EQ(contents.messages, 160);
    ASSERT_EQ(contents.dumps.size(), 80u);
    const auto factory = FactoryBank();
    for (const auto& [index, packed] : contents.dumps) EXPECT_EQ(packed, factory[static_cast<std::size_t>(index)]) << index;

    // Closed, it records nothing.
    monitor->close();
    EXPECT_FALSE(win.Midi().Traffic().Enabled());
}
