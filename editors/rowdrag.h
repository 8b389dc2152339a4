// Dragging a row of a project list: which row the dragged patch is shown on
// while the pointer moves, the order every row then shows (the order a drop
// would give), and when holding the pointer over the heading scrolls up.
// Rows are 1..80; the list draws what ShownRow says from its snapshot.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

namespace orb8 {

class RowDrag {
public:
    // The left button went down on a patch row.
    void Start(int row, std::int64_t nowMs);
    bool Active() const { return source_ != 0; }
    int Source() const { return source_; }
    // 0: no preview; otherwise the row the dragged patch is shown on.
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

    // The drop: the move to make (source, target), or nothing when the patch
    // is back on its own row. The drag is over either way.
    std::optional<std::pair<int, int>> Drop();
    // The drag ended without a drop here.
    void End() { source_ = target_ = 0; }

private:
    int source_ = 0, target_ = 0;
    std::int64_t lastScrollMs_ = 0;
};

}  // namespace orb8
