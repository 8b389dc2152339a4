#include "editors/rowdrag.h"

#include <algorithm>

#include "patch/patchdata.h"

namespace orb8 {

void RowDrag::Start(int row, std::int64_t nowMs, int first, int last) {
    if (row < 1 || row > kPatchCount) {
        End();
        return;
    }
    const bool block = first >= 1 && first <= row && row <= last && last <= kPatchCount;
    source_ = row;
    first_ = target_ = block ? first : row;
    last_ = block ? last : row;
    lastScrollMs_ = nowMs;
}

// The grabbed row follows the pointer; the block keeps its shape and stays in the bank.
bool RowDrag::OverRow(int row) {
    if (!Active()) return false;
    if (row < 1 || row > kPatchCount) return OverNothing();
    const int size = last_ - first_ + 1;
    const int to = std::clamp(row - (source_ - first_), 1, kPatchCount - size + 1);
    if (to == target_) return false;
    target_ = to;
    return true;
}

bool RowDrag::OverNothing() {
    if (!Active() || target_ == first_) return false;
    target_ = first_;
    return true;
}

bool RowDrag::HeadingScrollDue(std::int64_t nowMs) {
    if (!Active() || nowMs - lastScrollMs_ <= 30) return false;
    lastScrollMs_ = nowMs;
    return true;
}

int RowDrag::ShownRow(int r) const {
    const int f = first_, t = target_, n = last_ - first_ + 1;
    if (!Active() || f == t) return r;
    if (r >= t && r < t + n) return f + (r - t);
    if (f < t && r >= f && r < t) return r + n;
    if (t < f && r >= t + n && r < f + n) return r - n;
    return r;
}

std::optional<std::pair<int, int>> RowDrag::Drop() {
    std::optional<std::pair<int, int>> move;
    if (Active() && target_ != first_) move = std::make_pair(first_, target_);
    End();
    return move;
}

}  // namespace orb8
