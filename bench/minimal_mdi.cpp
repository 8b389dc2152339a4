// The yardstick for orb8ed's start-up: a minimal Qt program with a QMdiArea
// and one sub-window, printing when it has been shown (as orb8ed's
// --startup-probe does) and ending.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

#include "app/startupprobe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    area->addSubWindow(new QTableWidget(80, 6))->show();
    window.show();
    ReportShownAndQuit(app);
    return app.exec();
}
