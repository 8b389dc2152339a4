#include "patch/customplay.h"

#include <algorithm>

#include "patch/effecttables.h"

namespace orb8 {
namespace {

// A Mod or Dly/Rev slot's sound: the base type, the four values, the RTM destination.
struct ModuleSound {
    int base;
    std::array<std::uint8_t, 5> values;
    bool operator==(const ModuleSound&) const = default;
};

struct ModuleLayout {
    int typeByte, firstParam, destByte;
    int (*slotOf)(int);
};
constexpr ModuleLayout kMod{ModType, ModParam1, ModRtmDest, ModCustomSlot};
constexpr ModuleLayout kDly{DlyType, DlyParam1, DlyRtmDest, DlyCustomSlot};

ModuleSound SoundOfSlot(const CustomSettingsBlock& block, int slot, const ModuleLayout& m) {
    const auto s = static_cast<std::size_t>(slot);
    const auto destOffset = static_cast<std::size_t>(1 + m.destByte - m.firstParam);
    return {block[s], {block[s + 1], block[s + 2], block[s + 3], block[s + 4], block[s + destOffset]}};
}

void WriteSound(PatchData& patch, const ModuleSound& sound, const ModuleLayout& m) {
    for (int k = 0; k < 4; ++k) patch[static_cast<std::size_t>(m.firstParam + k)] = sound.values[static_cast<std::size_t>(k)];
    patch[static_cast<std::size_t>(m.destByte)] = sound.values[4];
}

void CarryModule(PatchData& patch, const CustomSettingsBlock& from, const CustomSettingsBlock& to, const ModuleLayout& m) {
    const int type = patch[static_cast<std::size_t>(m.typeByte)];
    const int slot = m.slotOf(type);
    if (slot < 0) return;
    const ModuleSound sound = SoundOfSlot(from, slot, m);
    WriteSound(patch, sound, m);
    for (const int number : {type, type == 20 ? 21 : 20}) {
        if (SoundOfSlot(to, m.slotOf(number), m) == sound) {
            patch[static_cast<std::size_t>(m.typeByte)] = static_cast<std::uint8_t>(number);
            return;
        }
    }
    patch[static_cast<std::size_t>(m.typeByte)] = static_cast<std::uint8_t>(sound.base);
}

// A custom drive's character selections (patch bytes 10..13) as its slot holds them.
std::array<std::uint8_t, 4> DriveCharacter(const CustomSettingsBlock& block, int slot) {
    std::array<std::uint8_t, 4> c{};
    for (int b = CustomCharSel; b <= CustomLowSel; ++b)
        c[static_cast<std::size_t>(b - CustomCharSel)] = block[static_cast<std::size_t>(slot + b - DriveParam1)];
    return c;
}

}  // namespace

PatchData PlayedPatch(const PatchData& patch, const CustomSettingsBlock& settings) {
    PatchData played = patch;
    for (const ModuleLayout& m : {kMod, kDly}) {
        const int slot = m.slotOf(patch[static_cast<std::size_t>(m.typeByte)]);
        if (slot < 0) continue;
        const ModuleSound sound = SoundOfSlot(settings, slot, m);
        WriteSound(played, sound, m);
        played[static_cast<std::size_t>(m.typeByte)] = static_cast<std::uint8_t>(sound.base);
    }
    if (const int slot = DriveCustomSlot(patch[DriveType]); slot >= 0) {
        const auto character = DriveCharacter(settings, slot);
        std::copy(character.begin(), character.end(), played.begin() + CustomCharSel);
    }
    return played;
}

PatchData CarriedPatch(const PatchData& patch, const CustomSettingsBlock& from, const CustomSettingsBlock& to,
                       std::vector<std::string>* notes) {
    PatchData carried = patch;
    CarryModule(carried, from, to, kMod);
    CarryModule(carried, from, to, kDly);
    const int driveType = patch[DriveType];
    if (const int slot = DriveCustomSlot(driveType); slot >= 0) {
        const auto character = DriveCharacter(from, slot);
        std::copy(character.begin(), character.end(), carried.begin() + CustomCharSel);
        bool found = false;
        for (const int number : {driveType, driveType == 20 ? 21 : 20}) {
            if (DriveCharacter(to, DriveCustomSlot(number)) == character) {
                carried[DriveType] = static_cast<std::uint8_t>(number);
                found = true;
                break;
            }
        }
        if (!found && notes)
            notes->push_back("DRIVE " + TypeName(Module::Drive, driveType) +
                             " plays another character in this bank's custom settings");
    }
    return carried;
}

}  // namespace orb8
