// Real MIDI through RtMidi: the ALSA sequencer where the machine has one, and
// JACK where a JACK server is running. Each is probed before RtMidi touches it:
// RtMidi's ALSA start fails loudly without a sequencer, and opening a JACK port
// with no server running crashes inside libjack.
#pragma once

#include <memory>
#include <string>

#include "midi/midibackend.h"
#include "midi/realmidi.h"

namespace orb8 {

bool AlsaSequencerPresent();
bool JackServerRunning();

// Calls handler (on a JACK thread) when the JACK server shuts down, as long
// as the returned object lives.
struct JackShutdownWatch {
    std::shared_ptr<void> keep;
};
std::unique_ptr<JackShutdownWatch> WatchJackShutdown(const std::string& clientName, MidiLostHandler handler);

// nullptr when the API is not there.
std::unique_ptr<MidiBackend> CreateRtMidiBackend(RealMidiApi api, const std::string& clientName);

}  // namespace orb8
