// The patch editor's and the RTM window's rules without a window: what each
// change stores, what it sends in which order, what the controls then show.
#include <gtest/gtest.h>

#include "editors/patcheditor.h"

using namespace orb8;

namespace {

using Sent = std::vector<std::pair<int, int>>;

struct EditorRig {
    CustomSettingsBlock settings = DefaultCustomSettings();
    PatchData patch = InitialPatch();
    PatchEditor editor{settings};
    EditorRig() { editor.ShowPatch(&patch); }
    void Show() { editor.ShowPatch(&patch); }
};

std::vector<int> Bytes(const Sent& sent) {
    std::vector<int> b;
    for (const auto& [byte, value] : sent) b.push_back(byte);
    return b;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> r;
    for (int b = first; b <= last; ++b) r.push_back(b);
    return r;
}

}  // namespace

TEST(PatchEditor, DriveTypeMemory) {
    EditorRig r;
    r.patch[DriveParam1] = 10;  // a GAIN of the user's
    r.patch[DriveParam3] = 7;
    const Edit comp = r.editor.DriveTypeChanged(14);  // "COMP" after "OVER DRV"
    EXPECT_EQ(r.patch[DriveType], 14);
    EXPECT_EQ(std::vector<int>(r.patch.begin() + 2, r.patch.begin() + 6), (std::vector<int>{5, 5, 5, 24}));
    EXPECT_EQ(r.patch[DriveRtmDest], 0);
    EXPECT_EQ(Bytes(comp.send), Range(1, 18));
    EXPECT_TRUE(comp.refreshRow);
    EXPECT_EQ(r.editor.DriveKnob(1).name, "COMP SNS");
    EXPECT_EQ(r.editor.DriveKnob(1).text, "5");
    r.editor.DriveTypeChanged(9);  // back: what the patch had
    EXPECT_EQ(r.patch[DriveParam1], 10);
    EXPECT_EQ(r.patch[DriveParam3], 7);
    // Parameter 1 is kept per group: another type of the GAIN group takes it.
    r.editor.DriveTypeChanged(11);
    EXPECT_EQ(r.patch[DriveParam1], 10);
    EXPECT_EQ(r.patch[DriveParam2], 6);
    // Showing the patch again starts the memory afresh.
    r.editor.DriveTypeChanged(14);
    r.Show();
    r.editor.DriveTypeChanged(9);
    EXPECT_EQ(r.patch[DriveParam1], 25);
}

TEST(PatchEditor, CustomDriveTakesAndKeepsItsSlot) {
    EditorRig r;
    r.settings[kDriveCustom1Slot + CustomCharSel - DriveParam1] = 9;  // "S1"
    r.Show();
    const Edit e = r.editor.DriveTypeChanged(20);
    EXPECT_EQ(r.patch[CustomCharSel], 9);
    EXPECT_EQ(Bytes(e.send), Range(1, 18));
    EXPECT_TRUE(r.editor.CustomKnob(0).visible);
    EXPECT_EQ(r.editor.CustomKnob(0).text, "S1");
    r.editor.CustomKnobChanged(1, 4);
    EXPECT_EQ(r.settings[kDriveCustom1Slot + CustomHighSel - DriveParam1], 4);
    r.editor.DriveKnobChanged(0, 3);
    EXPECT_EQ(r.settings[kDriveCustom1Slot], 3);
    r.editor.DriveTypeChanged(9);
    EXPECT_FALSE(r.editor.CustomKnob(0).visible);
}

TEST(PatchEditor, ModAndDlyExclusions) {
    EditorRig r;
    r.patch[ModuleSwitches] = DlyOn;
    r.editor.DlyTypeChanged(16);  // "HPS"
    const Edit on = r.editor.SwitchClicked(ModOn);
    ASSERT_EQ(on.send.size(), 1u);
    EXPECT_EQ(on.send[0], std::make_pair(0, int(ModOn)));
    EXPECT_TRUE(on.refreshRow);

    EditorRig s;
    s.patch[ModuleSwitches] = ModOn | DlyOn;
    const Edit sampler = s.editor.DlyTypeChanged(13);
    std::vector<int> expected{0};
    for (int b = 28; b <= 36; ++b) expected.push_back(b);
    EXPECT_EQ(Bytes(sampler.send), expected);
    EXPECT_EQ(sampler.send[0].second, int(DlyOn));
    EXPECT_FALSE(s.editor.ModuleOn(ModOn));
    EXPECT_FALSE(s.editor.Rtm(Module::DlyRev).enabled);
    // Types 0..12 combine freely; switching Dly/Rev on with "SAMPLER" turns Mod off.
    s.editor.DlyTypeChanged(12);
    EXPECT_FALSE(s.editor.Rtm(Module::DlyRev).enabled);
    s.editor.SwitchClicked(ModOn);
    EXPECT_TRUE(s.editor.ModuleOn(ModOn) && s.editor.ModuleOn(DlyOn));
    s.editor.DlyTypeChanged(13);
    s.editor.SwitchClicked(DlyOn);  // off
    s.editor.SwitchClicked(ModOn);  // on
    s.editor.SwitchClicked(DlyOn);  // on again: Mod goes off
    EXPECT_FALSE(s.editor.ModuleOn(ModOn));
    EXPECT_FALSE(s.editor.SwitchClicked(EqOn).refreshRow);
}

TEST(PatchEditor, TimePair) {
    EditorRig r;
    r.editor.ModTypeChanged(14);  // "DELAY"
    EXPECT_EQ(r.editor.ModKnob(0).name, "TIMEX100");
    const Edit e = r.editor.ModKnobChanged(0, 60);
    EXPECT_EQ(r.patch[ModParam2], 0);
    EXPECT_FALSE(r.editor.ModKnob(1).enabled);
    EXPECT_EQ(e.send, (Sent{{20, 60}, {21, 0}}));
    r.editor.ModKnobChanged(0, 0);
    EXPECT_EQ(r.patch[ModParam2], 1);
    EXPECT_EQ(r.editor.ModKnob(1).min, 1);
    EXPECT_TRUE(r.editor.ModKnob(1).enabled);
    // A knob that did not move sends nothing.
    EXPECT_TRUE(r.editor.ModKnobChanged(0, 0).send.empty());
    // "PP DLY" at 60, then "REV HALL": every Dly/Rev knob is enabled again.
    r.patch[ModuleSwitches] = DlyOn;
    r.editor.DlyTypeChanged(4);
    r.editor.DlyKnobChanged(0, 60);
    EXPECT_FALSE(r.editor.DlyKnob(1).enabled);
    r.editor.DlyTypeChanged(0);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(r.editor.DlyKnob(i).enabled) << i;
    // The second knob of a type without a time pair: one byte each.
    EXPECT_EQ(Bytes(r.editor.DlyKnobChanged(2, 3).send), (std::vector<int>{31}));
}

TEST(PatchEditor, CustomModUsesItsBaseAndSlot) {
    EditorRig r;
    r.settings[kModCustom1Slot] = 3;  // "FLANGER"
    r.settings[kModCustom1Slot + 1] = 12;
    r.patch[ModType] = 20;
    r.Show();
    EXPECT_EQ(r.patch[ModParam1], 12);  // the slot's values come in
    EXPECT_EQ(r.editor.CustomBaseLabel(Module::Mod), "(FLANGER)");
    EXPECT_EQ(r.editor.ModKnob(1).name, "FLG RATE");
    EXPECT_EQ(r.editor.ModKnob(3).name, "FEEDBACK");
    r.editor.ModKnobChanged(3, 30);
    EXPECT_EQ(r.settings[kModCustom1Slot + 4], 30);
    EXPECT_EQ(r.editor.Rtm(Module::Mod).destinations,
              (std::vector<std::string>{"DEPTH", "FLG RATE", "PRE DLY", "FEEDBACK"}));
    // The RTM window's changes reach the slot too.
    r.editor.RtmChanged(Module::Mod, RtmField::Min, 40);
    EXPECT_EQ(r.settings[kModCustom1Slot + 1 + ModRtmMin - ModParam1], 40);
    EXPECT_EQ(r.editor.CustomBaseLabel(Module::DlyRev), "");
}

TEST(PatchEditor, NameEntry) {
    EditorRig r;
    EncodeName("OLD", r.patch);
    const Edit tooLong = r.editor.NameEntered("NINECHARS");
    EXPECT_EQ(tooLong.message, "Patch name is too long");
    EXPECT_TRUE(tooLong.send.empty());
    EXPECT_EQ(r.editor.NameEntered("lower").message, "invalid character");
    EXPECT_EQ(DecodeName(r.patch), "OLD     ");
    const Edit ok = r.editor.NameEntered("A-1 (X)");
    EXPECT_EQ(Bytes(ok.send), Range(51, 58));
    EXPECT_EQ(ok.nameCell, "A-1 (X) ");
    // An empty name clears the stored name, and the processor's, to spaces.
    const Edit empty = r.editor.NameEntered("");
    EXPECT_EQ(DecodeName(r.patch), "        ");
    EXPECT_EQ(empty.nameCell, "        ");
    EXPECT_EQ(Bytes(empty.send), Range(51, 58));
    EXPECT_TRUE(empty.changed);
}

TEST(PatchEditor, OutOfRangeValuesAreShownAndKept) {
    EditorRig r;
    r.patch[ModType] = 25;
    r.patch[ModParam1] = 200;
    r.patch[DriveParam1] = 31;
    r.patch[VnrLevel] = 15;
    r.patch[EqBass] = 30;
    r.Show();
    const KnobView gain = r.editor.DriveKnob(0);
    EXPECT_EQ(gain.max, 29);
    EXPECT_EQ(gain.text, "?31");
    EXPECT_TRUE(gain.outOfRange);
    EXPECT_EQ(gain.position, 29);
    const KnobView mod = r.editor.ModKnob(0);
    EXPECT_FALSE(mod.enabled);
    EXPECT_EQ(mod.text, "?200");
    EXPECT_TRUE(r.editor.ModKnobChanged(0, 3).send.empty());  // nothing moves under an unknown type
    EXPECT_EQ(r.editor.EqKnob(3).text, "?30");
    EXPECT_EQ(r.patch[DriveParam1], 31);  // untouched until that knob moves
    EXPECT_EQ(r.patch[ModParam1], 200);
    r.editor.DriveKnobChanged(0, 20);
    EXPECT_EQ(r.patch[DriveParam1], 20);
    EXPECT_EQ(r.patch[EqBass], 30);
    EXPECT_EQ(r.editor.Rtm(Module::Mod).destinations.size(), 0u);
}

TEST(PatchEditor, RtmWindow) {
    EditorRig r;
    r.patch[ModuleSwitches] = ModOn | EqOn;
    const Edit max = r.editor.RtmChanged(Module::Mod, RtmField::Max, 75);
    EXPECT_EQ(r.patch[ModRtmMax], 75);
    EXPECT_EQ(max.send, (Sent{{24, 75}}));
    EXPECT_EQ(r.editor.Rtm(Module::Mod).maxText, "75%");
    r.editor.RtmChanged(Module::Eq, RtmField::Destination, 4);
    EXPECT_EQ(r.patch[EqRtmDest], 4);
    EXPECT_EQ(r.editor.Rtm(Module::Eq).destinations[4], "LEVEL");
    r.editor.RtmChanged(Module::DlyRev, RtmField::Source, 7);
    EXPECT_EQ(r.editor.Rtm(Module::DlyRev).sourceText, "8");
    r.editor.RtmChanged(Module::DlyRev, RtmField::Source, 0);
    EXPECT_EQ(r.editor.Rtm(Module::DlyRev).sourceText, "oF");
    r.editor.RtmChanged(Module::DlyRev, RtmField::Source, 1);
    EXPECT_EQ(r.editor.Rtm(Module::DlyRev).sourceText, "Pd");
    // A minimum above the maximum is stored and sent as set.
    r.editor.RtmChanged(Module::Mod, RtmField::Min, 90);
    EXPECT_EQ(r.patch[ModRtmMin], 90);
    // With "CUSTOM2", the slot follows.
    r.editor.ModTypeChanged(21);
    r.editor.RtmChanged(Module::Mod, RtmField::Min, 12);
    EXPECT_EQ(r.settings[kModCustom2Slot + 1 + ModRtmMin - ModParam1], 12);
    // Sections follow their modules.
    EXPECT_TRUE(r.editor.Rtm(Module::Eq).enabled);
    EXPECT_FALSE(r.editor.Rtm(Module::Drive).enabled);
}
