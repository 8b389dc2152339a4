// A MIDI controller (the processor's pedal, a pedal board's) that drives the
// morph position: learnt from the first Control Change that arrives, then
// every move of it gives a position.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orb8::design {

struct Controller {
    int channel = 0;  // 0..15
    int number = 0;   // a controller that is not a bank select or a channel mode message
    bool operator==(const Controller&) const = default;
};

struct ControllerMove {
    Controller controller;
    int value = 0;  // 0..127
};

// The move a short message (status | data1 << 8 | data2 << 16) makes: only a
// Control Change of a controller that can move continuously.
std::optional<ControllerMove> ControllerMoveOf(std::uint32_t message);
// How far along the morph a controller's value is, in percent (0 -> 0, 127 -> 100).
int MorphPercentOf(int value);

// "1:7" (channel 1..16, controller), the form the settings keep.
std::string ControllerText(const Controller& controller);
std::optional<Controller> ParseController(std::string_view text);

}  // namespace orb8::design
