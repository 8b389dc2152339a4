#include "editors/compare.h"

namespace orb8 {

std::vector<std::pair<int, int>> SwitchBytes(const PatchData& from, const PatchData& to) {
    std::vector<std::pair<int, int>> bytes;
    for (int b = 0; b < kPatchBytes; ++b)
        if (from[static_cast<std::size_t>(b)] != to[static_cast<std::size_t>(b)]) bytes.emplace_back(b, to[static_cast<std::size_t>(b)]);
    return bytes;
}

std::vector<std::pair<int, int>> CompareSession::On(const PatchData& edited, const PatchData& stored, const Show& show) {
    if (!comparing_) held_ = edited;
    comparing_ = true;
    shown_ = stored;
    show(shown_);
    auto bytes = SwitchBytes(held_, shown_);
    held_ = shown_;
    return bytes;
}

std::vector<std::pair<int, int>> CompareSession::Off(PatchData& edited, const Show& show) {
    if (!comparing_) return {};
    comparing_ = false;
    show(edited);
    auto bytes = SwitchBytes(held_, edited);
    held_ = edited;
    return bytes;
}

}  // namespace orb8
