// The designers recompute a 100-point response of three filters on every redraw
// while a value is edited. Target: under 50 microseconds.
#include <benchmark/benchmark.h>

#include "customdist/customdistdata.h"
#include "customdist/response.h"

namespace {

void ThreeFilterResponse(benchmark::State& state) {
    orb8::CustomDistData data = orb8::CustomDistData::NewDocument();
    for (int slot = 0; slot < 3; ++slot) {
        orb8::FilterRecord& f = data.filters[static_cast<std::size_t>(slot)];
        f.on = 1;
        f.gain = 4;
        orb8::ComputeCoefficients(f);
    }
    const orb8::FilterRecord* list[] = {&data.filters[0], &data.filters[1], &data.filters[2]};
    for (auto _ : state) {
        const auto levels = orb8::ResponseLevels(list);
        const auto points = orb8::CurvePoints(levels, 397, 193);
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(ThreeFilterResponse)->Unit(benchmark::kMicrosecond);

void RecomputeAndPlot(benchmark::State& state) {
    // CALC: coefficients of three filters, then the curve.
    orb8::CustomDistData data = orb8::CustomDistData::NewDocument();
    const orb8::FilterRecord* list[] = {&data.filters[0], &data.filters[1], &data.filters[2]};
    for (auto _ : state) {
        for (int slot = 0; slot < 3; ++slot) {
            data.filters[static_cast<std::size_t>(slot)].on = 1;
            orb8::ComputeCoefficients(data.filters[static_cast<std::size_t>(slot)]);
        }
        benchmark::DoNotOptimize(orb8::CurvePoints(orb8::ResponseLevels(list), 397, 193));
    }
}
BENCHMARK(RecomputeAndPlot)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
