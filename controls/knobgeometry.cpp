#include "controls/knobgeometry.h"

#include <cmath>

namespace orb8 {
namespace {
constexpr double kPi = 3.14159265358979323846;
}

KnobMove KnobPositionForPointer(int x, int y, int width, int height, int position, int max) {
    const int dx = x - width / 2;
    const int dy = height / 2 - y;  // upward positive
    if (dx == 0 && dy == 0) return {false, position};
    const double a = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    double r;
    if (a >= 0) {
        r = 5 * kPi / 4 - a;
    } else if (a <= -3 * kPi / 4) {
        r = -a - 3 * kPi / 4;
    } else if (a >= -kPi / 4) {
        r = 5 * kPi / 4 - a;
    } else if (a > -kPi / 2) {
        // Right half of the dead zone: towards the Max end.
        if (position == 0) return {false, position};
        return {true, max};
    } else {
        if (position == max) return {false, position};
        return {true, 0};
    }
    const double scaled = r * 2 / (3 * kPi) * max + 0.5;
    int value = static_cast<int>(scaled);
    if (value < 0) value = 0;
    if (max >= 0 && value > max) value = max;
    return {true, value};
}

KnobPoint KnobIndicatorEnd(int position, int max, int width, int height) {
    const int cx = width / 2, cy = height / 2;
    const double share = max != 0 ? static_cast<double>(position) / max : 0.0;
    const double t = share * 3 * kPi / 2 - kPi / 4;
    return {cx + static_cast<int>(-std::cos(t) * cx * 0.8), cy - static_cast<int>(std::sin(t) * cy * 0.8)};
}

}  // namespace orb8
