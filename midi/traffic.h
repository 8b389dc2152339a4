// Every MIDI message in and out, with when it went, for the MIDI monitor.
// Records only while enabled (the monitor is open): a closed monitor costs a
// flag test per message. Thread-safe: messages come from the window thread,
// the exchanges' thread and the MIDI backend's.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

namespace orb8 {

struct TrafficEntry {
    std::chrono::steady_clock::time_point at;
    bool out = false;
    std::vector<std::uint8_t> bytes;
};

class TrafficLog {
public:
    // The oldest entries not yet taken go beyond this many.
    static constexpr std::size_t kMaxWaiting = 200000;

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }
    void Add(bool out, std::span<const std::uint8_t> bytes) {
        if (!enabled_) return;
        TrafficEntry entry{std::chrono::steady_clock::now(), out, {bytes.begin(), bytes.end()}};
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(entry));
        if (waiting_.size() > kMaxWaiting) waiting_.pop_front();
    }
    // What came since the last call, in order.
    std::vector<TrafficEntry> Take() {
        std::lock_guard lock(mutex_);
        std::vector<TrafficEntry> taken(std::make_move_iterator(waiting_.begin()), std::make_move_iterator(waiting_.end()));
        waiting_.clear();
        return taken;
    }

private:
    std::atomic<bool> enabled_{false};
    std::mutex mutex_;
    std::deque<TrafficEntry> waiting_;
};

}  // namespace orb8
