#include "sounddesign/morphcontroller.h"

#include <charconv>

namespace orb8::design {

namespace {

// Bank select (0, 32) moves nothing, and 120..127 are channel mode messages.
bool Continuous(int number) { return number != 0 && number != 32 && number < 120; }

}  // namespace

std::optional<ControllerMove> ControllerMoveOf(std::uint32_t message) {
    const int status = static_cast<int>(message & 0xFF);
    const int number = static_cast<int>((message >> 8) & 0xFF);
    const int value = static_cast<int>((message >> 16) & 0xFF);
    if ((status & 0xF0) != 0xB0 || number > 127 || value > 127 || !Continuous(number)) return std::nullopt;
    return ControllerMove{{status & 0x0F, number}, value};
}

int MorphPercentOf(int value) { return (value * 100 + 63) / 127; }

std::string ControllerText(const Controller& controller) {
    return std::to_string(controller.channel + 1) + ":" + std::to_string(controller.number);
}

std::optional<Controller> ParseController(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    auto number = [](std::string_view part, int& out) {
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), out);
        return error == std::errc{} && end == part.data() + part.size();
    };
    Controller c;
    int channel = 0;
    if (!number(text.substr(0, colon), channel) || !number(text.substr(colon + 1), c.number)) return std::nullopt;
    if (channel < 1 || channel > 16 || c.number < 0 || c.number > 127 || !Continuous(c.number)) return std::nullopt;
    c.channel = channel - 1;
    return c;
}

}  // namespace orb8::design
