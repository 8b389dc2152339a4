// The program's MIDI output paced to the wire: a message is handed to the MIDI
// system only when the one before it has had its wire time, so everything not
// yet on the wire is still here, where a newer value can replace it. A
// message that a newer one makes pointless (a parameter's value, when the
// same parameter's next value waits behind it) is dropped and the newer one
// goes to the end; nothing else is ever dropped or reordered.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include "midi/midibackend.h"
#include "midi/wireclock.h"

namespace orb8 {

// The wire time of a byte on a link that is not paced.
inline constexpr std::chrono::microseconds kUnpaced{0};

// The paces a user can choose for the output, slowest first: a MIDI cable,
// links twice and ten times as fast, and none. `key` names it in settings.
struct OutputPace {
    const char* key;
    std::chrono::microseconds byteTime;
};
inline constexpr std::array<OutputPace, 4> kOutputPaces = {{
    {"midi", kMidiByteTime},
    {"2x", kMidiByteTime / 2},
    {"10x", kMidiByteTime / 10},
    {"unpaced", kUnpaced},
}};
// The pace of a key from settings; a MIDI cable for an unknown or missing one.
inline std::chrono::microseconds OutputPaceOf(std::string_view key) {
    for (const OutputPace& pace : kOutputPaces)
        if (key == pace.key) return pace.byteTime;
    return kMidiByteTime;
}

// The messages still to go out, and which of them a newer one replaces.
class PacingQueue {
public:
    // The key of a message that a newer one with the same key makes
    // pointless; none for every other message.
    using KeyOf = std::function<std::optional<int>(std::span<const std::uint8_t>)>;

    explicit PacingQueue(KeyOf keyOf) : keyOf_(std::move(keyOf)) {}

    // Appends a message. A keyed message first removes a waiting one with its
    // key, as long as only keyed messages stand between them: a message of
    // another kind (a dump, a request, a patch change) is a fence that
    // nothing moves across. True when a waiting message was removed.
    // replace false: nothing is replaced (an unpaced link sends every value).
    bool Push(std::vector<std::uint8_t> message, bool replace = true);
    std::optional<std::vector<std::uint8_t>> Pop();
    void Clear();

    bool Empty() const { return messages_.empty(); }
    std::size_t Messages() const { return messages_.size(); }
    std::size_t Bytes() const { return bytes_; }

private:
    struct Waiting {
        std::vector<std::uint8_t> bytes;
        std::optional<int> key;
    };
    KeyOf keyOf_;
    std::deque<Waiting> messages_;
    std::size_t bytes_ = 0;
};

// One thread per port: it paces the wire and is the only writer of a port
// whose sends may block (MayBlock). When such a port stops taking messages,
// closing gives up after the queued wire time and a second more, and leaves
// the thread to the stuck send.
class PacedMidiOut : public MidiOut {
public:
    // inner: the MIDI system's output; byteTime: the wire time of a byte
    // (kUnpaced: none); clock: what the wire is timed by (none: the monotonic clock).
    PacedMidiOut(std::unique_ptr<MidiOut> inner, PacingQueue::KeyOf keyOf, std::chrono::microseconds byteTime,
                 std::shared_ptr<WireClock> clock = nullptr);
    ~PacedMidiOut() override;  // what waits goes out first, as long as its wire time

    void Send(std::span<const std::uint8_t> message) override;
    // Waits until every message has been handed on and has had its wire time.
    bool Drain(std::chrono::milliseconds limit) override;

    void SetByteTime(std::chrono::microseconds byteTime);
    // Bytes not yet handed to the MIDI system, and messages dropped as replaced so far.
    std::size_t UnsentBytes() const;
    int Dropped() const;

private:
    using Clock = std::chrono::steady_clock;
    // Shared with the thread, which outlives this object when a send hangs.
    struct State {
        explicit State(PacingQueue::KeyOf keyOf) : queue(std::move(keyOf)) {}
        std::unique_ptr<MidiOut> inner;
        bool innerMayBlock = false;
        std::shared_ptr<WireClock> clock;
        mutable std::mutex mutex;
        std::condition_variable wake, drained;
        PacingQueue queue;
        std::chrono::microseconds byteTime{};
        Clock::time_point wireFree{};  // when the last message handed on has had its wire time
        bool busy = false, stop = false;
        int dropped = 0;
    };
    static void Run(std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace orb8
