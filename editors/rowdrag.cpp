#include "editors/rowdrag.h"

#include "patch/patchdata.h"

namespace orb8 {

void RowDrag::Start(int row, std::int64_t nowMs) {
    if (row < 1 || row > kPatchCount) {
        End();
        return;
    }
    source_ = target_ = row;
    lastScrollMs_ = nowMs;
}

bool RowDrag::OverRow(int row) {
    if (!Active()) return false;
    if (row < 1 || row > kPatchCount) return OverNothing();
    if (row == target_) return false;
    target_ = row;
    return true;
}

bool RowDrag::OverNothing() {
    if (!Active() || target_ == source_) return false;
    target_ = source_;
    return true;
}

bool RowDrag::HeadingScrollDue(std::int64_t nowMs) {
    if (!Active() || nowMs - lastScrollMs_ <= 30) return false;
    lastScrollMs_ = nowMs;
    return true;
}

int RowDrag::ShownRow(int r) const {
    const int s = source_, t = target_;
    if (!Active() || s == t) return r;
    if (r == t) return s;
    if (s < t && r >= s && r < t) return r + 1;
    if (s > t && r > t && r <= s) return r - 1;
    return r;
}

std::optional<std::pair<int, int>> RowDrag::Drop() {
    std::optional<std::pair<int, int>> move;
    if (Active() && target_ != source_) move = std::make_pair(source_, target_);
    End();
    return move;
}

}  // namespace orb8
