#include "editors/compare.h"

namespace orb8 {

std::vector<std::pair<int, int>> SwitchBytes(const PatchData& from, const PatchData& to) {
    std::vector<std::pair<int, int>> bytes;
    for (int b = 0; b < kPatchBytes; ++b)
        if (from[static_cast<std::size_t>(b)] != to[static_cast<std::size_t>(b)]) bytes.emplace_back(b, to[static_cast<std::size_t>(b)]);
    return bytes;
}

}  // namespace orb8
