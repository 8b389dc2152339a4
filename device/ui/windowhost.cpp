#include "device/ui/windowhost.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>
#include <memory>

#include "device/ui/progresswin.h"
#include "device/ui/midi.h"
#include "workspace/ui/userdialogs.h"

using namespace orb8;

namespace {

// The exchanges' own texts, which the window layer translates.
constexpr const char* kExchangeTexts[] = {
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Data failure."),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Not be OnLine."),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "There are no ORB-8 found."),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Couldn't Open Midi."),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Get Patches from ORB-8.\nThis takes little while.\nExecute?"),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Send Patches to ORB-8.\nThis takes little while.\nExecute?"),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Get CustomDists from ORB-8.\nThis takes little while.\nExecute?"),
    QT_TRANSLATE_NOOP("WindowDeviceHost", "Send Filters to ORB-8.\nThis takes little while.\nExecute?"),
};

QString Text(std::string_view text) {
    const QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (const char* known : kExchangeTexts)
        if (plain == QLatin1String(known)) return QCoreApplication::translate("WindowDeviceHost", known);
    return plain;
}

}  // namespace

WindowDeviceHost::WindowDeviceHost(TMidi& midi, UserDialogs& dialogs, QWidget* dialogParent)
    : midi_(midi), dialogs_(dialogs), dialogParent_(dialogParent) {
    // Returned receive buffers (on this thread) go to the waiting exchange.
    midi_.OnLong = [this](TMidi*, std::uint32_t, MidiReceiveBuffer* buffer) {
        {
            std::lock_guard lock(mutex_);
            returned_.emplace_back(buffer->data.begin(), buffer->data.begin() + buffer->recorded);
        }
        midi_.DeleteBuf(buffer);
        wake_.notify_all();
    };
    showLater_.setSingleShot(true);
    connect(&showLater_, &QTimer::timeout, this, [this] {
        if (running_ && progress_) progress_->ShowCentred();
    });
}

void WindowDeviceHost::SetProgressWindow(TProgressWin& progress) {
    progress_ = &progress;
    connect(progress_, &TProgressWin::Aborted, this, &WindowDeviceHost::RequestAbort);
}

WindowDeviceHost::~WindowDeviceHost() {
    EndExchange();
    midi_.OnLong = nullptr;
}

void WindowDeviceHost::EndExchange() {
    ending_ = true;
    abort_ = true;
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool WindowDeviceHost::Run(std::function<void()> exchange, std::function<void()> done) {
    if (running_) return false;
    if (worker_.joinable()) worker_.join();  // the last one has ended: its done has run
    running_ = true;
    abort_ = false;
    worker_ = std::thread([this, exchange = std::move(exchange), done = std::move(done)]() mutable {
        exchange();
        QMetaObject::invokeMethod(
            this,
            [this, done = std::move(done)] {
                running_ = false;
                showLater_.stop();
                if (progress_) progress_->hide();
                if (done) done();
                emit Ended();
            },
            Qt::QueuedConnection);
    });
    return true;
}

void WindowDeviceHost::RequestAbort() {
    abort_ = true;
    wake_.notify_all();
}

bool WindowDeviceHost::OnWindowThread() const { return QThread::currentThread() == thread(); }

void WindowDeviceHost::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

template <class F>
auto WindowDeviceHost::OnWindow(F f) -> decltype(f()) {
    using R = decltype(f());
    if (OnWindowThread()) return f();
    struct State {
        bool done = false;
        std::conditional_t<std::is_void_v<R>, int, R> result{};
    };
    auto state = std::make_shared<State>();
    Post([this, state, f] {
        if constexpr (std::is_void_v<R>) f();
        else state->result = f();
        {
            std::lock_guard lock(mutex_);
            state->done = true;
        }
        wake_.notify_all();
    });
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return state->done || ending_; });
    if constexpr (!std::is_void_v<R>) return state->result;
}

int WindowDeviceHost::OpenOutput() {
    return OnWindow([this] { return midi_.OpenMidiOut(); });
}
int WindowDeviceHost::OpenInput() {
    return OnWindow([this] { return midi_.OpenMidiIn(); });
}
void WindowDeviceHost::CloseOutput() {
    OnWindow([this] { midi_.CloseMidiOut(); });
}
void WindowDeviceHost::CloseInput() {
    OnWindow([this] { midi_.CloseMidiIn(); });
}
bool WindowDeviceHost::OutputOpen() const { return midi_.OutputOpen(); }
bool WindowDeviceHost::InputOpen() const { return midi_.InputOpen(); }

// The ports stay open while an exchange runs (their menus are disabled), so
// sending and queueing buffers need no trip to the window thread.
void WindowDeviceHost::Send(std::span<const std::uint8_t> message) {
    midi_.Send(message.data(), static_cast<int>(message.size()));
}
void WindowDeviceHost::StartInput() { midi_.Start(); }
void WindowDeviceHost::QueueReceive(int bytes) { midi_.AddBuf(bytes); }
int WindowDeviceHost::QueuedReceives() const { return midi_.QueuedBuffers(); }

void WindowDeviceHost::ResetInput() {
    // The buffers come back on the window thread; they reach the classifier here.
    OnWindow([this] { midi_.Reset(); });
    DeliverReturned();
}

void WindowDeviceHost::DeliverReturned() {
    for (;;) {
        std::vector<std::uint8_t> bytes;
        {
            std::lock_guard lock(mutex_);
            if (returned_.empty()) return;
            bytes = std::move(returned_.front());
            returned_.pop_front();
        }
        if (onLong) onLong(bytes);
    }
}

WaitEnd WindowDeviceHost::WaitForReply(const ReplyState& state, std::optional<std::chrono::milliseconds> limit) {
    using Clock = std::chrono::steady_clock;
    // The time limit runs from when the message waited on is on the wire:
    // what was sent before it goes out first, paced.
    std::optional<Clock::time_point> deadline;
    if (limit) deadline = Clock::now() + *limit + std::chrono::ceil<std::chrono::milliseconds>(midi_.UnsentWireTime());
    for (;;) {
        DeliverReturned();
        if (abort_) return WaitEnd::Abort;
        if (state != ReplyNone) return WaitEnd::Reply;
        std::unique_lock lock(mutex_);
        auto woken = [&] { return !returned_.empty() || abort_ || ending_; };
        if (deadline) {
            if (!wake_.wait_until(lock, *deadline, woken)) return WaitEnd::TimeLimit;
        } else {
            wake_.wait(lock, woken);
        }
    }
}

void WindowDeviceHost::Pause(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, duration, [&] { return ending_.load(); });
}

void WindowDeviceHost::ClearAbort() {
    abort_ = ending_.load();
    std::lock_guard lock(mutex_);
    returned_.clear();  // nothing from before this exchange is its answer
}

void WindowDeviceHost::ShowProgress(std::string_view caption, std::string_view text) {
    Post([this, caption = Text(caption), text = Text(text)] {
        if (!progress_) return;
        progress_->setWindowTitle(caption);
        progress_->SetText(text);
        progress_->SetProgress(0, 0);
        if (running_ && !progress_->isVisible() && !showLater_.isActive()) showLater_.start(kProgressDelayMs);
    });
}

void WindowDeviceHost::SetProgressText(std::string_view text) {
    Post([this, text = Text(text)] {
        if (progress_) progress_->SetText(text);
    });
}

void WindowDeviceHost::SetProgressValue(int done, int total) {
    Post([this, done, total] {
        if (progress_) progress_->SetProgress(done, total);
    });
}

void WindowDeviceHost::HideProgress() {
    Post([this] {
        showLater_.stop();
        if (progress_) progress_->hide();
    });
}

// Answered on the window thread, without a loop of its own there; the worker waits.
bool WindowDeviceHost::Ask(std::string_view caption, std::string_view text) {
    struct Answer {
        bool given = false, yes = false;
    };
    auto answer = std::make_shared<Answer>();
    auto reply = [this, answer](bool yes) {
        {
            std::lock_guard lock(mutex_);
            answer->given = true;
            answer->yes = yes;
        }
        wake_.notify_all();
    };
    if (OnWindowThread()) return dialogs_.AskYesNo(dialogParent_, Text(caption), Text(text));
    Post([this, reply, caption = Text(caption), text = Text(text)] {
        dialogs_.AskYesNoLater(dialogParent_, caption, text, reply);
    });
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return answer->given || ending_; });
    return answer->given && answer->yes;
}

void WindowDeviceHost::Inform(std::string_view text) {
    Post([this, text = Text(text)] { dialogs_.InformLater(dialogParent_, tr("ORB-8ED"), text); });
}

void WindowDeviceHost::ShowError(std::string_view caption, std::string_view text) {
    Post([this, caption = Text(caption), text = Text(text)] { dialogs_.ShowErrorLater(dialogParent_, caption, text); });
}

void WindowDeviceHost::SetChannelItem(int channel, std::string_view caption, bool enabled, bool checked) {
    Post([this, channel, caption = Text(caption), enabled, checked] {
        if (onChannelItem) onChannelItem(channel, caption, enabled, checked);
    });
}
