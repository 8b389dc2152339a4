// The processor's 92-byte block of custom effect settings: the base types and
// values of the custom Mod, Dly/Rev and Drive types ("CUSTOM1", "CUSTOM2").
#pragma once

#include <array>
#include <cstdint>

namespace orb8 {

constexpr int kCustomSettingsBytes = 92;
using CustomSettingsBlock = std::array<std::uint8_t, kCustomSettingsBytes>;

// Slot offsets: a Mod or Dly/Rev slot is the base type (0..19) followed by the
// values of the module's patch bytes 20..27 (Mod) or 29..36 (Dly/Rev); a Drive
// slot holds the values of patch bytes 2..18.
constexpr int kModCustom1Slot = 20;
constexpr int kModCustom2Slot = 29;
constexpr int kDlyCustom1Slot = 38;
constexpr int kDlyCustom2Slot = 47;
constexpr int kDriveCustom1Slot = 58;
constexpr int kDriveCustom2Slot = 75;
constexpr int kModDlySlotBytes = 9;
constexpr int kDriveSlotBytes = 17;

// The built-in block used until the processor's own is read.
const CustomSettingsBlock& DefaultCustomSettings();

// Slot offset for a custom type (20 or 21) of a module, or -1 for other types.
int ModCustomSlot(int storedType);
int DlyCustomSlot(int storedType);
int DriveCustomSlot(int driveType);

// The type whose names, ranges and displays apply: the stored type, or for a
// custom Mod or Dly/Rev type the base type held in the block.
int EffectiveModType(int storedType, const CustomSettingsBlock& settings);
int EffectiveDlyType(int storedType, const CustomSettingsBlock& settings);

}  // namespace orb8
