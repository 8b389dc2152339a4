// Undo: from the Ctrl+Z key press to the last ParameterChange at the MIDI
// port for a type change on line (target under 1 ms plus wire time), and the
// memory a history of 10,000 steps takes (target under 10 MB).
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "workspace/ui/documentwindow.h"
#include "app/ui/mainwin.h"
#include "bench/benchsupport.h"
#include "device/ui/windowhost.h"
#include "editors/projecthistory.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/projectwin.h"
#include "controls/named.h"

using Clock = std::chrono::steady_clock;


int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    OnLineWindow rig;
    RecordingPort& port = *rig.port;
    TMainWin& win = rig.win;
    orb8::ProjectSession& session = win.Documents().CurrentProject()->Session();
    session.Perform([&](orb8::ProjectDocument& document) {
        document.patches[0][orb8::ModuleSwitches] = orb8::DriveOn;
        return orb8::StepReport{"bench", {}};
    });
    win.Documents().CurrentProject()->SelectRow(1);
    QComboBox* type = Named<QComboBox>(*Named<TControlPanel>(win, "ControlPanel"), "DriveType");

    // Shortcuts reach an active window only.
    win.activateWindow();
    if (!QTest::qWaitForWindowActive(&win)) {
        std::printf("the window did not become active\n");
        return 1;
    }
    std::vector<double> times;
    std::size_t messages = 0;
    for (int round = 0; round < 200; ++round) {  // each round: the change, then its undo
        type->setCurrentIndex(14);  // "COMP" after "OVER DRV": the type and four parameters
        emit type->activated(type->currentIndex());
        win.OnIdleHandlerIdle();  // the idle pass that follows enables Undo
        {
            std::lock_guard lock(port.mutex);
            port.arrivals.clear();
        }
        const auto before = Clock::now();
        // The key goes where the user's would: to the widget with the focus.
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &win, Qt::Key_Z, Qt::ControlModifier);
        std::lock_guard lock(port.mutex);
        if (port.arrivals.empty()) continue;
        messages = port.arrivals.size();
        times.push_back(std::chrono::duration<double, std::micro>(port.arrivals.back().at - before).count());
    }
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        std::printf("undo sent nothing\n");
        return 1;
    }
    std::printf("Undo of a drive type change on line (%zu rounds, %zu ParameterChanges each):\n", times.size(), messages);
    std::printf("  key press to the last message at the port: median %.1f us, 99th percentile %.1f us\n",
                times[times.size() / 2], times[times.size() * 99 / 100]);
    std::printf("  (target under 1000 us plus the wire time of %zu messages, %.1f ms)\n", messages, messages * 9 * 0.32);

    // A history of 10,000 knob steps over the whole bank.
    orb8::ProjectDocument doc;
    std::size_t bytes = 0;
    for (int i = 0; i < 10000; ++i) {
        const orb8::ProjectState b = orb8::Capture(doc);
        doc.patches[static_cast<std::size_t>(i % 80)][orb8::ModParam1] = static_cast<std::uint8_t>(i % 50);
        bytes += orb8::ProjectStep::Between(b, doc).MemoryBytes();
    }
    std::printf("A history of 10,000 steps: %.2f MB (target under 10 MB)\n", bytes / 1048576.0);
    return 0;
}
