// Dragging a row of a project list, or a block of chosen rows around it:
// where the dragged patches are shown while the pointer moves, the order
// every row then shows (the order a drop would give), and when holding the
// pointer over the heading scrolls up.
// Rows are 1..80; the list draws what ShownRow says from its snapshot.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

namespace orb8 {

class RowDrag {
public:
    // The left button went down on a patch row; first..last: the block of
    // chosen rows it belongs to (none: the row alone).
    void Start(int row, std::int64_t nowMs, int first = 0, int last = 0);
    bool Active() const { return source_ != 0; }
    int Source() const { return source_; }
    int First() const { return first_; }
    int Last() const { return last_; }
    // 0: no preview; otherwise the row the block's first patch is shown on.
    int Target() const { return target_; }

    // The pointer over patch row `row`; true when the preview changed.
    bool OverRow(int row);
    // Over the heading, over no row, or out of the window: the bank shows as
    // it was; true when the preview changed.
    bool OverNothing();
    // Over the heading: whether the current row moves up now (at most once
    // every 30 ms); the time counts from the press or the last step.
    bool HeadingScrollDue(std::int64_t nowMs);

    // The snapshot row shown on row r while the preview stands.
    int ShownRow(int r) const;

    // The drop: the move to make (the block's first row, the row it goes
    // to), or nothing when the block is back where it was. The drag is over
    // either way.
    std::optional<std::pair<int, int>> Drop();
    // The drag ended without a drop here.
    void End() { source_ = target_ = first_ = last_ = 0; }

private:
    int source_ = 0, target_ = 0, first_ = 0, last_ = 0;
    std::int64_t lastScrollMs_ = 0;
};

}  // namespace orb8
