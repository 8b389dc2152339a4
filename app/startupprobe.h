// The start-up benchmark's probe: once the event loop's first pass has shown
// the windows, print "shown <CLOCK_MONOTONIC ns>" and end. orb8ed does it for
// --startup-probe, the benchmark's minimal Qt program always.
#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>

inline void ReportShownAndQuit(QCoreApplication& app) {
    QTimer::singleShot(0, &app, [&app] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("shown %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        app.quit();
    });
}
