#include "patch/customsettings.h"

namespace orb8 {

const CustomSettingsBlock& DefaultCustomSettings() {
    static const CustomSettingsBlock block = {
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
        1, 30, 24, 35, 28, 0, 0, 3, 0, 3,
        10, 8, 5, 20, 0, 0, 1, 0, 2, 39,
        10, 13, 30, 0, 0, 3, 0, 4, 4, 60,
        15, 30, 0, 0, 2, 0, 236, 80, 24, 6,
        5, 24, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 24, 6, 5, 24, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0};
    return block;
}

int ModCustomSlot(int storedType) {
    return storedType == 20 ? kModCustom1Slot : storedType == 21 ? kModCustom2Slot : -1;
}

int DlyCustomSlot(int storedType) {
    return storedType == 20 ? kDlyCustom1Slot : storedType == 21 ? kDlyCustom2Slot : -1;
}

int DriveCustomSlot(int driveType) {
    return driveType == 20 ? kDriveCustom1Slot : driveType == 21 ? kDriveCustom2Slot : -1;
}

int EffectiveModType(int storedType, const CustomSettingsBlock& settings) {
    const int slot = ModCustomSlot(storedType);
    return slot < 0 ? storedType : settings[static_cast<std::size_t>(slot)];
}

int EffectiveDlyType(int storedType, const CustomSettingsBlock& settings) {
    const int slot = DlyCustomSlot(storedType);
    return slot < 0 ? storedType : settings[static_cast<std::size_t>(slot)];
}

}  // namespace orb8
