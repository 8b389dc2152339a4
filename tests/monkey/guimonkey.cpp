// The GUI monkey: the window program on line with the simulated ORB-8 gets a
// seeded stream of random input (clicks, double clicks, drags and wheel turns
// on every window, keys, menu commands, window closes, random answers to every
// question and file dialog, the files and the patch library in a temporary
// folder of its own). It
// fails on a crash or sanitizer report (the process ends), on an event loop
// that does not answer for 5 s, on a file written outside its folder, and on
// a saved bank that `orb8tool list` refuses. Every failure names the seed.
//
//   gui_monkey [--events N] [--seed S] [--keep]
#include <execinfo.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "app/ui/mainwin.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "midi/midisystem.h"
#include "patch/projectdocument.h"
#include "tests/monkey/writeguard.h"
#include "workspace/ui/userdialogs.h"
#include "controls/named.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    int events = 3000;
    unsigned seed = 1;
    bool keep = false;
};

// Random answers to every question; file dialogs choose in the monkey's folder.
struct MonkeyDialogs : UserDialogs {
    MonkeyDialogs(std::mt19937& random, QString folder) : random_(random), folder_(std::move(folder)) {}

    bool AskYesNo(QWidget*, const QString&, const QString&) override { return Chance(70); }
    Answer AskSave(QWidget*, const QString&, const QString&) override {
        const int r = Roll(10);
        return r < 3 ? Answer::Yes : r < 7 ? Answer::No : Answer::Cancel;
    }
    void Inform(QWidget*, const QString&, const QString&) override {}
    void ShowError(QWidget*, const QString&, const QString&) override {}
    QString AskText(QWidget*, const QString&, const QString&, const QString& initial) override {
        return Chance(20) ? QString() : initial;
    }
    QString FolderName(QWidget*, const QString&) override { return Chance(20) ? QString() : folder_ + "/input"; }
    QString OpenFileName(QWidget*, const QString&) override {
        if (Chance(20)) return {};
        QStringList files;
        for (const char* sub : {"input", "saved"})
            for (const QString& name : QDir(folder_ + "/" + sub).entryList(QDir::Files))
                files << folder_ + "/" + sub + "/" + name;
        return files.isEmpty() ? QString() : files[Roll(static_cast<int>(files.size()))];
    }
    QString SaveFileName(QWidget*, const QString&, const QString&) override {
        if (Chance(25)) return {};
        static const char* names[] = {"a", "b.orb", "c.dst", "d.syx", "e.ORB", "f", "g.txt"};
        return folder_ + "/saved/" + names[Roll(7)];
    }
    RecoveryAnswer AskRecovery(QWidget*, QList<RecoveryOffer>&) override {
        return static_cast<RecoveryAnswer>(Roll(3));
    }

    bool Chance(int percent) { return Roll(100) < percent; }
    int Roll(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

private:
    std::mt19937& random_;
    QString folder_;
};

// Keeps the frame open: Exit and the frame's close button would end the run.
class KeepOpen : public QObject {
public:
    bool finishing = false;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Close && !finishing; }
};

class Monkey : public QObject {
public:
    Monkey(TMainWin& win, MonkeyDialogs& dialogs, std::mt19937& random, int events)
        : win_(win), dialogs_(dialogs), random_(random), events_(events) {
        // A timer does not fire again while its handler runs: each depth of
        // nested event loops has a timer of its own.
        for (std::size_t level = 0; level < ticks_.size(); ++level)
            connect(&ticks_[level], &QTimer::timeout, this, [this, level] {
                if (static_cast<int>(level) == depth_) Step();
            });
        ticks_[0].start(0);
    }
    int Done() const { return done_; }
    std::atomic<int>& Progress() { return progress_; }

private:
    // One event; inside a nested event loop (a transfer, a popup menu, a
    // modal box) events go on, and a loop nested too deep is closed.
    void Step() {
        if (done_ >= events_) {
            if (trace_) {
                QWidget* modal = QApplication::activeModalWidget();
                QWidget* popup = QApplication::activePopupWidget();
                std::fprintf(stderr, "ending at depth %d: modal %s popup %s\n", depth_,
                             modal ? modal->metaObject()->className() : "-", popup ? popup->metaObject()->className() : "-");
            }
            if (depth_ == 0 && !Unwind()) {
                ticks_[0].stop();
                // exit, not quit: quit first asks every window to close, and some refuse.
                QCoreApplication::exit(0);
            } else {
                Unwind();
            }
            return;
        }
        // While the processor is busy, a hand gives an event every 20 ms at most.
        if (win_.Host().ExchangeRunning()) {
            if (sinceEvent_.isValid() && sinceEvent_.elapsed() < 20) return;
        }
        sinceEvent_.start();
        ++depth_;
        ticks_[static_cast<std::size_t>(depth_)].start(win_.Host().ExchangeRunning() ? 5 : 0);
        ++done_;
        ++progress_;
        if (depth_ >= 3 || (depth_ == 2 && dialogs_.Chance(5))) {
            Trace("unwind");
            Unwind();
        } else {
            const int r = dialogs_.Roll(100);
            if (r < 30) Click(false);
            else if (r < 38) Click(true);
            else if (r < 48) Drag();
            else if (r < 55) Wheel();
            else if (r < 75) Key();
            else if (r < 93) Command();
            else CloseSomething();
        }
        if (trace_) {
            QWidget* modal = QApplication::activeModalWidget();
            std::fprintf(stderr, "  after: modal %s %s exchange %d\n", modal ? modal->metaObject()->className() : "-",
                         modal && modal->isVisible() ? "visible" : "", win_.Host().ExchangeRunning());
        }
        ticks_[static_cast<std::size_t>(depth_)].stop();
        --depth_;
    }

    // Closes the popup or modal box on top, if any; false when there is none.
    bool Unwind() {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return true;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            // Some boxes refuse a close of their own (the about box): as Escape would.
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            else modal->close();
            Trace("unwound", modal);
            return true;
        }
        // A transfer that waits for the processor: its Abort button (shown a
        // moment after the transfer began).
        if (win_.Host().ExchangeRunning() && !win_.Host().AbortRequested()) {
            Named<QPushButton>(*Named<TProgressWin>(win_, "ProgressWin"), "Abortbtn")->click();
            return true;
        }
        return false;
    }

    QWidget* TopLevel() {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        if (QWidget* modal = QApplication::activeModalWidget(); modal && dialogs_.Chance(90)) return modal;
        QList<QWidget*> shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) shown << w;
        if (shown.isEmpty()) return nullptr;
        // The frame holds most of the program: it is chosen half the time.
        if (dialogs_.Chance(50) && win_.isVisible()) return &win_;
        return shown[dialogs_.Roll(static_cast<int>(shown.size()))];
    }

    QPoint Anywhere(QWidget* window) {
        // Mostly on a control of the window, sometimes anywhere in it.
        QList<QWidget*> controls;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && w->window() == window && w->width() > 0 && w->height() > 0)
                controls << w;
        if (!controls.isEmpty() && dialogs_.Chance(85)) {
            QWidget* w = controls[dialogs_.Roll(static_cast<int>(controls.size()))];
            const QPoint local(dialogs_.Roll(w->width()), dialogs_.Roll(w->height()));
            return w->mapTo(window, local);
        }
        return QPoint(dialogs_.Roll(std::max(1, window->width())), dialogs_.Roll(std::max(1, window->height())));
    }

    Qt::KeyboardModifiers Modifiers() {
        const int r = dialogs_.Roll(10);
        return r < 7 ? Qt::NoModifier : r < 8 ? Qt::ShiftModifier : r < 9 ? Qt::ControlModifier : Qt::AltModifier;
    }

    void Click(bool twice) {
        QWidget* window = TopLevel();
        if (!window) return;
        const QPoint at = Anywhere(window);
        const Qt::MouseButton button = dialogs_.Chance(85) ? Qt::LeftButton : Qt::RightButton;
        Trace(QString(twice ? "double click %1,%2" : "click %1,%2").arg(at.x()).arg(at.y()), window->childAt(at));
        if (twice) QTest::mouseDClick(window, button, Modifiers(), at);
        else QTest::mouseClick(window, button, Modifiers(), at);
    }

    void Drag() {
        QPointer<QWidget> window = TopLevel();
        if (!window) return;
        const Qt::MouseButton button = dialogs_.Chance(90) ? Qt::LeftButton : Qt::RightButton;
        const QPoint from = Anywhere(window);
        Trace(QString("drag from %1,%2").arg(from.x()).arg(from.y()), window->childAt(from));
        QTest::mousePress(window, button, {}, from);
        for (int moves = 1 + dialogs_.Roll(8); moves > 0 && window; --moves) QTest::mouseMove(window, Anywhere(window));
        if (window) QTest::mouseRelease(window, button, {}, Anywhere(window));
    }

    void Wheel() {
        QWidget* window = TopLevel();
        if (!window) return;
        const QPoint at = Anywhere(window);
        QWidget* target = window->childAt(at);
        if (!target) target = window;
        const QPoint local = target->mapFrom(window, at);
        const QPoint delta(0, (dialogs_.Chance(50) ? 1 : -1) * 120 * (1 + dialogs_.Roll(3)));
        QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), delta, Qt::NoButton, Modifiers(),
                          Qt::NoScrollPhase, false);
        Trace("wheel", target);
        QApplication::sendEvent(target, &wheel);
    }

    void Key() {
        static const Qt::Key keys[] = {Qt::Key_A,      Qt::Key_Z,     Qt::Key_0,      Qt::Key_9,     Qt::Key_Space,
                                       Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab,   Qt::Key_Backspace,
                                       Qt::Key_Delete, Qt::Key_Left,  Qt::Key_Right,  Qt::Key_Up,    Qt::Key_Down,
                                       Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,  Qt::Key_C,
                                       Qt::Key_V,      Qt::Key_X,     Qt::Key_Y,      Qt::Key_S,     Qt::Key_Minus,
                                       Qt::Key_Plus,   Qt::Key_F1};
        QWidget* target = QApplication::focusWidget();
        if (!target || dialogs_.Chance(30)) target = TopLevel();
        if (!target) return;
        const Qt::Key key = keys[dialogs_.Roll(static_cast<int>(std::size(keys)))];
        // Ctrl with C, V, X, Y, Z and S: the editing and file shortcuts.
        const bool shortcut = key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_X || key == Qt::Key_Y ||
                              key == Qt::Key_Z || key == Qt::Key_S;
        Trace(QString("key %1").arg(QKeySequence(key).toString()), target);
        QTest::keyClick(target, key, shortcut && dialogs_.Chance(60) ? Qt::ControlModifier : Modifiers());
    }

    // A menu command, as chosen from the menus (what the idle pass allows).
    void Command() {
        // While an exchange holds the input or a box is modal, the menus cannot be reached.
        if (win_.Host().ExchangeRunning() || QApplication::activeModalWidget()) return Key();
        win_.OnIdleHandlerIdle();
        QList<QAction*> actions;
        std::function<void(QMenu*)> collect = [&](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->menu()) collect(a->menu());
                else if (!a->isSeparator() && a->isEnabled() && a != Named<QAction>(win_, "ExitMenu")) actions << a;
            }
        };
        for (QAction* top : win_.menuBar()->actions())
            if (top->menu()) collect(top->menu());
        if (actions.isEmpty()) return;
        QPointer<QAction> action = actions[dialogs_.Roll(static_cast<int>(actions.size()))];
        Trace("menu " + action->text());
        const QString text = action->text();
        action->trigger();
        Trace("  returned from " + text);
    }

    void CloseSomething() {
        if (dialogs_.Chance(60)) {
            const QList<QMdiSubWindow*> subs = Named<QMdiArea>(win_, "MdiArea")->subWindowList();
            if (subs.isEmpty()) return;
            QMdiSubWindow* sub = subs[dialogs_.Roll(static_cast<int>(subs.size()))];
            Trace("close " + sub->windowTitle());
            sub->close();
            return;
        }
        QList<QWidget*> others;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != &win_) others << w;
        if (others.isEmpty()) return;
        QWidget* other = others[dialogs_.Roll(static_cast<int>(others.size()))];
        Trace("close window", other);
        other->close();
    }

    // MONKEY_TRACE=1: each event on stderr, for replaying a seed.
    void Trace(const QString& what, QObject* target = nullptr) {
        if (!trace_) return;
        std::fprintf(stderr, "event %d (depth %d): %s %s\n", done_, depth_, qPrintable(what),
                     target ? qPrintable(target->objectName() + " " + target->metaObject()->className()) : "");
    }

    const bool trace_ = !qEnvironmentVariableIsEmpty("MONKEY_TRACE");
    TMainWin& win_;
    MonkeyDialogs& dialogs_;
    std::mt19937& random_;
    const int events_;
    int done_ = 0, depth_ = 0;
    std::atomic<int> progress_{0};
    std::array<QTimer, 4> ticks_;  // depth 3 only closes what is open
    QElapsedTimer sinceEvent_;
};

// The files the monkey opens: a good bank, damaged ones, designs, SysEx.
void SeedFiles(const QString& folder) {
    const std::string input = (folder + "/input").toStdString();
    const auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        FILE* f = std::fopen((input + "/" + name).c_str(), "wb");
        if (!f) return;
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    orb8::ProjectDocument bank;
    for (int i = 0; i < orb8::kPatchCount; ++i) bank.comments[static_cast<std::size_t>(i)] = "comment " + std::to_string(i);
    bank.customSettings = {};
    write("good.orb", bank.FileImage());
    write("short.orb", std::vector<std::uint8_t>(100, 7));
    write("empty.dst", {});
    write("half.dst", std::vector<std::uint8_t>(900, 0x41));
    write("noise.syx", {0xF0, 0x52, 0x00, 0x21, 0x40, 0x01, 0x02, 0xF7, 0xF0, 0x00});
}

// Every bank the program may have written must read back with orb8tool list;
// the damaged inputs count only if something changed them.
QStringList RefusedBanks(const QString& folder) {
    QStringList refused;
    for (const auto& entry : fs::recursive_directory_iterator(folder.toStdString())) {
        const QString path = QString::fromStdString(entry.path().string());
        if (!path.endsWith(".orb", Qt::CaseInsensitive)) continue;
        if (path.endsWith("/input/short.orb") && entry.file_size() == 100) continue;
        QProcess list;
        list.start(ORB8_TOOL_PATH, {"list", path});
        if (!list.waitForFinished(30000) || list.exitStatus() != QProcess::NormalExit || list.exitCode() != 0)
            refused << path + ": " + QString::fromLocal8Bit(list.readAllStandardError()).trimmed();
    }
    return refused;
}

// The program's own thread, asked by the watchdog, tells where it stands.
void PrintStack(int) {
    void* frames[64];
    const int n = backtrace(frames, 64);
    const char heading[] = "gui monkey: where the program's thread stands:\n";
    (void)!write(2, heading, sizeof heading - 1);
    backtrace_symbols_fd(frames, n, 2);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--events" && i + 1 < argc) o.events = std::atoi(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) o.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--keep") o.keep = true;
    }
    if (const char* seed = std::getenv("MONKEY_SEED"); seed && *seed) o.seed = static_cast<unsigned>(std::strtoul(seed, nullptr, 10));
    if (const char* events = std::getenv("MONKEY_EVENTS"); events && *events) o.events = std::atoi(events);
    return o;
}

}  // namespace

// The guard itself: writes through Qt and through the C++ library outside
// the folder are seen, writes inside are not.
int CheckGuard() {
    std::string base = (fs::temp_directory_path() / "orb8monkey.XXXXXX").string();
    if (!::mkdtemp(base.data())) return 2;
    const std::string outside = base + "-outside";
    writeguard::Arm(base);
    QFile inside(QString::fromStdString(base + "/inside"));
    const bool wroteInside = inside.open(QIODevice::WriteOnly);
    inside.close();
    QFile viaQt(QString::fromStdString(outside));
    viaQt.open(QIODevice::WriteOnly);
    viaQt.close();
    std::FILE* viaC = std::fopen(outside.c_str(), "a");
    if (viaC) std::fclose(viaC);
    fs::remove(outside);
    const int seen = writeguard::Violations();
    writeguard::Disarm();
    fs::remove_all(base);
    std::printf("gui monkey guard: %d writes outside seen (3 expected), inside written: %d\n", seen, wroteInside);
    return seen == 3 && wroteInside ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--check-guard") return CheckGuard();
    const Options options = Parse(argc, argv);
    std::string base = (fs::temp_directory_path() / "orb8monkey.XXXXXX").string();
    if (!::mkdtemp(base.data())) return 2;
    const QString folder = QString::fromStdString(base);
    for (const char* sub : {"home", "input", "saved", "runtime", "tmp"}) fs::create_directories(base + "/" + sub);
    fs::permissions(base + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
    // Nothing of the user's: a home, settings, caches and a working folder of its own.
    setenv("HOME", (base + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (base + "/home/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (base + "/home/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (base + "/home/cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (base + "/runtime").c_str(), 1);
    // Temporary files too (SQLite's spill to /var/tmp when a sort outgrows memory).
    setenv("TMPDIR", (base + "/tmp").c_str(), 1);
    setenv("SQLITE_TMPDIR", (base + "/tmp").c_str(), 1);
    if (::chdir(base.c_str()) != 0) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("gui monkey: seed %u, %d events, folder %s\n", options.seed, options.events, base.c_str());
    std::fflush(stdout);

    SeedFiles(folder);
    writeguard::Arm(base);
    int failures = 0;
    {
        QApplication app(argc, argv);
        std::mt19937 random(options.seed);
        MonkeyDialogs dialogs(random, folder);
        orb8::MidiSystemOptions midi;
        midi.realPorts = false;
        orb8::MidiSystem system(midi);
        MainWinOptions winOptions{false, {}, false};
        winOptions.recoveryFolder = folder + "/home/recovery";
        winOptions.libraryDatabase = folder + "/home/library.db";
        TMainWin win(system, dialogs, winOptions);
        win.OpenUrl = [](const QUrl&) { return true; };
        KeepOpen keepOpen;
        win.installEventFilter(&keepOpen);
        win.show();
        QCoreApplication::processEvents();
        Named<QAction>(win, "OnLineMenu")->trigger();

        // The watchdog: the event loop beats every 100 ms; 5 s without a beat is a hang.
        std::atomic<Clock::rep> beat{Clock::now().time_since_epoch().count()};
        std::atomic<bool> over{false};
        QTimer heart;
        QObject::connect(&heart, &QTimer::timeout, [&] { beat = Clock::now().time_since_epoch().count(); });
        heart.start(100);
        Monkey monkey(win, dialogs, random, options.events);
        signal(SIGUSR1, PrintStack);
        const pthread_t programThread = pthread_self();
        const auto fail = [&](const char* why) {
            std::fprintf(stderr, "gui monkey: FAILED (seed %u): %s after %d events\n", options.seed, why,
                         monkey.Progress().load());
            pthread_kill(programThread, SIGUSR1);
            std::this_thread::sleep_for(std::chrono::seconds(1));
            std::abort();
        };
        std::thread watchdog([&] {
            int lastProgress = -1;
            auto progressAt = Clock::now();
            while (!over) {
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
                const auto now = Clock::now();
                if (now - Clock::time_point(Clock::duration(beat.load())) > std::chrono::seconds(5))
                    fail("the event loop did not answer for 5 s");
                if (monkey.Progress() != lastProgress) {
                    lastProgress = monkey.Progress();
                    progressAt = now;
                } else if (now - progressAt > std::chrono::seconds(60)) {
                    fail("no event could be given (or the run could not end) for 60 s");
                }
            }
        });
        const auto start = Clock::now();
        QApplication::exec();
        over = true;
        watchdog.join();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("gui monkey: %d events in %.1f s, %zu windows open at the end\n", monkey.Done(), seconds,
                    static_cast<std::size_t>(QApplication::topLevelWidgets().size()));
        keepOpen.finishing = true;
        win.close();
        writeguard::Disarm();
    }
    if (writeguard::Violations() > 0) {
        std::fprintf(stderr, "gui monkey: FAILED (seed %u): %d writes outside the temporary folder\n", options.seed,
                     writeguard::Violations());
        ++failures;
    }
    for (const QString& refused : RefusedBanks(folder)) {
        std::fprintf(stderr, "gui monkey: FAILED (seed %u): orb8tool list refuses a saved bank: %s\n", options.seed,
                     qPrintable(refused));
        ++failures;
    }
    if (!options.keep) fs::remove_all(base);
    if (failures == 0) std::printf("gui monkey: passed (seed %u)\n", options.seed);
    return failures == 0 ? 0 : 1;
}
