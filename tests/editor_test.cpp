// The patch editor and the RTM window driven as a user drives them, checked
// against the patch, the custom settings and what reached the simulated ORB-8.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "app/ui/mainwin.h"
#include "controls/celltext.h"
#include "controls/colorbutton.h"
#include "controls/volume.h"
#include "device/ui/windowhost.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "editors/ui/rtmpopwin.h"
#include "midi/midisystem.h"
#include "tests/apprig.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

namespace {

struct Editor : AppRig {
    Editor() : panel(Named<TControlPanel>(*win, "ControlPanel")), project(win->Documents().CurrentProject()) {}
    // The (byte, value) pairs of the ParameterChanges the processor received.
    std::vector<std::pair<int, int>> Changes() {
        std::vector<std::pair<int, int>> out;
        for (const std::string& line : TakeLog()) {
            if (line.find("ParameterChange") == std::string::npos) continue;
            unsigned b[9];
            std::sscanf(line.c_str(), "%x %x %x %x %x %x %x %x %x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6],
                        &b[7], &b[8]);
            out.emplace_back(static_cast<int>(b[5]), static_cast<int>(b[6] * 16 + b[7]));
        }
        return out;
    }
    const PatchData& Patch() { return project->Document().patches[static_cast<std::size_t>(panel->PatchIndex())]; }
    void Choose(QComboBox* list, int row) {
        list->setCurrentIndex(row);
        emit list->activated(row);
    }
    TControlPanel* panel;
    TProjectWindow* project;
};

std::vector<int> BytesOf(const std::vector<std::pair<int, int>>& changes) {
    std::vector<int> b;
    for (const auto& c : changes) b.push_back(c.first);
    return b;
}

}  // namespace

TEST(PatchEditorWindow, TypeMemoryKnobsKeysAndTheList) {
    Editor e;
    e.Connect();
    AppRig::Change(e.project, [](ProjectDocument& d) { d.patches[0][ModuleSwitches] = DriveOn | ModOn | DlyOn | EqOn; });
    e.project->SetCurrentRow(1);
    e.Changes();
    // "COMP" after "OVER DRV": 5, 5, 5, 24 and 0, 18 messages, the list row.
    e.Choose(Named<QComboBox>(*e.panel, "DriveType"), 14);
    EXPECT_EQ(std::vector<int>(e.Patch().begin() + 2, e.Patch().begin() + 6), (std::vector<int>{5, 5, 5, 24}));
    EXPECT_EQ(e.Patch()[DriveRtmDest], 0);
    const auto sent = e.Changes();
    ASSERT_EQ(sent.size(), 18u);
    EXPECT_EQ(sent.front().first, 1);
    EXPECT_EQ(sent.back().first, 18);
    EXPECT_EQ(e.project->Grid()->CellText(1, 2).trimmed(), "COMP");
    EXPECT_EQ(Named<TCellText>(*e.panel, "DriveVolume2Label")->text(), "COMP SNS");
    EXPECT_EQ(e.project->Caption(), "NoName1*");  // an edit marks the project
    e.Choose(Named<QComboBox>(*e.panel, "DriveType"), 9);
    EXPECT_EQ(e.Patch()[DriveParam1], 24);

    // A drag on GAIN: the value, the label, one message per change.
    e.Changes();
    TVolume* gain = Named<TVolume>(*e.panel, "DriveVolume1");
    QTest::mousePress(gain, Qt::LeftButton, {}, QPoint(20, 12));
    QTest::mouseMove(gain, QPoint(12, 0));  // straight up: the middle of 0..29
    EXPECT_EQ(e.Patch()[DriveParam1], 15);
    EXPECT_EQ(Named<TCellText>(*e.panel, "DriveVolume1Value")->text(), "16");
    QTest::mouseMove(gain, QPoint(12, 1));  // the same value: nothing more is sent
    QTest::mouseRelease(gain, Qt::LeftButton, {}, QPoint(12, 1));
    EXPECT_EQ(e.Changes(), (std::vector<std::pair<int, int>>{{DriveParam1, 15}}));
    // The keyboard and the wheel as a drag.
    QTest::keyClick(gain, Qt::Key_Up);
    QTest::keyClick(gain, Qt::Key_End);
    EXPECT_EQ(e.Patch()[DriveParam1], 29);
    QTest::keyClick(gain, Qt::Key_PageDown);
    EXPECT_EQ(e.Patch()[DriveParam1], 26);
    EXPECT_EQ(gain->accessibleName(), "GAIN");
    EXPECT_EQ(gain->accessibleDescription(), "27");
    EXPECT_EQ(e.Changes().size(), 3u);

    // A list and a switch.
    e.Choose(Named<QComboBox>(*e.panel, "TrebleFreqCombo"), 2);
    EXPECT_EQ(e.Patch()[EqTrebleFreq], 2);
    Named<QCheckBox>(*e.panel, "VolRtmCheck")->click();
    EXPECT_EQ(e.Patch()[VolRtm], 1);
    EXPECT_EQ(BytesOf(e.Changes()), (std::vector<int>{EqTrebleFreq, VolRtm}));
    // Off line the editor works the same and sends nothing.
    e.win->Link().OffLine();
    QTest::keyClick(gain, Qt::Key_Home);
    EXPECT_EQ(e.Patch()[DriveParam1], 0);
    EXPECT_TRUE(e.Changes().empty());
}

TEST(PatchEditorWindow, ExclusionsTimePairAndCustomTypes) {
    Editor e;
    e.Connect();
    AppRig::Change(e.project, [](ProjectDocument& d) { d.patches[0][ModuleSwitches] = ModOn | DlyOn; });
    e.project->SetCurrentRow(1);
    e.Changes();
    // "SAMPLER" with Mod on: Mod off (byte 0 first), then 28..36, and the RTM controls off.
    e.Choose(Named<QComboBox>(*e.panel, "DlyType"), 13);
    const auto sent = e.Changes();
    std::vector<int> expected{0};
    for (int b = 28; b <= 36; ++b) expected.push_back(b);
    EXPECT_EQ(BytesOf(sent), expected);
    EXPECT_EQ(Named<TColorButton>(*e.panel, "ModOnf")->Caption(), "OFF");
    EXPECT_FALSE(Named<TVolume>(*e.panel, "ModVolume1")->isEnabled());
    QTest::mouseClick(Named<TColorButton>(*e.panel, "RtmEditBtn"), Qt::LeftButton);
    TRtmPopUp& rtm = *Named<TRtmPopUp>(*e.win, "RtmPopUp");
    EXPECT_FALSE(Named<QSlider>(rtm, "DlyMaxTrackBar")->isEnabled());
    EXPECT_EQ(e.project->Grid()->CellText(1, 3), "OFF");

    // "DELAY": TIMEX100 at 60 sets TIMEX1 to 0 and disables it.
    Named<TColorButton>(*e.panel, "ModOnf")->OnClick(Named<TColorButton>(*e.panel, "ModOnf"));  // on: Dly/Rev "SAMPLER" goes off
    EXPECT_EQ(Named<TColorButton>(*e.panel, "DlyOnf")->Caption(), "OFF");
    e.Choose(Named<QComboBox>(*e.panel, "ModType"), 14);
    e.Changes();
    TVolume* timex100 = Named<TVolume>(*e.panel, "ModVolume1");
    timex100->setFocus();
    for (int i = 0; i < 60; ++i) QTest::keyClick(timex100, Qt::Key_Up);
    EXPECT_EQ(e.Patch()[ModParam1], 60);
    EXPECT_EQ(e.Patch()[ModParam2], 0);
    EXPECT_FALSE(Named<TVolume>(*e.panel, "ModVolume2")->isEnabled());
    const auto last = e.Changes();
    ASSERT_GE(last.size(), 2u);
    EXPECT_EQ(last[last.size() - 2], std::make_pair(20, 60));
    EXPECT_EQ(last.back(), std::make_pair(21, 0));

    // "CUSTOM1" with base type 3: "(FLANGER)" and its four parameters; knobs reach the slot.
    AppRig::Change(e.project, [](ProjectDocument& d) { d.customSettings[kModCustom1Slot] = 3; });
    const CustomSettingsBlock& block = e.project->Session().Document().customSettings;
    e.Choose(Named<QComboBox>(*e.panel, "ModType"), 20);
    EXPECT_EQ(Named<QLabel>(*e.panel, "ModCustom")->text(), "(FLANGER)");
    EXPECT_EQ(Named<TCellText>(*e.panel, "ModVolume2Label")->text(), "FLG RATE");
    QTest::keyClick(Named<TVolume>(*e.panel, "ModVolume4"), Qt::Key_Down);
    EXPECT_EQ(block[kModCustom1Slot + 4], e.Patch()[ModParam4]);
}

// A CUSTOM type plays its slot's values; showing the patch fills them in for
// the knobs but leaves the document alone until an edit, which takes them as
// part of its step.
TEST(PatchEditorWindow, ShowingACustomPatchChangesNoByteOfTheBank) {
    Editor e;
    AppRig::Change(e.project, [](ProjectDocument& d) {
        d.patches[1][ModuleSwitches] = ModOn;
        d.patches[1][ModType] = 20;  // CUSTOM1
        for (int b = ModParam1; b <= ModParam4; ++b) d.patches[1][static_cast<std::size_t>(b)] = 1;
        d.customSettings[kModCustom1Slot] = 3;  // FLANGER
        for (int i = 1; i <= 4; ++i) d.customSettings[static_cast<std::size_t>(kModCustom1Slot + i)] = 7;
    });
    const ProjectDocument before = e.project->Document();
    const int steps = e.project->Session().StepCount();
    e.project->SetCurrentRow(2);
    EXPECT_EQ(Named<TVolume>(*e.panel, "ModVolume1")->Position(), 7);  // the slot's value is shown
    EXPECT_EQ(e.project->Document().patches, before.patches);
    EXPECT_EQ(e.project->Document().customSettings, before.customSettings);
    EXPECT_EQ(e.project->Session().StepCount(), steps);

    QTest::keyClick(Named<TVolume>(*e.panel, "ModVolume4"), Qt::Key_Up);
    EXPECT_EQ(e.Patch()[ModParam1], 7);  // the edit's step took the shown values
    EXPECT_EQ(e.Patch()[ModParam4], 8);
    EXPECT_EQ(e.project->Session().StepCount(), steps + 1);
    e.project->Undo();
    EXPECT_EQ(e.project->Document().patches, before.patches);
    EXPECT_EQ(e.project->Document().customSettings, before.customSettings);
    EXPECT_EQ(Named<TVolume>(*e.panel, "ModVolume4")->Position(), 7);
}

TEST(PatchEditorWindow, NameEntry) {
    Editor e;
    e.Connect();
    e.Changes();
    QLineEdit* name = Named<QLineEdit>(*e.panel, "PatchName");
    name->setText("NINECHARS");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(e.dialogs.Last("information"), "Patch name is too long");
    name->setText("lead");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(e.dialogs.Last("information"), "invalid character");
    EXPECT_TRUE(e.Changes().empty());
    name->setText("LEAD 1");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(DecodeName(e.Patch()), "LEAD 1  ");
    EXPECT_EQ(e.project->Grid()->CellText(1, 1), "LEAD 1  ");
    EXPECT_EQ(BytesOf(e.Changes()), (std::vector<int>{51, 52, 53, 54, 55, 56, 57, 58}));
    name->setText("");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(DecodeName(e.Patch()), "        ");
    EXPECT_EQ(e.Changes().size(), 8u);
}

TEST(PatchEditorWindow, RtmWindow) {
    Editor e;
    e.Connect();
    AppRig::Change(e.project, [](ProjectDocument& d) { d.patches[0][ModuleSwitches] = ModOn | EqOn; });
    e.project->SetCurrentRow(1);
    e.Changes();
    Named<TColorButton>(*e.panel, "RtmEditBtn")->OnClick(Named<TColorButton>(*e.panel, "RtmEditBtn"));
    TRtmPopUp& rtm = *Named<TRtmPopUp>(*e.win, "RtmPopUp");
    EXPECT_TRUE(rtm.isVisible());
    EXPECT_EQ(rtm.size(), QSize(534, 216));
    EXPECT_EQ(rtm.pos(), e.win->geometry().topLeft() + QPoint(20, 50));
    Named<QSlider>(rtm, "ModMaxTrackBar")->setValue(75);
    EXPECT_EQ(e.Patch()[ModRtmMax], 75);
    EXPECT_EQ(Named<QLabel>(rtm, "ModMaxValue")->text(), "75%");
    EXPECT_EQ(e.Changes(), (std::vector<std::pair<int, int>>{{ModRtmMax, 75}}));
    QComboBox* eqDest = Named<QComboBox>(rtm, "EqDesCombo");
    eqDest->setCurrentIndex(4);
    emit eqDest->activated(4);
    EXPECT_EQ(e.Patch()[EqRtmDest], 4);
    EXPECT_EQ(eqDest->currentText(), "LEVEL");
    EXPECT_FALSE(Named<TVolume>(rtm, "DriveCtrVol")->isEnabled());  // the drive is off
    TVolume* modCtrl = Named<TVolume>(rtm, "ModCtrVol");
    for (int i = 0; i < 7; ++i) QTest::keyClick(modCtrl, Qt::Key_Up);
    EXPECT_EQ(Named<QLabel>(rtm, "ModCtrValue")->text(), "8");
    // The Mod list follows the type.
    e.Choose(Named<QComboBox>(*e.panel, "ModType"), 14);
    EXPECT_EQ(Named<QComboBox>(rtm, "ModDesCombo")->count(), 3);
    EXPECT_EQ(Named<QComboBox>(rtm, "ModDesCombo")->itemText(0), "TIME");
}

TEST(PatchEditorWindow, OutOfRangeValuesRoundTripAndEditsSurviveSave) {
    TempDir dir;
    ProjectDocument odd;
    odd.patches[0][ModuleSwitches] = DriveOn | ModOn | DlyOn | EqOn;
    odd.patches[0][ModType] = 25;
    odd.patches[0][ModParam1] = 210;
    odd.patches[0][DriveParam1] = 31;
    odd.patches[0][EqBass] = 31;
    odd.patches[0][Ctrl1Number] = 63;
    odd.fileName = dir.Path("odd.orb");
    ASSERT_TRUE(odd.Save().ok());
    const auto bytes = ReadAll(odd.fileName);

    Editor e;
    auto* w = qobject_cast<TProjectWindow*>(e.win->OpenByName(QString::fromStdString(odd.fileName)));
    ASSERT_TRUE(w);
    EXPECT_EQ(Named<TCellText>(*e.panel, "DriveVolume1Value")->text(), "?31");
    const QColor outOfRange = Named<TCellText>(*e.panel, "DriveVolume1Value")->Color();
    EXPECT_NE(outOfRange, Named<TCellText>(*e.panel, "DriveVolume2Value")->Color());
    EXPECT_FALSE(Named<TCellText>(*e.panel, "DriveVolume1Value")->toolTip().isEmpty());
    EXPECT_EQ(Named<TVolume>(*e.panel, "DriveVolume1")->Max(), 29);
    EXPECT_EQ(Named<QComboBox>(*e.panel, "ModType")->placeholderText(), "?25");
    EXPECT_FALSE(Named<TVolume>(*e.panel, "ModVolume1")->isEnabled());
    EXPECT_EQ(Named<TCellText>(*e.panel, "EqVolume4Value")->text(), "?31");
    EXPECT_EQ(Named<TCellText>(*e.panel, "Ct1NoVolValue")->text(), "?63");
    // Looked at, not touched: saved back byte for byte.
    e.dialogs.saveNames = {QString::fromStdString(dir.Path("back.orb"))};
    e.Action("SaveAsMenu")->trigger();
    EXPECT_EQ(ReadAll(dir.Path("back.orb")), bytes);

    // An edit survives save and reload; the knob that moved takes a real value.
    QTest::keyClick(Named<TVolume>(*e.panel, "DriveVolume1"), Qt::Key_Down);
    EXPECT_EQ((*e.panel->Editor().Current())[DriveParam1], 28);
    EXPECT_EQ(Named<TCellText>(*e.panel, "DriveVolume1Value")->Color(), Named<TCellText>(*e.panel, "DriveVolume2Value")->Color());
    EXPECT_TRUE(Named<TCellText>(*e.panel, "DriveVolume1Value")->toolTip().isEmpty());
    e.Action("SaveMenu")->trigger();
    ProjectDocument back;
    back.fileName = dir.Path("back.orb");
    ASSERT_TRUE(back.Load().ok());
    EXPECT_EQ(back.patches[0][DriveParam1], 28);
    EXPECT_EQ(back.patches[0][EqBass], 31);
}
