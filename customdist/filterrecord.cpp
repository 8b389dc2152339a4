#include "customdist/filterrecord.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace orb8 {
namespace {

static_assert(std::endian::native == std::endian::little, "the file image is little-endian");

constexpr double kPi = 3.14159265358979323846;
constexpr double kCodeMax = 8388607.0;
constexpr double kCodeMin = -8388608.0;
// Added before each truncation so that an exact step value, whose product in
// binary reals may fall just short (for -11.8 dB: 1.9999999999999929), gives
// its own step.
constexpr double kStepGuard = 1e-6;

constexpr int kFreqCodeMax = kFreqCodes.max;
constexpr int kGainCodeMax = kGainCodes.max;
constexpr int kQCodeMax = kQCodes.max;

constexpr std::string_view kTypeTexts[kFilterTypeCount] = {
    "PEQ : 12dB/Oct",   "Lo EQ : 6dB/Oct",  "Hi EQ : 6dB/Oct",  "LPF  :  -6dB/Oct",
    "LPF  : -12dB/Oct", "BPF  : -12dB/Oct", "HPF  :  -6dB/Oct", "HPF : -12dB/Oct"};
constexpr std::string_view kTypeShortNames[kFilterTypeCount] = {"peq",  "loshelf", "hishelf", "lpf6",
                                                                "lpf12", "bpf",    "hpf6",    "hpf12"};

// Truncation toward zero of a value already known to lie within [lo, hi].
int TruncateInto(double value, int lo, int hi) {
    if (!(value >= lo)) return lo;  // also NaN
    if (value >= hi) return hi;
    return static_cast<int>(value);
}

double Clamp(double value, double lo, double hi) {
    if (!(value >= lo)) return lo;  // also NaN
    return value > hi ? hi : value;
}

struct Quantised {
    std::int32_t code;
    bool inRange;
};

Quantised Quantise(double value) {
    const double x = value * kCoefScale;
    if (std::isnan(x)) return {0, false};
    if (x > kCodeMax) return {static_cast<std::int32_t>(kCodeMax), false};
    if (x < kCodeMin) return {static_cast<std::int32_t>(kCodeMin), false};
    const double rounded = x > 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
    // x + 0.5 can reach 8388608 only from x above 8388607, already caught.
    return {static_cast<std::int32_t>(Clamp(rounded, kCodeMin, kCodeMax)), true};
}

void PutDouble(std::uint8_t* at, double value) { std::memcpy(at, &value, sizeof value); }
double GetDouble(const std::uint8_t* at) {
    double value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A whole decimal integer, or 0 when the text is not one; huge values saturate.
long long ParseWholeNumber(std::string_view text) {
    text = TrimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return 0;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        if (value < 1'000'000'000LL) value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string Tenths(int tenths) {
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

}  // namespace

FilterRecordImage ToImage(const FilterRecord& r) {
    FilterRecordImage image{};
    image[0] = r.on;
    image[1] = r.type;
    std::memcpy(image.data() + 2, r.reserved.data(), 6);
    PutDouble(image.data() + 8, r.freq);
    PutDouble(image.data() + 16, r.gain);
    PutDouble(image.data() + 24, r.q);
    PutDouble(image.data() + 32, r.trim);
    for (int k = 0; k < kCoefCount; ++k) PutDouble(image.data() + 40 + 8 * k, r.coef[static_cast<std::size_t>(k)]);
    std::memcpy(image.data() + 80, r.coefNibbles.data(), kCoefNibbles);
    std::memcpy(image.data() + 110, r.reservedEnd.data(), 2);
    return image;
}

FilterRecord FromImage(std::span<const std::uint8_t, kFilterRecordBytes> image) {
    FilterRecord r;
    r.on = image[0];
    r.type = image[1];
    std::memcpy(r.reserved.data(), image.data() + 2, 6);
    r.freq = GetDouble(image.data() + 8);
    r.gain = GetDouble(image.data() + 16);
    r.q = GetDouble(image.data() + 24);
    r.trim = GetDouble(image.data() + 32);
    for (int k = 0; k < kCoefCount; ++k) r.coef[static_cast<std::size_t>(k)] = GetDouble(image.data() + 40 + 8 * k);
    for (int i = 0; i < kCoefNibbles; ++i) r.coefNibbles[static_cast<std::size_t>(i)] = image[static_cast<std::size_t>(80 + i)] & 0x0F;
    std::memcpy(r.reservedEnd.data(), image.data() + 110, 2);
    return r;
}

bool CoefficientsStable(const std::array<double, kCoefCount>& c) {
    const double a1 = c[CoefA1], a2 = c[CoefA2];
    if (!std::isfinite(a1) || !std::isfinite(a2)) return false;
    // Roots of z^2 - a1 z - a2 strictly inside the unit circle.
    return std::fabs(a2) < 1.0 && std::fabs(a1) < 1.0 - a2;
}

bool ComputeCoefficients(FilterRecord& r) {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    // The angle the prewarp is applied to: from half the sample rate on, the
    // tangent wraps and the filter is another one than the one asked for,
    // even where it is stable.
    double prewarp = 0;
    if (r.on != 0) {
        const double f = r.freq, g = r.gain, q = r.q, t = r.trim;
        const double w = kPi * f / kSampleRate;
        prewarp = w;
        const double K = std::tan(w);
        const double K2 = K * K;
        const double B = K2 + K / q + 1;
        const double A = K2 - K / q + 1;
        switch (r.type) {
            case FilterPeq:
                if (g > 0) {
                    const double V = std::pow(10.0, g / 20);
                    b0 = (K2 + V * K / q + 1) / B;
                    b1 = 2 * (K2 - 1) / B;
                    b2 = (K2 - V * K / q + 1) / B;
                    a1 = -2 * (K2 - 1) / B;
                    a2 = -A / B;
                } else if (g < 0) {
                    const double V = std::pow(10.0, -g / 20);
                    const double D = K2 + V * K / q + 1;
                    b0 = B / D;
                    b1 = 2 * (K2 - 1) / D;
                    b2 = A / D;
                    a1 = -2 * (K2 - 1) / D;
                    a2 = -(K2 - V * K / q + 1) / D;
                }
                break;
            case FilterLowShelf: {
                const double V = std::pow(10.0, g / 20);
                if (g <= 0) prewarp = w / V;
                const double K1 = g > 0 ? K : std::tan(w / V);
                b0 = (V * K1 + 1) / (K1 + 1);
                b1 = (V * K1 - 1) / (K1 + 1);
                a1 = (1 - K1) / (1 + K1);
                if (V == 1) b1 = a1 = 0;
                break;
            }
            case FilterHighShelf: {
                const double W = std::pow(10.0, -g / 20);
                if (g <= 0) prewarp = w / W;
                const double K1 = g > 0 ? K : std::tan(w / W);
                b0 = (K1 + 1 / W) / (K1 + 1);
                b1 = (K1 - 1 / W) / (K1 + 1);
                a1 = (1 - K1) / (1 + K1);
                if (W == 1) b1 = a1 = 0;
                break;
            }
            case FilterLowPass6:
                b0 = b1 = K / (K + 1);
                a1 = (1 - K) / (1 + K);
                break;
            case FilterLowPass12:
                b0 = K2 / B;
                b1 = 2 * K2 / B;
                b2 = K2 / B;
                a1 = -2 * (K2 - 1) / B;
                a2 = -A / B;
                break;
            case FilterBandPass:
                b0 = (K / q) / B;
                b1 = 0;
                b2 = -(K / q) / B;
                a1 = -2 * (K2 - 1) / B;
                a2 = -A / B;
                break;
            case FilterHighPass6:
                b0 = 1 / (K + 1);
                b1 = -1 / (K + 1);
                a1 = (1 - K) / (1 + K);
                break;
            case FilterHighPass12:
                b0 = 1 / B;
                b1 = -2 / B;
                b2 = 1 / B;
                a1 = -2 * (K2 - 1) / B;
                a2 = -A / B;
                break;
            default:
                b0 = b1 = b2 = a1 = a2 = 0;
                prewarp = 0;  // no filter at all: nothing to wrap
                break;
        }
        const double T = std::pow(10.0, t / 20);
        b0 *= T;
        b1 *= T;
        b2 *= T;
    }
    const double values[kCoefCount] = {b1, b0, b2, a1, a2};
    bool valid = true;
    for (int k = 0; k < kCoefCount; ++k) {
        const Quantised qz = Quantise(values[k]);
        valid = valid && qz.inRange;
        r.coef[static_cast<std::size_t>(k)] = qz.code / kCoefScale;
        const std::uint32_t bits = static_cast<std::uint32_t>(qz.code) & 0xFFFFFFu;
        for (int n = 0; n < 6; ++n) r.coefNibbles[static_cast<std::size_t>(6 * k + n)] = (bits >> (20 - 4 * n)) & 0x0F;
    }
    const bool corner = !(prewarp >= kPi / 2);  // NaN settings are caught by the coefficients
    return valid && corner && CoefficientsStable(r.coef);
}

void ClampSettings(FilterRecord& r) {
    r.freq = Clamp(r.freq, 40, 13000);
    r.gain = Clamp(r.gain, -12, 12);
    r.q = Clamp(r.q, 0.01, 5);
    r.trim = Clamp(r.trim, -12, 12);
}

int DeviceTypeCode(int editorType) {
    if (editorType == FilterLowPass6) return 4;
    if (editorType == FilterLowPass12) return 3;
    return editorType & 7;
}

bool TypeUsesGain(int type) { return type == FilterPeq || type == FilterLowShelf || type == FilterHighShelf; }
bool TypeUsesQ(int type) {
    return type == FilterPeq || type == FilterLowPass12 || type == FilterBandPass || type == FilterHighPass12;
}

std::string_view FilterTypeText(int type) {
    return type >= 0 && type < kFilterTypeCount ? kTypeTexts[type] : std::string_view("unknown");
}

std::string_view FilterTypeShortName(int type) {
    return type >= 0 && type < kFilterTypeCount ? kTypeShortNames[type] : std::string_view("unknown");
}

int FilterTypeFromShortName(std::string_view name) {
    for (int t = 0; t < kFilterTypeCount; ++t) {
        if (kTypeShortNames[t] == name) return t;
    }
    return -1;
}

int FreqCode(double freq) {
    if (std::isnan(freq) || std::fabs(freq) < 1) return 0;  // below 1 Hz: code 0
    return TruncateInto((Clamp(freq, -1, 13000) - 40) * 0.1 + kStepGuard, 0, kFreqCodeMax);
}

int GainCode(double gainDb) {
    if (std::isnan(gainDb)) return 0;
    double c = (Clamp(gainDb, -12, 12) + 12) * 10;
    if (c != 0 && c < 1) c = 1;  // just above -12 dB stays above it
    return TruncateInto(c + kStepGuard, 0, kGainCodeMax);
}

int QCode(double q) {
    if (std::isnan(q)) return 0;
    return TruncateInto(Clamp(q, 0, 5) * 100 + kStepGuard, 0, kQCodeMax);
}

double FreqFromCode(int code) { return 40 + 10.0 * code; }
double GainFromCode(int code) { return code * 0.1 - 12; }
double QFromCode(int code) { return code * 0.01; }

FilterSettingsCode EncodeSettings(const FilterRecord& r) {
    const unsigned type = static_cast<unsigned>(DeviceTypeCode(r.type));
    const unsigned freq = static_cast<unsigned>(FreqCode(r.freq));
    const unsigned gain = static_cast<unsigned>(GainCode(r.gain));
    const unsigned q = static_cast<unsigned>(QCode(r.q));
    const unsigned trim = static_cast<unsigned>(GainCode(r.trim));
    return {static_cast<std::uint8_t>((type << 5) | (freq >> 6)),
            static_cast<std::uint8_t>(((freq & 0x3F) << 2) | (gain >> 6)),
            static_cast<std::uint8_t>(((gain & 0x3F) << 2) | (q >> 7)),
            static_cast<std::uint8_t>(((q & 0x7F) << 1) | (trim >> 7)),
            static_cast<std::uint8_t>(((trim & 0x7F) << 1) | (r.on & 1))};
}

void DecodeSettings(const FilterSettingsCode& c, FilterRecord& r) {
    const int device = c[0] >> 5;
    r.type = static_cast<std::uint8_t>(DeviceTypeCode(device));  // the swap is its own inverse
    const int freq = ((c[0] & 0x1F) << 6) | (c[1] >> 2);
    const int gain = ((c[1] & 0x03) << 6) | (c[2] >> 2);
    const int q = ((c[2] & 0x03) << 7) | (c[3] >> 1);
    const int trim = ((c[3] & 0x01) << 7) | (c[4] >> 1);
    r.freq = FreqFromCode(freq);
    r.gain = GainFromCode(gain);
    r.q = QFromCode(q);
    r.trim = GainFromCode(trim);
    r.on = c[4] & 1;
}

std::string FreqText(int code) { return std::to_string(40 + 10 * code); }
std::string GainText(int code) { return Tenths(code - 120); }
std::string QText(int code) {
    const int magnitude = code < 0 ? -code : code;
    const int hundredths = magnitude % 100;
    return (code < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + (hundredths < 10 ? "0" : "") +
           std::to_string(hundredths);
}

int FreqCodeFromText(std::string_view text) {
    long long value = ParseWholeNumber(text);
    if (value < 40) value = 40;
    if (value > 13000) value = 13000;
    return static_cast<int>(value / 10 - 4);
}

int GainCodeFromText(std::string_view text) {
    const double value = Clamp(ParseRealPrefix(text), -12, 12);
    return TruncateInto((value + 12) * 10 + kStepGuard, 0, kGainCodeMax);
}

int QCodeFromText(std::string_view text) {
    const double value = Clamp(ParseRealPrefix(text), 0.01, 5);
    return TruncateInto(value * 100 + kStepGuard, 1, kQCodeMax);
}

std::string RealText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

double ParseRealPrefix(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits and a point may start the number: "nan" and "inf" are not numbers here.
    const bool digitFirst = !text.empty() && text.front() >= '0' && text.front() <= '9';
    const bool pointFirst = text.size() > 1 && text[0] == '.' && text[1] >= '0' && text[1] <= '9';
    if (!digitFirst && !pointFirst) return 0;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow saturates; underflow is as good as zero.
        const bool tiny = text.find_first_of("eE") != std::string_view::npos &&
                          text.find('-', text.find_first_of("eE")) != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

std::int32_t CoefCode(const FilterRecord& r, int index) {
    std::uint32_t bits = 0;
    for (int n = 0; n < 6; ++n) bits = (bits << 4) | (r.coefNibbles[static_cast<std::size_t>(6 * index + n)] & 0x0F);
    return static_cast<std::int32_t>(bits << 8) >> 8;
}

}  // namespace orb8
