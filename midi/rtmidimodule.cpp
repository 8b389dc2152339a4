// The entry of the real-MIDI module (see realmidi.h): the only symbol it shows.
#include <exception>

#include "midi/rtmidibackend.h"

extern "C" __attribute__((visibility("default"))) orb8::MidiBackend* orb8_create_rtmidi_backend(int api,
                                                                                              const char* clientName) {
    try {
        return orb8::CreateRtMidiBackend(static_cast<orb8::RealMidiApi>(api), clientName).release();
    } catch (const std::exception&) {
        return nullptr;
    }
}
