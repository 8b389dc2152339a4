// The Library window on a generated corpus, as a user meets it: Window >
// Library, Add Folder on the corpus, the first scan with the window open,
// then a search, scrolling through the results and a patch chosen. Prints:
//   the longest stall of the window's event loop during the scan (target:
//   none over 50 ms) and while the user types, scrolls and chooses patches
//   (target: none over 16 ms),
//   the program's memory with the library open (target under 300 MB),
//   the first index through the window (banks a second).
// Usage: library_window_bench [BANKS] [FOLDER]; 10,000 banks by default.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/ui/mainwin.h"
#include "bench/benchsupport.h"
#include "bench/librarycorpus.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarywin.h"
#include "midi/midisystem.h"
#include "controls/named.h"

namespace fs = std::filesystem;

namespace {

long ResidentMb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return 0;
}

// The event loop's heartbeat: a timer every 5 ms; the longest gap between
// two beats beyond those 5 ms is the longest the window could not react.
struct Heartbeat {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    int over50 = 0, over16 = 0;
    std::function<bool()> done;
    QEventLoop loop;
    Heartbeat() {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed(), gap = now - last - 5;
            last = now;
            worst = std::max(worst, gap);
            if (gap > 50) ++over50;
            if (gap > 16) ++over16;
            if (done && done()) loop.quit();
        });
    }
    void Start() {
        worst = 0;
        over50 = over16 = 0;
        clock.start();
        last = 0;
        timer.start();
    }
    // Runs the event loop until `until` holds.
    void RunUntil(std::function<bool()> until) {
        done = std::move(until);
        loop.exec();
        done = nullptr;
    }
};

// Names the events that held the window's event loop longest (the outermost
// ones), so a stall says where it comes from.
class TimingApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (QThread::currentThread() != thread()) return QApplication::notify(receiver, event);  // the workers'
        if (depth_++ > 0) {
            const bool done = QApplication::notify(receiver, event);
            --depth_;
            return done;
        }
        QElapsedTimer timer;
        timer.start();
        const QString what = QStringLiteral("%1 %2 event %3")
                                 .arg(receiver->metaObject()->className(), receiver->objectName())
                                 .arg(static_cast<int>(event->type()));
        const bool done = QApplication::notify(receiver, event);
        --depth_;
        const qint64 ms = timer.elapsed();
        if (ms > 16) slow.push_back({ms, what});
        return done;
    }
    void PrintSlowest(const char* phase) {
        std::sort(slow.begin(), slow.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (std::size_t i = 0; i < slow.size() && i < 3; ++i)
            std::printf("    %s: %lld ms in %s\n", phase, slow[i].first, qPrintable(slow[i].second));
        slow.clear();
    }
    std::vector<std::pair<qint64, QString>> slow;

private:
    int depth_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int banks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const bool ownFolder = argc <= 2;
    const std::string folder =
        ownFolder ? (fs::temp_directory_path() / ("orb8-library-window-bench-" + std::to_string(::getpid()))).string()
                  : std::string(argv[2]);
    std::mt19937 random(20261208);
    std::printf("Library window on %d generated banks (%d patches)\n", banks, banks * orb8::kPatchCount);
    if (!fs::exists(folder + "/banks")) librarybench::Generate(folder + "/banks", banks, random);
    const std::string db = folder + "/window-library.db";
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(db + suffix);

    TimingApp app(argc, argv);
    orb8::MidiSystemOptions midiOptions;
    midiOptions.realPorts = false;
    orb8::MidiSystem system(midiOptions);
    AnsweringDialogs dialogs;
    dialogs.folder = QString::fromStdString(folder + "/banks");
    MainWinOptions options{false, {}, false};
    options.libraryDatabase = QString::fromStdString(db);
    {
        TMainWin win(system, dialogs, options);
        win.show();
        Named<QAction>(win, "LibraryMenu")->trigger();
        auto* library = win.findChild<TLibraryWin*>();
        static_cast<void>(QTest::qWaitFor([&] { return Named<QProgressBar>(*library, "Progress")->isHidden(); }, 5000));
        std::printf("  window open: %ld MB resident\n", ResidentMb());

        Heartbeat beat;
        app.slow.clear();
        beat.Start();
        QElapsedTimer scan;
        scan.start();
        Named<QPushButton>(*library, "AddFolderBtn")->click();
        bool seen = false;
        beat.RunUntil([&] {
            seen = seen || Named<QProgressBar>(*library, "Progress")->isVisible();
            return seen && Named<QProgressBar>(*library, "Progress")->isHidden();
        });
        const double seconds = scan.elapsed() / 1000.0;
        std::printf("  first scan through the window %6.1f s   %5.0f banks/s   (%s)\n", seconds, banks / seconds,
                    qPrintable(Named<QLabel>(*library, "Status")->text()));
        std::printf("  longest event-loop stall during the scan  %4lld ms   %d over 50 ms (target none)\n", beat.worst,
                    beat.over50);
        app.PrintSlowest("scan");
        std::printf("  after the scan: %ld MB resident\n", ResidentMb());

        // The user types four searches a key at a time, scrolls ten pages of
        // each and looks at patches; every next step waits for what the
        // window reads (on the library's thread) to be shown.
        app.slow.clear();
        beat.Start();
        const QString queries[] = {"crunch", "warm lead", "mod:on dly:off", "gain>=20"};
        int query = 0, typed = 0, scrolled = 0, chosen = 0;
        beat.RunUntil([&] {
            if (query >= 4) return true;
            if (typed < queries[query].size()) {
                QTest::keyClick(Named<QLineEdit>(*library, "SearchEdit"), queries[query][typed].toLatin1());
                ++typed;
                return false;
            }
            if (library->Reading()) return false;
            if (typed == queries[query].size()) {
                QTest::keyClick(Named<QLineEdit>(*library, "SearchEdit"), Qt::Key_Return);
                ++typed;
            } else if (scrolled < 10) {
                Named<QTableView>(*library, "Results")->scrollToBottom();
                ++scrolled;
            } else if (chosen < 10) {
                Named<QTableView>(*library, "Results")->selectRow(chosen++ * 37);
            } else {
                Named<QLineEdit>(*library, "SearchEdit")->clear();
                ++query;
                typed = scrolled = chosen = 0;
            }
            return false;
        });
        std::printf("  typing, scrolling (%d rows) and choosing patches: longest stall %4lld ms, %d over 16 ms "
                    "(target none)\n",
                    library->Model().rowCount(), beat.worst, beat.over16);
        app.PrintSlowest("use");
        std::printf("  with the library open and used: %ld MB resident, peak %.0f MB (target under 300 MB)\n",
                    ResidentMb(), librarybench::PeakKb() / 1024.0);
        win.close();
    }
    if (ownFolder) fs::remove_all(folder);
    else
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(db + suffix);
    return 0;
}
