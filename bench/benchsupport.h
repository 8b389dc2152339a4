// What the window program's benchmarks share: a MIDI port that notes when
// each message reaches it, and message boxes that answer at once.
#pragma once

#include <chrono>
#include <mutex>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <memory>

#include <QPoint>
#include <cmath>

#include "app/ui/mainwin.h"
#include "editors/projectsession.h"
#include "editors/ui/projectwin.h"
#include "workspace/ui/userdialogs.h"
#include "device/devicelink.h"
#include "device/ui/windowhost.h"
#include "midi/midibackend.h"
#include "midi/midisystem.h"

struct RecordingPort : orb8::MidiBackend {
    using Clock = std::chrono::steady_clock;
    struct Arrival {
        Clock::time_point at;
        std::size_t bytes;
    };
    std::mutex mutex;
    std::vector<Arrival> arrivals;

    std::string Name() const override { return "Recorder"; }
    std::vector<std::string> OutputNames() override { return {"Recorder"}; }
    std::vector<std::string> InputNames() override { return {"Recorder"}; }
    std::unique_ptr<orb8::MidiOut> OpenOutput(int, int& result) override {
        result = 0;
        struct Out : orb8::MidiOut {
            RecordingPort& port;
            explicit Out(RecordingPort& p) : port(p) {}
            void Send(std::span<const std::uint8_t> m) override {
                const auto now = Clock::now();
                std::lock_guard lock(port.mutex);
                port.arrivals.push_back({now, m.size()});
            }
            bool Drain(std::chrono::milliseconds) override { return true; }
        };
        return std::make_unique<Out>(*this);
    }
    std::unique_ptr<orb8::MidiIn> OpenInput(int, orb8::MidiReceiveHandler, int& result) override {
        result = 0;
        return std::make_unique<orb8::MidiIn>();
    }
};

// Every question is answered Yes, every save question No; nothing is shown.
struct AnsweringDialogs : UserDialogs {
    QString folder;  // what a folder question gets
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
    Answer AskSave(QWidget*, const QString&, const QString&) override { return Answer::No; }
    void Inform(QWidget*, const QString&, const QString&) override {}
    void ShowError(QWidget*, const QString&, const QString&) override {}
    QString OpenFileName(QWidget*, const QString&) override { return {}; }
    QString FolderName(QWidget*, const QString&) override { return folder; }
    QString AskText(QWidget*, const QString&, const QString&, const QString& initial) override { return initial; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    RecoveryAnswer AskRecovery(QWidget*, QList<RecoveryOffer>&) override { return RecoveryAnswer::Later; }
};

// A main window whose only output is a RecordingPort, shown and on line with
// a first project open.
struct OnLineWindow {
    RecordingPort* port = new RecordingPort;
    orb8::MidiSystem system{[this] {
        std::vector<std::unique_ptr<orb8::MidiBackend>> backends;
        backends.emplace_back(port);
        return backends;
    }()};
    AnsweringDialogs dialogs;
    TMainWin win;

    // recoveryFolder: where records of unsaved work are kept (none: nowhere).
    explicit OnLineWindow(const QString& recoveryFolder = {})
        : win(system, dialogs, MainWinOptions{false, {}, false, nullptr, recoveryFolder}) {
        win.show();
        QCoreApplication::processEvents();
        // The program's own time is measured: the port takes everything at once.
        win.findChild<QAction*>("PaceMenu_unpaced")->trigger();
        win.Host().OpenOutput();
        win.Link().isOnLine = true;
    }
};

// Until the exchange with the processor that runs (or the one an idle pass
// posted) has ended and its result is in.
inline void WaitExchange(TMainWin& win) {
    QCoreApplication::processEvents();
    while (win.Host().ExchangeRunning()) {
        QEventLoop loop;
        QObject::connect(&win.Host(), &WindowDeviceHost::Ended, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// The pointer at `degrees` clockwise from a knob's value-0 end.
inline QPoint OnArc(double degrees) {
    const double t = degrees * M_PI / 180 - M_PI / 4;
    return QPoint(12 + static_cast<int>(std::lround(-std::cos(t) * 40)),
                  12 - static_cast<int>(std::lround(std::sin(t) * 40)));
}

// Patch U01 of the current project with its Mod on as "BPM DLY" (BPM
// 0..210, the widest knob), selected.
inline void ShowBpmPatch(TMainWin& win) {
    orb8::ProjectSession& session = win.Documents().CurrentProject()->Session();
    session.Perform([&](orb8::ProjectDocument& document) {
        auto& patch = document.patches[0];
        patch[orb8::ModuleSwitches] = orb8::ModOn;
        patch[orb8::ModType] = 16;
        return orb8::StepReport{"bench", {}};
    });
    win.Documents().CurrentProject()->SelectRow(1);
}
