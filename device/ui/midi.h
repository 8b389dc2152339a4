// TMidi: the program's MIDI port component. It lists the devices into two
// menus, opens the chosen pair, sends short and SysEx messages, and hands every
// returned receive buffer to OnLong on the user-interface thread. A backend's
// input callback (on a thread of its own) only fills the oldest queued buffer,
// or drops the message when none is queued, and posts the result.
#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/receivequeue.h"
#include "keyboard/keyboardport.h"
#include "midi/midisystem.h"
#include "midi/pacedoutput.h"
#include "midi/traffic.h"

class QMenu;
class QActionGroup;
class QWidget;

// A receive buffer: the requested length, and the bytes recorded into it.
struct MidiReceiveBuffer {
    std::vector<std::uint8_t> data;  // data.size() is the buffer's length
    int recorded = 0;
    std::chrono::steady_clock::time_point arrived{};  // when the message reached the backend
};

class TMidi : public QObject, public KeyboardPort {
    Q_OBJECT

public:
    explicit TMidi(orb8::MidiSystem& system, QObject* parent = nullptr);
    ~TMidi() override;

    // The chosen devices: their index in the lists as last read, and their
    // names, by which they are opened (the lists may have changed since).
    int MidiOutID = 0;
    int MidiInID = 0;
    QString MidiOutName, MidiInName;
    bool Thru = false;

    // Fills the menu with one checkable item per device, or "no devices".
    void SetMIDIOUTMenu(QMenu* menu);
    void SetMIDIINMenu(QMenu* menu);
    QStringList OutputNames() const { return outputNames_; }
    QStringList InputNames() const { return inputNames_; }
    // Reads the device lists again; a chosen device keeps its name.
    void RefreshDevices();
    // Chooses a device as its menu item does.
    void ChooseOutput(int index);
    void ChooseInput(int index);

    int OpenMidiOut();
    void CloseMidiOut();
    int OpenMidiIn();
    void CloseMidiIn();
    bool OutputOpen() const override { return out_ != nullptr; }
    bool InputOpen() const { return in_ != nullptr; }

    int Start();
    int Stop();
    // Every queued buffer comes back with nothing recorded; each has reached
    // OnLong when Reset returns.
    int Reset();
    int AddBuf(int length);
    void DeleteBuf(MidiReceiveBuffer* buffer);
    int QueuedBuffers() const;
    static const std::uint8_t* GetSysEx(const MidiReceiveBuffer* buffer) { return buffer->data.data(); }
    static int GetBytes(const MidiReceiveBuffer* buffer) { return buffer->recorded; }

    // Sends a copy of the bytes and returns at once; 0 when the output is
    // closed. They go out paced to the output's wire, a waiting parameter
    // value replaced by a newer one.
    int Send(const std::uint8_t* bytes, int length);
    // The wire time of a byte on the output (orb8::kUnpaced: none); kept
    // when the output is opened again.
    void SetOutputPace(std::chrono::microseconds byteTime);
    std::chrono::microseconds OutputPace() const { return pace_; }
    // The wire time of what is sent but not yet handed to the MIDI system.
    std::chrono::microseconds UnsentWireTime() const;
    // Waits until everything sent has gone out, at most `limit`.
    bool DrainOutput(std::chrono::milliseconds limit);
    int OutMess(int status, int data1, int data2) override;

    // The virtual keyboard window: made on the first call (by the maker the
    // program gives, which plays through this component), shown on every
    // call, freed by CloseKBD or with the component.
    using KeyboardMaker = std::function<QWidget*(KeyboardPort& port, QWidget* parent)>;
    void SetKeyboardMaker(KeyboardMaker maker) { keyboardMaker_ = std::move(maker); }
    void OpenKBD();
    void CloseKBD();
    QWidget* Keyboard() const;

    std::function<void(TMidi* sender, bool& proceed)> OnOpen;
    std::function<void(TMidi* sender, bool& pass, std::uint32_t message)> OnData;

    // Every message in and out, while the MIDI monitor records.
    orb8::TrafficLog& Traffic() { return traffic_; }
    // The handler owns the buffer and gives it back with DeleteBuf.
    std::function<void(TMidi* sender, std::uint32_t timeDelta, MidiReceiveBuffer* buffer)> OnLong;

private:
    void Arrived(std::vector<std::uint8_t> message);
    void DeliverPending();
    void FillMenu(QMenu* menu, const QStringList& names, int& chosen, QPointer<QActionGroup>& group, bool output);
    void EnableMenu(QMenu* menu, bool enabled);
    std::uint32_t TimeDelta(std::chrono::steady_clock::time_point at);

    orb8::MidiSystem& system_;
    orb8::TrafficLog traffic_;
    std::unique_ptr<orb8::PacedMidiOut> out_;
    std::chrono::microseconds pace_ = orb8::kMidiByteTime;
    std::unique_ptr<orb8::MidiIn> in_;
    QStringList outputNames_, inputNames_;
    QPointer<QMenu> outMenu_, inMenu_;
    // Owned by their menus; empty once a menu is gone.
    QPointer<QActionGroup> outGroup_, inGroup_;

    // Shared with the backend's thread.
    struct Incoming {
        std::unique_ptr<MidiReceiveBuffer> buffer;  // a returned SysEx buffer, or
        std::uint32_t shortMessage = 0;             // a short message
        std::chrono::steady_clock::time_point at;
    };
    mutable std::mutex mutex_;
    orb8::ReceiveBuffers<std::unique_ptr<MidiReceiveBuffer>> queued_;
    std::deque<Incoming> pending_;
    bool recording_ = false;
    std::chrono::steady_clock::time_point timeBase_{};
    std::uint64_t generation_ = 0;  // bumped when the input closes: late posts are ignored
    KeyboardMaker keyboardMaker_;
    QPointer<QWidget> keyboard_;
};
