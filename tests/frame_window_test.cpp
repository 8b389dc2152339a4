// The frame with the world around it: MIDI ports that appear after start-up,
// SysEx files through the File menu, and screens the windows must fit.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QSettings>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "customdist/ui/character.h"
#include "customdist/ui/customdistwin.h"
#include "customdist/ui/dcharwin.h"
#include "device/ui/windowhost.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "device/ui/midi.h"
#include "midi/midisystem.h"
#include "tests/apprig.h"
#include "tests/appwindow.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

// JACK is found after the window is up: its ports join the lists, and the
// start-up choice (device 0, or the remembered port) is made again with them
// unless the user has chosen or opened a port meanwhile.
TEST(MainWindow, PortsFoundAfterStartUpJoinTheChoice) {
    struct LateBackend : MidiBackend {
        std::string Name() const override { return "JACK"; }
        std::vector<std::string> OutputNames() override { return {"late:out"}; }
        std::vector<std::string> InputNames() override { return {"late:in"}; }
        std::unique_ptr<MidiOut> OpenOutput(int, int& result) override {
            result = 1;
            return nullptr;
        }
        std::unique_ptr<MidiIn> OpenInput(int, MidiReceiveHandler, int& result) override {
            result = 1;
            return nullptr;
        }
    };
    TempDir dir;
    QSettings settings(QString::fromStdString(dir.Path("orb8ed.conf")), QSettings::IniFormat);
    settings.setValue("midi/input", "late:in");
    MidiSystem system(SimulatorOnly({false, {}}));
    ScriptedDialogs dialogs;
    TMainWin win(system, dialogs, MainWinOptions{false, {}, false, &settings});
    EXPECT_EQ(win.Midi().MidiOutName, "ORB-8 Simulator");
    EXPECT_EQ(win.Midi().MidiInName, "ORB-8 Simulator");
    win.AddMidiBackend(std::make_unique<LateBackend>());
    EXPECT_EQ(win.Midi().OutputNames(), (QStringList{"late:out", "ORB-8 Simulator"}));
    EXPECT_EQ(win.Midi().MidiOutName, "late:out");  // device 0 now
    EXPECT_EQ(win.Midi().MidiInName, "late:in");    // remembered
    ASSERT_EQ(Named<QMenu>(win, "MidiOutMenu")->actions().size(), 2);
    EXPECT_TRUE(Named<QMenu>(win, "MidiOutMenu")->actions()[0]->isChecked());
    // A choice made by the user stands.
    MidiSystem other(SimulatorOnly({false, {}}));
    TMainWin chosen(other, dialogs, MainWinOptions{false, {}, false});
    chosen.Midi().ChooseOutput(0);
    chosen.Midi().ChooseInput(0);
    ASSERT_EQ(chosen.Host().OpenOutput(), 0);
    chosen.AddMidiBackend(std::make_unique<LateBackend>());
    EXPECT_EQ(chosen.Midi().MidiOutName, "ORB-8 Simulator");
    EXPECT_EQ(chosen.Midi().MidiOutID, 1);
    dialogs.discardUnsaved = true;
}

TEST(MainWindow, SysExExportAndImportThroughTheMenus) {
    TempDir dir;
    App app;
    TProjectWindow* p = app.Project();
    App::Change(p, [](ProjectDocument& d) { EncodeName("SYX ONE", d.PatchOfRow(3)); });
    app.dialogs.saveNames = {QString::fromStdString(dir.Path("bank"))};
    app.Action("ExportSyxMenu")->trigger();
    ASSERT_TRUE(std::filesystem::exists(dir.Path("bank.syx")));
    EXPECT_EQ(ReadAll(dir.Path("bank.syx")).size(), 6 + 80 * 91 + 6u);

    app.Action("ProjectNewMenu")->trigger();
    TProjectWindow* q = app.Project(1);
    app.dialogs.openNames = {QString::fromStdString(dir.Path("bank.syx"))};
    app.Action("ImportSyxMenu")->trigger();
    EXPECT_EQ(DecodeName(q->Document().patches[2]), "SYX ONE ");
    EXPECT_EQ(q->Grid()->CellText(3, 1), "SYX ONE ");
    EXPECT_TRUE(q->Doc().Modified());
    EXPECT_NE(app.dialogs.Last("information").indexOf("80 patches"), -1);

    // A file with nothing usable changes nothing.
    WriteAll(dir.Path("junk.syx"), {0xF0, 0x41, 0x00, 0xF7, 0x12});
    const int steps = q->Session().StepCount();
    app.dialogs.openNames = {QString::fromStdString(dir.Path("junk.syx"))};
    app.Action("ImportSyxMenu")->trigger();
    EXPECT_NE(app.dialogs.Last("information").indexOf("Nothing was changed"), -1);
    EXPECT_EQ(q->Session().StepCount(), steps);
    // Undo takes the import back.
    Named<QMdiArea>(*app.win, "MdiArea")->setActiveSubWindow(q->SubWindow());
    app.Idle();
    app.Action("UndoMenu")->trigger();
    EXPECT_EQ(DecodeName(q->Document().patches[2]), "        ");
    EXPECT_FALSE(q->Doc().Modified());
}

// Every window fits a 1024x768 screen, and 1920x1080 at scale 2 (960x540 in
// its own pixels), however long the bank's path: long paths are cut in the
// lists, and what does not fit scrolls.
TEST(Windows, FitCommonScreensWithLongPaths) {
    TempDir dir;
    const std::string folder = dir.Path(std::string(120, 'f'));
    std::filesystem::create_directories(folder);
    ProjectDocument bank;
    bank.fileName = folder + "/" + std::string(100, 'b') + ".orb";
    ASSERT_TRUE(bank.Save().ok());
    AppRig rig({false, {}}, {QString::fromStdString(bank.fileName)}, false, {}, ScriptedDialogs::RecoveryAnswer::Later,
               QString::fromStdString(dir.Path("library.db")));
    TMainWin& win = *rig.win;
    Named<QAction>(win, "DifferencesMenu")->trigger();
    Named<QAction>(win, "SoundDesignMenu")->trigger();
    Named<QAction>(win, "LibraryMenu")->trigger();
    Named<QAction>(win, "MonitorMenu")->trigger();
    Named<QAction>(win, "KeyboardMenu")->trigger();
    Named<QAction>(win, "CustomDistNewMenu")->trigger();
    TCustomDistWin* sets = win.Documents().CurrentCustomDist();
    ASSERT_TRUE(sets);
    sets->DistortionDesigner(0)->ShowDesigner();
    sets->ToneDesigner(0, SlotHigh)->ShowDesigner("HIGH");
    const QSize scaleTwo(960, 540), small(1024, 768);
    const QRect screen = win.screen()->availableGeometry();
    for (const char* name : {"DifferencesWin", "SoundDesignWin", "LibraryWin", "MidiMonitorWin", "GkbdWin", "DstCharWin1",
                             "CharWinHIGH1"}) {
        auto* w = win.findChild<QWidget*>(name);
        ASSERT_TRUE(w) << name;
        ASSERT_TRUE(w->isVisible()) << name;
        const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
        EXPECT_LE(least.width(), scaleTwo.width()) << name;
        EXPECT_LE(least.height(), scaleTwo.height()) << name;
        EXPECT_LE(w->width(), small.width()) << name;
        EXPECT_LE(w->height(), small.height()) << name;
    }
    EXPECT_LE(win.frameGeometry().height(), std::max(screen.height(), 1));
    EXPECT_LE(win.minimumSizeHint().width(), scaleTwo.width());
    EXPECT_LE(win.minimumSizeHint().height(), scaleTwo.height());
    // A frame smaller than the patch editor (a small screen at scale 2): its
    // scroll bars lead to the windows beyond it.
    auto* area = Named<QMdiArea>(win, "MdiArea");
    win.resize(scaleTwo.width() / 2, scaleTwo.height() / 2);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return area->horizontalScrollBar()->isVisible() && area->verticalScrollBar()->isVisible();
    }));
}
