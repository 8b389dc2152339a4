// PatchGrid: the project window's list of 80 patches, a row each, under the
// heading "No", "NAME", "DRIVE", "MOD", "REV/DLY", "COMMENT". Cells are never
// edited in place. It turns the mouse into the drag of a row (once the
// pointer has moved 5 pixels) and hands every drag event to its window.
#pragma once

#include <QPoint>
#include <QTableWidget>
#include <QTimer>

class TProjectWindow;

class PatchGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit PatchGrid(TProjectWindow& owner);

    static constexpr const char* kMimeType = "application/x-orb8-patch-row";
    static constexpr int kDragStartPixels = 5;

    // Grid row 1..80 under a point of the viewport; 0 over nothing.
    int GridRowAt(const QPoint& viewportPoint) const;
    // Shows texts in a patch row's columns 1..5.
    void SetRowTexts(int row, const QStringList& texts);
    QString CellText(int row, int column) const;

protected:
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

    TProjectWindow& owner_;
    QPoint pressAt_;
    bool pressed_ = false;
    QTimer headingScroll_;  // repeats the heading's upward scroll while the pointer rests there
};
