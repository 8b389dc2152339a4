// A/B compare of a patch: what the processor must hear to switch from one
// form of a patch to the other.
#pragma once

#include <utility>
#include <vector>

#include "patch/patchdata.h"

namespace orb8 {

// (byte, value) for each byte where `to` differs from `from`, in byte order.
std::vector<std::pair<int, int>> SwitchBytes(const PatchData& from, const PatchData& to);

}  // namespace orb8
