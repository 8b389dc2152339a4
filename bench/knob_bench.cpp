// The editors redraw knobs while the user drags: the cost of one repaint of a
// 25 x 25 knob, into its off-screen image and onto a window's surface, at
// screen scale 1 and 2 (the argument). Target: under 100 microseconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "controls/volume.h"

namespace {

void KnobRender(benchmark::State& state) {
    TVolume knob;
    knob.resize(25, 25);
    const qreal dpr = static_cast<qreal>(state.range(0));
    int value = 0;
    for (auto _ : state) {
        knob.SetPosition(value = (value + 7) % 128);
        benchmark::DoNotOptimize(knob.Render(dpr));
    }
}
BENCHMARK(KnobRender)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void KnobRepaintOntoSurface(benchmark::State& state) {
    TVolume knob;
    knob.resize(25, 25);
    const int scale = static_cast<int>(state.range(0));
    QImage surface(25 * scale, 25 * scale, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(scale);
    int value = 0;
    for (auto _ : state) {
        knob.SetPosition(value = (value + 7) % 128);
        knob.render(&surface);  // paintEvent: off-screen drawing, then one copy
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(KnobRepaintOntoSurface)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
