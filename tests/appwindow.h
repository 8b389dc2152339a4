// The main window for the window tests: the rig, its projects, the
// simulated ORB-8's traffic by message name, and the frame's idle pass.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <algorithm>
#include <string>
#include <vector>

#include "app/ui/mainwin.h"
#include "editors/ui/projectwin.h"
#include "sim/orb8simulator.h"
#include "tests/apprig.h"
#include "controls/named.h"

inline orb8::MidiSystemOptions SimulatorOnly(orb8::SimTiming timing) { return AppRig::Options(timing); }

struct App : AppRig {
    explicit App(QStringList args = {}, bool japanese = false, orb8::SimTiming timing = {false, {}})
        : AppRig(timing, std::move(args), japanese) {}
    TProjectWindow* Project(int i = 0) const {
        int n = 0;
        for (auto& w : win->Documents().Windows())
            if (auto* p = qobject_cast<TProjectWindow*>(w.data()); p && n++ == i) return p;
        return nullptr;
    }
    std::vector<std::string> Traffic() {
        return system.Simulator()->With([](orb8::Orb8Simulator& s) { return s.ReceivedNames(); });
    }
    void ClearTraffic() {
        system.Simulator()->With([](orb8::Orb8Simulator& s) {
            s.ClearLog();
            return 0;
        });
    }
    void Idle() {
        win->OnIdleHandlerIdle();
        QCoreApplication::processEvents();
    }
    QStringList WindowItems() const {
        QStringList items;
        bool after = false;
        for (QAction* a : Named<QMenu>(*win, "WindowMenu")->actions()) {
            if (after && !a->isSeparator()) items << a->text() + (a->isChecked() ? "*" : "");
            if (a == Named<QAction>(*win, "MemoMenu")) after = true;
        }
        return items;
    }
};

inline int Count(const std::vector<std::string>& names, const std::string& name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

