#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "customdist/filterrecord.h"

#include "patch/effecttables.h"

using namespace orb8;

namespace {

using Names = std::vector<std::string_view>;

// Mod / Dly/Rev type numbers used below.
constexpr int kModDelay = 14, kModPdlPit = 11, kModHoldDly = 17, kModPitch = 10, kModBpmDly = 16;
constexpr int kDlySeamless = 5, kDlyChoDly = 6, kDlyPitDly = 10, kDlyJam = 12, kDlySampler = 13, kDlyAwaTrm = 14,
              kDlyTwinPit = 17, kDlyPpDly = 4;

}  // namespace

TEST(EffectTables, TypeLists) {
    EXPECT_EQ(DriveTypeNames().size(), 22u);
    EXPECT_EQ(TypeName(Module::Drive, 9), "OVER DRV");
    EXPECT_EQ(TypeName(Module::Mod, 21), "CUSTOM2");
    EXPECT_EQ(TypeName(Module::DlyRev, 21), "CUSTOM2 ");
    EXPECT_EQ(TypeNamePadded(Module::Mod, 0), "CHORUS  ");
    EXPECT_EQ(TypeName(Module::Drive, 22), "?22");
    EXPECT_EQ(TypeNamePadded(Module::DlyRev, 31), "?31     ");
}

TEST(EffectTables, DlyTimeDisplay) {
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 0), "1");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 98), "99");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 99), "1.0");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 100), "1.1");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 119), "3.0");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 149), "6.0");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 150), "?150");
    EXPECT_EQ(DisplayText(DlyParam1, kDlySeamless, 119), "3.0");
    EXPECT_EQ(DisplayText(DlyParam1, kDlySeamless, 120), "?120");
}

TEST(EffectTables, DisplayTextsIgnoreTheCLocale) {
    // Qt sets the C locale from the environment; a comma locale must not leak in.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
        EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 104), "1.5");
    }
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 104), "1.5");

    // A global C++ locale with a decimal comma and digit grouping, which any
    // text made through iostreams would pick up.
    struct CommaPoint : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previousGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    EXPECT_EQ(DisplayText(DlyParam1, kDlyChoDly, 149), "6.0");
    EXPECT_EQ(DisplayText(ModParam1, 16, 210), "250");
    EXPECT_EQ(GainText(GainCodeFromText("-11.9")), "-11.9");
    EXPECT_EQ(QText(QCodeFromText("0.29")), "0.29");
    EXPECT_EQ(RealText(1234.5), "1234.5");
    EXPECT_EQ(ParseRealPrefix("0,5"), 0);  // a comma is not a decimal separator here
    std::locale::global(previousGlobal);
}

TEST(EffectTables, PitchDisplays) {
    EXPECT_EQ(DisplayText(DlyParam2, kDlyPitDly, 12), "dt");
    EXPECT_EQ(DisplayText(DlyParam2, kDlyPitDly, 24), "12");
    EXPECT_EQ(DisplayText(DlyParam2, kDlyPitDly, 25), "24");
    EXPECT_EQ(DisplayText(DlyParam2, kDlyPitDly, 0), "-12");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyTwinPit, 12), "oF");
    EXPECT_EQ(DisplayText(DlyParam2, kDlyTwinPit, 12), "oF");
    EXPECT_EQ(DisplayText(ModParam1, kModPitch, 12), "0");
    EXPECT_EQ(DisplayText(ModParam1, kModPitch, 26), "?26");
}

TEST(EffectTables, SpecialRules) {
    EXPECT_EQ(DisplayText(DriveParam2, 14, 0), "oF");       // COMP SNS
    EXPECT_EQ(DisplayText(DriveParam3, 18, 0), "1");        // EXT DIST ATTACK
    EXPECT_EQ(DisplayText(DlyParam2, kDlySeamless, 100), "Hd");
    EXPECT_EQ(DisplayText(DlyParam2, kDlySeamless, 99), "100");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyAwaTrm, 10), "oF");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyAwaTrm, 0), "-10");
    EXPECT_EQ(DisplayText(DlyParam1, kDlyAwaTrm, 20), "10");
    EXPECT_EQ(DisplayText(ModParam1, kModBpmDly, 210), "250");
    EXPECT_EQ(DisplayText(ModParam2, kModBpmDly, 8), "t9");
    EXPECT_EQ(DisplayText(DlyParam3, kDlySampler, 9), "25%");
    EXPECT_EQ(DisplayText(ModParam4, 3, 0), "-15");        // FLANGER FEEDBACK
    EXPECT_EQ(DisplayText(VnrLevel, -1, 0), "oF");
    EXPECT_EQ(DisplayText(EqPresence, -1, 0), "-12");
    EXPECT_EQ(DisplayText(EqLevel, -1, 29), "30");
    EXPECT_EQ(DisplayText(DriveRtmMax, 9, 100), "100%");
    EXPECT_EQ(DisplayText(DriveRtmSource, 9, 0), "oF");
    EXPECT_EQ(DisplayText(DriveRtmSource, 9, 1), "Pd");
    EXPECT_EQ(DisplayText(DriveRtmSource, 9, 6), "5");
    EXPECT_EQ(DisplayText(DriveRtmSource, 9, 7), "8");
    EXPECT_EQ(DisplayText(DriveRtmSource, 9, 30), "31");
    EXPECT_EQ(DisplayText(DriveRtmSource, 9, 31), "?31");
    EXPECT_EQ(DisplayText(CustomCharSel, 20, 9), "S1");
    EXPECT_EQ(DisplayText(CustomLowSel, 20, 3), "b1");
}

TEST(EffectTables, ControllerNumbers) {
    EXPECT_EQ(ControllerNumberText(0), "oF");
    EXPECT_EQ(ControllerNumberText(5), "5");
    EXPECT_EQ(ControllerNumberText(6), "7");
    EXPECT_EQ(ControllerNumberText(30), "31");
    EXPECT_EQ(ControllerNumberText(31), "64");
    EXPECT_EQ(ControllerNumberText(62), "95");
    EXPECT_EQ(ControllerNumberText(63), "?63");
    EXPECT_EQ(DisplayText(Ctrl1Number, -1, 6), "7");
}

TEST(EffectTables, RtmDestinationLists) {
    EXPECT_EQ(RtmDestinations(Module::Mod, kModDelay), (Names{"TIME", "FEEDBACK", "MIX"}));
    EXPECT_EQ(RtmDestinations(Module::Mod, kModHoldDly), (Names{"HOLD MIX"}));
    EXPECT_TRUE(RtmDestinations(Module::Mod, kModPdlPit).empty());
    EXPECT_EQ(RtmDestinations(Module::Mod, 4), (Names{"RESO", "PHA RATE"}));
    EXPECT_EQ(RtmDestinations(Module::Mod, kModBpmDly), (Names{"FEEDBACK", "BPM MIX"}));
    EXPECT_EQ(RtmDestinations(Module::DlyRev, kDlySeamless), (Names{"TIME", "FEEDBACK", "MIX"}));
    EXPECT_EQ(RtmDestinations(Module::DlyRev, kDlyPpDly), (Names{"TIME", "FEEDBACK", "MIX"}));
    EXPECT_TRUE(RtmDestinations(Module::DlyRev, kDlyJam).empty());
    EXPECT_TRUE(RtmDestinations(Module::DlyRev, kDlySampler).empty());
    EXPECT_EQ(RtmDestinations(Module::DlyRev, 18), (Names{"SENS", "DRY LVL", "WET LVL"}));
    EXPECT_EQ(RtmDestinations(Module::Drive, 14), (Names{"TONE", "COMP SNS", "ATTACK", "LEVEL"}));
    EXPECT_EQ(RtmDestinations(Module::Drive, 21), (Names{"GAIN", "PRE GAIN", "TONE", "LEVEL"}));
    EXPECT_EQ(RtmDestinations(Module::Eq, 0).size(), 8u);
    EXPECT_EQ(DisplayText(ModRtmDest, kModDelay, 2), "MIX");
    EXPECT_EQ(DisplayText(ModRtmDest, kModDelay, 3), "?3");
    EXPECT_EQ(DisplayText(EqRtmDest, -1, 4), "LEVEL");
}

TEST(EffectTables, InitialPatchShowsAsDescribed) {
    const PatchData& p = InitialPatch();
    const CustomSettingsBlock& cs = DefaultCustomSettings();
    auto text = [&](int b) { return PatchByteText(p, b, cs); };
    EXPECT_EQ(text(DriveType), "OVER DRV");
    EXPECT_EQ(text(DriveParam1), "25");
    EXPECT_EQ(text(DriveParam2), "7");
    EXPECT_EQ(text(DriveParam4), "25");
    EXPECT_EQ(text(DriveRtmDest), "GAIN");
    EXPECT_EQ(text(ModType), "CHORUS");
    EXPECT_EQ(text(ModParam2), "25");
    EXPECT_EQ(text(ModRtmDest), "CHO MIX");
    EXPECT_EQ(text(DlyType), "REV HALL");
    EXPECT_EQ(text(DlyParam1), "10");
    EXPECT_EQ(text(DlyRtmDest), "HALL MIX");
    EXPECT_EQ(text(VnrLevel), "8");
    EXPECT_EQ(text(EqTrebleFreq), "3.2kHz");
    EXPECT_EQ(text(EqMidFreq), "800Hz");  // byte 44 holds 5
    EXPECT_EQ(text(EqBassFreq), "125Hz");
    EXPECT_EQ(text(EqRtmDest), "LEVEL");
    EXPECT_EQ(text(PatchLevel), "40");
    EXPECT_EQ(text(Ctrl1Number), "oF");
    EXPECT_EQ(text(CtrlTarget), "OFF");
}

TEST(EffectTables, CustomModAndDlyTypesFollowTheirBase) {
    PatchData p = InitialPatch();
    CustomSettingsBlock cs = DefaultCustomSettings();
    p[ModType] = 21;  // CUSTOM2 of Mod: base FLANGER in the default block
    EXPECT_EQ(PatchByteName(p, ModParam2, cs), "FLG RATE");
    EXPECT_EQ(PatchByteText(p, ModType, cs), "CUSTOM2");
    cs[kModCustom2Slot] = 99;  // a base type the processor does not have
    EXPECT_EQ(PatchByteText(p, ModParam2, cs), "?24");
    EXPECT_EQ(PatchByteName(p, ModParam2, cs), "?");
}

TEST(EffectTables, EveryValueOfEveryByteUnderEveryTypeIsSafe) {
    // Bytes from loaded or received data can hold anything: each gets a text,
    // and a value beyond its range is marked as such.
    for (int byte = 0; byte < kPatchBytes; ++byte) {
        for (int type = -1; type < 40; ++type) {
            const int max = ParameterMax(byte, type);
            for (int v = 0; v < 256; ++v) {
                const std::string text = DisplayText(byte, type, v);
                if (max >= 0 && v > max) {
                    ASSERT_EQ(text, OutOfRangeText(v)) << "byte " << byte << " type " << type << " value " << v;
                }
                if (max >= 0 && v <= max) {
                    ASSERT_FALSE(text.empty() || text == OutOfRangeText(v)) << "byte " << byte << " type " << type << " value " << v;
                }
            }
        }
    }
}

TEST(EffectTables, TypeStarts) {
    EXPECT_EQ(ModTypeStart(kModDelay).params[1], 70);
    EXPECT_EQ(ModTypeStart(kModDelay).rtmDest, 2);
    EXPECT_EQ(DlyTypeStart(kDlySeamless).params[1], 100);
    const CustomSettingsBlock& cs = DefaultCustomSettings();
    EXPECT_EQ(DriveTypeStart(9, cs).params[0], 25);
    EXPECT_EQ(DriveTypeStart(14, cs).params[0], 5);
    EXPECT_EQ(DriveTypeStart(5, cs).params[2], 7);
    EXPECT_EQ(DriveTypeStart(18, cs).params[1], 0);
    EXPECT_EQ(DriveTypeStart(20, cs).params[0], 24);
    EXPECT_EQ(DriveGroup(16), 0);
    EXPECT_EQ(DriveGroup(22), -1);
    // Every start value lies within its parameter's range.
    for (int t = 0; t < kBaseTypeCount; ++t) {
        for (int i = 0; i < 4; ++i) {
            if (const ParamDef* d = ModParam(t, i); d->used()) {
                EXPECT_LE(ModTypeStart(t).params[i], d->max) << t;
            }
            if (const ParamDef* d = DlyParam(t, i); d->used()) {
                EXPECT_LE(DlyTypeStart(t).params[i], d->max) << t;
            }
        }
        const auto modDests = RtmDestinations(Module::Mod, t);
        const auto dlyDests = RtmDestinations(Module::DlyRev, t);
        EXPECT_TRUE(modDests.empty() ? ModTypeStart(t).rtmDest == 0 : ModTypeStart(t).rtmDest < modDests.size()) << t;
        EXPECT_TRUE(dlyDests.empty() ? DlyTypeStart(t).rtmDest == 0 : DlyTypeStart(t).rtmDest < dlyDests.size()) << t;
    }
}
