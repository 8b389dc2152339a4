// The character designers: a plot repaint at 600 x 300 pixels (target under
// 2 ms) and CALC of a set with the quantise-all of its 16 filters (target
// under 1 ms).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "customdist/designer.h"
#include "customdist/ui/responseplot.h"

using namespace orb8;

namespace {

void PlotRepaint(benchmark::State& state) {
    CustomDistData data = CustomDistData::NewDocument();
    CharacterDesigner d = CharacterDesigner::Distortion(0);
    d.Calc(data, {{true, FilterLowShelf, "200", "6", "0.71", "0"}, {true, FilterPeq, "800", "-9", "1.5", "0"},
            {true, FilterHighPass12, "1000", "0", "1", "3"}});
    ResponsePlot plot;
    plot.resize(600, 300);
    plot.SetLevels(d.Levels(data));
    const qreal dpr = static_cast<qreal>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(plot.Render(dpr));
}
BENCHMARK(PlotRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void CalcOfASet(benchmark::State& state) {
    CustomDistData data = CustomDistData::NewDocument();
    CharacterDesigner d = CharacterDesigner::Distortion(0);
    const std::vector<FilterInput> input = {{true, FilterLowShelf, "200", "6", "0.71", "0"},
                                            {true, FilterPeq, "800", "-9", "1.5", "0"},
                                            {true, FilterHighPass12, "1000", "0", "1", "3"}};
    for (auto _ : state) {
        d.Calc(data, input);
        benchmark::DoNotOptimize(d.Levels(data));
    }
}
BENCHMARK(CalcOfASet)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
