// The knob's rules as plain functions: where a pointer drag puts the value,
// and where the pointer line ends. The widget only draws and forwards events.
#pragma once

namespace orb8 {

struct KnobMove {
    bool changes;  // false: nothing happens (centre, or dead zone at the far end)
    int position;  // the new position when changes is true
};

// A drag to (x, y) in a knob of width by height pixels showing `position` of
// 0..max. 270 degrees clockwise from the lower left (0) through the top
// (max / 2) to the lower right (max); the bottom quarter is a dead zone that
// snaps to the nearer end.
KnobMove KnobPositionForPointer(int x, int y, int width, int height, int position, int max);

struct KnobPoint {
    int x, y;
};
// The pointer line's end point for a position of 0..max (max 0 points at the 0 end).
KnobPoint KnobIndicatorEnd(int position, int max, int width, int height);

}  // namespace orb8
