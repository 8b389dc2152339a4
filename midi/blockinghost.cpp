#include "midi/blockinghost.h"

#include <thread>

#include "midi/pacedoutput.h"

namespace orb8 {

BlockingHost::BlockingHost(MidiSystem& system, int outputDevice, int inputDevice)
    : system_(system), outputDevice_(outputDevice), inputDevice_(inputDevice) {
    system_.SetLostHandler([this](const std::string& reason) {
        {
            std::lock_guard lock(mutex_);
            lost_ = reason;
        }
        Cancel();
    });
}

BlockingHost::~BlockingHost() {
    system_.SetLostHandler({});
    in_.reset();
    out_.reset();
}

void BlockingHost::RequestAbort() {
    {
        std::lock_guard lock(mutex_);
        abort_ = true;
    }
    wake_.notify_all();
}

void BlockingHost::Cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        abort_ = true;
    }
    wake_.notify_all();
}

std::string BlockingHost::LostReason() const {
    std::lock_guard lock(mutex_);
    return lost_;
}

int BlockingHost::OpenOutput() {
    int result = MidiOpenOk;
    std::unique_ptr<MidiOut> port = system_.OpenOutput(outputDevice_, result);
    if (!port) return result ? result : MidiOpenError;
    // Unpaced (the exchanges wait for answers), but a port that may block is
    // written from the output's own thread.
    out_ = std::make_unique<PacedMidiOut>(std::move(port), nullptr, kUnpaced);
    return MidiOpenOk;
}

int BlockingHost::OpenInput() {
    int result = MidiOpenOk;
    in_ = system_.OpenInput(inputDevice_, [this](std::vector<std::uint8_t> m) { Arrived(std::move(m)); }, result);
    return in_ ? MidiOpenOk : (result ? result : MidiOpenError);
}

void BlockingHost::CloseOutput() {
    out_.reset();  // lets what waits go out first, a second at the most
}

void BlockingHost::CloseInput() {
    ResetInput();
    in_.reset();
    std::lock_guard lock(mutex_);
    started_ = false;
}

void BlockingHost::Send(std::span<const std::uint8_t> message) {
    if (out_) out_->Send(message);
}

void BlockingHost::StartInput() {
    std::lock_guard lock(mutex_);
    started_ = true;
}

void BlockingHost::Arrived(std::vector<std::uint8_t> message) {
    // Only SysEx fills receive buffers; with none queued it is dropped.
    if (message.empty() || message[0] != 0xF0) return;
    {
        std::lock_guard lock(mutex_);
        if (!started_) return;
        auto recorded = queue_.Fill(message);
        if (!recorded) return;
        returned_.push_back(std::move(*recorded));
    }
    wake_.notify_all();
}

void BlockingHost::DeliverReturned(std::unique_lock<std::mutex>& lock) {
    while (!returned_.empty()) {
        std::vector<std::uint8_t> buffer = std::move(returned_.front());
        returned_.pop_front();
        lock.unlock();
        if (onLong) onLong(buffer);
        lock.lock();
    }
}

void BlockingHost::ResetInput() {
    std::unique_lock lock(mutex_);
    DeliverReturned(lock);
    const int empties = queue_.Reset();
    lock.unlock();
    for (int i = 0; i < empties; ++i) {
        if (onLong) onLong({});
    }
}

void BlockingHost::QueueReceive(int bytes) {
    std::lock_guard lock(mutex_);
    queue_.Add(bytes);
}

int BlockingHost::QueuedReceives() const {
    std::lock_guard lock(mutex_);
    return queue_.Count();
}

WaitEnd BlockingHost::WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) {
    // The processor's silence counts from the last message that came in.
    const bool silenceEnds = !limit && replyLimit_;
    const std::chrono::milliseconds span = limit ? *limit : replyLimit_.value_or(std::chrono::milliseconds(0));
    auto deadline = std::chrono::steady_clock::now() + span;
    std::unique_lock lock(mutex_);
    for (;;) {
        const bool arrived = !returned_.empty();
        DeliverReturned(lock);
        if (abort_) return WaitEnd::Abort;
        if (state != ReplyNone) return WaitEnd::Reply;
        if (arrived && silenceEnds) deadline = std::chrono::steady_clock::now() + span;
        if (limit || silenceEnds) {
            if (wake_.wait_until(lock, deadline) == std::cv_status::timeout && returned_.empty() && !abort_) {
                if (limit) return WaitEnd::TimeLimit;
                silent_ = true;
                abort_ = true;
                return WaitEnd::Abort;
            }
        } else {
            wake_.wait(lock);
        }
    }
}

void BlockingHost::Pause(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, duration, [&] { return abort_.load(); });
}

void BlockingHost::ProcessPending() {
    std::unique_lock lock(mutex_);
    DeliverReturned(lock);
}

void BlockingHost::ShowProgress(std::string_view caption, std::string_view text) {
    caption_ = caption;
    if (onProgress) onProgress(caption, text);
}

void BlockingHost::SetProgressText(std::string_view text) {
    if (onProgress) onProgress(caption_, text);
}

void BlockingHost::Inform(std::string_view text) {
    messages.emplace_back(text);
    if (onMessage) onMessage(text);
}

void BlockingHost::ShowError(std::string_view caption, std::string_view text) {
    const std::string line = std::string(caption) + " " + std::string(text);
    messages.push_back(line);
    if (onMessage) onMessage(line);
}

void BlockingHost::SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) {
    if (channel < 0 || channel >= 16) return;
    channelItems[static_cast<std::size_t>(channel)] = {std::string(caption), enabled, checked, true};
}

}  // namespace orb8
