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

void PacingQueue::Clear() {
    messages_.clear();
    bytes_ = 0;
}

PacedMidiOut::PacedMidiOut(std::unique_ptr<MidiOut> inner, PacingQueue::KeyOf keyOf, std::chrono::microseconds byteTime,
                           std::shared_ptr<WireClock> clock)
    : state_(std::make_shared<State>(std::move(keyOf))) {
    State& s = *state_;
    s.innerMayBlock = inner->MayBlock();
    s.inner = std::move(inner);
    s.clock = clock ? std::move(clock) : std::make_shared<SteadyWireClock>();
    s.byteTime = byteTime;
    s.clock->OnMoved([state = state_.get()] {
        std::lock_guard lock(state->mutex);
        state->wake.notify_all();
        state->drained.notify_all();
    });
    thread_ = std::thread(Run, state_);
}

PacedMidiOut::~PacedMidiOut() {
    State& s = *state_;
    std::chrono::microseconds left{};
    {
        std::lock_guard lock(s.mutex);
        left = s.byteTime * static_cast<long>(s.queue.Bytes());
    }
    const bool drained =
        Drain(std::chrono::duration_cast<std::chrono::milliseconds>(left) + std::chrono::milliseconds(1000));
    s.clock->OnMoved(nullptr);
    {
        std::lock_guard lock(s.mutex);
        s.stop = true;
        if (!drained) s.queue.Clear();
    }
    s.wake.notify_all();
    if (drained) thread_.join();
    else thread_.detach();  // a send that hangs keeps the thread (and the state), not the caller
}

void PacedMidiOut::Send(std::span<const std::uint8_t> message) {
    State& s = *state_;
    {
        std::lock_guard lock(s.mutex);
        if (s.byteTime == kUnpaced) {
            // Unpaced: every message goes on as it comes, in order; handed on
            // here when nothing waits and the port never blocks, so no
            // thread's timing decides anything.
            if (s.queue.Empty() && !s.busy && !s.innerMayBlock) s.inner->Send(message);
            else s.queue.Push({message.begin(), message.end()}, false);
        } else if (s.queue.Push({message.begin(), message.end()})) {
            ++s.dropped;
        }
    }
    s.wake.notify_all();
}

bool PacedMidiOut::Drain(std::chrono::milliseconds limit) {
    State& s = *state_;
    const auto deadline = Clock::now() + limit;
    {
        std::unique_lock lock(s.mutex);
        if (!s.drained.wait_until(lock, deadline, [&] { return s.queue.Empty() && !s.busy; })) return false;
        // The last message has its wire time before the wire is free.
        while (s.clock->Now() < s.wireFree)
            if (!s.clock->WaitUntil(s.drained, lock, s.wireFree, deadline)) return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return s.inner->Drain(std::max(left, std::chrono::milliseconds(0)));
}

void PacedMidiOut::SetByteTime(std::chrono::microseconds byteTime) {
    State& s = *state_;
    {
        std::lock_guard lock(s.mutex);
        s.byteTime = byteTime;
        s.wireFree = std::min(s.wireFree, s.clock->Now() + s.byteTime * 256);
    }
    s.wake.notify_all();
}

std::size_t PacedMidiOut::UnsentBytes() const {
    std::lock_guard lock(state_->mutex);
    return state_->queue.Bytes();
}

int PacedMidiOut::Dropped() const {
    std::lock_guard lock(state_->mutex);
    return state_->dropped;
}

void PacedMidiOut::Run(std::shared_ptr<State> state) {
    State& s = *state;
    // On time to the microsecond: the default timer slack of 50 us would add to every message.
    prctl(PR_SET_TIMERSLACK, 1000UL);
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&] { return s.stop || !s.queue.Empty(); });
        if (s.queue.Empty()) return;  // stopping with nothing left
        // The wire is busy with the last message: wait, and let newer values replace waiting ones meanwhile.
        if (s.clock->Now() < s.wireFree) {
            s.clock->WaitUntil(s.wake, lock, s.wireFree, Clock::time_point::max());
            continue;
        }
        std::vector<std::uint8_t> message = *s.queue.Pop();
        s.busy = true;
        // Its wire time runs from when it is handed on (the MIDI system's
        // output queues it and returns).
        const auto start = s.clock->Now();
        lock.unlock();
        s.inner->Send(message);
        lock.lock();
        s.busy = false;
        s.wireFree = start + s.byteTime * static_cast<long>(message.size());
        s.drained.notify_all();
    }
}

}  // namespace orb8
