#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "customdist/clipperpresets.h"
#include "customdist/filterrecord.h"

using namespace orb8;

namespace {

FilterRecord Make(int on, int type, double freq, double gain, double q, double trim) {
    FilterRecord r;
    r.on = static_cast<std::uint8_t>(on);
    r.type = static_cast<std::uint8_t>(type);
    r.freq = freq;
    r.gain = gain;
    r.q = q;
    r.trim = trim;
    return r;
}

std::string Nibbles(const FilterRecord& r) {
    std::string s;
    for (int i = 0; i < kCoefNibbles; ++i) {
        if (i && i % 6 == 0) s += ' ';
        s += "0123456789ABCDEF"[r.coefNibbles[static_cast<std::size_t>(i)]];
    }
    return s;
}

FilterSettingsCode Code(int a, int b, int c, int d, int e) {
    return {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c),
            static_cast<std::uint8_t>(d), static_cast<std::uint8_t>(e)};
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(FilterCoefficients, WorkedPeakingExample) {
    FilterRecord r = Make(1, FilterPeq, 1000, 6, 1, 0);
    EXPECT_TRUE(ComputeCoefficients(r));
    EXPECT_EQ(CoefCode(r, CoefB1), -3842143);
    EXPECT_EQ(CoefCode(r, CoefB0), 2248565);
    EXPECT_EQ(CoefCode(r, CoefB2), 1641471);
    EXPECT_EQ(CoefCode(r, CoefA1), 3842143);
    EXPECT_EQ(CoefCode(r, CoefA2), -1792884);
    EXPECT_EQ(Nibbles(r), "C55FA1 224F75 190BFF 3AA05F E4A48C");
    EXPECT_DOUBLE_EQ(r.coef[CoefB0], 2248565 / 2097152.0);
}

TEST(FilterCoefficients, OffFilterIsIdentity) {
    FilterRecord r = Make(0, FilterBandPass, 500, 3, 0.2, 12);
    EXPECT_TRUE(ComputeCoefficients(r));
    EXPECT_EQ(Nibbles(r), "000000 200000 000000 000000 000000");
}

TEST(FilterCoefficients, OverflowIsClampedAndInvalid) {
    FilterRecord r = Make(1, FilterPeq, 1000, 12, 1, 12);
    EXPECT_FALSE(ComputeCoefficients(r));
    EXPECT_EQ(CoefCode(r, CoefB1), -8388608);
    EXPECT_EQ(CoefCode(r, CoefB0), 8388607);
    EXPECT_EQ(Nibbles(r).substr(0, 13), "800000 7FFFFF");
    r.trim = 0;
    EXPECT_TRUE(ComputeCoefficients(r));
}

TEST(FilterCoefficients, DiodeDistClipFilterWithQZero) {
    const ClipFilterSettings& s = ClipperPresets()[5].filters[0];
    FilterRecord r = Make(s.on, s.type, s.freq, s.gain, s.q, s.trim);
    EXPECT_TRUE(ComputeCoefficients(r));
    EXPECT_NEAR(r.coef[CoefB0], std::pow(10.0, 6 / 20.0), 1e-6);
    for (int k : {CoefB1, CoefB2, CoefA1, CoefA2}) EXPECT_EQ(r.coef[static_cast<std::size_t>(k)], 0) << k;
}

TEST(FilterCoefficients, UnstableLowShelfCutIsInvalid) {
    // -12 dB at 5040 Hz: the corner's tangent passes pi/2 and the pole leaves
    // the unit circle although every code fits.
    FilterRecord r = Make(1, FilterLowShelf, 5040, -12, 0.71, 0);
    EXPECT_FALSE(ComputeCoefficients(r));
    EXPECT_GT(std::fabs(r.coef[CoefA1]), 1.0);
    EXPECT_LT(std::fabs(r.coef[CoefA1]), 4.0);  // within the 24-bit range: only stability fails
    r.freq = 2000;
    EXPECT_TRUE(ComputeCoefficients(r));
}

TEST(FilterCoefficients, ShelfCutWithItsCornerPastHalfTheSampleRateIsInvalid) {
    // The cut's corner is f x 10^(-g/20): at 12 kHz and -12 dB it is about
    // 47.8 kHz, past the sample rate, where the filter is stable again but is
    // a shelf near 5 kHz instead of the cut asked for.
    FilterRecord r = Make(1, FilterLowShelf, 12000, -12, 1, 0);
    EXPECT_FALSE(ComputeCoefficients(r));
    EXPECT_TRUE(CoefficientsStable(r.coef));
    // Every setting whose corner reaches 20 kHz is invalid, and none below it.
    for (double g = -12; g <= 0; g += 0.5) {
        for (double f = 40; f <= 13000; f += 130) {
            FilterRecord s = Make(1, FilterLowShelf, f, g, 1, 0);
            const bool valid = ComputeCoefficients(s);
            const double corner = f * std::pow(10.0, -g / 20);
            if (corner >= 20000.5) {
                EXPECT_FALSE(valid) << f << " " << g;
            }
            if (corner < 19999.5) {
                EXPECT_TRUE(valid) << f << " " << g;
            }
        }
    }
}

TEST(FilterCoefficients, EveryTypeIsStableOverItsRangeExceptStrongLowShelfCuts) {
    int unstable = 0;
    for (int type = 0; type < kFilterTypeCount; ++type) {
        for (double f : {40.0, 100.0, 1000.0, 5000.0, 10000.0, 13000.0}) {
            for (double g : {-12.0, -3.0, 0.0, 6.0, 12.0}) {
                for (double q : {0.01, 0.71, 5.0}) {
                    FilterRecord r = Make(1, type, f, g, q, 0);
                    const bool valid = ComputeCoefficients(r);
                    if (!CoefficientsStable(r.coef)) {
                        ++unstable;
                        EXPECT_EQ(type, FilterLowShelf) << f << " " << g;
                        EXPECT_FALSE(valid);
                    }
                }
            }
        }
    }
    EXPECT_GT(unstable, 0);
}

TEST(FilterCoefficients, UnsafeInputsGiveDefinedResults) {
    const double odd[] = {kNaN, kInf, -kInf, 1e300, -1e300, 0.0, -5.0};
    for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 8, 200, 255}) {
        for (double v : odd) {
            for (int field = 0; field < 4; ++field) {
                FilterRecord r = Make(1, type, 1000, 3, 0.71, 0);
                double* target[] = {&r.freq, &r.gain, &r.q, &r.trim};
                *target[field] = v;
                const bool valid = ComputeCoefficients(r);
                if (field == 0 && std::isnan(v) && type < kFilterTypeCount) {
                    ASSERT_FALSE(valid);
                }
                if (type >= kFilterTypeCount && field != 3) {
                    ASSERT_TRUE(valid);  // all five 0: in range and stable
                }
                for (int k = 0; k < kCoefCount; ++k) {
                    const std::int32_t code = CoefCode(r, k);
                    ASSERT_GE(code, -8388608);
                    ASSERT_LE(code, 8388607);
                    ASSERT_TRUE(std::isfinite(r.coef[static_cast<std::size_t>(k)]));
                }
                for (auto n : r.coefNibbles) ASSERT_LE(n, 15);
                // Every code stays inside its field.
                FilterRecord back;
                DecodeSettings(EncodeSettings(r), back);
                EXPECT_GE(back.freq, 40);
                EXPECT_LE(back.freq, 13000);
                EXPECT_GE(back.gain, -12);
                EXPECT_LE(back.gain, 12);
                EXPECT_GE(back.q, 0);
                EXPECT_LE(back.q, 5);
                EXPECT_EQ(back.type, type < 8 ? type : DeviceTypeCode(type));
            }
        }
    }
    // Q 0 makes K/q infinite: the peaking filter's coefficients are not numbers.
    FilterRecord zeroQ = Make(1, FilterPeq, 1000, 6, 0, 0);
    EXPECT_FALSE(ComputeCoefficients(zeroQ));
    EXPECT_EQ(FilterTypeText(8), "unknown");
    EXPECT_EQ(FilterTypeText(3), "LPF  :  -6dB/Oct");
}

TEST(FilterSettings, EncodeExamples) {
    EXPECT_EQ(EncodeSettings(Make(0, 0, 120, 0, 0.71, 0)), Code(0x00, 0x21, 0xE0, 0x8E, 0xF0));
    // Q 0.29 keeps its own step (the plain product would truncate to 28).
    EXPECT_EQ(EncodeSettings(Make(1, 3, 1234, -11.95, 0.29, 6)), Code(0x81, 0xDC, 0x04, 0x3B, 0x69));
    EXPECT_EQ(EncodeSettings(Make(1, 4, 13000, 12, 5, -12)), Code(0x74, 0x43, 0xC3, 0xE8, 0x01));
    EXPECT_EQ(EncodeSettings(Make(0, 0, 0, 0, 0, 0)), Code(0x00, 0x01, 0xE0, 0x00, 0xF0));
}

TEST(FilterSettings, DecodeExamples) {
    FilterRecord r;
    DecodeSettings(Code(0x81, 0xDC, 0x04, 0x3B, 0x69), r);
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(r.on, 1);
    EXPECT_DOUBLE_EQ(r.freq, 1230);
    EXPECT_NEAR(r.gain, -11.9, 1e-9);
    EXPECT_NEAR(r.q, 0.29, 1e-9);
    EXPECT_NEAR(r.trim, 6, 1e-9);
    DecodeSettings(Code(0x00, 0x01, 0xE0, 0x00, 0xF0), r);
    EXPECT_EQ(r.freq, 40);
    EXPECT_NEAR(r.gain, 0, 1e-12);
    EXPECT_EQ(r.q, 0);
    // A first-order low-pass keeps its type through any number of passes.
    FilterRecord lp = Make(1, FilterLowPass6, 500, 0, 0.71, 0);
    for (int i = 0; i < 5; ++i) DecodeSettings(EncodeSettings(lp), lp);
    EXPECT_EQ(lp.type, FilterLowPass6);
    EXPECT_EQ(EncodeSettings(lp)[0] >> 5, 4);
}

TEST(FilterSettings, DecodeThenEncodeIsTheIdentityForEveryCode) {
    for (int code = 0; code <= 1296; ++code) ASSERT_EQ(FreqCode(FreqFromCode(code)), code);
    for (int code = 0; code <= 240; ++code) ASSERT_EQ(GainCode(GainFromCode(code)), code);
    for (int code = 0; code <= 500; ++code) ASSERT_EQ(QCode(QFromCode(code)), code);
    // And through the edits' text rules.
    for (int code = 0; code <= 1296; ++code) ASSERT_EQ(FreqCodeFromText(FreqText(code)), code);
    for (int code = 0; code <= 240; ++code) ASSERT_EQ(GainCodeFromText(GainText(code)), code);
    for (int code = 1; code <= 500; ++code) ASSERT_EQ(QCodeFromText(QText(code)), code);
    for (int code = 0; code <= 240; ++code) ASSERT_EQ(GainCodeFromText(RealText(GainFromCode(code))), code);
    for (int code = 1; code <= 500; ++code) ASSERT_EQ(QCodeFromText(RealText(QFromCode(code))), code);
}

TEST(FilterSettings, ClampLimitsSettingsOnly) {
    FilterRecord r = Make(1, 6, 5, 20, 0, -30);
    ClampSettings(r);
    EXPECT_EQ(r.freq, 40);
    EXPECT_EQ(r.gain, 12);
    EXPECT_EQ(r.q, 0.01);
    EXPECT_EQ(r.trim, -12);
    EXPECT_EQ(r.type, 6);
    r.freq = kNaN;
    r.q = 99;
    ClampSettings(r);
    EXPECT_EQ(r.freq, 40);
    EXPECT_EQ(r.q, 5);
}

TEST(FilterEdits, TextRules) {
    EXPECT_EQ(FreqText(FreqCodeFromText("20000")), "13000");
    EXPECT_EQ(FreqText(FreqCodeFromText("1234.5")), "40");
    EXPECT_EQ(FreqText(FreqCodeFromText(RealText(1234.5))), "40");
    EXPECT_EQ(FreqText(FreqCodeFromText(RealText(1234))), "1230");
    EXPECT_EQ(FreqText(FreqCodeFromText("abc")), "40");
    EXPECT_EQ(FreqText(FreqCodeFromText(" 800 ")), "800");
    EXPECT_EQ(QText(QCodeFromText("5")), "5.00");
    EXPECT_EQ(QText(QCodeFromText("0.29")), "0.29");
    EXPECT_EQ(QText(QCodeFromText("abc")), "0.01");
    EXPECT_EQ(QText(QCodeFromText("nan")), "0.01");
    EXPECT_EQ(GainText(GainCodeFromText("-20")), "-12.0");
    EXPECT_EQ(GainText(GainCodeFromText("3.75dB")), "3.7");
    EXPECT_EQ(GainText(GainCodeFromText("x")), "0.0");
    EXPECT_EQ(GainText(GainCodeFromText("-0.05")), "-0.1");
    EXPECT_EQ(GainText(GainCodeFromText("1e300")), "12.0");
    EXPECT_EQ(GainText(GainCodeFromText("inf")), "0.0");
    EXPECT_EQ(GainText(119), "-0.1");
    EXPECT_EQ(GainText(120), "0.0");
    EXPECT_EQ(RealText(0.71), "0.71");
    EXPECT_EQ(ParseRealPrefix("  +2.5x"), 2.5);
    EXPECT_EQ(ParseRealPrefix(".5"), 0.5);
    EXPECT_EQ(ParseRealPrefix("-"), 0);
    EXPECT_EQ(ParseRealPrefix("1e-999"), 0);
}

TEST(FilterRecordImage, ExactBytesAndMaskedNibbles) {
    FilterRecord r = Make(1, FilterPeq, 1000, 6, 1, 0);
    ComputeCoefficients(r);
    r.reserved[2] = 0x42;
    FilterRecordImage image = ToImage(r);
    EXPECT_EQ(image[0], 1);
    EXPECT_EQ(image[4], 0x42);
    double freq;
    std::memcpy(&freq, image.data() + 8, 8);
    EXPECT_EQ(freq, 1000);
    EXPECT_EQ(image[80], 0xC);
    EXPECT_EQ(ToImage(FromImage(image)), image);
    image[81] = 0xF7;  // a damaged nibble must never reach a SysEx data byte
    EXPECT_EQ(FromImage(image).coefNibbles[1], 0x7);
}
