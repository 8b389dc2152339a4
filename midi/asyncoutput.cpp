#include "midi/asyncoutput.h"

namespace orb8 {

AsyncMidiOut::AsyncMidiOut(std::function<void(const std::vector<std::uint8_t>&)> send, std::shared_ptr<void> keepAlive)
    : state_(std::make_shared<State>()) {
    state_->send = std::move(send);
    state_->keepAlive = std::move(keepAlive);
    thread_ = std::thread(Run, state_);
}

AsyncMidiOut::~AsyncMidiOut() {
    // Let what is queued go out, as long as it takes on the wire and a second
    // more; a system that does not take it keeps the thread, not the caller.
    std::size_t bytes = 0;
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& m : state_->queue) bytes += m.size();
    }
    const bool drained = Drain(std::chrono::duration_cast<std::chrono::milliseconds>(WireTime(bytes)) +
                               std::chrono::milliseconds(1000));
    {
        std::lock_guard lock(state_->mutex);
        state_->stop = true;
        if (!drained) state_->queue.clear();
    }
    state_->wake.notify_all();
    if (drained) thread_.join();
    else thread_.detach();
}

void AsyncMidiOut::Send(std::span<const std::uint8_t> message) {
    {
        std::lock_guard lock(state_->mutex);
        state_->queue.emplace_back(message.begin(), message.end());
    }
    state_->wake.notify_one();
}

bool AsyncMidiOut::Drain(std::chrono::milliseconds limit) {
    std::unique_lock lock(state_->mutex);
    return state_->drained.wait_for(lock, limit, [&] { return state_->queue.empty() && !state_->busy; });
}

void AsyncMidiOut::Run(std::shared_ptr<State> s) {
    std::unique_lock lock(s->mutex);
    for (;;) {
        s->wake.wait(lock, [&] { return s->stop || !s->queue.empty(); });
        if (s->queue.empty()) break;  // stopping with nothing left
        std::vector<std::uint8_t> message = std::move(s->queue.front());
        s->queue.pop_front();
        s->busy = true;
        lock.unlock();
        try {
            s->send(message);
        } catch (...) {
            // A failed send is not reported: results of MIDI sends are not checked.
        }
        lock.lock();
        s->busy = false;
        if (s->queue.empty()) s->drained.notify_all();
    }
    s->drained.notify_all();
}

}  // namespace orb8
