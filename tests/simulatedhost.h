// A DeviceHost on a virtual clock, talking to an in-process simulated ORB-8.
// Sends take the MIDI wire time (320 microseconds a byte, both ways) plus the
// simulator's processing time, or no time at all; waits advance the clock to
// the next arrival or the time limit, so nothing ever sleeps. Tests script the
// user's answers and the Abort button through it.
#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device/devicehost.h"
#include "device/receivequeue.h"
#include "device/wiretime.h"
#include "sim/orb8simulator.h"

namespace orb8 {

class SimulatedHost : public DeviceHost {
public:
    // Every simulator is connected to the same ports (a MIDI chain); none is
    // "nothing connected".
    explicit SimulatedHost(std::vector<Orb8Simulator*> simulators) : sims_(std::move(simulators)) {}
    explicit SimulatedHost(Orb8Simulator* simulator) : sims_{simulator} {}


    // Timing: off gives an instant processor.
    bool wireTiming = true;
    std::chrono::microseconds processingTime{0};
    std::chrono::microseconds now{0};

    // Scripted user: the answer to every question, and the wait at which the
    // Abort button is pressed (1-based; 0 never).
    bool answer = true;
    int abortAtWait = 0;
    int openOutputResult = 0, openInputResult = 0;

    // What happened.
    struct Box {
        std::string caption, text;
    };
    std::vector<Box> questions, informs, errors;
    std::vector<std::string> progressTexts;
    std::string progressCaption;
    bool progressVisible = false;
    int waits = 0;
    int stalls = 0;  // waits that nothing could end but Abort
    std::vector<Message> sent;
    std::uint64_t bytesSent = 0, bytesReceived = 0;
    struct Item {
        std::string caption;
        bool enabled = false, checked = false, written = false;
    };
    std::array<Item, 16> channelItems{};

    int OpenOutput() override;
    int OpenInput() override;
    void CloseOutput() override { outputOpen_ = false; }
    void CloseInput() override;
    bool OutputOpen() const override { return outputOpen_; }
    bool InputOpen() const override { return inputOpen_; }
    void Send(std::span<const std::uint8_t> message) override;
    void StartInput() override { started_ = true; }
    void ResetInput() override;
    void QueueReceive(int bytes) override { queue_.Add(bytes); }
    int QueuedReceives() const override { return queue_.Count(); }
    WaitEnd WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) override;
    void Pause(std::chrono::milliseconds duration) override { now += duration; }
    void ProcessPending() override {}
    void ShowProgress(std::string_view caption, std::string_view text) override;
    void SetProgressText(std::string_view text) override { progressTexts.emplace_back(text); }
    void HideProgress() override { progressVisible = false; }
    bool AbortRequested() const override { return abort_; }
    void ClearAbort() override { abort_ = false; }
    bool Ask(std::string_view caption, std::string_view text) override;
    void Inform(std::string_view text) override { informs.push_back({"", std::string(text)}); }
    void ShowError(std::string_view caption, std::string_view text) override;
    void SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) override;

    // The names of the messages sent, in order.
    std::vector<std::string> SentNames() const;

private:
    struct Arrival {
        std::chrono::microseconds at;
        Message bytes;
    };
    void Deliver(const Message& bytes);

    std::vector<Orb8Simulator*> sims_;
    ReceiveQueue queue_;
    std::deque<Arrival> arrivals_;
    std::chrono::microseconds outputFree_{0}, inputFree_{0};
    bool outputOpen_ = false, inputOpen_ = false, started_ = false, abort_ = false;
};

}  // namespace orb8
