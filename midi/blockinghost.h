// A DeviceHost for programs without a window (orb8tool, tests over real MIDI,
// benchmarks): it waits on a condition variable for the MIDI input, never
// spinning. Incoming messages fill the queued receive buffers as they arrive,
// on the backend's thread; the buffers reach onLong on the waiting thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/devicehost.h"
#include "device/receivequeue.h"
#include "midi/midisystem.h"

namespace orb8 {

class BlockingHost : public DeviceHost {
public:
    BlockingHost(MidiSystem& system, int outputDevice, int inputDevice);
    ~BlockingHost() override;

    std::function<void(std::string_view caption, std::string_view text)> onProgress;
    std::function<void(std::string_view text)> onMessage;
    bool answer = true;

    // Thread-safe: the Abort button of a program without windows.
    void RequestAbort();
    // Thread-safe and for good (Ctrl+C): the exchange running now and every
    // later one end at once.
    void Cancel();
    bool Cancelled() const { return cancelled_; }
    // Why the MIDI system went away under the exchange, or empty.
    std::string LostReason() const;
    // For programs nobody watches (a script): a wait for a reply that has no
    // limit of its own ends the exchange, as Abort does, once the processor
    // has been silent this long. None: it waits until the exchange is
    // cancelled, as the window program waits for its Abort button.
    void SetReplyLimit(std::optional<std::chrono::milliseconds> limit) { replyLimit_ = limit; }
    // The exchange ended because the processor did not answer in time.
    bool ReplyLimitReached() const { return silent_; }

    struct Item {
        std::string caption;
        bool enabled = false, checked = false, written = false;
    };
    std::array<Item, 16> channelItems{};
    std::vector<std::string> messages;

    int OpenOutput() override;
    int OpenInput() override;
    void CloseOutput() override;
    void CloseInput() override;
    bool OutputOpen() const override { return out_ != nullptr; }
    bool InputOpen() const override { return in_ != nullptr; }
    void Send(std::span<const std::uint8_t> message) override;
    void StartInput() override;
    void ResetInput() override;
    void QueueReceive(int bytes) override;
    int QueuedReceives() const override;
    WaitEnd WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) override;
    void Pause(std::chrono::milliseconds duration) override;
    void ProcessPending() override;
    void ShowProgress(std::string_view caption, std::string_view text) override;
    void SetProgressText(std::string_view text) override;
    void HideProgress() override {}
    bool AbortRequested() const override { return abort_; }
    void ClearAbort() override {
        abort_ = cancelled_.load();
        silent_ = false;
    }
    bool Ask(std::string_view, std::string_view) override { return answer; }
    void Inform(std::string_view text) override;
    void ShowError(std::string_view caption, std::string_view text) override;
    void SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) override;

private:
    void Arrived(std::vector<std::uint8_t> message);
    void DeliverReturned(std::unique_lock<std::mutex>& lock);

    MidiSystem& system_;
    int outputDevice_, inputDevice_;
    std::unique_ptr<MidiOut> out_;
    std::unique_ptr<MidiIn> in_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    ReceiveQueue queue_;
    std::deque<std::vector<std::uint8_t>> returned_;
    bool started_ = false;
    std::atomic<bool> abort_{false};
    std::atomic<bool> cancelled_{false};
    std::optional<std::chrono::milliseconds> replyLimit_;
    std::atomic<bool> silent_{false};
    std::string lost_;
    std::string caption_;
};

}  // namespace orb8
