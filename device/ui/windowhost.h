// The window program's DeviceHost: the ports through TMidi, waits in a
// nested event loop that sleeps until a reply, Abort or the time limit, and
// the progress window. While an exchange runs no window but the progress
// window (and a message box it raises) takes input or closes, so no second
// exchange, edit or close can come in between; the progress window itself
// appears only once an exchange has lasted half a second.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "device/devicehost.h"

class QEventLoop;
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
    ~WindowDeviceHost() override;

    static constexpr int kProgressDelayMs = 500;

    // Between ShowProgress and HideProgress.
    bool ExchangeRunning() const { return running_; }

    std::function<void(int channel, const QString& caption, bool enabled, bool checked)> onChannelItem;
    std::function<void(orb8::ProjectDocument&)> onProjectReceived;
    std::function<void(orb8::CustomDistDocument&)> onCustomDistReceived;

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
    void ProcessPending() override;
    void ShowProgress(std::string_view caption, std::string_view text) override;
    void SetProgressText(std::string_view text) override;
    void SetProgressValue(int done, int total) override;
    void HideProgress() override;
    bool AbortRequested() const override;
    void ClearAbort() override;
    bool Ask(std::string_view caption, std::string_view text) override;
    void Inform(std::string_view text) override;
    void ShowError(std::string_view caption, std::string_view text) override;
    void SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) override;
    void ProjectReceived(orb8::ProjectDocument& project) override;
    void CustomDistReceived(orb8::CustomDistDocument& document) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WakeWait();
    bool Passes(QObject* watched) const;

    TMidi& midi_;
    TProgressWin* progress_ = nullptr;
    UserDialogs& dialogs_;
    QPointer<QWidget> dialogParent_;
    QEventLoop* wait_ = nullptr;
    QTimer showLater_;
    bool running_ = false;
};
