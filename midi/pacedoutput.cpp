#include "midi/pacedoutput.h"

#include <sys/prctl.h>

#include <algorithm>

namespace orb8 {

bool PacingQueue::Push(std::vector<std::uint8_t> message, bool replace) {
    Waiting waiting{std::move(message), std::nullopt};
    waiting.key = keyOf_ && replace ? keyOf_(waiting.bytes) : std::nullopt;
    bool removed = false;
    if (waiting.key) {
        for (auto it = messages_.rbegin(); it != messages_.rend() && it->key; ++it) {
            if (*it->key != *waiting.key) continue;
            bytes_ -= it->bytes.size();
            messages_.erase(std::next(it).base());
            removed = true;
            break;
        }
    }
    bytes_ += waiting.bytes.size();
    messages_.push_back(std::move(waiting));
    return removed;
}

std::optional<std::vector<std::uint8_t>> PacingQueue::Pop() {
    if (messages_.empty()) return std::nullopt;
    std::vector<std::uint8_t> message = std::move(messages_.front().bytes);
    messages_.pop_front();
    bytes_ -= message.size();
    return message;
}

PacedMidiOut::PacedMidiOut(std::unique_ptr<MidiOut> inner, PacingQueue::KeyOf keyOf, std::chrono::microseconds byteTime,
                           std::shared_ptr<WireClock> clock)
    : inner_(std::move(inner)),
      clock_(clock ? std::move(clock) : std::make_shared<SteadyWireClock>()),
      queue_(std::move(keyOf)),
      byteTime_(byteTime) {
    clock_->OnMoved([this] {
        std::lock_guard lock(mutex_);
        wake_.notify_all();
        drained_.notify_all();
    });
    thread_ = std::thread([this] { Run(); });
}

PacedMidiOut::~PacedMidiOut() {
    std::chrono::microseconds left{};
    {
        std::lock_guard lock(mutex_);
        left = byteTime_ * static_cast<long>(queue_.Bytes());
    }
    Drain(std::chrono::duration_cast<std::chrono::milliseconds>(left) + std::chrono::milliseconds(1000));
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    clock_->OnMoved(nullptr);
}

void PacedMidiOut::Send(std::span<const std::uint8_t> message) {
    {
        std::lock_guard lock(mutex_);
        if (byteTime_ == kUnpaced) {
            // Unpaced: every message goes on as it comes, in order; handed on
            // here when nothing waits, so no thread's timing decides anything.
            if (queue_.Empty() && !busy_) inner_->Send(message);
            else queue_.Push({message.begin(), message.end()}, false);
        } else if (queue_.Push({message.begin(), message.end()})) {
            ++dropped_;
        }
    }
    wake_.notify_all();
}

bool PacedMidiOut::Drain(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    {
        std::unique_lock lock(mutex_);
        if (!drained_.wait_until(lock, deadline, [&] { return queue_.Empty() && !busy_; })) return false;
        // The last message has its wire time before the wire is free.
        while (clock_->Now() < wireFree_)
            if (!clock_->WaitUntil(drained_, lock, wireFree_, deadline)) return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return inner_->Drain(std::max(left, std::chrono::milliseconds(0)));
}

void PacedMidiOut::SetByteTime(std::chrono::microseconds byteTime) {
    {
        std::lock_guard lock(mutex_);
        byteTime_ = byteTime;
        wireFree_ = std::min(wireFree_, clock_->Now() + byteTime_ * 256);
    }
    wake_.notify_all();
}

std::size_t PacedMidiOut::UnsentBytes() const {
    std::lock_guard lock(mutex_);
    return queue_.Bytes();
}

int PacedMidiOut::Dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

void PacedMidiOut::Run() {
    // On time to the microsecond: the default timer slack of 50 us would add to every message.
    prctl(PR_SET_TIMERSLACK, 1000UL);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stop_ || !queue_.Empty(); });
        if (queue_.Empty()) return;  // stopping with nothing left
        // The wire is busy with the last message: wait, and let newer values replace waiting ones meanwhile.
        if (clock_->Now() < wireFree_) {
            clock_->WaitUntil(wake_, lock, wireFree_, Clock::time_point::max());
            continue;
        }
        std::vector<std::uint8_t> message = *queue_.Pop();
        busy_ = true;
        // Its wire time runs from when it is handed on (the MIDI system's
        // output queues it and returns).
        const auto start = clock_->Now();
        lock.unlock();
        inner_->Send(message);
        lock.lock();
        busy_ = false;
        wireFree_ = start + byteTime_ * static_cast<long>(message.size());
        drained_.notify_all();
    }
}

}  // namespace orb8
