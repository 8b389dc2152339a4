// The built-in clipper curves. Each brings the settings of the two clip filters
// (slots 3 and 4 of a set) and the 24 bytes of the set's clipper block.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orb8 {

constexpr int kClipperBlockBytes = 24;
constexpr int kClipperStoredBytes = 22;  // what the file and the processor's dump carry
constexpr int kClipperPresetCount = 13;

using ClipperBlock = std::array<std::uint8_t, kClipperBlockBytes>;

struct ClipFilterSettings {
    std::uint8_t on, type;
    double freq, gain, q, trim;
};

struct ClipperPreset {
    std::string_view name;
    ClipFilterSettings filters[2];
    ClipperBlock block;
};

const std::array<ClipperPreset, kClipperPresetCount>& ClipperPresets();

// The first preset whose 24 bytes equal the block, or -1.
int MatchingClipperPreset(const ClipperBlock& block);

}  // namespace orb8
