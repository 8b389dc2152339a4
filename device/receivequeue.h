// The MIDI input's queue of receive buffers: each incoming SysEx message fills
// the oldest queued buffer, cut to that buffer's length; with no buffer queued
// the message is dropped. A reset returns every buffer with nothing recorded.
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
        if (sizes_.empty()) return std::nullopt;
        const std::size_t size = sizes_.front();
        sizes_.pop_front();
        const std::size_t n = message.size() < size ? message.size() : size;
        return std::vector<std::uint8_t>(message.begin(), message.begin() + static_cast<std::ptrdiff_t>(n));
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
