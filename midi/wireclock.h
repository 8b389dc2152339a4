// The clock the paced output times the wire by. The program runs on the
// monotonic clock; a test or a benchmark gives a clock it moves by hand, so
// that what the wire time allows is decided by the clock and not by how fast
// the machine happens to run.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace orb8 {

class WireClock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~WireClock() = default;
    virtual time_point Now() const = 0;
    // Waits on `wake` (whose mutex `lock` holds) until Now() reaches `until`,
    // a notification, or the real `deadline`. False once the deadline has passed.
    virtual bool WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock, time_point until,
                           time_point deadline) = 0;
    // Called with no lock held whenever the clock moves on by hand: the owner
    // wakes its waiting threads (under its own mutex, so none misses it).
    virtual void OnMoved(std::function<void()> moved) { (void)moved; }
};

class SteadyWireClock : public WireClock {
public:
    time_point Now() const override { return std::chrono::steady_clock::now(); }
    bool WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock, time_point until,
                   time_point deadline) override {
        wake.wait_until(lock, std::min(until, deadline));
        return Now() < deadline;
    }
};

// Time stands still until Advance.
class ManualWireClock : public WireClock {
public:
    time_point Now() const override { return time_point(std::chrono::steady_clock::duration(ticks_.load())); }
    bool WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock, time_point until,
                   time_point deadline) override {
        if (Now() >= until) return std::chrono::steady_clock::now() < deadline;
        if (deadline == time_point::max()) wake.wait(lock);
        else wake.wait_until(lock, deadline);
        return std::chrono::steady_clock::now() < deadline;
    }
    void OnMoved(std::function<void()> moved) override {
        std::lock_guard guard(mutex_);
        moved_ = std::move(moved);
    }
    void Advance(std::chrono::steady_clock::duration by) {
        ticks_ += by.count();
        std::lock_guard guard(mutex_);
        if (moved_) moved_();
    }

private:
    std::atomic<std::chrono::steady_clock::rep> ticks_{std::chrono::steady_clock::duration(std::chrono::hours(1)).count()};
    std::mutex mutex_;
    std::function<void()> moved_;
};

}  // namespace orb8
