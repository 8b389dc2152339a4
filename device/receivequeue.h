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
#include <vector>

namespace orb8 {

class ReceiveQueue {
public:
    void Add(int bytes) {
        if (bytes > 0) sizes_.push_back(static_cast<std::size_t>(bytes));
    }
    int Count() const { return static_cast<int>(sizes_.size()); }

    // The recorded bytes of the buffer the message went into, or nothing when dropped.
    std::optional<std::vector<std::uint8_t>> Fill(std::span<const std::uint8_t> message) {
        if (sizes_.empty() || message.size() > sizes_.front()) return std::nullopt;
        sizes_.pop_front();
        return std::vector<std::uint8_t>(message.begin(), message.end());
    }

    // How many buffers were returned empty.
    int Reset() {
        const int n = Count();
        sizes_.clear();
        return n;
    }

private:
    std::deque<std::size_t> sizes_;
};

}  // namespace orb8
