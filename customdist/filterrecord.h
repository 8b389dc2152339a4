// One custom distortion filter: its settings, the five coefficients computed
// from them and quantised to the processor's 24-bit format, the 112-byte
// image the .dst file stores, and the 5-byte settings code the processor keeps.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orb8 {

constexpr int kFilterRecordBytes = 112;
constexpr int kCoefCount = 5;
constexpr int kCoefNibbles = 30;
constexpr int kFilterTypeCount = 8;
constexpr double kSampleRate = 40000.0;
constexpr double kCoefScale = 2097152.0;  // 2^21: a code divided by this is the coefficient

// Editor numbering; the processor swaps 3 and 4.
enum FilterType : std::uint8_t {
    FilterPeq = 0,
    FilterLowShelf = 1,
    FilterHighShelf = 2,
    FilterLowPass6 = 3,
    FilterLowPass12 = 4,
    FilterBandPass = 5,
    FilterHighPass6 = 6,
    FilterHighPass12 = 7,
};

// Coefficients in stored order: b1, b0, b2, a1, a2.
enum CoefIndex { CoefB1 = 0, CoefB0 = 1, CoefB2 = 2, CoefA1 = 3, CoefA2 = 4 };

struct FilterRecord {
    std::uint8_t on = 0;
    std::uint8_t type = 0;
    std::array<std::uint8_t, 6> reserved{};  // kept as read, so a file saves back unchanged
    double freq = 0;
    double gain = 0;
    double q = 0;
    double trim = 0;
    std::array<double, kCoefCount> coef{};
    std::array<std::uint8_t, kCoefNibbles> coefNibbles{};
    std::array<std::uint8_t, 2> reservedEnd{};
};

using FilterRecordImage = std::array<std::uint8_t, kFilterRecordBytes>;
using FilterSettingsCode = std::array<std::uint8_t, 5>;

FilterRecordImage ToImage(const FilterRecord& record);
// Nibbles read from a file are masked to 0..15: they travel to the processor
// as data bytes as they stand.
FilterRecord FromImage(std::span<const std::uint8_t, kFilterRecordBytes> image);

// Fills coef and coefNibbles from the settings; returns the valid flag: every
// coefficient fits the 24-bit range and the quantised filter is stable.
bool ComputeCoefficients(FilterRecord& record);
// True when the record's quantised coefficients are finite, within range and
// give a stable filter (poles strictly inside the unit circle).
bool CoefficientsStable(const std::array<double, kCoefCount>& coef);

// The codes the designers' fields step through: Freq, Gain (and Trim) and Q.
struct CodeRange {
    int min, max;
};
inline constexpr CodeRange kFreqCodes{0, 1296}, kGainCodes{0, 240}, kQCodes{1, 500};

// Limits Freq, Gain, Q and Trim to their ranges; NaN becomes the range's low end.
void ClampSettings(FilterRecord& record);

FilterSettingsCode EncodeSettings(const FilterRecord& record);
// Sets On, Type, Freq, Gain, Q and Trim; Coef and CoefNibbles stay.
void DecodeSettings(const FilterSettingsCode& code, FilterRecord& record);

int DeviceTypeCode(int editorType);  // 0..7
bool TypeUsesGain(int type);
bool TypeUsesQ(int type);
// The type box text, or "unknown" for a type byte outside 0..7.
std::string_view FilterTypeText(int type);
// Short names for the command line (peq, loshelf, ...), or -1.
std::string_view FilterTypeShortName(int type);
int FilterTypeFromShortName(std::string_view name);

// The device codes of each setting, clamped to their fields; NaN gives code 0.
// Exact step values give their own step (decode then encode is the identity).
int FreqCode(double freq);
int GainCode(double gainDb);  // also Trim
int QCode(double q);
double FreqFromCode(int code);
double GainFromCode(int code);
double QFromCode(int code);

// The designers' numeric edits: the text shown for a code and the code for a
// typed text (locale independent; a point is the decimal separator).
std::string FreqText(int code);
std::string GainText(int code);  // also Trim
std::string QText(int code);
int FreqCodeFromText(std::string_view text);
int GainCodeFromText(std::string_view text);
int QCodeFromText(std::string_view text);
// A stored real as the edits first receive it: up to 15 significant digits.
std::string RealText(double value);
// The longest decimal prefix of a text as a real (leading spaces and a sign
// allowed); 0 when there is none. Never NaN.
double ParseRealPrefix(std::string_view text);

// 24-bit code of a coefficient from its nibbles (sign-extended).
std::int32_t CoefCode(const FilterRecord& record, int index);

}  // namespace orb8
