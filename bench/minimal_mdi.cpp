// The yardstick for orb8ed's start-up: a minimal Qt program with a QMdiArea
// and one sub-window, printing when it has been shown (as orb8ed's
// --startup-probe does) and ending.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    area->addSubWindow(new QTableWidget(80, 6))->show();
    window.show();
    QTimer::singleShot(0, &app, [&app] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("shown %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        app.quit();
    });
    return app.exec();
}
