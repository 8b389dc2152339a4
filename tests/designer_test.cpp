// The character designers' rules without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "customdist/designer.h"

using namespace orb8;

TEST(Designer, ColumnsShowCodesAndLookingChangesNothing) {
    CustomDistData data = CustomDistData::NewDocument();
    data.filters[0].freq = 1234;
    data.filters[1].freq = 1234.5;  // not a whole number: the edit takes it as 0 and shows 40
    data.clippers[1][0] = 0x77;     // matches no preset
    const CustomDistData before = data;
    CharacterDesigner d = CharacterDesigner::Distortion(0);
    const auto columns = d.Columns(data);
    EXPECT_EQ(FreqText(columns[0].freqCode), "1230");
    EXPECT_EQ(FreqText(columns[1].freqCode), "40");
    EXPECT_EQ(d.MatchingPreset(data), 0);
    CharacterDesigner other = CharacterDesigner::Distortion(1);
    EXPECT_EQ(other.MatchingPreset(data), -1);
    (void)other.Columns(data);
    (void)other.Levels(data);
    EXPECT_EQ(data.FileImage(), before.FileImage());
}

TEST(Designer, CalcClampsSnapsAndComputes) {
    CustomDistData data = CustomDistData::NewDocument();
    data.filters[FilterNumber(1, SlotHigh)].freq = 2517.3;  // another set: snapped too
    CharacterDesigner d = CharacterDesigner::Distortion(0);
    d.Calc(data, {{true, FilterPeq, "20000", "-20", "5", "0"}, {false, FilterPeq, "abc", "1x", "", "3.04"}, {false, 0, "630", "0", "0.71", "0"}});
    const FilterRecord& bottom = data.filters[0];
    EXPECT_EQ(bottom.freq, 13000);
    EXPECT_EQ(bottom.gain, -12);
    EXPECT_NEAR(bottom.q, 5, 1e-12);
    const FilterRecord& pre = data.filters[1];
    EXPECT_EQ(pre.freq, 40);
    EXPECT_NEAR(pre.gain, 1, 1e-9);  // the longest numeric prefix
    EXPECT_NEAR(pre.q, 0.01, 1e-12);
    EXPECT_NEAR(pre.trim, 3.0, 1e-9);
    EXPECT_EQ(data.filters[FilterNumber(1, SlotHigh)].freq, 2510);
    // Off filters: a flat line at 0 dB, and every column valid.
    CustomDistData flat = CustomDistData::NewDocument();
    CharacterDesigner f = CharacterDesigner::Distortion(1);
    f.Calc(flat, {{false, 0, "120", "0", "0.71", "0"}, {false, 0, "630", "0", "0.71", "0"}, {false, 0, "1200", "0", "0.71", "0"}});
    for (double level : f.Levels(flat)) EXPECT_NEAR(level, 0, 1e-12);
    for (const auto& c : f.Columns(flat)) EXPECT_TRUE(c.valid);
    EXPECT_FALSE(f.AnyInvalid(flat));
    // An overflowing filter is invalid.
    f.Calc(flat, {{true, FilterPeq, "1000", "12", "1", "12"}, {false, 0, "630", "0", "0.71", "0"}, {false, 0, "1200", "0", "0.71", "0"}});
    EXPECT_FALSE(f.Columns(flat)[0].valid);
    EXPECT_TRUE(f.AnyInvalid(flat));
}

TEST(Designer, PresetsAndToneFilters) {
    CustomDistData data = CustomDistData::NewDocument();
    CharacterDesigner d = CharacterDesigner::Distortion(0);
    d.ApplyPreset(data, 5);  // "Diode DIST clipper": its first clip filter is a high shelf, Q 0, trim +6 dB
    const FilterRecord& clip = data.filters[SlotClip1];
    EXPECT_NEAR(clip.coef[CoefB0], std::pow(10.0, 6 / 20.0), 1e-6);
    EXPECT_EQ(d.MatchingPreset(data), 5);
    // A tone character: "HPF : -12dB/Oct" at 80 Hz falls toward 10 Hz and is flat higher up.
    CharacterDesigner high = CharacterDesigner::Tone(1, SlotLow);
    high.Calc(data, {{true, FilterHighPass12, "80", "0", "0.71", "0"}});
    const auto levels = high.Levels(data);
    EXPECT_LT(levels[0], -20);
    EXPECT_NEAR(levels[60], 0, 0.2);  // about 900 Hz
    EXPECT_FALSE(high.Columns(data)[0].gainUsed);
    EXPECT_TRUE(high.Columns(data)[0].qUsed);
}

// CALC snaps every filter to the device's steps, but a distortion character
// whose clipper matches a preset keeps that preset's clip filters as it gives
// them: the file saved afterwards holds Freq 0.0 for "Op-Amp overload"'s
// empty clip filters, not the clamped 40.0. A clipper that matches no preset
// keeps its data.
TEST(Designer, CalcKeepsTheMatchingPresetsClipFilters) {
    CustomDistData data = CustomDistData::NewDocument();
    const ClipperPreset& preset = ClipperPresets()[0];
    CharacterDesigner d = CharacterDesigner::Distortion(0);
    d.Calc(data, {{true, FilterPeq, "1000", "3", "1", "0"}, {false, 0, "630", "0", "0.71", "0"}, {false, 0, "1200", "0", "0.71", "0"}});
    for (int k = 0; k < 2; ++k) {
        const FilterRecord& clip = data.filters[static_cast<std::size_t>(FilterNumber(0, SlotClip1 + k))];
        EXPECT_EQ(clip.freq, preset.filters[k].freq) << k;
        EXPECT_EQ(clip.q, preset.filters[k].q) << k;
    }
    // Set 1 was only snapped by set 0's CALC; the window shows it: the preset comes back.
    CharacterDesigner other = CharacterDesigner::Distortion(1);
    EXPECT_EQ(data.filters[static_cast<std::size_t>(FilterNumber(1, SlotClip1))].freq, 40);
    EXPECT_EQ(other.TakeMatchingPreset(data), 0);
    EXPECT_EQ(data.filters[static_cast<std::size_t>(FilterNumber(1, SlotClip1))].freq, preset.filters[0].freq);

    data.clippers[1][0] ^= 0x77;
    const CustomDistData custom = data;
    EXPECT_EQ(other.TakeMatchingPreset(data), -1);
    EXPECT_EQ(data.FileImage(), custom.FileImage());
}
