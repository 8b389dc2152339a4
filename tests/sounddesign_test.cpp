// Sound design on random patches: what any tool leaves is a patch the
// processor can hold, the name and the locked parts as they were, and the
// bytes it sends take the processor to exactly that patch.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "editors/patcheditor.h"
#include "editors/projectsession.h"
#include "patch/effecttables.h"
#include "sim/factorybank.h"
#include "sounddesign/morphcontroller.h"
#include "sounddesign/recentresults.h"
#include "sounddesign/sounddesign.h"

using namespace orb8;
using namespace orb8::design;

namespace {

// A patch of the factory bank changed at random through the editor.
PatchData RandomPatch(Random& random, CustomSettingsBlock& settings) {
    static const auto factory = FactoryBank();
    PatchData patch = Unpack(factory[static_cast<std::size_t>(random.Below(kPatchCount))]);
    PatchEditor editor(settings);
    editor.ShowPatch(&patch);
    Randomise(editor, {1 + random.Below(100), {}, random.Next()});
    return patch;
}

Locks RandomLocks(Random& random) {
    Locks locks;
    for (int i = 0; i < kPartCount; ++i)
        if (random.Chance(0.15)) locks.Set(static_cast<Part>(i), true);
    if (random.Chance(0.2)) locks.SetByte(random.Below(Name0), true);
    if (random.Chance(0.5)) locks.Set(Part::Custom, false);
    return locks;
}

// What the processor would hold after the bytes were sent to `before`.
PatchData Sent(PatchData before, const Edit& edit) {
    for (const auto& [byte, value] : edit.send) before[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
    return before;
}

::testing::AssertionResult Valid(const PatchData& patch, const CustomSettingsBlock& settings) {
    for (int b = 0; b < kPatchBytes; ++b) {
        if (b >= Name0 && b < Name0 + kNameLength) continue;
        const int value = patch[static_cast<std::size_t>(b)];
        if (value > (1 << PatchByteBits(b)) - 1 && PatchByteBits(b) > 0)
            return ::testing::AssertionFailure() << "byte " << b << " = " << value << " is wider than its field";
        const int max = b == ModType || b == DlyType || b == DriveType ? kDriveTypeCount - 1
                                                                       : ParameterMax(b, ModuleTypeOfByte(patch, b, settings));
        if (max >= 0 && value > max && (b < CustomCharSel || b > Unused18))
            return ::testing::AssertionFailure() << "byte " << b << " = " << value << " is over " << max;
    }
    if (Unpack(Pack(patch)) != patch) return ::testing::AssertionFailure() << "the patch does not survive packing";
    // A time pair keeps its rule: TIMEX1 is 0 at TIMEX100 60, and at least 1 at 0.
    for (const auto& [module, typeByte, first] : {std::tuple{Module::Mod, int(ModType), int(ModParam1)},
                                                  std::tuple{Module::DlyRev, int(DlyType), int(DlyParam1)}}) {
        const int type = patch[static_cast<std::size_t>(typeByte)];
        const int effective = module == Module::Mod ? EffectiveModType(type, settings) : EffectiveDlyType(type, settings);
        const ParamDef* pair = ModuleParam(module, effective, 0);
        if (!pair || !pair->timePair) continue;
        const int hi = patch[static_cast<std::size_t>(first)], lo = patch[static_cast<std::size_t>(first + 1)];
        if ((hi == 60 && lo != 0) || (hi == 0 && lo == 0))
            return ::testing::AssertionFailure() << "time pair " << hi << "/" << lo << " breaks its rule";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(SoundDesign, EveryToolKeepsPatchesValidNamesAndLocksAndSendsWhatChanged) {
    Random random(20261209);
    constexpr int kRuns = 25'000;
    // Patches to start from and to aim at, made once.
    const CustomSettingsBlock factorySettings = FactoryCustomSettings();
    std::vector<PatchData> pool;
    for (int i = 0; i < 512; ++i) {
        CustomSettingsBlock settings = factorySettings;
        pool.push_back(RandomPatch(random, settings));
    }
    auto any = [&] { return pool[static_cast<std::size_t>(random.Below(static_cast<int>(pool.size())))]; };
    int changedSome = 0;
    for (int run = 0; run < kRuns; ++run) {
        CustomSettingsBlock settings = factorySettings;
        PatchData patch = any();
        PatchEditor editor(settings);
        editor.ShowPatch(&patch);
        const PatchData before = patch;
        ASSERT_TRUE(Valid(before, settings)) << "run " << run << " before";
        const Locks locks = RandomLocks(random);
        const DesignOptions options{1 + random.Below(100), locks, random.Next()};
        Edit edit;
        switch (run % 4) {
            case 0: {
                std::vector<PatchData> guide;
                if (random.Chance(0.5))
                    for (int i = 0; i < 8; ++i) guide.push_back(any());
                edit = Randomise(editor, options, guide);
                break;
            }
            case 1: {
                std::vector<PatchData> targets;
                for (int i = 0, n = 1 + random.Below(4); i < n; ++i) targets.push_back(any());
                edit = Nudge(editor, targets, random.Chance(0.5), options);
                break;
            }
            case 2: {
                const PatchData other = any();
                edit = TakeSound(editor, Morph(before, other, random.Below(kMorphEnd + 1)), locks);
                break;
            }
            default: {
                const PatchData other = any();
                std::vector<Part> parts;
                for (int i = 0; i < kPartCount; ++i)
                    if (random.Chance(0.3)) parts.push_back(static_cast<Part>(i));
                edit = Merge(editor, other, parts, locks);
            }
        }
        ASSERT_TRUE(Valid(patch, settings)) << "run " << run;
        ASSERT_TRUE(locks.Kept(before, patch)) << "run " << run << ", locks " << locks.Text();
        if (locks.Has(Part::Custom)) {
            ASSERT_EQ(settings, factorySettings) << "run " << run << ": the custom settings changed";
        }
        for (int i = 0; i < kNameLength; ++i) ASSERT_EQ(patch[static_cast<std::size_t>(Name0 + i)], before[static_cast<std::size_t>(Name0 + i)]);
        ASSERT_EQ(Sent(before, edit), patch) << "run " << run;
        changedSome += patch != before;
    }
    EXPECT_GT(changedSome, kRuns / 2);  // the tools do something
}

TEST(SoundDesign, TheSameSeedGivesTheSamePatchAndMorphEndsAreExact) {
    Random random(7);
    CustomSettingsBlock settings = FactoryCustomSettings();
    for (int run = 0; run < 200; ++run) {
        const PatchData start = RandomPatch(random, settings);
        const DesignOptions options{30, {}, random.Next()};
        PatchData first = start, second = start;
        CustomSettingsBlock s1 = settings, s2 = settings;
        PatchEditor e1(s1), e2(s2);
        e1.ShowPatch(&first);
        e2.ShowPatch(&second);
        Randomise(e1, options);
        Randomise(e2, options);
        ASSERT_EQ(first, second);

        const PatchData other = RandomPatch(random, settings);
        EXPECT_EQ(Morph(start, other, 0), start);
        PatchData end = Morph(start, other, kMorphEnd);
        for (int i = 0; i < kNameLength; ++i) end[static_cast<std::size_t>(Name0 + i)] = other[static_cast<std::size_t>(Name0 + i)];
        EXPECT_EQ(end, other);
    }
    // The generator's numbers are the same everywhere: a fixed seed's first value.
    EXPECT_EQ(Random(1).Next(), 0x910A2DEC89025CC1ull);
}

// A time given as a pair morphs as one time: it stays between the two ends.
TEST(SoundDesign, MorphMovesATimePairAsOneTime) {
    PatchData a = InitialPatch(), b = InitialPatch();
    for (PatchData* p : {&a, &b}) {
        (*p)[ModuleSwitches] = ModOn;
        (*p)[ModType] = 14;  // DELAY: TIMEX100 and TIMEX1
        (*p)[ModParam3] = (*p)[ModParam4] = (*p)[ModRtmDest] = 0;
    }
    const auto time = [](const PatchData& p) { return p[ModParam1] * 100 + p[ModParam2]; };
    struct Case {
        int hiA, loA, hiB, loB, at;
    };
    for (const Case& c : {Case{60, 0, 59, 99, 48}, Case{1, 0, 0, 98, 25}, Case{0, 1, 60, 0, 50}, Case{12, 34, 3, 99, 70}}) {
        a[ModParam1] = static_cast<std::uint8_t>(c.hiA);
        a[ModParam2] = static_cast<std::uint8_t>(c.loA);
        b[ModParam1] = static_cast<std::uint8_t>(c.hiB);
        b[ModParam2] = static_cast<std::uint8_t>(c.loB);
        for (int position = 0; position <= kMorphEnd; position += 25) {
            const PatchData m = Morph(a, b, position);
            ASSERT_TRUE(Valid(m, DefaultCustomSettings())) << position;
            EXPECT_GE(time(m), std::min(time(a), time(b))) << position;
            EXPECT_LE(time(m), std::max(time(a), time(b))) << position;
        }
        const PatchData at = Morph(a, b, MorphPosition(c.at));
        const double expected = time(a) + (time(b) - time(a)) * c.at / 100.0;
        EXPECT_LE(std::abs(time(at) - expected), 1.0) << c.hiA << "/" << c.loA << " to " << c.hiB << "/" << c.loB;
    }
}

// Small amounts are subtle: up to kStructureAmount no type and no switch changes.
TEST(SoundDesign, SmallAmountsKeepTypesAndSwitches) {
    const CustomSettingsBlock factory = FactoryCustomSettings();
    const auto bank = FactoryBank();
    // A factory patch before and after a randomise.
    const auto randomised = [&](int amount, std::uint64_t seed) {
        CustomSettingsBlock settings = factory;
        PatchData patch = Unpack(bank[seed % kPatchCount]);
        PatchEditor editor(settings);
        editor.ShowPatch(&patch);
        const PatchData before = patch;
        Randomise(editor, {amount, {}, seed});
        return std::pair{before, patch};
    };
    const auto structure = [](const PatchData& p) {
        return std::array<int, 4>{p[DriveType], p[ModType], p[DlyType], p[ModuleSwitches]};
    };
    for (int amount : {5, 20, kStructureAmount})
        for (std::uint64_t seed = 1; seed <= 60; ++seed) {
            const auto [before, after] = randomised(amount, seed);
            EXPECT_EQ(structure(after), structure(before)) << amount << " " << seed;
        }
    int changed = 0;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        const auto [before, after] = randomised(100, seed);
        changed += structure(after) != structure(before);
    }
    EXPECT_GT(changed, 10);  // a large amount does change them
}

TEST(SoundDesign, LocksReadAndWriteTheirText) {
    std::string error;
    const auto locks = Locks::Parse(" eq, level ,byte23", error);
    ASSERT_TRUE(locks);
    EXPECT_TRUE(locks->Has(Part::Eq));
    EXPECT_TRUE(locks->Locked(EqTreble));
    EXPECT_TRUE(locks->Locked(ModParam4));
    EXPECT_FALSE(locks->Locked(ModParam3));
    EXPECT_EQ(locks->LockedSwitches(), EqOn);
    EXPECT_EQ(locks->Text(), "eq,level,byte23");
    EXPECT_EQ(*Locks::Parse(locks->Text(), error), *locks);
    // A module's lock keeps everything the module shows, its RTM settings too.
    const auto drive = Locks::Parse("drive", error);
    for (int b = DriveRtmMax; b <= DriveRtmSource; ++b) EXPECT_TRUE(drive->Locked(b)) << b;
    EXPECT_TRUE(Locks::Parse("mod", error)->Locked(ModRtmSource));
    EXPECT_TRUE(Locks::Parse("dly", error)->Locked(DlyRtmDest));
    EXPECT_TRUE(Locks::Parse("eq", error)->Locked(EqRtmMin));
    EXPECT_TRUE(Locks::Parse("level", error)->Locked(VolRtm));
    // The bank's custom settings stay unless unlocked.
    EXPECT_TRUE(Locks().Has(Part::Custom));
    EXPECT_TRUE(drive->Has(Part::Custom));
    const auto free = Locks::Parse("eq,no-custom", error);
    EXPECT_FALSE(free->Has(Part::Custom));
    EXPECT_EQ(free->Text(), "eq,no-custom");
    EXPECT_EQ(*Locks::Parse(free->Text(), error), *free);
    for (const char* wrong : {"eqq", "byte51", "byte65", "byte", "byte1x"}) {
        EXPECT_FALSE(Locks::Parse(wrong, error)) << wrong;
        EXPECT_NE(error.find("nothing to lock"), std::string::npos);
    }
}

// A tool's change is one step of the project: undo gives the exact bytes back
// and sends what takes the processor back.
TEST(SoundDesign, OneUndoStepTakesTheProcessorBack) {
    CustomSettingsBlock settings = FactoryCustomSettings();
    ProjectSession session(settings);
    Random random(3);
    session.Perform([&](ProjectDocument& d) {
        d.patches[4] = RandomPatch(random, settings);
        return StepReport{"setup", {}};
    });
    session.SetPlaying(4);
    const PatchData before = session.Document().patches[4];
    PatchData processor = before;
    const SessionChange change = session.Perform([&](ProjectDocument& d) {
        PatchEditor editor(d.customSettings);
        editor.ShowPatch(&d.patches[4]);
        const Edit edit = Randomise(editor, {60, {}, 99});
        return StepReport{"Randomise 60 %", edit.send};
    });
    ASSERT_TRUE(change.stepped);
    for (const auto& [byte, value] : change.send) processor[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(processor, session.Document().patches[4]);
    EXPECT_EQ(session.UndoText(), "Randomise 60 %");
    const SessionChange undo = session.Undo();
    for (const auto& [byte, value] : undo.send) processor[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(session.Document().patches[4], before);
    EXPECT_EQ(processor, before);
    EXPECT_EQ(session.UndoText(), "setup");
}

// Every parameter the window offers to lock on its own stays as it is through
// every tool at full strength, and the list names what the patch's types use.
TEST(SoundDesign, EachParameterThePlayerCanLockHolds) {
    Random random(41);
    CustomSettingsBlock settings = FactoryCustomSettings();
    const PatchData start = RandomPatch(random, settings);
    const auto lockable = LockableBytes(start, settings);
    ASSERT_GT(lockable.size(), 40u);
    for (const auto& [byte, name] : lockable) {
        EXPECT_FALSE(byte >= Name0 && byte < Name0 + kNameLength) << name;
        EXPECT_EQ(name.find("  "), std::string::npos);
    }
    EXPECT_TRUE(std::any_of(lockable.begin(), lockable.end(), [](const LockableByte& l) { return l.name == "EQ LEVEL"; }));
    for (const auto& [byte, name] : lockable) {
        Locks locks;
        locks.SetByte(byte, true);
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            PatchData patch = start;
            PatchEditor editor(settings);
            editor.ShowPatch(&patch);
            Randomise(editor, {kMaxAmount, locks, seed});
            const PatchData far = RandomPatch(random, settings);
            Nudge(editor, std::span(&far, 1), seed % 2 == 0, {kMaxAmount, locks, seed});
            TakeSound(editor, Morph(patch, far, MorphPosition(static_cast<int>(seed) * 15)), locks);
            ASSERT_TRUE(locks.Kept(start, patch)) << name << " seed " << seed;
        }
    }
}

// The recent results: newest first, at most kRecentResults, the same sound
// listed once; going back to one gives its sound exactly and keeps the name.
TEST(SoundDesign, RecentResultsGoBackToTheirSound) {
    Random random(5);
    CustomSettingsBlock settings = FactoryCustomSettings();
    RecentResults recent;
    std::vector<PatchData> made;
    PatchData patch = RandomPatch(random, settings);
    const auto name = DecodeName(patch);
    for (int i = 0; i < 15; ++i) {
        PatchEditor editor(settings);
        editor.ShowPatch(&patch);
        Randomise(editor, {40, {}, static_cast<std::uint64_t>(i + 1)});
        made.push_back(patch);
        recent.Add({Tool::Randomise, 40, static_cast<std::uint64_t>(i + 1), {}, patch, settings});
    }
    ASSERT_EQ(recent.Items().size(), kRecentResults);
    EXPECT_EQ(recent.Items().front().seed, 15u);
    EXPECT_EQ(recent.Items().back().seed, 15u - kRecentResults + 1);
    // The same sound again (another name) moves to the front, listed once.
    PatchData renamed = made[10];
    renamed[Name0] = 'Z';
    recent.Add({Tool::Morph, 50, 0, "U02", renamed, settings});
    EXPECT_EQ(recent.Items().size(), kRecentResults);
    EXPECT_EQ(recent.Items().front().tool, Tool::Morph);
    EXPECT_EQ(std::count_if(recent.Items().begin(), recent.Items().end(), [](const Result& r) { return r.seed == 11; }), 0);

    const Result& older = recent.Items()[3];
    PatchEditor editor(settings);
    editor.ShowPatch(&patch);
    const PatchData before = patch;
    const Edit edit = Recall(editor, older, Locks());
    EXPECT_EQ(Unpack(Pack(Sent(before, edit))), patch);
    EXPECT_EQ(DecodeName(patch), name);
    for (int b = 0; b < Name0; ++b) EXPECT_EQ(patch[static_cast<std::size_t>(b)], older.patch[static_cast<std::size_t>(b)]) << b;
}

TEST(SoundDesign, APedalsControllerMovesTheMorph) {
    const auto move = ControllerMoveOf(0xB2 | 7 << 8 | 64 << 16);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->controller, (Controller{2, 7}));
    EXPECT_EQ(move->value, 64);
    // Bank selects, channel mode messages and other kinds move nothing.
    for (std::uint32_t m : {0xB0u | 0 << 8, 0xB0u | 32 << 8, 0xB0u | 121 << 8, 0x90u | 7 << 8 | 64 << 16, 0xC0u | 7 << 8})
        EXPECT_FALSE(ControllerMoveOf(m)) << std::hex << m;
    EXPECT_EQ(MorphPercentOf(0), 0);
    EXPECT_EQ(MorphPercentOf(127), 100);
    EXPECT_EQ(MorphPercentOf(64), 50);
    for (int v = 1; v <= 127; ++v) EXPECT_GE(MorphPercentOf(v), MorphPercentOf(v - 1));
    EXPECT_EQ(ControllerText({15, 11}), "16:11");
    EXPECT_EQ(ParseController("16:11"), (Controller{15, 11}));
    for (const char* wrong : {"", "7", "0:7", "17:7", "1:0", "1:32", "1:120", "1:7x", "x:7", "1:-3"})
        EXPECT_FALSE(ParseController(wrong)) << wrong;
}
