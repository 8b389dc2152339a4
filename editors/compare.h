// A/B compare of a patch: what the processor must hear to switch from one
// form of a patch to the other.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "patch/patchdata.h"

namespace orb8 {

// (byte, value) for each byte where `to` differs from `from`, in byte order.
std::vector<std::pair<int, int>> SwitchBytes(const PatchData& from, const PatchData& to);

// Compare of the patch in the editor: the editor shows the patch as stored
// instead of as edited, and the processor follows. Showing a patch may fill
// it in (a custom type takes its slot's values), so the bytes to send are
// worked out from what the processor was last given and the patch as it is
// shown, after `show` has filled it in: what the editor shows is always what
// the processor holds.
class CompareSession {
public:
    using Show = std::function<void(PatchData&)>;

    bool Comparing() const { return comparing_; }
    // Shows a copy of `stored` instead of `edited` (which the processor holds).
    std::vector<std::pair<int, int>> On(const PatchData& edited, const PatchData& stored, const Show& show);
    // Shows `edited` again.
    std::vector<std::pair<int, int>> Off(PatchData& edited, const Show& show);
    // The stored patch being shown.
    const PatchData& Shown() const { return shown_; }

private:
    bool comparing_ = false;
    PatchData held_{};   // what the processor holds of the patch
    PatchData shown_{};  // the stored patch, as shown
};

}  // namespace orb8
