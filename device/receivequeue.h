// The MIDI input's queue of receive buffers: each incoming SysEx message fills
// the oldest queued buffer; with no buffer queued the message is dropped. A
// buffer is sized for the one reply it waits for, so a longer message (a late
// answer to an exchange that was aborted) is not that reply: it is dropped
// and the buffer stays. A reset returns every buffer with nothing recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace orb8 {

// The queue itself, of whatever a buffer is where it is kept.
template <class Buffer>
class ReceiveBuffers {
public:
    // A buffer of `length` bytes (none: nothing is queued).
    void Add(Buffer buffer, std::size_t length) {
        if (length > 0) queued_.push_back({std::move(buffer), length});
    }
    int Count() const { return static_cast<int>(queued_.size()); }

    // The buffer a message of `bytes` goes into, or nothing when it is dropped.
    std::optional<Buffer> Take(std::size_t bytes) {
        if (queued_.empty() || bytes > queued_.front().second) return std::nullopt;
        Buffer buffer = std::move(queued_.front().first);
        queued_.pop_front();
        return buffer;
    }

    // Every queued buffer, oldest first; the queue is empty afterwards.
    std::vector<Buffer> TakeAll() {
        std::vector<Buffer> all;
        for (auto& [buffer, length] : queued_) all.push_back(std::move(buffer));
        queued_.clear();
        return all;
    }

private:
    std::deque<std::pair<Buffer, std::size_t>> queued_;
};

// The queue where only what arrived matters (the blocking host and the tests' host).
class ReceiveQueue {
public:
    void Add(int bytes) {
        if (bytes > 0) buffers_.Add(Empty{}, static_cast<std::size_t>(bytes));
    }
    int Count() const { return buffers_.Count(); }

    // The recorded bytes of the buffer the message went into, or nothing when dropped.
    std::optional<std::vector<std::uint8_t>> Fill(std::span<const std::uint8_t> message) {
        if (!buffers_.Take(message.size())) return std::nullopt;
        return std::vector<std::uint8_t>(message.begin(), message.end());
    }

    // How many buffers were returned empty.
    int Reset() { return static_cast<int>(buffers_.TakeAll().size()); }

private:
    struct Empty {};
    ReceiveBuffers<Empty> buffers_;
};

}  // namespace orb8
