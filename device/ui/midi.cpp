#include "device/ui/midi.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMetaObject>
#include <QWidget>

#include "device/messages.h"

TMidi::TMidi(orb8::MidiSystem& system, QObject* parent) : QObject(parent), system_(system) { RefreshDevices(); }

void TMidi::OpenKBD() {
    if (!keyboard_ && keyboardMaker_) keyboard_ = keyboardMaker_(*this, qobject_cast<QWidget*>(parent()));
    if (!keyboard_) return;
    keyboard_->show();
    keyboard_->raise();
}

void TMidi::CloseKBD() { delete keyboard_.data(); }

QWidget* TMidi::Keyboard() const { return keyboard_; }

TMidi::~TMidi() {
    CloseKBD();
    CloseMidiOut();
    CloseMidiIn();
}

void TMidi::RefreshDevices() {
    QStringList outputs, inputs;
    for (const auto& n : system_.OutputNames()) outputs << QString::fromStdString(n);
    for (const auto& n : system_.InputNames()) inputs << QString::fromStdString(n);
    const bool changed = outputs != outputNames_ || inputs != inputNames_;
    outputNames_ = outputs;
    inputNames_ = inputs;
    // The first run starts with device 0 of each kind; later the name decides.
    if (MidiOutName.isEmpty() && !outputNames_.isEmpty()) MidiOutName = outputNames_.value(MidiOutID);
    if (MidiInName.isEmpty() && !inputNames_.isEmpty()) MidiInName = inputNames_.value(MidiInID);
    const int out = outputNames_.indexOf(MidiOutName), in = inputNames_.indexOf(MidiInName);
    if (out >= 0) MidiOutID = out;
    if (in >= 0) MidiInID = in;
    if (changed) {
        if (outMenu_) SetMIDIOUTMenu(outMenu_);
        if (inMenu_) SetMIDIINMenu(inMenu_);
    }
}

void TMidi::ChooseOutput(int index) {
    if (index < 0 || index >= outputNames_.size()) return;
    MidiOutID = index;
    MidiOutName = outputNames_[index];
}

void TMidi::ChooseInput(int index) {
    if (index < 0 || index >= inputNames_.size()) return;
    MidiInID = index;
    MidiInName = inputNames_[index];
}

void TMidi::FillMenu(QMenu* menu, const QStringList& names, int& chosen, QPointer<QActionGroup>& group, bool output) {
    if (!menu) return;
    menu->clear();
    delete group.data();  // the last menu's group, if that menu still lives
    group = new QActionGroup(menu);
    group->setExclusive(true);
    if (names.isEmpty()) {
        QAction* none = menu->addAction(tr("no devices"));
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < names.size(); ++i) {
        QAction* item = menu->addAction(names[i]);
        item->setCheckable(true);
        item->setChecked(i == chosen);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, output, i] { output ? ChooseOutput(i) : ChooseInput(i); });
    }
}

void TMidi::SetMIDIOUTMenu(QMenu* menu) {
    outMenu_ = menu;
    FillMenu(menu, outputNames_, MidiOutID, outGroup_, true);
    EnableMenu(menu, !OutputOpen());
}

void TMidi::SetMIDIINMenu(QMenu* menu) {
    inMenu_ = menu;
    FillMenu(menu, inputNames_, MidiInID, inGroup_, false);
    EnableMenu(menu, !InputOpen());
}

void TMidi::EnableMenu(QMenu* menu, bool enabled) {
    if (!menu) return;
    const QStringList& names = menu == outMenu_ ? outputNames_ : inputNames_;
    for (QAction* a : menu->actions()) a->setEnabled(enabled && !names.isEmpty());
}

int TMidi::OpenMidiOut() {
    if (out_) return orb8::MidiOpenBusy;
    // The device chosen by its name in the list as it is now.
    RefreshDevices();
    if (outputNames_.indexOf(MidiOutName) < 0) return orb8::MidiOpenInvalidDevice;
    int result = orb8::MidiOpenOk;
    std::unique_ptr<orb8::MidiOut> port = system_.OpenOutput(MidiOutID, result);
    if (!port) return result ? result : orb8::MidiOpenError;
    out_ = std::make_unique<orb8::PacedMidiOut>(std::move(port), orb8::ParameterChangeKey, pace_);
    EnableMenu(outMenu_, false);
    return orb8::MidiOpenOk;
}

void TMidi::CloseMidiOut() {
    if (!out_) return;
    // What is still going out is let finish (as long as its wire time and a
    // second more: the output's own close waits that long, and no longer);
    // a MIDI system that has gone away keeps only a thread.
    out_.reset();
    EnableMenu(outMenu_, true);
}

int TMidi::OpenMidiIn() {
    if (in_) return orb8::MidiOpenBusy;
    {
        std::lock_guard lock(mutex_);
        timeBase_ = {};
        recording_ = false;
    }
    RefreshDevices();
    if (inputNames_.indexOf(MidiInName) < 0) return orb8::MidiOpenInvalidDevice;
    int result = orb8::MidiOpenOk;
    in_ = system_.OpenInput(MidiInID, [this](std::vector<std::uint8_t> m) { Arrived(std::move(m)); }, result);
    if (!in_) return result ? result : orb8::MidiOpenError;
    EnableMenu(inMenu_, false);
    // The input-open notice: OnOpen may keep the input from starting.
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_] {
            if (generation != generation_ || !in_) return;
            bool proceed = true;
            if (OnOpen) OnOpen(this, proceed);
            if (proceed) Start();
        },
        Qt::QueuedConnection);
    return orb8::MidiOpenOk;
}

void TMidi::CloseMidiIn() {
    if (!in_) return;
    Reset();
    in_.reset();  // the backend calls nothing after this
    {
        std::lock_guard lock(mutex_);
        recording_ = false;
        pending_.clear();
        ++generation_;
    }
    EnableMenu(inMenu_, true);
}

int TMidi::Start() {
    if (!in_) return 0;
    std::lock_guard lock(mutex_);
    timeBase_ = {};
    recording_ = true;
    return 0;
}

int TMidi::Stop() {
    if (!in_) return 0;
    std::lock_guard lock(mutex_);
    recording_ = false;
    return 0;
}

int TMidi::AddBuf(int length) {
    if (!in_ || length <= 0) return 0;
    auto buffer = std::make_unique<MidiReceiveBuffer>();
    buffer->data.assign(static_cast<std::size_t>(length), 0);
    std::lock_guard lock(mutex_);
    queued_.Add(std::move(buffer), static_cast<std::size_t>(length));
    return 0;
}

void TMidi::DeleteBuf(MidiReceiveBuffer* buffer) { delete buffer; }

int TMidi::QueuedBuffers() const {
    std::lock_guard lock(mutex_);
    return queued_.Count();
}

std::uint32_t TMidi::TimeDelta(std::chrono::steady_clock::time_point at) {
    const auto previous = timeBase_;
    timeBase_ = at;
    if (previous == std::chrono::steady_clock::time_point{}) return 0;
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(at - previous).count());
}

void TMidi::Arrived(std::vector<std::uint8_t> message) {
    // On the backend's thread: fill or drop, then post.
    if (message.empty()) return;
    traffic_.Add(false, message);
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(mutex_);
        if (!recording_) return;
        Incoming incoming;
        incoming.at = now;
        if (message[0] == 0xF0) {
            auto buffer = queued_.Take(message.size());
            if (!buffer) return;  // dropped: no buffer queued, or the message is not its reply
            incoming.buffer = std::move(*buffer);
            const std::size_t n = message.size();
            std::copy_n(message.begin(), n, incoming.buffer->data.begin());
            incoming.buffer->recorded = static_cast<int>(n);
            incoming.buffer->arrived = now;
        } else if (message[0] >= 0x80 && message[0] < 0xF0) {
            incoming.shortMessage = message[0] | (message.size() > 1 ? message[1] << 8 : 0) |
                                    (message.size() > 2 ? message[2] << 16 : 0);
        } else {
            return;
        }
        pending_.push_back(std::move(incoming));
    }
    QMetaObject::invokeMethod(this, [this] { DeliverPending(); }, Qt::QueuedConnection);
}

void TMidi::DeliverPending() {
    for (;;) {
        Incoming next;
        std::uint32_t delta = 0;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) return;
            next = std::move(pending_.front());
            pending_.pop_front();
            delta = TimeDelta(next.at);
        }
        if (next.buffer) {
            MidiReceiveBuffer* buffer = next.buffer.release();
            if (OnLong) OnLong(this, delta, buffer);
            else DeleteBuf(buffer);
        } else {
            bool pass = true;
            if (OnData) OnData(this, pass, next.shortMessage);
            if (OutputOpen() && Thru && pass)
                OutMess(next.shortMessage & 0xFF, (next.shortMessage >> 8) & 0xFF, (next.shortMessage >> 16) & 0xFF);
        }
    }
}

int TMidi::Reset() {
    if (!in_) return 0;
    // What has already been filled comes first, then the empty ones, all
    // before Reset returns: a buffer coming back later would be taken for the
    // answer to the next request.
    DeliverPending();
    std::vector<std::unique_ptr<MidiReceiveBuffer>> returned;
    {
        std::lock_guard lock(mutex_);
        returned = queued_.TakeAll();
    }
    for (auto& buffer : returned) {
        buffer->recorded = 0;
        MidiReceiveBuffer* raw = buffer.release();
        if (OnLong) OnLong(this, 0, raw);
        else DeleteBuf(raw);
    }
    return 0;
}

int TMidi::Send(const std::uint8_t* bytes, int length) {
    if (!out_ || !bytes || length <= 0) return 0;
    traffic_.Add(true, std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(length)));
    out_->Send(std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(length)));
    return 0;
}

void TMidi::SetOutputPace(std::chrono::microseconds byteTime) {
    pace_ = byteTime;
    if (out_) out_->SetByteTime(byteTime);
}

std::chrono::microseconds TMidi::UnsentWireTime() const {
    return out_ ? pace_ * static_cast<long>(out_->UnsentBytes()) : std::chrono::microseconds{0};
}

bool TMidi::DrainOutput(std::chrono::milliseconds limit) { return !out_ || out_->Drain(limit); }

int TMidi::OutMess(int status, int data1, int data2) {
    if (!out_) return 0;
    std::uint8_t m[3] = {static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1 & 0x7F),
                         static_cast<std::uint8_t>(data2 & 0x7F)};
    const int kind = status & 0xF0;
    const std::span<const std::uint8_t> message(m, kind == 0xC0 || kind == 0xD0 ? 2 : 3);
    traffic_.Add(true, message);
    out_->Send(message);
    return 0;
}
