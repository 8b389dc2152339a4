// orb8-sim: the simulated ORB-8 on a virtual MIDI port (JACK where a server
// runs, the ALSA sequencer where present), so that the librarian or any other
// MIDI program can talk to it over real MIDI.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <RtMidi.h>
#include <fstream>
#include <iostream>

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

}  // namespace

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
    app.add_option("--log", logPath, "write the traffic log here when ending");
    app.add_option("--fault", faults,
                   "MESSAGE:OCCURRENCE:FAULT, e.g. PatchRequest:30:unrecognised (faults: no-answer, unrecognised, "
                   "reject, stop, truncated, other-maker, other-model, wrong-device; occurrence 0 = every one)");
    CLI11_PARSE(app, argc, argv);

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
    for (const std::string& rule : faults) {
        const auto a = rule.find(':'), b = rule.rfind(':');
        orb8::SimFault fault;
        if (a == std::string::npos || a == b || !orb8::SimFaultFromName(rule.substr(b + 1), fault)) {
            std::cerr << "orb8-sim: --fault " << rule << " is not MESSAGE:OCCURRENCE:FAULT\n";
            return 2;
        }
        int occurrence = 0;
        try {
            occurrence = std::stoi(rule.substr(a + 1, b - a - 1));
        } catch (...) {
            std::cerr << "orb8-sim: --fault " << rule << ": the occurrence is not a number\n";
            return 2;
        }
        device.With([&](orb8::Orb8Simulator& sim) {
            sim.InjectFault(rule.substr(0, a), occurrence, fault);
            return 0;
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
        in.openVirtualPort("in");
        out.openVirtualPort("out");
        device.SetReplyHandler([&out](std::vector<std::uint8_t> reply) {
            try {
                out.sendMessage(reply.data(), reply.size());
            } catch (...) {
            }
        });
        std::cout << "orb8-sim: ORB-8 on channel " << channel << ", ports " << name << ":in and " << name << ":out ("
                  << (chosen == RtMidi::UNIX_JACK ? "JACK" : "ALSA") << ")" << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        device.SetReplyHandler({});
        in.cancelCallback();
    } catch (const RtMidiError& e) {
        std::cerr << "orb8-sim: " << e.getMessage() << "\n";
        return 1;
    }
    if (!logPath.empty()) {
        std::ofstream log(logPath, std::ios::trunc);
        device.With([&](orb8::Orb8Simulator& sim) {
            for (const auto& line : sim.Log()) log << line << "\n";
            return 0;
        });
    }
    return 0;
}
