#include "customdist/response.h"

#include <cmath>

namespace orb8 {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPointsPerDecade = 30.4122;
constexpr double kLevelLimit = 1000.0;

struct Trig {
    double c1, s1, c2, s2;
};

// cos and sin of one and two sample delays at each plot frequency.
const std::array<Trig, kPlotPoints>& PlotTrig() {
    static const std::array<Trig, kPlotPoints> table = [] {
        std::array<Trig, kPlotPoints> t{};
        for (int i = 0; i < kPlotPoints; ++i) {
            const double w = 2 * kPi * PlotFrequencies()[static_cast<std::size_t>(i)] / kSampleRate;
            t[static_cast<std::size_t>(i)] = {std::cos(w), std::sin(w), std::cos(2 * w), std::sin(2 * w)};
        }
        return t;
    }();
    return table;
}

double MagnitudeSquared(const FilterRecord& f, const Trig& t) {
    const auto& c = f.coef;
    const double nr = c[CoefB0] + c[CoefB1] * t.c1 + c[CoefB2] * t.c2;
    const double ni = -(c[CoefB1] * t.s1 + c[CoefB2] * t.s2);
    const double dr = 1 - c[CoefA1] * t.c1 - c[CoefA2] * t.c2;
    const double di = c[CoefA1] * t.s1 + c[CoefA2] * t.s2;
    return (nr * nr + ni * ni) / (dr * dr + di * di);
}

int Truncate(double v) {
    if (std::isnan(v)) return 0;
    if (v > 1e9) return 1000000000;
    if (v < -1e9) return -1000000000;
    return static_cast<int>(v);
}

}  // namespace

const std::array<double, kPlotPoints>& PlotFrequencies() {
    static const std::array<double, kPlotPoints> table = [] {
        std::array<double, kPlotPoints> f{};
        f[0] = 10;
        for (int i = 1; i < kPlotPoints; ++i) f[static_cast<std::size_t>(i)] = f[static_cast<std::size_t>(i - 1)] * 1.07865246542;
        return f;
    }();
    return table;
}

double FilterMagnitude(const FilterRecord& filter, double frequency) {
    if (filter.on == 0) return 1;
    const double w = 2 * kPi * frequency / kSampleRate;
    const Trig t{std::cos(w), std::sin(w), std::cos(2 * w), std::sin(2 * w)};
    return std::sqrt(MagnitudeSquared(filter, t));
}

std::array<double, kPlotPoints> ResponseLevels(std::span<const FilterRecord* const> filters) {
    std::array<double, kPlotPoints> levels{};
    const auto& trig = PlotTrig();
    for (int i = 0; i < kPlotPoints; ++i) {
        double product = 1;  // of squared magnitudes
        for (const FilterRecord* f : filters) {
            if (f && f->on != 0) product *= MagnitudeSquared(*f, trig[static_cast<std::size_t>(i)]);
        }
        levels[static_cast<std::size_t>(i)] = 10 * std::log10(product);
    }
    return levels;
}

PlotGeometry PlotGrid(int width, int height) {
    PlotGeometry g{};
    const double step = (width - 1) / 99.0;
    for (int k = 1; k <= 3; ++k) {
        g.levelLines[static_cast<std::size_t>(k - 1)] = Truncate(1 + k * (height - 1) * 0.25 + 0.5);
        g.freqLines[static_cast<std::size_t>(k - 1)] = Truncate(1 + k * kPointsPerDecade * step + 0.5);
    }
    g.zeroDbY = (height - 1) / 2 + 1;
    return g;
}

std::array<PlotPoint, kPlotPoints> CurvePoints(const std::array<double, kPlotPoints>& levels, int width, int height) {
    std::array<PlotPoint, kPlotPoints> points{};
    const double step = (width - 1) / 99.0;
    const double centre = (height - 1) / 2 + 1;
    const double scale = (height - 1) / 48.0;
    for (int i = 0; i < kPlotPoints; ++i) {
        double level = levels[static_cast<std::size_t>(i)];
        if (std::isnan(level)) level = -kLevelLimit;
        if (level > kLevelLimit) level = kLevelLimit;
        if (level < -kLevelLimit) level = -kLevelLimit;
        points[static_cast<std::size_t>(i)] = {i == 0 ? 1 : Truncate(i * step + 1.5), Truncate(centre - scale * level + 0.5)};
    }
    return points;
}

}  // namespace orb8
