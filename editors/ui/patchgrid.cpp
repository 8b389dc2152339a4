#include "editors/ui/patchgrid.h"

#include <algorithm>

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

#include "editors/ui/patchlistmodel.h"
#include "patch/patchclip.h"
#include "patch/projectdocument.h"

PatchGrid::PatchGrid(PatchListModel& model, QWidget* parent) : QTableView(parent), model_(model) {
    setObjectName("PatchGrid");
    // The row header is hidden before the model comes: a shown one measures
    // the text of every row's number for its width.
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setModel(&model_);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    // The widths of the original list, widened where this screen's font needs it.
    const int widths[] = {30, 70, 70, 68, 72, 411};
    const QFontMetrics metrics(font());
    const int label = metrics.horizontalAdvance(QStringLiteral("u94")) + 14;
    // (Measured in the font the type columns are drawn in: one font loaded, not two.)
    const int typeName = QFontMetrics(model_.FixedFont()).horizontalAdvance(QStringLiteral("CMP+DIST")) + 14;
    for (int c = 0; c < orb8::kProjectColumns; ++c)
        setColumnWidth(c, c == 0 ? std::max(widths[c], label) : c < 5 ? std::max(widths[c], typeName) : widths[c]);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Shift and Ctrl choose several rows: copied, pasted and moved together.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    horizontalHeader()->setAcceptDrops(true);
    horizontalHeader()->installEventFilter(this);
    headingScroll_.setInterval(30);
    connect(&headingScroll_, &QTimer::timeout, this, [this] { emit DraggedOver(0, true); });
}

int PatchGrid::GridRowAt(const QPoint& p) const {
    const int r = rowAt(p.y());
    return r < 0 ? 0 : r + 1;
}

QString PatchGrid::CellText(int row, int column) const { return model_.Text(row, column); }

std::vector<int> PatchGrid::ChosenRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row() + 1);
    std::sort(rows.begin(), rows.end());
    if (rows.empty() && CurrentGridRow() > 0) rows.push_back(CurrentGridRow());
    return rows;
}

int PatchGrid::CurrentGridRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void PatchGrid::SetCurrentGridRow(int row) {
    const int column = std::max(currentIndex().column(), 0);
    setCurrentIndex(model_.index(row - 1, column));
}

void PatchGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.row() != previous.row()) emit RowSelected(current.row() + 1);
}

void PatchGrid::ChooseRows(int first, int last, int current) {
    SetCurrentGridRow(current);
    const QItemSelection rows(model_.index(first - 1, 0), model_.index(last - 1, model_.columnCount() - 1));
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void PatchGrid::mousePressEvent(QMouseEvent* event) {
    // A press inside several chosen rows keeps them chosen: it may start
    // their drag. A click there without a drag chooses that row alone.
    const std::vector<int> chosen = ChosenRows();
    const int under = GridRowAt(event->position().toPoint());
    keepChosen_ = event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier && chosen.size() > 1 &&
                  std::find(chosen.begin(), chosen.end(), under) != chosen.end();
    if (keepChosen_) event->accept();
    else QTableView::mousePressEvent(event);
    pressed_ = false;
    if (event->button() != Qt::LeftButton) return;
    const int row = GridRowAt(event->position().toPoint());
    emit Pressed(row);
    if (row == 0) return;
    pressed_ = true;
    pressedRow_ = row;
    pressAt_ = event->position().toPoint();
}

void PatchGrid::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ && (event->buttons() & Qt::LeftButton)) {
        // A shorter movement is an ordinary click; the selection never follows the pointer.
        if ((event->position().toPoint() - pressAt_).manhattanLength() >= kDragStartPixels) {
            pressed_ = false;
            StartDrag();
        }
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void PatchGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (keepChosen_ && pressed_) ChooseRows(pressedRow_, pressedRow_, pressedRow_);
    keepChosen_ = false;
    pressed_ = false;
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit DragEnded();
}

void PatchGrid::keyPressEvent(QKeyEvent* event) {
    // Enter changes nothing; the arrows and page keys move the current row.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void PatchGrid::StartDrag() {
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(kMimeType, QByteArray::number(pressedRow_));
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    headingScroll_.stop();
    emit DragEnded();
}

PatchGrid* PatchGrid::SourceOf(const QDropEvent* event) const {
    if (!event->mimeData()->hasFormat(kMimeType)) return nullptr;
    return qobject_cast<PatchGrid*>(event->source());
}

bool PatchGrid::CarriesClip(const QDropEvent* event) {
    return event->mimeData()->hasFormat(orb8::kPatchClipMimeType);
}

void PatchGrid::DropHere(QDropEvent* event, PatchGrid* source, int row) {
    event->acceptProposedAction();
    emit Dropped(source, event->mimeData()->data(kMimeType).toInt(), row);
}

void PatchGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (!SourceOf(event) && !CarriesClip(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void PatchGrid::dragMoveEvent(QDragMoveEvent* event) {
    PatchGrid* source = SourceOf(event);
    if (!source && CarriesClip(event)) {
        // A patch from elsewhere lands on the row under the pointer: that row
        // shows selected, without becoming current (which would show its patch).
        const int row = GridRowAt(event->position().toPoint());
        MarkClipTarget(row);
        if (row == 0) event->ignore();
        else event->acceptProposedAction();
        return;
    }
    if (!source) {
        event->ignore();
        return;
    }
    headingScroll_.stop();
    event->acceptProposedAction();
    if (source == this) emit DraggedOver(GridRowAt(event->position().toPoint()), false);
}

void PatchGrid::MarkClipTarget(int row) {
    const QModelIndex index = model_.index(row > 0 ? row - 1 : CurrentGridRow() - 1, 0);
    if (index.isValid()) selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else selectionModel()->clearSelection();
}

void PatchGrid::dragLeaveEvent(QDragLeaveEvent* event) {
    headingScroll_.stop();
    MarkClipTarget(0);
    emit PointerLeft();
    QTableView::dragLeaveEvent(event);
}

void PatchGrid::dropEvent(QDropEvent* event) {
    PatchGrid* source = SourceOf(event);
    headingScroll_.stop();
    if (!source && CarriesClip(event)) {
        const int row = GridRowAt(event->position().toPoint());
        MarkClipTarget(0);
        if (row == 0) {
            event->ignore();
            return;
        }
        event->acceptProposedAction();
        emit ClipDropped(event->mimeData()->data(orb8::kPatchClipMimeType), row);
        return;
    }
    if (!source) {
        event->ignore();
        return;
    }
    DropHere(event, source, GridRowAt(event->position().toPoint()));
}

// The heading row takes part in the drag: the bank shows as it was, and
// resting there moves the current row up.
bool PatchGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != horizontalHeader()) return QTableView::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            PatchGrid* source = SourceOf(drag);
            if (!source) return false;
            drag->acceptProposedAction();
            if (source == this) {
                emit DraggedOver(0, true);
                if (!headingScroll_.isActive()) headingScroll_.start();
            }
            return true;
        }
        case QEvent::DragLeave:
            headingScroll_.stop();
            return false;
        case QEvent::Drop: {
            headingScroll_.stop();
            auto* drop = static_cast<QDropEvent*>(event);
            if (PatchGrid* source = SourceOf(drop)) {
                DropHere(drop, source, 0);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}
