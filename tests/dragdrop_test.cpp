// One real drag and drop of a row, with the platform's own drag loop (the
// minimal platform; offscreen has no drag loop): row 2 dragged onto row 5.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/ui/mainwin.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "midi/midisystem.h"
#include "tests/scripteddialogs.h"

using namespace orb8;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    QApplication app(argc, argv);
    MidiSystemOptions options;
    options.realPorts = false;
    MidiSystem system(options);
    ScriptedDialogs dialogs;
    TMainWin win(system, dialogs, MainWinOptions{false, {}, false});
    win.show();
    QCoreApplication::processEvents();
    auto* project = qobject_cast<TProjectWindow*>(win.DocumentWindows.first().data());
    if (!project) return 1;
    project->Session().Perform([&] {
        for (int r = 1; r <= 6; ++r) EncodeName("P" + std::to_string(r), project->Session().Document().PatchOfRow(r));
        return StepReport{"test", {}};
    });
    PatchGrid* grid = project->Grid();
    QWidget* viewport = grid->viewport();
    auto centre = [&](int row) { return grid->visualRect(grid->model()->index(row - 1, 1)).center(); };

    bool previewed = false;
    QTest::mousePress(viewport, Qt::LeftButton, {}, centre(2));
    QTest::mouseMove(viewport, centre(2) + QPoint(1, 1));
    // The drag loop runs inside the move that starts it: the rest of the
    // gesture comes from a timer.
    QTimer::singleShot(50, [&] {
        QTest::mouseMove(viewport, centre(4));
        QTest::mouseMove(viewport, centre(5));
        previewed = grid->CellText(5, 1).trimmed() == "P2" && grid->CellText(2, 1).trimmed() == "P3";
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(5));
    });
    QTest::mouseMove(viewport, centre(2) + QPoint(1, 14));

    QStringList names;
    for (int r = 1; r <= 6; ++r) names << QString::fromStdString(DecodeName(project->Document().patches[static_cast<std::size_t>(r - 1)])).trimmed();
    const bool moved = names == QStringList{"P1", "P3", "P4", "P5", "P2", "P6"};
    std::printf("preview %s, bank after the drop: %s\n", previewed ? "shown" : "not shown", qPrintable(names.join(' ')));
    if (!moved || !project->Modified() || project->CurrentRow() != 5) {
        std::printf("FAILED: the row was not moved by the drag\n");
        return 1;
    }
    std::printf("1 passed, 0 failed\n");
    return 0;
}
