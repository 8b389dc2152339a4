// What the simulated ORB-8 holds when it starts: a bank of eighty named
// patches of our own, its custom settings block, filters and clippers.
#pragma once

#include <array>
#include <span>

#include "customdist/customdistdata.h"
#include "patch/customsettings.h"
#include "patch/patchdata.h"

namespace orb8 {

std::array<PackedPatch, kPatchCount> FactoryBank();
CustomSettingsBlock FactoryCustomSettings();
std::array<FilterDeviceImage, kFilterCount> FactoryFilterImages();
std::array<ClipperBlock, kSetCount> FactoryClippers();

// The image the processor keeps for a filter dump: the five coefficient codes
// (big-endian, 24 bits) from the nibbles, and the settings code of settings.
FilterDeviceImage FilterImageFromDump(std::span<const std::uint8_t, kCoefNibbles> nibbles,
                                      const FilterDeviceImage& settings);

}  // namespace orb8
