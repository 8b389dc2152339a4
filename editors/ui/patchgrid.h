// PatchGrid: the project window's list of 80 patches, a row each, under the
// heading "No", "NAME", "DRIVE", "MOD", "REV/DLY", "COMMENT", on a
// PatchListModel. Cells are never edited in place. It turns the mouse into
// the drag of a row (once the pointer has moved 5 pixels) and reports every
// step of a drag by its signals. A patch dropped from elsewhere (a library
// result) arrives as patch clip bytes on a row.
#pragma once

#include <QPoint>
#include <QTableView>
#include <vector>
#include <QTimer>

class PatchListModel;

class PatchGrid : public QTableView {
    Q_OBJECT

public:
    PatchGrid(PatchListModel& model, QWidget* parent);

    static constexpr const char* kMimeType = "application/x-orb8-patch-row";
    static constexpr int kDragStartPixels = 5;

    // Grid row 1..80 under a point of the viewport; 0 over nothing.
    int GridRowAt(const QPoint& viewportPoint) const;
    QString CellText(int row, int column) const;
    // The current row 1..80, or 0 before there is one.
    int CurrentGridRow() const;
    void SetCurrentGridRow(int row);
    // The rows chosen (Shift, Ctrl), in order; the current row when none is.
    std::vector<int> ChosenRows() const;
    // Chooses the rows first..last, the current one among them.
    void ChooseRows(int first, int last, int current);

signals:
    // A row became the current row (mouse, keys or SetCurrentGridRow).
    void RowSelected(int row);
    // The left button went down on row `row` (0: on no row).
    void Pressed(int row);
    // A drag of this list's row is over row `row`, or over the heading.
    void DraggedOver(int row, bool overHeading);
    // A row of `source` (this list or another) was dropped on row `row` (0: the heading).
    void Dropped(PatchGrid* source, int sourceRow, int row);
    // Patch clip bytes (see patch/patchclip.h) were dropped on row `row` (1..80).
    void ClipDropped(const QByteArray& clip, int row);
    void DragEnded();
    void PointerLeft();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartDrag();
    PatchGrid* SourceOf(const QDropEvent* event) const;
    static bool CarriesClip(const QDropEvent* event);
    // Row `row` shows as a dropped patch's target; 0: the current row shows again.
    void MarkClipTarget(int row);
    void DropHere(QDropEvent* event, PatchGrid* source, int row);

    PatchListModel& model_;
    QPoint pressAt_;
    bool pressed_ = false;
    bool keepChosen_ = false;  // pressed inside several chosen rows
    int pressedRow_ = 0;
    QTimer headingScroll_;  // repeats the heading's upward scroll while the pointer rests there
};
