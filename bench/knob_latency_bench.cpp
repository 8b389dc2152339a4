// A knob drag in the patch editor: the time from the mouse-move event on the
// knob to the ParameterChange bytes reaching the MIDI port (target under
// 1 ms, median and 99th percentile), and what a drag across a knob's whole
// range puts on the wire.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "workspace/ui/documentwindow.h"
#include "app/ui/mainwin.h"
#include "bench/benchsupport.h"
#include "controls/volume.h"
#include "device/ui/windowhost.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/projectwin.h"
#include "controls/named.h"

using Clock = std::chrono::steady_clock;

namespace {

struct Figures {
    double median = 0, p99 = 0;
    std::size_t measured = 0, messages = 0, bytes = 0;
};

// Twenty drags across BPM's range; recoveryFolder: records of unsaved work kept there.
Figures Drag(const QString& recoveryFolder) {
    OnLineWindow rig(recoveryFolder);
    RecordingPort& port = *rig.port;
    TMainWin& win = rig.win;
    ShowBpmPatch(win);
    TVolume* knob = Named<TVolume>(*Named<TControlPanel>(win, "ControlPanel"), "ModVolume1");

    std::vector<double> latencies;
    std::size_t messages = 0, bytes = 0;
    for (int sweep = 0; sweep < 20; ++sweep) {
        {
            std::lock_guard lock(port.mutex);
            port.arrivals.clear();
        }
        QTest::mousePress(knob, Qt::LeftButton, {}, QPoint(12, 12));
        // From the value-0 end to the other, a quarter degree a step.
        for (int step = 0; step <= 1080; ++step) {
            const double degrees = sweep % 2 ? 270 - step / 4.0 : step / 4.0;
            const auto before = Clock::now();
            std::size_t had = 0;
            {
                std::lock_guard lock(port.mutex);
                had = port.arrivals.size();
            }
            QTest::mouseMove(knob, OnArc(degrees));
            std::lock_guard lock(port.mutex);
            if (port.arrivals.size() > had)
                latencies.push_back(std::chrono::duration<double, std::micro>(port.arrivals[had].at - before).count());
        }
        QTest::mouseRelease(knob, Qt::LeftButton, {}, QPoint(12, 12));
        std::lock_guard lock(port.mutex);
        if (sweep == 0) {
            messages = port.arrivals.size();
            for (const RecordingPort::Arrival& a : port.arrivals) bytes += a.bytes;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[static_cast<std::size_t>(q * (latencies.size() - 1))]; };
    return Figures{at(0.5), at(0.99), latencies.size(), messages, bytes};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir recovery;
    const Figures plain = Drag({});
    const Figures kept = Drag(recovery.filePath("recovery"));
    std::printf("Knob drag to the MIDI port (%zu changes measured):\n", plain.measured);
    std::printf("  median %.1f us, 99th percentile %.1f us (target under 1000 us)\n", plain.median, plain.p99);
    std::printf("  with unsaved work kept for recovery: median %.1f us, 99th percentile %.1f us\n", kept.median, kept.p99);
    std::printf("A drag across the whole range of BPM (0..210): %zu messages, %zu bytes on the wire (%.0f ms at MIDI speed)\n",
                plain.messages, plain.bytes, plain.bytes * 0.32);
    return 0;
}
