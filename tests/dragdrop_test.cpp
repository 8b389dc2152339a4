// Real drags and drops with the platform's own drag loop (the minimal
// platform; offscreen has no drag loop): row 2 dragged onto row 5, then a
// patch of the library window dragged onto row 7 of the bank.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/ui/mainwin.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "midi/midisystem.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

namespace {

// Presses at `from` on `source`, moves just enough to start its drag, and
// lets a timer finish the gesture at `to` on `target` while the drag loop runs.
void Drag(QWidget* source, QPoint from, QWidget* target, QPoint to, const std::function<void()>& over = {}) {
    QTest::mousePress(source, Qt::LeftButton, {}, from);
    QTest::mouseMove(source, from + QPoint(1, 1));
    QTimer::singleShot(50, [=] {
        QTest::mouseMove(target, to - QPoint(0, 20));
        QTest::mouseMove(target, to);
        if (over) over();
        QTest::mouseRelease(target, Qt::LeftButton, {}, to);
    });
    QTest::mouseMove(source, from + QPoint(1, 14));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    QApplication app(argc, argv);
    MidiSystemOptions options;
    options.realPorts = false;
    MidiSystem system(options);
    ScriptedDialogs dialogs;
    TempDir dir;
    const std::string banks = dir.Path("banks");
    std::filesystem::create_directories(banks);
    if (!WriteOnePatchBank(banks + "/live.orb", 4, "CRUNCH", "from the library")) return 1;
    MainWinOptions winOptions{false, {}, false};
    winOptions.libraryDatabase = QString::fromStdString(dir.Path("library.db"));
    TMainWin win(system, dialogs, winOptions);
    win.resize(1000, 800);  // the minimal platform's screen is 240x320, which the frame would keep to
    win.show();
    QCoreApplication::processEvents();
    auto* project = qobject_cast<TProjectWindow*>(win.Documents().Windows().first().data());
    if (!project) return 1;
    project->Session().Perform([&](ProjectDocument& document) {
        for (int r = 1; r <= 6; ++r) EncodeName("P" + std::to_string(r), document.PatchOfRow(r));
        return StepReport{"test", {}};
    });
    PatchGrid* grid = project->Grid();
    QWidget* viewport = grid->viewport();
    auto centre = [&](int row) { return grid->visualRect(grid->model()->index(row - 1, 1)).center(); };

    bool previewed = false;
    // The drag loop runs inside the move that starts it: the rest of the
    // gesture comes from a timer.
    Drag(viewport, centre(2), viewport, centre(5), [&] {
        previewed = grid->CellText(5, 1).trimmed() == "P2" && grid->CellText(2, 1).trimmed() == "P3";
    });

    QStringList names;
    for (int r = 1; r <= 6; ++r) names << QString::fromStdString(DecodeName(project->Document().patches[static_cast<std::size_t>(r - 1)])).trimmed();
    const bool moved = names == QStringList{"P1", "P3", "P4", "P5", "P2", "P6"};
    std::printf("preview %s, bank after the drop: %s\n", previewed ? "shown" : "not shown", qPrintable(names.join(' ')));
    if (!moved || !project->Doc().Modified() || project->CurrentRow() != 5) {
        std::printf("FAILED: the row was not moved by the drag\n");
        return 1;
    }

    // A result of the library window, side by side with the frame, dropped on row 7.
    Named<QAction>(win, "LibraryMenu")->trigger();
    auto* library = win.findChild<TLibraryWin*>();
    if (!library) return 1;
    library->setGeometry(720, 0, 560, 400);
    dialogs.folderNames = {QString::fromStdString(banks)};
    QTest::mouseClick(Named<QPushButton>(*library, "AddFolderBtn"), Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return library->Model().rowCount() == kPatchCount; }, 20000)) return 1;
    Named<QLineEdit>(*library, "SearchEdit")->setText("crunch");
    QTest::keyClick(Named<QLineEdit>(*library, "SearchEdit"), Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return !library->Reading() && library->Model().rowCount() == 1; }, 20000)) return 1;
    QWidget* results = Named<QTableView>(*library, "Results")->viewport();
    const QPoint from = Named<QTableView>(*library, "Results")->visualRect(library->Model().index(0, LibraryResultModel::NameColumn)).center();
    bool target = false;
    Drag(results, from, viewport, centre(7), [&] { target = grid->selectionModel()->isRowSelected(6, {}); });
    const bool copied = DecodeName(project->Document().patches[6]) == "CRUNCH  " &&
                        project->Document().comments[6] == "from the library" && project->CurrentRow() == 7;
    std::printf("library drop: target row %s, row 7 %s\n", target ? "marked" : "not marked",
                copied ? "holds the patch" : "unchanged");
    if (!copied || !target || project->Doc().UndoText() != "Copy to U13") {
        std::printf("FAILED: the library's patch was not dropped on the row\n");
        return 1;
    }
    std::printf("2 passed, 0 failed\n");
    return 0;
}
