// Live edits on a processor behind a MIDI cable: the window program paces its
// output to the wire, so whatever the hand does (a knob whipped across its
// range, Compare or Undo while the drag's values are still going out, a type
// change right after a drag), the processor ends holding what the editor shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTest>
#include <cmath>

#include "controls/colorbutton.h"
#include "controls/volume.h"
#include "editors/ui/ctpanel.h"
#include "sim/orb8simulator.h"
#include "tests/apprig.h"
#include "controls/named.h"

using namespace orb8;

namespace {

// The pointer at `degrees` clockwise from a knob's value-0 end.
QPoint OnArc(double degrees) {
    const double t = degrees * M_PI / 180 - M_PI / 4;
    return QPoint(12 + static_cast<int>(std::lround(-std::cos(t) * 40)),
                  12 - static_cast<int>(std::lround(std::sin(t) * 40)));
}

struct CableRig : AppRig {
    CableRig() : AppRig(SimTiming{true, {}}) {
        win->findChild<QAction*>("PaceMenu_midi")->trigger();
        Connect();
        panel = Named<TControlPanel>(*win, "ControlPanel");
        project = win->Documents().CurrentProject();
        // Patch U01 with its Mod on as BPM DLY (BPM 0..210, the widest knob).
        Change(project, [](ProjectDocument& d) {
            d.patches[0][ModuleSwitches] = ModOn;
            d.patches[0][ModType] = 16;
        });
        project->SelectRow(1);
        Idle();  // the patch change writes the edit buffer
    }
    // The whole range of a knob in one movement of the hand, quicker than the wire.
    void Whip(TVolume* knob, bool up) {
        QTest::mousePress(knob, Qt::LeftButton, {}, QPoint(12, 12));
        for (int step = 0; step <= 1080; step += 2) QTest::mouseMove(knob, OnArc(up ? step / 4.0 : 270 - step / 4.0));
        QTest::mouseRelease(knob, Qt::LeftButton, {}, QPoint(12, 12));
    }
    // What the processor's edit buffer holds once everything sent has arrived.
    PatchData Processor() {
        received = TakeLog();
        return system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; });
    }
    PatchData Shown() { return *panel->Editor().Current(); }

    TControlPanel* panel = nullptr;
    TProjectWindow* project = nullptr;
    std::vector<std::string> received;
};

}  // namespace

TEST(PacedOutput, AWhippedKnobLeavesTheProcessorAtItsLastValue) {
    CableRig rig;
    TVolume* bpm = Named<TVolume>(*rig.panel, "ModVolume1");
    rig.TakeLog();
    rig.Whip(bpm, true);
    const PatchData shown = rig.Shown();
    EXPECT_NE(shown, rig.project->Session().Stored(0));
    EXPECT_EQ(rig.Processor(), shown);
    // Far fewer messages than the knob's steps reached the processor: the
    // values the wire had no time for were replaced by newer ones.
    EXPECT_GT(rig.received.size(), 0u);
    EXPECT_LT(rig.received.size(), 100u);

    // Back down, then a type change at once: its parameters follow it.
    rig.Whip(bpm, false);
    Named<QComboBox>(*rig.panel, "ModType")->setCurrentIndex(3);
    emit Named<QComboBox>(*rig.panel, "ModType")->activated(3);
    EXPECT_EQ(rig.Processor(), rig.Shown());
    EXPECT_EQ(rig.Shown()[ModType], rig.project->Document().patches[0][ModType]);
}

TEST(PacedOutput, CompareAndUndoRightAfterADragLeaveTheProcessorHoldingWhatTheEditorShows) {
    CableRig rig;
    TVolume* bpm = Named<TVolume>(*rig.panel, "ModVolume1");
    rig.Whip(bpm, true);
    // Compare while the drag's values may still be on their way.
    QTest::mouseClick(Named<TColorButton>(*rig.panel, "CompareBtn"), Qt::LeftButton);
    ASSERT_TRUE(rig.Action("CompareMenu")->isChecked());
    EXPECT_EQ(rig.Processor(), rig.Shown());
    EXPECT_EQ(rig.Shown(), rig.project->Session().Stored(0));
    QTest::mouseClick(Named<TColorButton>(*rig.panel, "CompareBtn"), Qt::LeftButton);
    EXPECT_EQ(rig.Processor(), rig.Shown());
    EXPECT_EQ(rig.Shown(), rig.project->Document().patches[0]);

    // Undo of a type change right after a drag on the new type's knob.
    Named<QComboBox>(*rig.panel, "ModType")->setCurrentIndex(3);
    emit Named<QComboBox>(*rig.panel, "ModType")->activated(3);
    rig.Whip(Named<TVolume>(*rig.panel, "ModVolume1"), true);
    rig.Idle();
    rig.Action("UndoMenu")->trigger();  // the drag
    rig.Idle();
    rig.Action("UndoMenu")->trigger();  // the type change
    EXPECT_EQ(rig.Shown()[ModType], 16);
    EXPECT_EQ(rig.Processor(), rig.Shown());
}
