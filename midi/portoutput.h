// A port of the MIDI system (the ALSA sequencer, JACK), whose sends may wait
// for the system. Only an output thread writes it (PacedMidiOut hands every
// message on from its own thread), so a stuck or vanished system costs that
// thread, never the caller.
#pragma once

#include <functional>
#include <memory>

#include "midi/midibackend.h"

namespace orb8 {

class SystemPortOut : public MidiOut {
public:
    // send does the real, possibly blocking, work; keepAlive holds what it needs.
    SystemPortOut(std::function<void(std::span<const std::uint8_t>)> send, std::shared_ptr<void> keepAlive)
        : send_(std::move(send)), keepAlive_(std::move(keepAlive)) {}

    void Send(std::span<const std::uint8_t> message) override {
        try {
            send_(message);
        } catch (...) {
            // A failed send is not reported: results of MIDI sends are not checked.
        }
    }
    // A send has left once it returns.
    bool Drain(std::chrono::milliseconds) override { return true; }
    bool MayBlock() const override { return true; }

private:
    std::function<void(std::span<const std::uint8_t>)> send_;
    std::shared_ptr<void> keepAlive_;
};

}  // namespace orb8
