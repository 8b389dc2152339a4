#include "sim/simulateddevice.h"

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
        // One message after another on the cable; this one has arrived once
        // its last byte has.
        const auto start = std::max(Clock::now(), outputFree_);
        const auto arrived = start + Wire(message.size());
        outputFree_ = arrived;
        wireBytes_ += message.size();
        events_.push({arrived, order_++, true, std::vector<std::uint8_t>(message.begin(), message.end())});
    }
    wake_.notify_all();
}

void SimulatedDevice::SetReplyHandler(Handler handler) {
    std::lock_guard lock(mutex_);
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
        if (event.toDevice) {
            for (Message& reply : sim_.Receive(event.bytes)) {
                const auto begin = std::max(event.at + timing_.processing, inputFree_);
                const auto end = begin + Wire(reply.size());
                inputFree_ = end;
                wireBytes_ += reply.size();
                events_.push({end, order_++, false, std::move(reply)});
            }
        } else if (handler_) {
            Handler handler = handler_;
            lock.unlock();
            handler(std::move(event.bytes));
            lock.lock();
        }
    }
}

}  // namespace orb8
