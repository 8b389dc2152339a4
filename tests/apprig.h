// The window program for a test: a main window on the simulated ORB-8
// (instant unless timed), message boxes answered from a script, and the
// simulator's log to check what reached it.
#pragma once

#include <functional>

#include <QAction>
#include <QMenu>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/ui/mainwin.h"
#include "customdist/ui/customdistwin.h"
#include "device/devicelink.h"
#include "device/ui/windowhost.h"
#include "editors/projectsession.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"
#include "device/ui/midi.h"
#include "midi/midisystem.h"
#include "controls/named.h"
#include "tests/scripteddialogs.h"
#include "workspace/ui/documentwindow.h"

struct AppRig {
    explicit AppRig(orb8::SimTiming timing = {false, {}}, QStringList args = {}, bool japanese = false,
                    QString recoveryFolder = {},
                    ScriptedDialogs::RecoveryAnswer recovery = ScriptedDialogs::RecoveryAnswer::Later,
                    QString libraryDatabase = {}, const std::function<void(ScriptedDialogs&)>& answers = {})
        : system(Options(timing)) {
        dialogs.recoveryAnswer = recovery;
        if (answers) answers(dialogs);  // for the questions asked while the frame starts
        MainWinOptions options{japanese, args, false};
        options.recoveryFolder = recoveryFolder;
        options.libraryDatabase = libraryDatabase;
        win = std::make_unique<TMainWin>(system, dialogs, std::move(options));
        // An instant processor takes messages as fast as they come, as a faster link would.
        if (!timing.wire) win->findChild<QAction*>("PaceMenu_unpaced")->trigger();
        win->show();
        QCoreApplication::processEvents();
    }
    // Unsaved work is let go at the end.
    ~AppRig() {
        dialogs.discardUnsaved = true;
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
    // Until the exchanges with the processor asked for so far (and the patch
    // change an idle pass posted) have ended and their results are in.
    void WaitExchange() {
        QCoreApplication::processEvents();  // a patch change an idle pass posted starts
        // Woken by the end itself: the exchange's trips to this thread are not slowed by polling.
        QSignalSpy ended(&win->Host(), &WindowDeviceHost::Ended);
        while (win->Host().ExchangeRunning()) ASSERT_TRUE(ended.wait(60000));
    }
    // Until the exchanges have ended and what was sent has reached the simulated ORB-8.
    void Drain() {
        WaitExchange();
        win->Midi().DrainOutput(std::chrono::milliseconds(10000));
        system.Simulator()->WaitIdle(std::chrono::milliseconds(10000));
    }
    // What the simulated ORB-8 received since the last call, a line a message.
    std::vector<std::string> TakeLog() {
        Drain();
        return system.Simulator()->With([](orb8::Orb8Simulator& s) {
            auto log = s.Log();
            s.ClearLog();
            return log;
        });
    }

    // A change to a project made as one step of its session, as the windows make them.
    static orb8::SessionChange Change(TProjectWindow* project, const std::function<void(orb8::ProjectDocument&)>& change) {
        orb8::ProjectSession& session = project->Session();
        return session.Perform([&](orb8::ProjectDocument& document) {
            change(document);
            return orb8::StepReport{"test", {}};
        });
    }
    // Any change, so that the document has unsaved work.
    static void Touch(DocumentWindow* window) {
        if (auto* project = qobject_cast<TProjectWindow*>(window))
            Change(project, [](orb8::ProjectDocument& d) { d.comments[79] += "*"; });
        else if (auto* dist = qobject_cast<TCustomDistWin*>(window))
            dist->Session().Perform("test", [](orb8::CustomDistData&) {}, true);
    }
    // The editor and the comment window.
    TControlPanel* Panel() const { return Named<TControlPanel>(*win, "ControlPanel"); }
    TMemoWin* Memo() const { return Named<TMemoWin>(*win, "MemoWin"); }
    // The frame's menu item or menu with that object name.
    QAction* Action(const QString& name) const { return Named<QAction>(*win, name); }
    QMenu* Menu(const QString& name) const { return Named<QMenu>(*win, name); }
    // The idle pass, as the event loop runs it.
    void Idle() {
        win->OnIdleHandlerIdle();
        QCoreApplication::processEvents();
    }

    orb8::MidiSystem system;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainWin> win;
};
