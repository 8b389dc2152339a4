// Sends messages on a thread of its own, so that a caller never waits for the
// MIDI system: a stuck or vanished system costs a thread, never the program.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "midi/midibackend.h"

namespace orb8 {

class AsyncMidiOut : public MidiOut {
public:
    // send does the real, possibly blocking, work; keepAlive holds what it needs.
    AsyncMidiOut(std::function<void(const std::vector<std::uint8_t>&)> send, std::shared_ptr<void> keepAlive);
    ~AsyncMidiOut() override;

    void Send(std::span<const std::uint8_t> message) override;
    bool Drain(std::chrono::milliseconds limit) override;

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake, drained;
        std::deque<std::vector<std::uint8_t>> queue;
        bool busy = false, stop = false;
        std::function<void(const std::vector<std::uint8_t>&)> send;
        std::shared_ptr<void> keepAlive;
    };
    static void Run(std::shared_ptr<State> state);
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace orb8
