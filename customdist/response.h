// The frequency response of custom filters and the geometry of its plot, as
// pure functions: the windows only draw what these return.
#pragma once

#include <array>
#include <span>

#include "customdist/filterrecord.h"

namespace orb8 {

constexpr int kPlotPoints = 100;

// 10 Hz up to 18 kHz, each point 1.07865246542 times the one before.
const std::array<double, kPlotPoints>& PlotFrequencies();

// |H| at frequency f from the quantised coefficients; 1 for a filter that is off.
double FilterMagnitude(const FilterRecord& filter, double frequency);

// 20 log10 of the product of the filters' magnitudes at each plot frequency.
// A product of 0 gives -infinity, and coefficients that are not numbers give NaN.
std::array<double, kPlotPoints> ResponseLevels(std::span<const FilterRecord* const> filters);

struct PlotPoint {
    int x, y;
};

// Pixel geometry of a drawing area of width by height pixels.
struct PlotGeometry {
    std::array<int, 3> levelLines;  // y of +12, 0 and -12 dB
    std::array<int, 3> freqLines;   // x of 100 Hz, 1 kHz and 10 kHz
    int zeroDbY;                    // the curve's 0 dB level
};
PlotGeometry PlotGrid(int width, int height);

// The curve's points; levels that are not finite or beyond +-1000 dB are held
// at +-1000 dB (NaN at the bottom), far outside the area.
std::array<PlotPoint, kPlotPoints> CurvePoints(const std::array<double, kPlotPoints>& levels, int width, int height);

}  // namespace orb8
