// The virtual keyboard's rules without a window: the ten-octave key
// geometry, which note lies under a point, the note names, the key sizes and
// the MIDI messages the keyboard sends.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orb8 {

// The fields of the keyboard window: MIDI data bytes 0..kMidiDataMax,
// channels 1..kMidiChannels, and the velocity and value it starts with.
inline constexpr int kMidiDataMax = 127, kMidiChannels = 16, kStartVelocity = 100;

constexpr int kKeyboardOctaves = 10;
constexpr int kKeyboardNotes = 12 * kKeyboardOctaves;  // notes 0..119

struct KeyRect {
    int left, top, right, bottom;  // right and bottom exclusive
};

class KeyboardGeometry {
public:
    int KeyWidth() const { return w_; }
    int KeyHeight() const { return h_; }
    int BlackHalfWidth() const { return w_ * 35 / 100; }
    int BlackHeight() const { return h_ * 62 / 100; }
    int PictureWidth() const { return 70 * w_ + 1; }

    static bool IsBlack(int note);
    KeyRect Key(int note) const;
    // The note under a point of the picture, or nothing outside the keys.
    std::optional<int> NoteAt(int x, int y) const;

    // SmallBtn and BigBtn: false when the size is already at its end.
    bool Smaller();
    bool Bigger();

private:
    int w_ = 10, h_ = 80;
};

// "C", "C#", ... and the octave as MIDI counts it: note 60 is "C4(60)".
std::string NoteText(int note);

// The 96 items of the message list: "Pitch Bender", then "1 - Modulation " ...
const std::vector<std::string>& ControllerItems();

// Channel messages, channel 1..16.
std::array<std::uint8_t, 3> NoteOn(int channel, int note, int velocity);
std::array<std::uint8_t, 3> NoteOff(int channel, int note);
std::array<std::uint8_t, 2> ProgramChange(int channel, int program);
std::array<std::uint8_t, 3> BankSelect(int channel, int bank);
// What the value step sends for the chosen item: pitch bend for item 0,
// controller k for item k; nothing while no item is chosen.
std::optional<std::array<std::uint8_t, 3>> ValueMessage(int channel, int item, int value);

}  // namespace orb8
