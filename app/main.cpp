// orb8ed: the window program. The command line takes a .orb or .dst file to
// open, or -E (or /E) for English captions on a Japanese system;
// --screenshot FILE [BANK.orb] renders the main window offscreen into a
// picture and ends.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <thread>

#include "app/framerules.h"
#include "app/startupprobe.h"
#include "app/ui/iconcachingstyle.h"
#include "app/ui/mainwin.h"
#include "workspace/ui/userdialogs.h"
#include "midi/midisystem.h"
#include "midi/realmidi.h"

namespace {

// An exception that reaches the event loop is shown, not the end of the program.
class Orb8Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(nullptr, QStringLiteral("ORB-8ED"), QString::fromUtf8(e.what()));
        }
        return false;
    }
};

// Japanese captions on a Japanese system, unless the command line starts with -E or /E.
bool JapaneseCaptions(const orb8::CommandLine& line) {
    return QLocale::system().language() == QLocale::Japanese && !line.english;
}

int Screenshot(int argc, char** argv, const orb8::CommandLine& line) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Orb8Application app(argc, argv);
    app.setStyle(new IconCachingStyle);
    orb8::MidiSystemOptions midi;
    midi.realPorts = false;
    orb8::MidiSystem system(midi);
    QtUserDialogs dialogs;
    // The captions the user sees on this system, and the library's button
    // (on a database that is never opened).
    MainWinOptions options{JapaneseCaptions(line), {}, false};
    options.commandLine = line.files;
    options.libraryDatabase = QDir::temp().filePath("orb8ed-picture-library.db");
    TMainWin window(system, dialogs, std::move(options));
    window.show();
    // The picture once the window is laid out and its idle pass has run.
    QTimer::singleShot(0, &window, [&] {
        window.OnIdleHandlerIdle();
        QTimer::singleShot(0, &window, [&] {
            const QString file = QFile::decodeName(QByteArray::fromStdString(line.screenshot));
            if (window.grab().save(file)) {
                QCoreApplication::exit(0);
                return;
            }
            std::fprintf(stderr, "orb8ed: %s could not be written\n", line.screenshot.c_str());
            QCoreApplication::exit(1);
        });
    });
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    // The arguments as the system gives them: a file's name need not be UTF-8.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const orb8::CommandLine line = orb8::ParseCommandLine(arguments);
    if (!line.help.empty()) {
        std::fputs(line.help.c_str(), stdout);
        return 0;
    }
    for (const std::string& problem : line.problems) std::fprintf(stderr, "orb8ed: %s\n", problem.c_str());
    if (!line.screenshot.empty()) return Screenshot(argc, argv, line);
    if (std::find(arguments.begin(), arguments.end(), "--screenshot") != arguments.end()) return 2;
    Orb8Application app(argc, argv);
    app.setStyle(new IconCachingStyle);
    app.setApplicationName("orb8ed");
    // No display name: Qt would append it to every window title ("ORB-8ED - NoName1 — ORB-8ED").
    app.setApplicationVersion(ORB8_VERSION);
    app.setDesktopFileName("com.example.orb8ed");
    app.setWindowIcon(QIcon(":/icons/com.example.orb8ed.png"));
    const bool japanese = JapaneseCaptions(line);
    // For the start-up benchmark: say when the first project window shows, and end.
    const bool probe = line.startupProbe;
    // The window starts with the built-in simulator; the real MIDI systems
    // join once it is up (below).
    orb8::MidiSystemOptions midiOptions;
    midiOptions.realPorts = false;
    orb8::MidiSystem system(midiOptions);
    QtUserDialogs dialogs;
    QSettings settings("orb8ed", "orb8ed");
    MainWinOptions options{japanese, {}, !probe, probe ? nullptr : &settings};
    options.commandLine = line.files;
    // Unsaved work is kept in the user's data folder (~/.local/share/orb8ed/recovery).
    if (!probe) options.recoveryFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery";
    if (!probe)
        options.libraryDatabase = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/library.db";
    TMainWin window(system, dialogs, std::move(options));
    window.show();
    // The real MIDI systems are looked for once the window is up (the event
    // loop's second pass: the first shows the windows), on a thread of their
    // own: loading RtMidi, ALSA and JACK and asking for a JACK server would
    // slow the start (on two processors, even beside it). Their ports join the
    // menus as each is found: the ALSA sequencer's first, then JACK's.
    std::jthread realMidi;
    const auto lookForRealMidi = [&window] {
        const std::string client = orb8::MidiSystemOptions{}.clientName;
        for (const auto api : {orb8::RealMidiApi::Alsa, orb8::RealMidiApi::Jack}) {
            std::string problem;
            auto backend =
                std::make_shared<std::unique_ptr<orb8::MidiBackend>>(orb8::CreateRealMidiBackend(api, client, &problem));
            QMetaObject::invokeMethod(
                &window,
                [&window, backend, problem] {
                    if (problem.empty()) window.AddMidiBackend(std::move(*backend));
                    else window.RealMidiUnavailable(QString::fromStdString(problem));
                },
                Qt::QueuedConnection);
            if (!problem.empty()) return;
        }
    };
    QTimer::singleShot(0, &window, [&realMidi, &window, lookForRealMidi] {
        QTimer::singleShot(0, &window, [&realMidi, lookForRealMidi] { realMidi = std::jthread(lookForRealMidi); });
    });
    if (probe) ReportShownAndQuit(app);
    return app.exec();
}
