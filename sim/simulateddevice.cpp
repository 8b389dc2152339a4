#include "sim/simulateddevice.h"

#include <sys/prctl.h>

#include <algorithm>

#include "device/wiretime.h"

namespace orb8 {

SimulatedDevice::SimulatedDevice(int channel, SimTiming timing)
    : sim_(channel), timing_(timing), start_(Clock::now()), thread_([this] { Run(); }) {}

SimulatedDevice::~SimulatedDevice() {
    WaitArrived();
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

SimulatedDevice::Clock::duration SimulatedDevice::Wire(std::size_t bytes) const {
    if (!timing_.wire) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(WireTime(bytes));
}

void SimulatedDevice::Send(std::span<const std::uint8_t> message) {
    {
        std::lock_guard lock(mutex_);
        // One message after another on the cable: the processor takes a
        // message once its last byte has arrived, and its answers queue on
        // the way back. Without wire time it takes it now.
        const auto start = std::max(Clock::now(), outputFree_);
        const auto arrived = start + Wire(message.size());
        outputFree_ = arrived;
        wireBytes_ += message.size();
        if (timing_.wire) {
            events_.push({arrived, order_++, {message.begin(), message.end()}, true});
            ++incoming_;
        } else {
            Arrive(message, arrived);
        }
    }
    wake_.notify_all();
}

void SimulatedDevice::Transmit(std::span<const std::uint8_t> message) {
    {
        std::lock_guard lock(mutex_);
        const auto begin = std::max(Clock::now(), inputFree_);
        const auto end = begin + Wire(message.size());
        inputFree_ = end;
        wireBytes_ += message.size();
        events_.push({end, order_++, {message.begin(), message.end()}, false});
    }
    wake_.notify_all();
}

void SimulatedDevice::Arrive(std::span<const std::uint8_t> message, Clock::time_point arrived) {
    sim_.arrivalMs = std::chrono::duration<double, std::milli>(arrived - start_).count();
    // Each answer is handed over when it is due: one timed wake-up per answer.
    for (Message& reply : sim_.Receive(message)) {
        const auto begin = std::max(arrived + timing_.processing, inputFree_);
        const auto end = begin + Wire(reply.size());
        inputFree_ = end;
        wireBytes_ += reply.size();
        events_.push({end, order_++, std::move(reply), false});
    }
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

void SimulatedDevice::WaitArrived() {
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [&] { return incoming_ == 0 || stop_; });
}

bool SimulatedDevice::WaitIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, limit, [&] { return events_.empty() && !inHandler_; });
}

void SimulatedDevice::Run() {
    // Wake-ups on time to the microsecond: the default slack of 50 us would
    // add to every message's wire time.
    prctl(PR_SET_TIMERSLACK, 1000UL);
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (events_.empty()) {
            idle_.notify_all();
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
        if (event.incoming) {
            Arrive(event.bytes, event.at);
            if (--incoming_ == 0) arrived_.notify_all();
            continue;
        }
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
