#include "tests/simulatedhost.h"

#include <algorithm>

namespace orb8 {

int SimulatedHost::OpenOutput() {
    if (openOutputResult == 0) outputOpen_ = true;
    return openOutputResult;
}

int SimulatedHost::OpenInput() {
    if (openInputResult == 0) inputOpen_ = true;
    return openInputResult;
}

void SimulatedHost::CloseInput() {
    ResetInput();
    inputOpen_ = false;
    started_ = false;
}

void SimulatedHost::Send(std::span<const std::uint8_t> message) {
    if (!outputOpen_) return;
    sent.emplace_back(message.begin(), message.end());
    bytesSent += message.size();
    const auto wire = [&](std::size_t bytes) {
        return wireTiming ? kMidiByteTime * static_cast<long>(bytes) : std::chrono::microseconds{0};
    };
    // The output carries one message after another; the processor answers
    // once a message has arrived whole, and its answers queue on the input.
    const auto start = std::max(now, outputFree_);
    const auto arrived = start + wire(message.size());
    outputFree_ = arrived;
    for (Orb8Simulator* sim : sims_) {
        if (!sim) continue;
        for (Message& reply : sim->Receive(message)) {
            const auto begin = std::max(arrived + (wireTiming ? processingTime : std::chrono::microseconds{0}), inputFree_);
            const auto end = begin + wire(reply.size());
            inputFree_ = end;
            arrivals_.push_back({end, std::move(reply)});
        }
    }
}

void SimulatedHost::Deliver(const Message& bytes) {
    bytesReceived += bytes.size();
    if (!inputOpen_ || !started_) return;
    if (auto recorded = queue_.Fill(bytes)) {
        if (onLong) onLong(*recorded);
    }
}

void SimulatedHost::ResetInput() {
    const int returned = queue_.Reset();
    for (int i = 0; i < returned; ++i) {
        if (onLong) onLong({});
    }
}

WaitEnd SimulatedHost::WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) {
    ++waits;
    if (abortAtWait == waits) abort_ = true;
    const auto deadline = limit ? now + *limit : std::chrono::microseconds::max();
    for (;;) {
        if (abort_) return WaitEnd::Abort;
        if (state != ReplyNone) return WaitEnd::Reply;
        if (!arrivals_.empty() && arrivals_.front().at <= deadline) {
            const Arrival next = std::move(arrivals_.front());
            arrivals_.pop_front();
            now = std::max(now, next.at);
            Deliver(next.bytes);
            continue;
        }
        if (limit) {
            now = deadline;
            return WaitEnd::TimeLimit;
        }
        // Nothing will ever arrive: only the user's Abort ends this wait.
        ++stalls;
        abort_ = true;
    }
}

void SimulatedHost::ShowProgress(std::string_view caption, std::string_view text) {
    progressCaption = caption;
    progressTexts.emplace_back(text);
    progressVisible = true;
}

bool SimulatedHost::Ask(std::string_view caption, std::string_view text) {
    questions.push_back({std::string(caption), std::string(text)});
    return answer;
}

void SimulatedHost::ShowError(std::string_view caption, std::string_view text) {
    errors.push_back({std::string(caption), std::string(text)});
}

void SimulatedHost::SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) {
    if (channel < 0 || channel >= 16) return;
    channelItems[static_cast<std::size_t>(channel)] = {std::string(caption), enabled, checked, true};
}

std::vector<std::string> SimulatedHost::SentNames() const {
    std::vector<std::string> names;
    for (const Message& m : sent) names.emplace_back(MessageName(m));
    return names;
}

}  // namespace orb8
