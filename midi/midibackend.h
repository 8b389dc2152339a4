// MIDI ports behind one small interface: the ALSA sequencer and JACK through
// RtMidi, and the built-in simulated ORB-8. Nothing here knows about windows.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/wiretime.h"

namespace orb8 {

// One complete incoming message; called on a thread of the backend.
using MidiReceiveHandler = std::function<void(std::vector<std::uint8_t>)>;
// The MIDI system went away under the program (a JACK server that shut
// down); called once, on any thread, with a sentence saying what happened.
using MidiLostHandler = std::function<void(const std::string& reason)>;

// Open results, as the program reports them.
enum MidiOpenResult : int {
    MidiOpenOk = 0,
    MidiOpenError = 1,
    MidiOpenInvalidDevice = 2,
    MidiOpenBusy = 4,
    MidiOpenNoMemory = 7,
};

class MidiOut {
public:
    virtual ~MidiOut() = default;
    // Copies the message; it goes out in order. Returns at once unless MayBlock.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
    // Waits until everything sent has gone out, at most `limit`; false when
    // something is still going out.
    virtual bool Drain(std::chrono::milliseconds limit) = 0;
    // True when Send may wait for the MIDI system (a real port): such a port
    // is written only from an output thread (PacedMidiOut), never the caller's.
    virtual bool MayBlock() const { return false; }
};

class MidiIn {
public:
    virtual ~MidiIn() = default;
};

class MidiBackend {
public:
    virtual ~MidiBackend() = default;
    virtual std::string Name() const = 0;
    virtual std::vector<std::string> OutputNames() = 0;
    virtual std::vector<std::string> InputNames() = 0;
    virtual std::unique_ptr<MidiOut> OpenOutput(int index, int& result) = 0;
    virtual std::unique_ptr<MidiIn> OpenInput(int index, MidiReceiveHandler handler, int& result) = 0;
    // Where to report that the system went away; empty: nowhere. When it
    // returns, the previous handler is not running any more.
    virtual void SetLostHandler(MidiLostHandler) {}
};

}  // namespace orb8
