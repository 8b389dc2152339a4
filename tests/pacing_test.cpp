// Output paced to the wire: which waiting messages a newer one replaces, what
// the MIDI system is handed and when, and the simulated processor taking each
// message only when its last byte has arrived.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "device/messages.h"
#include "midi/pacedoutput.h"
#include "sim/simulateddevice.h"

using namespace orb8;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::uint8_t> Pc(int parameter, int value, int channel = 0) { return ParameterChange(channel, parameter, value); }

// What the MIDI system is handed, and when. The first message is held at
// the door until the test opens it, so that everything sent meanwhile waits
// in the paced output whatever the machine's load.
struct RecordingOut : MidiOut {
    struct Handed {
        std::vector<std::uint8_t> bytes;
        Clock::time_point at;
    };
    std::function<void(std::span<const std::uint8_t>)> forward;
    const WireClock* clock = nullptr;  // what `at` is read from (none: the monotonic clock)
    std::mutex mutex;
    std::condition_variable changed;
    bool holdFirst = false, open = false;
    std::vector<Handed> handed;
    void Send(std::span<const std::uint8_t> m) override {
        std::unique_lock lock(mutex);
        handed.push_back({{m.begin(), m.end()}, clock ? clock->Now() : Clock::now()});
        changed.notify_all();
        if (holdFirst) changed.wait(lock, [&] { return open; });
        holdFirst = false;
        if (forward) forward(m);
    }
    bool Drain(std::chrono::milliseconds) override { return true; }
    void WaitForFirst() { WaitFor(1); }
    void WaitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return handed.size() >= count; });
    }
    void Open() {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
    std::vector<Handed> Take() {
        std::lock_guard lock(mutex);
        return handed;
    }
};

// A message as the simulator's log shows it.
std::string Line(const std::vector<std::uint8_t>& m) {
    std::string s;
    for (std::uint8_t b : m) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", b);
        s += hex;
    }
    s.pop_back();
    return s + "  " + std::string(MessageName(m));
}

// The processor's edit buffer byte, read under the simulator's lock.
int EditByte(SimulatedDevice& device, int byte) {
    return device.With([byte](Orb8Simulator& s) { return int(s.editBuffer[static_cast<std::size_t>(byte)]); });
}

}  // namespace

TEST(PacingQueue, ANewerValueReplacesTheWaitingOneButNeverCrossesAnotherMessage) {
    PacingQueue queue(ParameterChangeKey);
    const auto request = PatchRequest(0, 3);
    EXPECT_FALSE(queue.Push(Pc(20, 1)));
    EXPECT_FALSE(queue.Push(Pc(21, 1)));
    EXPECT_TRUE(queue.Push(Pc(20, 2)));  // 20 moves to the end with its new value
    EXPECT_FALSE(queue.Push(Pc(20, 2, 1)));  // another channel is another key
    EXPECT_FALSE(queue.Push(request));
    EXPECT_FALSE(queue.Push(Pc(20, 3)));  // the request is a fence: 20=2 goes out before it
    EXPECT_TRUE(queue.Push(Pc(20, 4)));
    EXPECT_FALSE(queue.Push(request));   // requests are never merged
    const std::vector<std::vector<std::uint8_t>> expected = {Pc(21, 1), Pc(20, 2), Pc(20, 2, 1), request,
                                                             Pc(20, 4), request};
    std::size_t bytes = 0;
    for (const auto& m : expected) bytes += m.size();
    EXPECT_EQ(queue.Bytes(), bytes);
    for (const auto& m : expected) EXPECT_EQ(queue.Pop(), m);
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.Bytes(), 0u);
    EXPECT_FALSE(queue.Pop());

    // A type change and the parameters that follow it keep their order, each with its last value.
    EXPECT_FALSE(queue.Push(Pc(19, 5)));   // a parameter of the old type
    EXPECT_FALSE(queue.Push(Pc(18, 2)));   // the type
    EXPECT_TRUE(queue.Push(Pc(19, 7)));    // the new type's parameter
    EXPECT_EQ(queue.Pop(), Pc(18, 2));
    EXPECT_EQ(queue.Pop(), Pc(19, 7));
}

// A burst of one parameter's values while the wire is busy: the MIDI system
// is handed the first and the last, each message exactly when the one before
// it has had its wire time; every other message is handed, in order. The
// wire is timed by a clock the test moves.
TEST(PacedOutput, HandsOnAtWireSpeedAndOnlyTheLastValue) {
    auto clock = std::make_shared<ManualWireClock>();
    auto* out = new RecordingOut;
    out->clock = clock.get();
    PacedMidiOut paced(std::unique_ptr<MidiOut>(out), ParameterChangeKey, kMidiByteTime, clock);
    const auto request = PatchRequest(0, 3);
    paced.Send(Pc(20, 0));
    out->WaitForFirst();
    // The clock stands still: everything sent now waits behind the first message.
    for (int v = 1; v < 200; ++v) paced.Send(Pc(20, v));
    paced.Send(request);
    paced.Send(Pc(20, 200));
    EXPECT_EQ(paced.UnsentBytes(), 2 * Pc(20, 0).size() + request.size());
    clock->Advance(WireTime(Pc(20, 0).size()) - 1us);  // a microsecond short: the pacer wakes and waits on
    for (std::size_t n = 2; n <= 4; ++n) {
        clock->Advance(n == 2 ? 1us : WireTime(out->Take().back().bytes.size()));
        out->WaitFor(n);
    }
    clock->Advance(WireTime(Pc(20, 200).size()));
    EXPECT_TRUE(paced.Drain(2000ms));
    EXPECT_EQ(paced.UnsentBytes(), 0u);
    const auto handed = out->Take();
    ASSERT_EQ(handed.size(), 4u);
    EXPECT_EQ(handed[0].bytes, Pc(20, 0));
    EXPECT_EQ(handed[1].bytes, Pc(20, 199));
    EXPECT_EQ(handed[2].bytes, request);
    EXPECT_EQ(handed[3].bytes, Pc(20, 200));
    EXPECT_EQ(paced.Dropped(), 198);
    for (std::size_t i = 1; i < handed.size(); ++i)
        EXPECT_EQ(handed[i].at - handed[i - 1].at, WireTime(handed[i - 1].bytes.size())) << i;

    // Unpaced, every value is handed on as it comes, in order: none is
    // replaced, whatever the threads' timing.
    auto* direct = new RecordingOut;  // owned by `unpaced`
    PacedMidiOut unpaced(std::unique_ptr<MidiOut>(direct), ParameterChangeKey, kUnpaced);
    for (int v = 0; v < 50; ++v) unpaced.Send(Pc(20, v));
    ASSERT_TRUE(unpaced.Drain(1000ms));
    const auto all = direct->Take();
    ASSERT_EQ(all.size(), 50u);
    for (int v = 0; v < 50; ++v) EXPECT_EQ(all[static_cast<std::size_t>(v)].bytes, Pc(20, v));
    EXPECT_EQ(unpaced.Dropped(), 0);
}

// A port whose sends may wait for the MIDI system is written only from the
// output's thread, even unpaced: a held send never holds the caller, and
// what comes meanwhile follows in order.
TEST(PacedOutput, APortThatMayBlockIsNeverWrittenFromTheCaller) {
    struct BlockingPort : RecordingOut {
        std::thread::id caller = std::this_thread::get_id();
        std::atomic<bool> onCaller{false};
        bool MayBlock() const override { return true; }
        void Send(std::span<const std::uint8_t> m) override {
            if (std::this_thread::get_id() == caller) onCaller = true;
            RecordingOut::Send(m);
        }
    };
    auto* port = new BlockingPort;  // owned by `out`
    port->holdFirst = true;
    PacedMidiOut out(std::unique_ptr<MidiOut>(port), ParameterChangeKey, kUnpaced);
    for (int v = 0; v < 3; ++v) out.Send(Pc(20, v));
    port->WaitForFirst();
    EXPECT_FALSE(out.Drain(0ms));  // the first is still in the port
    port->Open();
    ASSERT_TRUE(out.Drain(5000ms));
    const auto handed = port->Take();
    ASSERT_EQ(handed.size(), 3u);
    for (int v = 0; v < 3; ++v) EXPECT_EQ(handed[static_cast<std::size_t>(v)].bytes, Pc(20, v));
    EXPECT_FALSE(port->onCaller);
}

// The simulated processor takes a message when its last byte has arrived,
// and its log says when that was.
TEST(SimulatedDevice, TakesAMessageWhenItHasArrivedAndLogsTheTime) {
    SimulatedDevice device(0, SimTiming{true, {}});
    std::atomic<int> replies{0};
    device.SetReplyHandler([&](std::vector<std::uint8_t>) { ++replies; });
    const int before = EditByte(device, 20);
    const auto sent = Clock::now();
    for (int v = 1; v <= 10; ++v) device.Send(Pc(20, (before + v) & 0x7F));
    device.Send(IdentityRequest(0));
    // Eleven messages of 9 and 6 bytes: about 30 ms on the wire.
    if (Clock::now() - sent < 2ms) {
        EXPECT_EQ(EditByte(device, 20), before);
    }
    ASSERT_TRUE(device.WaitIdle(5000ms));
    EXPECT_EQ(replies, 1);
    EXPECT_GE(Clock::now() - sent, kMidiByteTime * (10 * 9 + 6));
    EXPECT_EQ(EditByte(device, 20), (before + 10) & 0x7F);
    device.With([&](Orb8Simulator& s) {
        const auto& times = s.LogTimes();
        EXPECT_EQ(times.size(), 11u);
        // Each message's last byte a wire time of that message after the one before.
        for (std::size_t i = 1; i < times.size(); ++i)
            EXPECT_GE(times[i] - times[i - 1], (i < 10 ? 9 : 6) * 0.320 - 1e-6) << i;
        EXPECT_NE(s.TimedLog().find(" ms  F0 52 00 21 30 14"), std::string::npos);
        return 0;
    });
}

// A knob whipped across its range through the paced output while the wire
// is busy, then a whole edit buffer, then a type change and its parameter:
// the processor gets the drag's last value, the dump in its place, and the
// type before its parameter; replaced values never go on the wire.
TEST(PacedOutput, AFastDragEndsAtTheFinalValueOnTheWireTimedProcessor) {
    SimulatedDevice device(0, SimTiming{true, {}});
    auto* out = new RecordingOut;
    out->holdFirst = true;
    out->forward = [&device](std::span<const std::uint8_t> m) { device.Send(m); };
    PacedMidiOut paced(std::unique_ptr<MidiOut>(out), ParameterChangeKey, kMidiByteTime);
    PatchData patch = device.With([](Orb8Simulator& s) { return s.editBuffer; });
    patch[20] = 77;
    patch[18] = 2;

    paced.Send(Pc(18, 3));
    out->WaitForFirst();
    for (int v = 0; v <= 120; ++v) paced.Send(Pc(20, v));
    paced.Send(EditBufferWrite(0, patch));
    paced.Send(Pc(20, 121));
    paced.Send(Pc(18, 4));
    paced.Send(Pc(20, 5));  // the new type's parameter: after the type, whose change it follows
    out->Open();
    ASSERT_TRUE(paced.Drain(5000ms));
    ASSERT_TRUE(device.WaitIdle(5000ms));

    EXPECT_EQ(EditByte(device, 18), 4);
    EXPECT_EQ(EditByte(device, 20), 5);
    device.With([&](Orb8Simulator& s) {
        const std::vector<std::string> expected = {"ParameterChange", "ParameterChange", "EditBufferWrite",
                                                   "ParameterChange", "ParameterChange"};
        EXPECT_EQ(s.ReceivedNames(), expected);
        const auto& log = s.Log();
        if (log.size() == expected.size()) {
            EXPECT_EQ(log[1], Line(Pc(20, 120)));
            EXPECT_EQ(log[3], Line(Pc(18, 4)));
            EXPECT_EQ(log[4], Line(Pc(20, 5)));
        }
        return 0;
    });
}
