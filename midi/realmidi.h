// Real MIDI (the ALSA sequencer, JACK) lives in a module of its own, loaded
// the first time a real system is asked for, on the thread that asks: the
// window program starts without loading RtMidi, JACK and ALSA.
#pragma once

#include <memory>
#include <string>

#include "midi/midibackend.h"

namespace orb8 {

enum class RealMidiApi { Alsa, Jack };

// nullptr when the system is not there. When the module cannot be loaded,
// also nullptr, and problem (if given) says why.
std::unique_ptr<MidiBackend> CreateRealMidiBackend(RealMidiApi api, const std::string& clientName,
                                                   std::string* problem = nullptr);

}  // namespace orb8
