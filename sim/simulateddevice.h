// The simulated ORB-8 in real time: messages sent to it travel at MIDI wire
// speed (320 microseconds a byte) and change it only once they have arrived,
// it answers after its processing time, and its answers travel back at wire
// speed too. Its log notes when each message arrived. A thread of its own keeps the
// time; nothing spins while it waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <queue>
#include <span>
#include <thread>
#include <vector>

#include "sim/orb8simulator.h"

namespace orb8 {

struct SimTiming {
    bool wire = true;  // false: an instant processor
    std::chrono::microseconds processing{0};
};

class SimulatedDevice {
public:
    using Handler = std::function<void(std::vector<std::uint8_t>)>;
    using Clock = std::chrono::steady_clock;

    explicit SimulatedDevice(int channel = 0, SimTiming timing = {});
    // Takes in what was sent before it goes, as a real port drains on close.
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // Puts a message on the wire to the processor; returns at once.
    void Send(std::span<const std::uint8_t> message);
    // The processor sends a message of its own (its pedal moved): it goes
    // after the answers already on their way.
    void Transmit(std::span<const std::uint8_t> message);
    // Where the processor's answers go, on the device's thread; empty: nowhere.
    // When it returns, the previous handler is not running any more.
    void SetReplyHandler(Handler handler);

    // Runs f with the simulator locked (state, faults, log).
    template <class F>
    auto With(F&& f) {
        std::lock_guard lock(mutex_);
        return f(sim_);
    }
    void SetTiming(SimTiming timing);
    // Bytes that went over the wire both ways.
    std::uint64_t WireBytes() const;
    // True when no answer is on its way.
    bool Idle() const;
    // Waits until nothing is on its way either way and no answer is being
    // handed over, at most `limit`; false when something still is.
    bool WaitIdle(std::chrono::milliseconds limit);
    // Waits until the processor has taken in every message sent to it (the
    // last one's wire time has passed); answers may still be on their way.
    void WaitArrived();
    // The start of the log's times.
    Clock::time_point Origin() const { return start_; }

private:
    struct Event {
        Clock::time_point at;
        std::uint64_t order;
        std::vector<std::uint8_t> bytes;  // an answer on its way to the program, or a message to the processor
        bool incoming = false;            // a message to the processor, taken when its last byte arrives
        bool operator>(const Event& other) const { return at != other.at ? at > other.at : order > other.order; }
    };
    void Run();
    // The processor takes a message whose last byte arrived at `arrived`.
    void Arrive(std::span<const std::uint8_t> message, Clock::time_point arrived);
    Clock::duration Wire(std::size_t bytes) const;

    mutable std::mutex mutex_;
    std::condition_variable idle_, wake_, handlerDone_, arrived_;
    int incoming_ = 0;  // messages on their way to the processor
    bool inHandler_ = false;
    std::priority_queue<Event, std::vector<Event>, std::greater<Event>> events_;
    Orb8Simulator sim_;
    SimTiming timing_;
    Clock::time_point start_;  // the log's time origin
    Handler handler_;
    Clock::time_point outputFree_{}, inputFree_{};
    std::uint64_t order_ = 0;
    std::uint64_t wireBytes_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace orb8
