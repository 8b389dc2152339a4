// Every MIDI device the program can use, numbered as the device menus show
// them: the real ports first (ALSA sequencer, then JACK), then the built-in
// simulated ORB-8. On a machine with no MIDI system the simulator is device 0.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "midi/midibackend.h"
#include "sim/simulateddevice.h"

namespace orb8 {

inline constexpr const char* kSimulatorPortName = "ORB-8 Simulator";

struct MidiSystemOptions {
    bool realPorts = true;  // ALSA and JACK where present
    bool simulator = true;
    int simulatorChannel = 0;
    SimTiming simulatorTiming{};
    std::string clientName = "ORB-8ED";
    bool jack = true;  // with realPorts: look for a JACK server too (else AddRealBackend adds it later)
};

class MidiSystem {
public:
    explicit MidiSystem(MidiSystemOptions options = {});
    // Given backends only (tests), in this order; no simulator.
    explicit MidiSystem(std::vector<std::unique_ptr<MidiBackend>> backends);
    // A real system found later (JACK, looked for while the program starts);
    // its ports come after those of the real systems already there.
    void AddRealBackend(std::unique_ptr<MidiBackend> backend);
    ~MidiSystem();

    std::vector<std::string> OutputNames();
    std::vector<std::string> InputNames();
    std::unique_ptr<MidiOut> OpenOutput(int device, int& result);
    std::unique_ptr<MidiIn> OpenInput(int device, MidiReceiveHandler handler, int& result);

    // Told when a real MIDI system goes away (see MidiLostHandler).
    void SetLostHandler(const MidiLostHandler& handler);

    // The built-in simulated ORB-8 (made on first use), or nullptr.
    SimulatedDevice* Simulator();
    // Which backends are present, for messages ("ALSA", "JACK").
    std::vector<std::string> RealSystems() const;
    // Why real MIDI cannot be used at all (its module did not load); empty when it can.
    const std::string& RealMidiProblem() const { return problem_; }

    // A device by its number or by (part of) its name, in any case; -1 when none.
    static int Find(const std::vector<std::string>& names, std::string_view numberOrName);

private:
    std::vector<std::unique_ptr<MidiBackend>> real_;
    std::unique_ptr<SimulatedDevice> simulator_;
    std::once_flag simulatorMade_;
    int simulatorChannel_ = 0;
    SimTiming simulatorTiming_{};
    std::unique_ptr<MidiBackend> simBackend_;
    std::string problem_;
    std::vector<MidiBackend*> All();
};

}  // namespace orb8
