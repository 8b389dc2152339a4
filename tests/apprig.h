// The window program for a test: a main window on the simulated ORB-8
// (instant unless timed), message boxes answered from a script, and the
// simulator's log to check what reached it.
#pragma once

#include <QCoreApplication>
#include <QTest>
#include <memory>

#include "app/ui/documentwindow.h"
#include "app/ui/mainwin.h"
#include "device/ui/windowhost.h"
#include "midi/midisystem.h"
#include "tests/scripteddialogs.h"

struct AppRig {
    explicit AppRig(orb8::SimTiming timing = {false, {}}, QStringList args = {}, bool japanese = false)
        : system(Options(timing)) {
        win = std::make_unique<TMainWin>(system, dialogs, MainWinOptions{japanese, args, false});
        win->show();
        QCoreApplication::processEvents();
    }
    ~AppRig() {
        for (auto& w : win->DocumentWindows)
            if (w) w->SetModified(false);
        win->close();
    }
    static orb8::MidiSystemOptions Options(orb8::SimTiming timing) {
        orb8::MidiSystemOptions o;
        o.realPorts = false;
        o.simulatorTiming = timing;
        return o;
    }
    // The ports open on channel 1, as after going on line (without the scan's wait).
    void Connect() {
        ASSERT_EQ(win->Host().OpenOutput(), 0);
        ASSERT_EQ(win->Host().OpenInput(), 0);
        win->Link().deviceChannel = 0;
        win->Link().isOnLine = true;
    }
    // What the simulated ORB-8 received since the last call, a line a message.
    std::vector<std::string> TakeLog() {
        QTest::qWait(30);
        return system.Simulator()->With([](orb8::Orb8Simulator& s) {
            auto log = s.Log();
            s.ClearLog();
            return log;
        });
    }

    orb8::MidiSystem system;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainWin> win;
};
