#include "keyboard/keyboardmodel.h"

#include <algorithm>

namespace orb8 {
namespace {

// Within an octave: the white-key position of each note, and for the black
// keys the boundary position they sit on.
constexpr int kPosition[12] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
constexpr bool kBlack[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
constexpr int kWhiteNotes[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kBlackNotes[5] = {1, 3, 6, 8, 10};

std::uint8_t Status(int base, int channel) { return static_cast<std::uint8_t>(base + (std::clamp(channel, 1, 16) - 1)); }
std::uint8_t Data(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 127)); }

}  // namespace

bool KeyboardGeometry::IsBlack(int note) { return kBlack[((note % 12) + 12) % 12]; }

KeyRect KeyboardGeometry::Key(int note) const {
    const int octave = note / 12, k = note % 12;
    const int x = (7 * octave + kPosition[k]) * w_;
    if (kBlack[k]) return {x - BlackHalfWidth(), 0, x - BlackHalfWidth() + 2 * BlackHalfWidth() + 1, BlackHeight()};
    return {x, 0, x + w_ + 1, h_};
}

std::optional<int> KeyboardGeometry::NoteAt(int x, int y) const {
    if (x < 0 || y < 0 || y >= h_) return std::nullopt;
    const int octave = x / (7 * w_);
    if (octave >= kKeyboardOctaves) return std::nullopt;
    // The black keys lie above the white ones.
    for (int k : kBlackNotes) {
        const int note = 12 * octave + k;
        const KeyRect r = Key(note);
        if (x >= r.left && x < r.right && y < r.bottom) return note;
    }
    const int white = (x - 7 * octave * w_) / w_;
    return 12 * octave + kWhiteNotes[std::clamp(white, 0, 6)];
}

bool KeyboardGeometry::Smaller() {
    if (w_ < 6) return false;
    w_ = (90 * w_ + 50) / 100;
    h_ = (90 * h_ + 50) / 100;
    return true;
}

bool KeyboardGeometry::Bigger() {
    if (w_ > 100) return false;
    w_ = (112 * w_ + 50) / 100;
    h_ = (112 * h_ + 50) / 100;
    return true;
}

std::string NoteText(int note) {
    static const char* names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return std::string(names[note % 12]) + std::to_string(note / 12 - 1) + "(" + std::to_string(note) + ")";
}

const std::vector<std::string>& ControllerItems() {
    static const std::vector<std::string> items = [] {
        static const char* names[96] = {
            "",           "Modulation", "Breath",     "",           "Foot",       "Porta Time", "Data Entry", "Volume",
            "Balance",    "",           "Pan",        "Expression", "Effect 1",   "Effect 2",   "",           "",
            "General 1",  "General 2",  "General 3",  "General 4",  "",           "",           "",           "",
            "",           "",           "",           "",           "",           "",           "",           "",
            "Bank LSB",   "Mod LSB",    "Breath LSB", "",           "Foot LSB",   "Porta LSB",  "Data LSB",   "Volume LSB",
            "Bal LSB",    "",           "Pan LSB",    "Expr LSB",   "Effect1 LSB", "Effect2 LSB", "",          "",
            "Gen1 LSB",   "Gen2 LSB",   "Gen3 LSB",   "Gen4 LSB",   "",           "",           "",           "",
            "",           "",           "",           "",           "",           "",           "",           "",
            "Sustain",    "Portamento", "Sostenuto",  "Soft",       "Legato",     "Hold 2",     "Variation",  "Timbre",
            "Release",    "Attack",     "Brightness", "Sound 6",    "Sound 7",    "Sound 8",    "Sound 9",    "Sound 10",
            "General 5",  "General 6",  "General 7",  "General 8",  "Porta Ctrl", "",           "",           "",
            "",           "",           "",           "Reverb",     "Tremolo",    "Chorus",     "Celeste",    "Phaser"};
        std::vector<std::string> list{"Pitch Bender"};
        for (int k = 1; k < 96; ++k) {
            std::string name = names[k][0] ? names[k] : "Undefined";
            name.resize(std::max<std::size_t>(name.size(), 11), ' ');
            list.push_back(std::to_string(k) + " - " + name);
        }
        return list;
    }();
    return items;
}

std::array<std::uint8_t, 3> NoteOn(int channel, int note, int velocity) {
    return {Status(0x90, channel), Data(note), Data(velocity)};
}

std::array<std::uint8_t, 3> NoteOff(int channel, int note) { return {Status(0x80, channel), Data(note), 0x40}; }

std::array<std::uint8_t, 2> ProgramChange(int channel, int program) { return {Status(0xC0, channel), Data(program)}; }

std::array<std::uint8_t, 3> BankSelect(int channel, int bank) { return {Status(0xB0, channel), 0, Data(bank)}; }

std::optional<std::array<std::uint8_t, 3>> ValueMessage(int channel, int item, int value) {
    if (item < 0 || item > 95) return std::nullopt;
    if (item == 0) return std::array<std::uint8_t, 3>{Status(0xE0, channel), 0, Data(value)};
    return std::array<std::uint8_t, 3>{Status(0xB0, channel), Data(item), Data(value)};
}

}  // namespace orb8
