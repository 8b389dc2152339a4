// Rows as a user reaches them in window tests: a click on a row, and a drop
// of dragged data on a bank's row (the events a drag delivers, without the
// drag loop that offscreen windows lack).
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>

#include "editors/ui/patchgrid.h"

inline void DropOnRow(PatchGrid* grid, int row, QMimeData* mime) {
    grid->scrollTo(grid->model()->index(row - 1, 1));
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &drop);
}

inline void ClickRow(QAbstractItemView* view, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(view->model()->index(row, 1)).center());
}
