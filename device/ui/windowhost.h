// The window program's DeviceHost. An exchange with the processor runs as
// plain sequential code on a worker thread of its own (Run); the windows stay
// live meanwhile. The worker sends through TMidi and waits on a condition
// variable for the receive buffers that TMidi hands back on the window
// thread, for Abort, or for the time limit. What the exchange shows (progress,
// messages, the channel items) reaches the window thread as queued calls; a
// question it asks is answered there and the worker waits for the answer.
// Opening, closing and resetting the ports run on the window thread, which
// never waits for the worker. The progress window appears only once an
// exchange has lasted half a second; its Abort sets the exchange's
// cancellation and nothing else.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "device/devicehost.h"

class TMidi;
class TProgressWin;
class UserDialogs;
class QWidget;

class WindowDeviceHost : public QObject, public orb8::DeviceHost {
    Q_OBJECT

public:
    WindowDeviceHost(TMidi& midi, UserDialogs& dialogs, QWidget* dialogParent);
    // The progress window, made after the host (it is one of the windows made in order).
    void SetProgressWindow(TProgressWin& progress);
    // Ends a running exchange (as Abort does) and waits for its thread.
    ~WindowDeviceHost() override;

    static constexpr int kProgressDelayMs = 500;

    // Runs `exchange` on the worker, then `done` on the window thread. False
    // (and nothing runs) while another exchange runs.
    bool Run(std::function<void()> exchange, std::function<void()> done);
    // From Run until its `done` has run.
    bool ExchangeRunning() const { return running_; }
    // Sets the running exchange's cancellation, as Abort does.
    void RequestAbort();
    // Aborts the running exchange and waits for its thread; its `done` never
    // runs. For the frame's end: nothing the exchange uses may go first.
    void EndExchange();

    std::function<void(int channel, const QString& caption, bool enabled, bool checked)> onChannelItem;

signals:
    // An exchange run by Run has ended, and its `done` has run.
    void Ended();

public:

    int OpenOutput() override;
    int OpenInput() override;
    void CloseOutput() override;
    void CloseInput() override;
    bool OutputOpen() const override;
    bool InputOpen() const override;
    void Send(std::span<const std::uint8_t> message) override;
    void StartInput() override;
    void ResetInput() override;
    void QueueReceive(int bytes) override;
    int QueuedReceives() const override;
    orb8::WaitEnd WaitForReply(const orb8::ReplyState& state, std::optional<std::chrono::milliseconds> limit) override;
    void Pause(std::chrono::milliseconds duration) override;
    void ProcessPending() override {}
    void ShowProgress(std::string_view caption, std::string_view text) override;
    void SetProgressText(std::string_view text) override;
    void SetProgressValue(int done, int total) override;
    void HideProgress() override;
    bool AbortRequested() const override { return abort_; }
    void ClearAbort() override;
    bool Ask(std::string_view caption, std::string_view text) override;
    void Inform(std::string_view text) override;
    void ShowError(std::string_view caption, std::string_view text) override;
    void SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) override;
    // What a transfer received is applied by the caller's `done`, on the window thread.

private:
    bool OnWindowThread() const;
    // Runs f on the window thread and returns its result; on the window
    // thread itself at once. Gives up (default result) when the host ends.
    template <class F>
    auto OnWindow(F f) -> decltype(f());
    // The receive buffers TMidi gave back, to the classifier on this thread.
    void DeliverReturned();
    void Post(std::function<void()> call);

    TMidi& midi_;
    TProgressWin* progress_ = nullptr;
    UserDialogs& dialogs_;
    QPointer<QWidget> dialogParent_;
    QTimer showLater_;
    bool running_ = false;  // the window thread's view
    std::thread worker_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::vector<std::uint8_t>> returned_;
    std::atomic<bool> abort_{false};
    std::atomic<bool> ending_{false};  // the host goes: every wait ends
};
