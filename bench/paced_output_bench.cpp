// Live edits against the simulated ORB-8 behind a MIDI cable (wire timing
// both ways), through the window program with its output paced to the wire:
//  1. the lag from the last mouse event of a knob drag across BPM's whole
//     range in 200 ms to the processor holding the final value (target at
//     most 10 ms), paced and, for comparison, unpaced;
//  2. the same lag for a Compare switch and for the undo of a type change,
//     from the command to the processor holding what the editor shows, made
//     right after such a drag and on a quiet wire: what the drag adds is the
//     figure (target at most 10 ms), the rest is the command's own wire time;
//  3. the share of the wire's time that carries messages during a drag
//     across the range in one second, more steps than the wire can carry
//     (target at least 80 %);
//  4. the lag after a morph slider of the Sound Design window is let go,
//     dragged across its range in half a second towards a patch of other
//     values (target at most 10 ms).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QTest>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>

#include "app/ui/mainwin.h"
#include "bench/benchsupport.h"
#include "controls/colorbutton.h"
#include "controls/volume.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/projectwin.h"
#include "device/ui/midi.h"
#include "sim/orb8simulator.h"
#include "sounddesign/ui/patchpicker.h"
#include "sounddesign/ui/sounddesignwin.h"
#include "controls/named.h"

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }


// A message of the simulator's log: when its last byte arrived, and its length.
struct Arrival {
    Clock::time_point at;
    std::size_t bytes;
};

struct Bench {
    orb8::MidiSystem system{[] {
        orb8::MidiSystemOptions options;
        options.realPorts = false;
        options.simulatorTiming = {true, {}};
        return options;
    }()};
    AnsweringDialogs dialogs;
    TMainWin win{system, dialogs, MainWinOptions{false, {}, false}};
    TControlPanel* panel = nullptr;

    bool Start() {
        win.show();
        QCoreApplication::processEvents();
        Named<QAction>(win, "OnLineMenu")->trigger();
        WaitExchange(win);
        if (!win.Link().isOnLine) return false;
        panel = Named<TControlPanel>(win, "ControlPanel");
        ShowBpmPatch(win);
        Idle();
        WaitExchange(win);
        Settle();
        return true;
    }
    void Idle() {
        win.OnIdleHandlerIdle();
        QCoreApplication::processEvents();
    }
    void Pace(const char* key) { win.findChild<QAction*>(QStringLiteral("PaceMenu_%1").arg(key))->trigger(); }
    // Everything sent has arrived; the log starts empty.
    void Settle() {
        win.Midi().DrainOutput(10s);
        system.Simulator()->WaitIdle(10s);
        system.Simulator()->With([](orb8::Orb8Simulator& s) {
            s.ClearLog();
            return 0;
        });
    }
    // Waits for everything sent; what arrived since the last Settle.
    std::vector<Arrival> Arrivals() {
        win.Midi().DrainOutput(10s);
        system.Simulator()->WaitIdle(10s);
        const Clock::time_point origin = system.Simulator()->Origin();
        return system.Simulator()->With([origin](orb8::Orb8Simulator& s) {
            std::vector<Arrival> arrivals;
            for (std::size_t i = 0; i < s.Log().size(); ++i) {
                const std::string& line = s.Log()[i];
                const std::size_t hex = line.find("  ");
                const auto at = origin + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double, std::milli>(s.LogTimes()[i]));
                arrivals.push_back({at, (hex + 1) / 3});
            }
            return arrivals;
        });
    }
    bool ProcessorShowsEditor() {
        const orb8::PatchData shown = *panel->Editor().Current();
        return system.Simulator()->With([&](orb8::Orb8Simulator& s) { return s.editBuffer == shown; });
    }
    // BPM's whole range in `duration`, one mouse event a quarter degree;
    // returns the times of the first and the last movement.
    std::pair<Clock::time_point, Clock::time_point> Drag(Clock::duration duration, bool up) {
        TVolume* knob = Named<TVolume>(*panel, "ModVolume1");
        QTest::mousePress(knob, Qt::LeftButton, {}, QPoint(12, 12));
        const auto start = Clock::now();
        Clock::time_point last;
        for (int step = 0; step <= 1080; ++step) {
            std::this_thread::sleep_until(start + duration * step / 1080);
            QTest::mouseMove(knob, OnArc(up ? step / 4.0 : 270 - step / 4.0));
            last = Clock::now();
        }
        QTest::mouseRelease(knob, Qt::LeftButton, {}, QPoint(12, 12));
        return {start, last};
    }
};

// Waits for what was sent; the time from `from` (or the command) to the last
// byte's arrival, in ms. Says so when the processor then holds anything but
// what the editor shows.
double LagFrom(Bench& b, Clock::time_point from) {
    const std::vector<Arrival> arrivals = b.Arrivals();
    if (!b.ProcessorShowsEditor()) std::printf("  the processor DOES NOT HOLD what the editor shows\n");
    return arrivals.empty() ? 0 : Ms(arrivals.back().at - from);
}

double Lag(Bench& b, const std::function<void()>& command) {
    const auto from = Clock::now();
    command();
    return LagFrom(b, from);
}

void PrintAfterDrag(const char* what, double afterDrag, double quiet) {
    std::printf("  %-24s %7.2f ms right after a drag, %7.2f ms on a quiet wire: %+6.2f ms (target at most 10 ms)\n",
                what, afterDrag, quiet, afterDrag - quiet);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Bench b;
    if (!b.Start()) {
        std::printf("the simulator did not answer\n");
        return 1;
    }
    std::printf("Live edits on the simulated ORB-8 behind a MIDI cable (320 us a byte both ways)\n");
    std::printf("Lag from the last mouse event or the command to the processor holding the result:\n");
    for (const bool paced : {true, false}) {
        b.Pace(paced ? "midi" : "unpaced");
        for (int round = 0; round < 3; ++round) {
            b.Settle();
            const auto [first, last] = b.Drag(200ms, round % 2 == 0);
            const double lag = LagFrom(b, last);
            std::printf("  drag across BPM in 200 ms, %-8s %8.2f ms%s\n", paced ? "paced" : "unpaced", lag,
                        paced ? " (target at most 10 ms)" : "");
        }
    }
    b.Pace("midi");

    // A command on a quiet wire, then right after a drag: the drag adds at most
    // the message that is on the wire when the command comes.
    const auto compare = [&b] { QTest::mouseClick(Named<TColorButton>(*b.panel, "CompareBtn"), Qt::LeftButton); };
    int type = 3;
    const auto typeChange = [&b, &type] {
        type = type == 3 ? 4 : 3;
        Named<QComboBox>(*b.panel, "ModType")->setCurrentIndex(type);
        emit Named<QComboBox>(*b.panel, "ModType")->activated(type);
    };
    const auto undo = [&b] {
        b.Idle();
        Named<QAction>(b.win, "UndoMenu")->trigger();
    };
    for (int round = 0; round < 3; ++round) {
        b.Settle();
        const double quiet = Lag(b, compare);
        Lag(b, compare);
        b.Settle();
        b.Drag(200ms, round % 2 == 0);
        PrintAfterDrag("Compare switch", Lag(b, compare), quiet);
        Lag(b, compare);
    }
    for (int round = 0; round < 3; ++round) {
        b.Settle();
        typeChange();
        b.Settle();
        const double quiet = Lag(b, undo);
        b.Settle();
        b.Drag(200ms, round % 2 == 0);
        typeChange();
        PrintAfterDrag("undo of a type change", Lag(b, undo), quiet);
    }

    std::printf("Wire use during a drag across BPM in 1 s (more steps than the wire carries):\n");
    for (int round = 0; round < 3; ++round) {
        b.Settle();
        const auto [first, last] = b.Drag(1s, round % 2 == 0);
        Clock::duration busy{};
        for (const Arrival& a : b.Arrivals()) {
            const auto begin = std::max(a.at - orb8::WireTime(a.bytes), first), end = std::min(a.at, last);
            if (end > begin) busy += end - begin;
        }
        std::printf("  %5.1f %% of %.0f ms carried messages (target at least 80 %%)\n", 100.0 * Ms(busy) / Ms(last - first),
                    Ms(last - first));
    }

    // U02: the BPM patch with other values and another Dly/Rev, to morph towards.
    TProjectWindow* project = b.win.Documents().CurrentProject();
    project->Session().Perform([&](orb8::ProjectDocument& document) {
        auto& patches = document.patches;
        patches[1] = patches[0];
        patches[1][orb8::ModuleSwitches] = orb8::ModOn | orb8::DlyOn | orb8::EqOn;
        for (int byte : {orb8::ModParam1, orb8::ModParam2, orb8::EqTreble, orb8::EqBass, orb8::PatchLevel, orb8::VnrLevel})
            patches[1][static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(patches[0][static_cast<std::size_t>(byte)] / 2 + 5);
        return orb8::StepReport{"bench", {}};
    });
    Named<QAction>(b.win, "SoundDesignMenu")->trigger();
    auto* design = b.win.findChild<TSoundDesignWin*>();
    Named<PatchPicker>(*design, "MorphTarget")->Select(&project->Session(), 1, false);
    QSlider* slider = Named<QSlider>(*design, "MorphSlider");
    std::printf("Morph slider across its range in 500 ms (Sound Design), paced:\n");
    for (int round = 0; round < 3; ++round) {
        b.Settle();
        const bool up = round % 2 == 0;
        slider->setSliderDown(true);
        const auto start = Clock::now();
        Clock::time_point last;
        for (int step = 0; step <= 100; ++step) {
            std::this_thread::sleep_until(start + 500ms * step / 100);
            slider->setValue(up ? step : 100 - step);
            QCoreApplication::processEvents();
            last = Clock::now();
        }
        slider->setSliderDown(false);
        std::printf("  lag after release %8.2f ms (target at most 10 ms)\n", LagFrom(b, last));
    }
    return 0;
}
