// The yardstick for orb8ed's start-up: a minimal Qt program with a QMdiArea
// and one sub-window, ending as soon as it has been shown.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    area->addSubWindow(new QTableWidget(80, 6))->show();
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
