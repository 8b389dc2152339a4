#include "device/ui/windowhost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QWindow>
#include <QWidget>

#include "workspace/ui/userdialogs.h"
#include "customdist/customdistdata.h"
#include "patch/projectdocument.h"
#include "device/ui/progresswin.h"
#include "midi/midi.h"

using namespace orb8;

namespace {
QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

WindowDeviceHost::WindowDeviceHost(TMidi& midi, UserDialogs& dialogs, QWidget* dialogParent)
    : midi_(midi), dialogs_(dialogs), dialogParent_(dialogParent) {
    midi_.OnLong = [this](TMidi*, std::uint32_t, MidiReceiveBuffer* buffer) {
        if (onLong) onLong(std::span<const std::uint8_t>(buffer->data.data(), static_cast<std::size_t>(buffer->recorded)));
        midi_.DeleteBuf(buffer);
        WakeWait();
    };
    showLater_.setSingleShot(true);
    connect(&showLater_, &QTimer::timeout, this, [this] {
        if (running_ && progress_) progress_->ShowCentred();
    });
}

void WindowDeviceHost::SetProgressWindow(TProgressWin& progress) {
    progress_ = &progress;
    connect(progress_, &TProgressWin::Aborted, this, &WindowDeviceHost::WakeWait);
}

WindowDeviceHost::~WindowDeviceHost() {
    midi_.OnLong = nullptr;
    if (running_) qApp->removeEventFilter(this);
}

int WindowDeviceHost::OpenOutput() { return midi_.OpenMidiOut(); }
int WindowDeviceHost::OpenInput() { return midi_.OpenMidiIn(); }
void WindowDeviceHost::CloseOutput() { midi_.CloseMidiOut(); }
void WindowDeviceHost::CloseInput() { midi_.CloseMidiIn(); }
bool WindowDeviceHost::OutputOpen() const { return midi_.OutputOpen(); }
bool WindowDeviceHost::InputOpen() const { return midi_.InputOpen(); }

void WindowDeviceHost::Send(std::span<const std::uint8_t> message) {
    midi_.Send(message.data(), static_cast<int>(message.size()));
}

void WindowDeviceHost::StartInput() { midi_.Start(); }
void WindowDeviceHost::ResetInput() { midi_.Reset(); }
void WindowDeviceHost::QueueReceive(int bytes) { midi_.AddBuf(bytes); }
int WindowDeviceHost::QueuedReceives() const { return midi_.QueuedBuffers(); }

void WindowDeviceHost::WakeWait() {
    if (wait_) wait_->quit();
}

WaitEnd WindowDeviceHost::WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) {
    QElapsedTimer clock;
    clock.start();
    // The time limit runs from when the message waited on is on the wire:
    // what was sent before it goes out first, paced.
    if (limit) *limit += std::chrono::ceil<std::chrono::milliseconds>(midi_.UnsentWireTime());
    for (;;) {
        if (progress_->AbortFlag) return WaitEnd::Abort;
        if (state != ReplyNone) return WaitEnd::Reply;
        QTimer timer;
        if (limit) {
            const qint64 left = limit->count() - clock.elapsed();
            if (left <= 0) return WaitEnd::TimeLimit;
            timer.setSingleShot(true);
            timer.setTimerType(Qt::PreciseTimer);
            timer.start(static_cast<int>(left));
        }
        // Sleeps until a reply, Abort or the timer wakes it; never polls.
        QEventLoop loop;
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        wait_ = &loop;
        loop.exec();
        wait_ = nullptr;
    }
}

void WindowDeviceHost::Pause(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(duration.count()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void WindowDeviceHost::ProcessPending() { QCoreApplication::processEvents(); }

void WindowDeviceHost::ShowProgress(std::string_view caption, std::string_view text) {
    progress_->setWindowTitle(Text(caption));
    progress_->SetText(Text(text));
    progress_->SetProgress(0, 0);
    if (!running_) {
        running_ = true;
        qApp->installEventFilter(this);  // input is held from the start
    }
    if (!progress_->isVisible()) showLater_.start(kProgressDelayMs);
}

void WindowDeviceHost::SetProgressText(std::string_view text) { progress_->SetText(Text(text)); }
void WindowDeviceHost::SetProgressValue(int done, int total) { progress_->SetProgress(done, total); }

void WindowDeviceHost::HideProgress() {
    showLater_.stop();
    progress_->hide();
    if (running_) {
        running_ = false;
        qApp->removeEventFilter(this);
    }
}

bool WindowDeviceHost::AbortRequested() const { return progress_->AbortFlag; }
void WindowDeviceHost::ClearAbort() { progress_->AbortFlag = false; }

bool WindowDeviceHost::Ask(std::string_view caption, std::string_view text) {
    return dialogs_.AskYesNo(dialogParent_, Text(caption), Text(text));
}

void WindowDeviceHost::Inform(std::string_view text) { dialogs_.Inform(dialogParent_, tr("ORB-8ED"), Text(text)); }

void WindowDeviceHost::ShowError(std::string_view caption, std::string_view text) {
    dialogs_.ShowError(dialogParent_, Text(caption), Text(text));
}

void WindowDeviceHost::SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) {
    if (onChannelItem) onChannelItem(channel, Text(caption), enabled, checked);
}

void WindowDeviceHost::ProjectReceived(ProjectDocument& project) {
    if (onProjectReceived) onProjectReceived(project);
    else project.SetModified();
}

void WindowDeviceHost::CustomDistReceived(CustomDistDocument& document) {
    if (onCustomDistReceived) onCustomDistReceived(document);
    else document.modified = true;
}

// The progress window and any modal box raised during the exchange pass.
// A box closes through its window (QWindow) as well as its widget: both pass.
bool WindowDeviceHost::Passes(QObject* watched) const {
    const QWidget* modal = QApplication::activeModalWidget();
    if (const auto* handle = qobject_cast<const QWindow*>(watched))
        return handle == progress_->windowHandle() || (modal && handle == modal->windowHandle());
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget) return false;
    const QWidget* window = widget->window();
    return window == progress_ || (window && window == modal);
}

bool WindowDeviceHost::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return !Passes(watched);
        case QEvent::Close:
            // A window that closes now could free a document the exchange writes.
            if (!Passes(watched)) {
                event->ignore();
                return true;
            }
            return false;
        default:
            return false;
    }
}
