// orb8-sim: the simulated ORB-8 on a virtual MIDI port (JACK where a server
// runs, the ALSA sequencer where present), so that the librarian or any other
// MIDI program can talk to it over real MIDI.
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <RtMidi.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iostream>

#include "patch/fileio.h"

#include "midi/rtmidibackend.h"
#include "sim/simulateddevice.h"

namespace {

void SilentError(RtMidiError::Type, const std::string&, void*) {}

struct Bridge {
    orb8::SimulatedDevice* device = nullptr;
};

void FromHost(double, std::vector<unsigned char>* message, void* user) {
    auto* bridge = static_cast<Bridge*>(user);
    if (message && !message->empty()) bridge->device->Send(*message);
}

// The port names the MIDI system lists: inputs list the sources (our "out"),
// outputs the destinations (our "in").
template <class Probe>
std::vector<std::string> PortNames(RtMidi::Api api) {
    std::vector<std::string> names;
    try {
        Probe probe(api, "orb8-sim probe");
        probe.setErrorCallback(SilentError);
        for (unsigned i = 0; i < probe.getPortCount(); ++i) names.push_back(probe.getPortName(i));
    } catch (...) {
    }
    return names;
}

// The name that appeared since `before`, or the fallback.
std::string NewName(const std::vector<std::string>& before, const std::vector<std::string>& after,
                    const std::string& fallback) {
    for (const auto& name : after) {
        if (std::find(before.begin(), before.end(), name) == before.end()) return name;
    }
    return fallback;
}

std::atomic<bool> serverGone{false};

}  // namespace

bool WriteLog(orb8::SimulatedDevice& device, const std::string& path) {
    if (path.empty()) return true;
    std::string text;
    device.With([&](orb8::Orb8Simulator& sim) {
        text = sim.TimedLog();
        return 0;
    });
    const orb8::FileResult r = orb8::WriteFileAtomically(
        path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (r.ok()) return true;
    std::cerr << "orb8-sim: " << orb8::FileMessageLine(r, "log") << "\n";
    return false;
}

int main(int argc, char** argv) {
    CLI::App app{"orb8-sim: a simulated ORB-8 on a virtual MIDI port.", "orb8-sim"};
    int channel = 1;
    bool instant = false;
    int processingUs = 0;
    std::string api = "auto", name = "orb8-sim", logPath;
    std::vector<std::string> faults;
    app.add_option("--channel", channel, "device channel, 1..16")->capture_default_str()->check(CLI::Range(1, 16));
    app.add_flag("--instant", instant, "answer without MIDI wire time");
    app.add_option("--processing-us", processingUs, "processing time before each answer, in microseconds")
        ->capture_default_str()->check(CLI::Range(0, 10000000));
    app.add_option("--api", api, "jack, alsa or auto")->capture_default_str()->check(CLI::IsMember({"auto", "jack", "alsa"}));
    app.add_option("--name", name, "client and port name")->capture_default_str();
    bool force = false;
    app.add_option("--log", logPath, "write the traffic log here when ending");
    app.add_flag("--force", force, "replace an existing log file");
    app.add_option("--fault", faults,
                   "MESSAGE:OCCURRENCE:FAULT, e.g. PatchRequest:30:unrecognised (faults: no-answer, unrecognised, "
                   "reject, stop, truncated, other-maker, other-model, wrong-device; occurrence 0 = every one)");
    CLI11_PARSE(app, argc, argv);

    if (!logPath.empty()) {
        if (const std::string why = orb8::WhyNotWritable(logPath, force); !why.empty()) {
            std::cerr << "orb8-sim: " << why << "\n";
            return 2;
        }
    }
    struct Rule {
        std::string message;
        int occurrence;
        orb8::SimFault fault;
    };
    std::vector<Rule> rules;
    for (const std::string& rule : faults) {
        Rule r{};
        std::string error;
        if (!orb8::ParseFaultRule(rule, r.message, r.occurrence, r.fault, error)) {
            std::cerr << "orb8-sim: --fault " << rule << ": " << error << "\n";
            return 2;
        }
        rules.push_back(r);
    }

    // Signals are taken by sigwait below; block them before any thread starts.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    RtMidi::Api chosen = RtMidi::UNSPECIFIED;
    if ((api == "auto" || api == "jack") && orb8::JackServerRunning()) chosen = RtMidi::UNIX_JACK;
    else if ((api == "auto" || api == "alsa") && orb8::AlsaSequencerPresent()) chosen = RtMidi::LINUX_ALSA;
    if (chosen == RtMidi::UNSPECIFIED) {
        std::cerr << "orb8-sim: no MIDI system to put the port on (no JACK server running, no ALSA sequencer)\n";
        return 1;
    }

    orb8::SimulatedDevice device(channel - 1, orb8::SimTiming{!instant, std::chrono::microseconds(processingUs)});
    device.With([&](orb8::Orb8Simulator& sim) {
        for (const Rule& r : rules) sim.InjectFault(r.message, r.occurrence, r.fault);
        return 0;
    });

    // When the JACK server goes away, there is nothing left to serve.
    std::unique_ptr<orb8::JackShutdownWatch> watch;
    if (chosen == RtMidi::UNIX_JACK) {
        watch = orb8::WatchJackShutdown(name + " watch", [](const std::string&) {
            serverGone = true;
            ::kill(::getpid(), SIGTERM);
        });
    }

    Bridge bridge{&device};
    try {
        RtMidiIn in(chosen, name, 1000);
        RtMidiOut out(chosen, name);
        in.setErrorCallback(SilentError);
        out.setErrorCallback(SilentError);
        in.ignoreTypes(false, true, true);
        in.setCallback(FromHost, &bridge);
        const auto destinationsBefore = PortNames<RtMidiOut>(chosen);
        const auto sourcesBefore = PortNames<RtMidiIn>(chosen);
        in.openVirtualPort("in");
        out.openVirtualPort("out");
        const std::string inName = NewName(destinationsBefore, PortNames<RtMidiOut>(chosen), name + ":in");
        const std::string outName = NewName(sourcesBefore, PortNames<RtMidiIn>(chosen), name + ":out");
        device.SetReplyHandler([&out](std::vector<std::uint8_t> reply) {
            try {
                out.sendMessage(reply.data(), reply.size());
            } catch (...) {
            }
        });
        std::cout << "orb8-sim: ORB-8 on channel " << channel << ", ports " << inName << " and " << outName << " ("
                  << (chosen == RtMidi::UNIX_JACK ? "JACK" : "ALSA") << ")" << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        device.SetReplyHandler({});
        if (serverGone) {
            // Closing ports would talk to a server that is gone: leave at once.
            std::cerr << "orb8-sim: the JACK server has shut down\n";
            WriteLog(device, logPath);
            std::cout.flush();
            std::_Exit(1);
        }
        in.cancelCallback();
    } catch (const RtMidiError& e) {
        std::cerr << "orb8-sim: " << e.getMessage() << "\n";
        return 1;
    }
    return WriteLog(device, logPath) ? 0 : 1;
}
