// The editing sessions without a window: the history decides "modified",
// gestures group a drag, undo tells the processor what the playing patch got
// back; Compare leaves the processor holding what the editor shows; a custom
// distortion CALC is always a step.
#include <gtest/gtest.h>

#include "customdist/customdistsession.h"
#include "customdist/designer.h"
#include "editors/compare.h"
#include "editors/patcheditor.h"
#include "editors/projectsession.h"
#include "tests/testfiles.h"

using namespace orb8;

namespace {

StepReport SetByte(ProjectDocument& d, int patch, int byte, int value) {
    d.patches[static_cast<std::size_t>(patch)][static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
    return {"byte", {{byte, value}}};
}

}  // namespace

TEST(ProjectSession, ModifiedIsWhereTheHistoryStands) {
    TempDir dir;
    CustomSettingsBlock settings = DefaultCustomSettings();
    ProjectSession s(settings);
    std::vector<std::vector<int>> heard;
    const int id = s.Listen([&](const SessionChange& c) { heard.push_back(c.Rows()); });
    EXPECT_FALSE(s.Modified());
    const SessionChange nothing = s.Perform([&](ProjectDocument&) { return StepReport{"nothing", {}}; });
    EXPECT_FALSE(nothing.stepped);
    EXPECT_FALSE(s.Modified());

    const SessionChange c = s.Perform([&](ProjectDocument& d) { return SetByte(d, 4, ModParam1, 9); });
    EXPECT_TRUE(c.stepped);
    EXPECT_EQ(c.send, (std::vector<std::pair<int, int>>{{ModParam1, 9}}));
    EXPECT_EQ(c.Rows(), std::vector<int>{5});
    EXPECT_TRUE(s.Modified());
    EXPECT_EQ(s.UndoText(), "byte");
    s.Undo();
    EXPECT_FALSE(s.Modified());
    s.Redo();
    EXPECT_TRUE(s.Modified());

    // Saved: clean; undo from there is modified again, redo comes back to clean.
    s.SetFileName(dir.Path("a.orb"));
    ASSERT_TRUE(s.Save().ok());
    EXPECT_FALSE(s.Modified());
    s.Undo();
    EXPECT_TRUE(s.Modified());
    s.Redo();
    EXPECT_FALSE(s.Modified());
    // Undone past the saved state and then changed: the saved state is gone for good.
    s.Undo();
    s.Perform([&](ProjectDocument& d) { return SetByte(d, 4, ModParam2, 3); });
    EXPECT_TRUE(s.Modified());
    s.Undo();
    EXPECT_TRUE(s.Modified());
    s.Unlisten(id);
    s.Redo();
    EXPECT_EQ(heard.size(), 10u);  // eight steps, the new name and the save (for the caption)
    // A save that fails leaves the work unsaved, and the file name as it was.
    s.SetFileName(dir.Path("no/such/folder/b.orb"));
    EXPECT_FALSE(s.Save().ok());
    EXPECT_TRUE(s.Modified());
}

TEST(ProjectSession, GesturesUndoBytesAndPendingInput) {
    CustomSettingsBlock settings = DefaultCustomSettings();
    ProjectSession s(settings);
    // A drag from press to release is one step; the next drag is another.
    s.BeginGesture();
    for (int v = 1; v <= 20; ++v) s.Perform([&](ProjectDocument& d) { return SetByte(d, 0, ModParam1, v); });
    s.EndGesture();
    s.BeginGesture();
    s.Perform([&](ProjectDocument& d) { return SetByte(d, 0, ModParam1, 40); });
    s.EndGesture();
    EXPECT_EQ(s.StepCount(), 2);
    // A drag let go where it began is no step, and leaves nothing unsaved.
    int told = 0;
    const int listener = s.Listen([&](const SessionChange&) { ++told; });
    s.BeginGesture();
    s.Perform([&](ProjectDocument& d) { return SetByte(d, 0, ModParam1, 41); });
    s.Perform([&](ProjectDocument& d) { return SetByte(d, 0, ModParam1, 40); });
    s.EndGesture();
    EXPECT_EQ(s.StepCount(), 2);
    EXPECT_EQ(told, 3);  // the two moves, and the step gone
    s.Unlisten(listener);
    // Undo tells the processor only about the patch it plays.
    s.SetPlaying(0);
    SessionChange back = s.Undo();
    EXPECT_EQ(back.send, (std::vector<std::pair<int, int>>{{ModParam1, 20}}));
    s.SetPlaying(3);
    back = s.Undo();
    EXPECT_TRUE(back.send.empty());
    EXPECT_EQ(back.Rows(), std::vector<int>{1});
    EXPECT_EQ(s.Document().patches[0], InitialPatch());

    // A comment being typed goes into the document before the step that follows.
    int handedBack = 0;
    s.SetPendingInput([&] {
        ++handedBack;
        s.Perform([&](ProjectDocument& d) {
            d.comments[2] = "typed";
            return StepReport{"Comment of U03", {}};
        });
    });
    s.Perform([&](ProjectDocument& d) { return SetByte(d, 1, PatchLevel, 7); });
    EXPECT_EQ(handedBack, 1);
    EXPECT_EQ(s.UndoText(), "byte");
    s.ClearPendingInput();
    s.Undo();
    EXPECT_EQ(s.UndoText(), "Comment of U03");
}

TEST(ProjectSession, ReceiveIsAStepAndTheNewStoredBank) {
    CustomSettingsBlock settings = DefaultCustomSettings();
    ProjectSession s(settings);
    bool all = false;
    s.Listen([&](const SessionChange& c) { all = all || c.all; });
    s.Receive("Receive All", [](ProjectDocument& d) {
        d.patches[7][PatchLevel] = 11;
        return true;
    });
    EXPECT_TRUE(all);
    EXPECT_TRUE(s.Modified());
    EXPECT_EQ(s.Stored(7)[PatchLevel], 11);
    s.Undo();
    EXPECT_FALSE(s.Modified());
    // A receive the user declined changes nothing, the stored bank neither.
    s.Receive("Receive All", [](ProjectDocument&) { return false; });
    EXPECT_EQ(s.Stored(7)[PatchLevel], 11);
    EXPECT_EQ(s.StepCount(), 1);
}

// Compare on, off and on again, on patches with custom Mod, Dly/Rev and Drive
// types whose stored bytes differ from their slots: the processor, which
// applies every byte sent, holds exactly the patch the editor shows.
// The processor plays a CUSTOM type with its slot's values, which live in the
// bank's block: undoing a change of them, or pasting a patch of another type
// over the patch that plays, sends what the patch then plays.
TEST(ProjectSession, WhatThePlayedPatchSoundsLikeIsSent) {
    ProjectSession s(DefaultCustomSettings());
    s.Perform([](ProjectDocument& d) {
        d.patches[0][ModuleSwitches] = ModOn;
        d.patches[0][ModType] = 20;  // CUSTOM1
        return StepReport{"type", {}};
    });
    s.SetPlaying(0);
    const PatchData shown = ShownPatch(s.Document().patches[0], s.Settings());
    const int value = (shown[ModParam1] + 1) % 10;
    s.Perform([&](ProjectDocument& d) {
        d.customSettings[static_cast<std::size_t>(ModCustomSlot(20) + 1)] = static_cast<std::uint8_t>(value);
        return StepReport{"value", {{ModParam1, value}}};
    });
    EXPECT_EQ(s.Undo().send, (std::vector<std::pair<int, int>>{{ModParam1, shown[ModParam1]}}));
    EXPECT_EQ(s.Redo().send, (std::vector<std::pair<int, int>>{{ModParam1, value}}));

    // A plain patch pasted over it: every byte that sounds different, the
    // slot's values replaced by the patch's own.
    PatchData plain = InitialPatch();
    plain[ModuleSwitches] = ModOn;
    const PatchData before = ShownPatch(s.Document().patches[0], s.Settings());
    const SessionChange paste = s.Perform([&](ProjectDocument& d) {
        d.patches[0] = plain;
        return StepReport{"paste", {}, true};
    });
    PatchData processor = before;
    for (const auto& [byte, v] : paste.send) processor[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(v);
    EXPECT_EQ(processor, plain);
    // Nothing is sent for a patch that does not play.
    s.SetPlaying(5);
    EXPECT_TRUE(s.Undo().send.empty());
}

TEST(Compare, TheProcessorHoldsWhatTheEditorShows) {
    struct Case {
        int typeByte, firstParam;
    };
    for (const Case& k : {Case{ModType, ModParam1}, Case{DlyType, DlyParam1}, Case{DriveType, DriveParam1}}) {
        CustomSettingsBlock settings = DefaultCustomSettings();
        PatchEditor editor(settings);
        PatchData stored = InitialPatch();
        stored[ModuleSwitches] = DriveOn | ModOn | DlyOn;
        stored[static_cast<std::size_t>(k.typeByte)] = 20;  // CUSTOM1
        for (int i = 0; i < 4; ++i) stored[static_cast<std::size_t>(k.firstParam + i)] = static_cast<std::uint8_t>(3 + i);
        stored[PatchLevel] = 12;
        PatchData edited = stored;
        edited[PatchLevel] = 30;
        editor.ShowPatch(&edited);  // the custom slot's values fill the patch
        PatchData processor = edited;  // what the patch change sent
        const auto apply = [&processor](const std::vector<std::pair<int, int>>& bytes) {
            for (const auto& [byte, value] : bytes) processor[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
        };
        CompareSession compare;
        const auto show = [&editor](PatchData& p) { editor.ShowPatch(&p); };
        for (int round = 0; round < 2; ++round) {
            apply(compare.On(edited, stored, show));
            EXPECT_EQ(processor, *editor.Current()) << k.typeByte << " round " << round;
            EXPECT_EQ(processor[PatchLevel], 12);
            apply(compare.Off(edited, show));
            EXPECT_EQ(processor, *editor.Current()) << k.typeByte << " round " << round;
            EXPECT_EQ(processor, edited);
        }
    }
}

// CALC is a step whatever it computes: the "*" and the history agree, and an
// undo takes the mark back.
TEST(CustomDistSession, CalcIsAlwaysAStep) {
    CustomDistSession s;
    const auto calc = [](CustomDistData& d) {
        CharacterDesigner::Tone(0, SlotHigh).Calc(d, {{false, 0, "0", "0", "0", "0"}});
    };
    s.Perform("CALC", calc, true);
    s.Perform("CALC", calc, true);  // the same settings again: nothing changes, still a step
    EXPECT_EQ(s.StepCount(), 2);
    EXPECT_TRUE(s.Modified());
    EXPECT_TRUE(s.Undo().stepped);
    EXPECT_TRUE(s.Undo().stepped);
    EXPECT_FALSE(s.Modified());
    // A preset that is already there is no step.
    EXPECT_FALSE(s.Perform("Clipper", [](CustomDistData& d) { d.ApplyClipperPreset(0, 0); }));
    EXPECT_TRUE(s.Perform("Clipper", [](CustomDistData& d) { d.ApplyClipperPreset(0, 4); }));
    int heard = 0;
    s.Listen([&](const SessionChange&) { ++heard; });
    s.Undo();
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(MatchingClipperPreset(s.Data().clippers[0]), 0);
    // A save that fails leaves the work unsaved.
    s.Redo();
    s.SetFileName("/nonexistent/dir/x.dst");
    EXPECT_FALSE(s.Save().ok());
    EXPECT_TRUE(s.Modified());
}
