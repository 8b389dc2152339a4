// What an exchange with the processor needs of the program around it: a
// transport (the MIDI ports, a way to wait) and an observer (the progress
// window, questions and messages). The window program runs exchanges on a
// thread of their own; orb8tool waits on its ports, tests on a virtual clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "device/messages.h"

namespace orb8 {

class ProjectDocument;
struct CustomDistDocument;

enum class WaitEnd { Reply, Abort, TimeLimit };

// The MIDI side of an exchange: the ports, sending, the receive buffers, and
// waiting for a reply with a time limit or until the exchange is cancelled.
class ExchangeTransport {
public:
    virtual ~ExchangeTransport() = default;

    // Where every returned receive buffer goes, on the thread that waits: the
    // link's classifier. A DeviceLink sets it when it is made.
    std::function<void(std::span<const std::uint8_t>)> onLong;

    // MIDI ports. Open results: 0 success, 2 invalid device, 4 occupied,
    // 7 no memory, anything else a general error.
    virtual int OpenOutput() = 0;
    virtual int OpenInput() = 0;
    virtual void CloseOutput() = 0;
    virtual void CloseInput() = 0;
    virtual bool OutputOpen() const = 0;
    virtual bool InputOpen() const = 0;
    // Sends one message; nothing is sent while the output is closed.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
    virtual void StartInput() = 0;
    // Returns every queued receive buffer with nothing recorded; they have
    // reached the classifier before this returns.
    virtual void ResetInput() = 0;
    virtual void QueueReceive(int bytes) = 0;
    virtual int QueuedReceives() const = 0;

    // Sleeps until state is no longer ReplyNone, the exchange is cancelled
    // (Abort) or the limit (when given) has passed.
    virtual WaitEnd WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) = 0;
    // A short pause (after each clipper read, before fetching custom settings).
    virtual void Pause(std::chrono::milliseconds duration) = 0;
    // The exchange's cancellation: set by Abort, cleared as an exchange begins.
    virtual bool AbortRequested() const = 0;
    virtual void ClearAbort() = 0;
};

// What the user sees of an exchange: its progress, its questions (answered
// before the exchange goes on), its messages and the Channel menu's items.
class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;

    // The progress window.
    virtual void ShowProgress(std::string_view caption, std::string_view text) = 0;
    virtual void SetProgressText(std::string_view text) = 0;
    // How far the exchange has come: done of total steps.
    virtual void SetProgressValue(int /*done*/, int /*total*/) {}
    virtual void HideProgress() = 0;

    // Message boxes.
    virtual bool Ask(std::string_view caption, std::string_view text) = 0;
    virtual void Inform(std::string_view text) = 0;
    virtual void ShowError(std::string_view caption, std::string_view text) = 0;

    // The Channel menu: what answered on each channel.
    virtual void SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) = 0;
};

// Both, as an exchange uses them.
class DeviceHost : public ExchangeTransport, public ExchangeObserver {
public:
    // Lets pending work of the program around run between the steps of a
    // long exchange (a host that runs the exchange on its own thread has none).
    virtual void ProcessPending() {}
};

}  // namespace orb8
