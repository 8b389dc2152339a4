// The MIDI wire's speed: 31,250 baud, ten bits a byte.
#pragma once

#include <chrono>
#include <cstddef>

namespace orb8 {

inline constexpr std::chrono::microseconds kMidiByteTime{320};

// A message's wire time at MIDI speed.
inline std::chrono::microseconds WireTime(std::size_t bytes) { return kMidiByteTime * static_cast<long>(bytes); }

}  // namespace orb8
