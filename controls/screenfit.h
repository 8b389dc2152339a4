// A window's first size kept on the screen it opens on: at most the screen's
// width and nine tenths of its height (room for the window's frame and the
// screen's own bars).
#pragma once

#include <QScreen>
#include <QSize>

inline QSize FitToScreen(QSize wanted, const QScreen* screen) {
    if (!screen) return wanted;
    const QSize available = screen->availableGeometry().size();
    return wanted.boundedTo(QSize(available.width(), available.height() * 9 / 10));
}
