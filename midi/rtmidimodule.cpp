// The entries of the real-MIDI module (see realmidi.h): the only symbols it shows.
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

// The program's version it was built with: a program loads only its own.
extern "C" __attribute__((visibility("default"))) const char* orb8_rtmidi_module_version() { return ORB8_VERSION; }
