#include "sim/simulateddevice.h"

#include <sys/prctl.h>

#include <algorithm>

namespace orb8 {

SimulatedDevice::SimulatedDevice(int channel, SimTiming timing)
    : sim_(channel), timing_(timing), thread_([this] { Run(); }) {}

SimulatedDevice::~SimulatedDevice() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

SimulatedDevice::Clock::duration SimulatedDevice::Wire(std::size_t bytes) const {
    if (!timing_.wire) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(320) * static_cast<long>(bytes));
}

void SimulatedDevice::Send(std::span<const std::uint8_t> message) {
    {
        std::lock_guard lock(mutex_);
        // One message after another on the cable; the processor answers once
        // a message's last byte has arrived, and its answers queue on the way
        // back. The answer is worked out now and handed over when it is due:
        // one timed wake-up per answer.
        const auto start = std::max(Clock::now(), outputFree_);
        const auto arrived = start + Wire(message.size());
        outputFree_ = arrived;
        wireBytes_ += message.size();
        for (Message& reply : sim_.Receive(message)) {
            const auto begin = std::max(arrived + timing_.processing, inputFree_);
            const auto end = begin + Wire(reply.size());
            inputFree_ = end;
            wireBytes_ += reply.size();
            events_.push({end, order_++, std::move(reply)});
        }
    }
    wake_.notify_all();
}

void SimulatedDevice::SetReplyHandler(Handler handler) {
    std::unique_lock lock(mutex_);
    // Once this returns the old handler is not running and will not run again.
    if (std::this_thread::get_id() != thread_.get_id()) handlerDone_.wait(lock, [&] { return !inHandler_; });
    handler_ = std::move(handler);
}

void SimulatedDevice::SetTiming(SimTiming timing) {
    std::lock_guard lock(mutex_);
    timing_ = timing;
}

std::uint64_t SimulatedDevice::WireBytes() const {
    std::lock_guard lock(mutex_);
    return wireBytes_;
}

bool SimulatedDevice::Idle() const {
    std::lock_guard lock(mutex_);
    return events_.empty();
}

void SimulatedDevice::Run() {
    // Wake-ups on time to the microsecond: the default slack of 50 us would
    // add to every message's wire time.
    prctl(PR_SET_TIMERSLACK, 1000UL);
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (events_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto due = events_.top().at;
        if (Clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        Event event = events_.top();
        events_.pop();
        if (handler_) {
            Handler handler = handler_;
            inHandler_ = true;
            lock.unlock();
            handler(std::move(event.bytes));
            lock.lock();
            inHandler_ = false;
            handlerDone_.notify_all();
        }
    }
}

}  // namespace orb8
