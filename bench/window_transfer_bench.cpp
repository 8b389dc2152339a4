// Receive All and Send All through the window program, its output paced to
// the wire, against the simulated ORB-8 with MIDI wire timing: total time
// over the wire-time limit (target at most 1.03), and the longest time the
// window thread's event loop did not turn meanwhile (target under 16 ms, a
// frame), also with the MIDI monitor open; and the CPU the process uses
// while an exchange waits on a silent processor for one second (target under 1 %).
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "app/ui/mainwin.h"
#include "editors/ui/projectwin.h"
#include "workspace/ui/documentwindow.h"
#include "bench/benchsupport.h"
#include "device/ui/windowhost.h"
#include "midi/midisystem.h"
#include "controls/named.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    orb8::MidiSystemOptions options;
    options.realPorts = false;
    options.simulatorTiming = {true, {}};
    orb8::MidiSystem system(options);
    AnsweringDialogs dialogs;
    TMainWin win(system, dialogs, MainWinOptions{false, {}, false});
    win.show();
    QCoreApplication::processEvents();
    Named<QAction>(win, "OnLineMenu")->trigger();
    WaitExchange(win);
    win.OnIdleHandlerIdle();
    WaitExchange(win);  // the selected patch goes to the processor
    if (!win.Link().isOnLine) {
        std::printf("the simulator did not answer\n");
        return 1;
    }
    auto measure = [&](QAction* transfer, const char* note) {
        std::printf("%s through the window program (simulated ORB-8, MIDI wire timing)%s:\n",
                    qPrintable(transfer->text().remove('&')), note);
        for (int round = 0; round < 3; ++round) {
            const std::uint64_t before = system.Simulator()->WireBytes();
            win.OnIdleHandlerIdle();  // the menus as the user finds them
            // A timer that fires at every turn of the event loop shows how long it stood still.
            QElapsedTimer clock, turn;
            qint64 stall = 0;
            QTimer beat;
            beat.setTimerType(Qt::PreciseTimer);
            QObject::connect(&beat, &QTimer::timeout, [&] {
                stall = std::max(stall, turn.nsecsElapsed());
                turn.restart();
            });
            clock.start();
            turn.start();
            beat.start(1);
            transfer->trigger();
            WaitExchange(win);
            beat.stop();
            stall = std::max(stall, turn.nsecsElapsed());
            const double seconds = clock.nsecsElapsed() / 1e9;
            const double limit = std::chrono::duration<double>(
                orb8::WireTime(system.Simulator()->WireBytes() - before)).count();
            std::printf("  %.3f s, wire-time limit %.3f s, ratio %.4f (target at most 1.03); longest event-loop stall "
                        "%.1f ms (target under 16 ms)\n",
                        seconds, limit, seconds / limit, stall / 1e6);
        }
    };
    measure(Named<QAction>(win, "UploadMenu"), "");
    measure(Named<QAction>(win, "DownloadMenu"), "");
    // The MIDI monitor open, listing every message: no slower.
    Named<QAction>(win, "MonitorMenu")->trigger();
    measure(Named<QAction>(win, "UploadMenu"), ", the MIDI monitor open");
    measure(Named<QAction>(win, "DownloadMenu"), ", the MIDI monitor open");

    // A wait that nothing answers: the host sleeps on its condition variable.
    WindowDeviceHost& host = win.Host();
    host.StartInput();
    host.QueueReceive(7);
    orb8::ReplyState state = orb8::ReplyNone;
    const double cpu = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    host.WaitForReply(state, std::chrono::milliseconds(1000));
    const double wall = clock.nsecsElapsed() / 1e9;
    const double used = CpuSeconds() - cpu;
    host.ResetInput();
    std::printf("Waiting %.3f s on a silent processor used %.3f ms of CPU (%.3f %%, target under 1 %%)\n", wall,
                used * 1e3, used / wall * 100);
    return 0;
}
