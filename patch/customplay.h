// What a patch of a CUSTOM type plays: its bank's custom settings slot. A
// patch moved into another bank (a morph, a merge, a library patch) is
// carried by that sound, never by a CUSTOM number that plays something else
// there.
#pragma once

#include <string>
#include <vector>

#include "patch/customsettings.h"
#include "patch/patchdata.h"

namespace orb8 {

// The patch as it plays through `settings`: a CUSTOM Mod or Dly/Rev type
// becomes its base type with the slot's values and RTM destination; a custom
// drive takes the slot's character selections. Other patches are unchanged.
PatchData PlayedPatch(const PatchData& patch, const CustomSettingsBlock& settings);

// A patch of a bank that plays through `from`, for a bank that plays through
// `to`: a CUSTOM Mod or Dly/Rev type keeps its number where `to`'s slot holds
// the same, else takes the other CUSTOM number whose slot does, else becomes
// its base type with the slot's values. A custom drive keeps its number
// where a slot of `to` holds its character, else it keeps it and `notes`
// says so (no plain drive type plays a custom drive). The patch's own bytes
// for the type take the values it plays.
PatchData CarriedPatch(const PatchData& patch, const CustomSettingsBlock& from, const CustomSettingsBlock& to,
                       std::vector<std::string>* notes = nullptr);

}  // namespace orb8
