#include "editors/ui/patchgrid.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

#include "editors/ui/projectwin.h"
#include "patch/projectdocument.h"

PatchGrid::PatchGrid(TProjectWindow& owner) : QTableWidget(orb8::kPatchCount, orb8::kProjectColumns, &owner), owner_(owner) {
    setObjectName("PatchGrid");
    QStringList headings;
    for (const char* heading : orb8::kProjectHeadings) headings << tr(heading);
    setHorizontalHeaderLabels(headings);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    // The widths of the original list, widened where this screen's font needs it.
    const int widths[] = {30, 70, 70, 68, 72, 411};
    const QFontMetrics metrics(font());
    const int label = metrics.horizontalAdvance(QStringLiteral("u94")) + 14;
    const int typeName = QFontMetrics(QFont("DejaVu Sans Mono")).horizontalAdvance(QStringLiteral("CMP+DIST")) + 14;
    for (int c = 0; c < orb8::kProjectColumns; ++c)
        setColumnWidth(c, c == 0 ? std::max(widths[c], label) : c < 5 ? std::max(widths[c], typeName) : widths[c]);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    horizontalHeader()->setAcceptDrops(true);
    horizontalHeader()->installEventFilter(this);
    QFont fixed = font();
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFamily("DejaVu Sans Mono");
    const QColor labels = palette().color(QPalette::Button);
    for (int r = 0; r < orb8::kPatchCount; ++r) {
        for (int c = 0; c < orb8::kProjectColumns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (c >= 1 && c <= 4) item->setFont(fixed);
            if (c == 0) item->setBackground(labels);
            setItem(r, c, item);
        }
    }
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row >= 0 && row != previous) owner_.SelectRow(row + 1);
    });
    headingScroll_.setInterval(30);
    connect(&headingScroll_, &QTimer::timeout, this, [this] { owner_.PatchGridDragOver(0, true); });
}

int PatchGrid::GridRowAt(const QPoint& p) const {
    const int r = rowAt(p.y());
    return r < 0 ? 0 : r + 1;
}

void PatchGrid::SetRowTexts(int row, const QStringList& texts) {
    for (int c = 1; c < orb8::kProjectColumns && c - 1 < texts.size(); ++c) item(row - 1, c)->setText(texts[c - 1]);
}

QString PatchGrid::CellText(int row, int column) const { return item(row - 1, column)->text(); }

void PatchGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    pressed_ = false;
    if (event->button() != Qt::LeftButton) return;
    const int row = GridRowAt(event->position().toPoint());
    owner_.PatchGridMouseDown(row);
    if (row == 0) return;
    pressed_ = true;
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
    QTableWidget::mouseMoveEvent(event);
}

void PatchGrid::mouseReleaseEvent(QMouseEvent* event) {
    pressed_ = false;
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) owner_.PatchGridEndDrag();
}

void PatchGrid::keyPressEvent(QKeyEvent* event) {
    // Enter changes nothing; the arrows and page keys move the current row.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void PatchGrid::StartDrag() {
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(kMimeType, QByteArray::number(owner_.Drag().Source()));
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    headingScroll_.stop();
    owner_.PatchGridEndDrag();
}

PatchGrid* PatchGrid::SourceOf(const QDropEvent* event) const {
    if (!event->mimeData()->hasFormat(kMimeType)) return nullptr;
    return qobject_cast<PatchGrid*>(event->source());
}

void PatchGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (!SourceOf(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void PatchGrid::dragMoveEvent(QDragMoveEvent* event) {
    PatchGrid* source = SourceOf(event);
    if (!source) {
        event->ignore();
        return;
    }
    headingScroll_.stop();
    event->acceptProposedAction();
    if (source == this) owner_.PatchGridDragOver(GridRowAt(event->position().toPoint()), false);
}

void PatchGrid::dragLeaveEvent(QDragLeaveEvent* event) {
    headingScroll_.stop();
    owner_.PointerLeft();
    QTableWidget::dragLeaveEvent(event);
}

void PatchGrid::dropEvent(QDropEvent* event) {
    PatchGrid* source = SourceOf(event);
    headingScroll_.stop();
    if (!source) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    owner_.PatchGridDragDrop(source->owner_, GridRowAt(event->position().toPoint()));
}

// The heading row takes part in the drag: the bank shows as it was, and
// resting there moves the current row up.
bool PatchGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != horizontalHeader()) return QTableWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            PatchGrid* source = SourceOf(drag);
            if (!source) return false;
            drag->acceptProposedAction();
            if (source == this) {
                owner_.PatchGridDragOver(0, true);
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
                drop->acceptProposedAction();
                owner_.PatchGridDragDrop(source->owner_, 0);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}
