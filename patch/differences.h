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

}  // namespace orb8
