// Where two patches differ: every parameter, by module, with its name and
// both display texts; and the patches that differ between two banks.
#pragma once

#include <string>
#include <vector>

#include "patch/effecttables.h"
#include "patch/projectdocument.h"

namespace orb8 {

struct ParameterDifference {
    int byte;
    Module module;
    std::string name;  // under the first patch's type (the second's when the first has none)
    std::string textA, textB;
    int valueA, valueB;
};

// Module by module (Drive, Mod, Dly/Rev, EQ, then the rest), in byte order within each.
std::vector<ParameterDifference> PatchDifferences(const PatchData& a, const CustomSettingsBlock& settingsA,
                                                  const PatchData& b, const CustomSettingsBlock& settingsB);

std::string_view ModuleName(Module module);

struct PatchDifference {
    int index;  // 0..79
    std::vector<ParameterDifference> parameters;
    bool commentDiffers = false;
    std::string commentA, commentB;
};
// The patches of two banks that differ in a value that the file keeps, or in their comment.
std::vector<PatchDifference> BankDifferences(const ProjectDocument& a, const CustomSettingsBlock& settingsA,
                                             const ProjectDocument& b, const CustomSettingsBlock& settingsB);

// Where two custom settings blocks differ: each differing byte by the slot
// that holds it ("MOD CUSTOM1") and the parameter the editor names it by
// ("type", "RATE"), with both display texts. Bytes outside the slots are
// named "byte N".
struct SettingsDifference {
    int offset;        // in the block
    std::string slot;  // empty outside the slots
    std::string name;
    std::string textA, textB;
};
std::vector<SettingsDifference> CustomSettingsDifferences(const CustomSettingsBlock& a, const CustomSettingsBlock& b);
// The slots where they differ, each once, in block order ("MOD CUSTOM1").
std::vector<std::string> DifferingSlots(const CustomSettingsBlock& a, const CustomSettingsBlock& b);
// Those slots joined by ", ".
std::string DifferingSlotsText(const CustomSettingsBlock& a, const CustomSettingsBlock& b);

}  // namespace orb8
