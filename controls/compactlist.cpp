#include "controls/compactlist.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFrame>

void CompactList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPalette& pal = palette();
    p.setPen(QPen(pal.color(QPalette::Mid), 1));
    p.setBrush(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Button));
    p.drawRoundedRect(box, 3, 3);
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 2, 2);
    }
    const QColor text = pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    // The arrow: a small triangle at the right.
    const qreal ax = width() - 7.5, ay = height() / 2.0;
    QPainterPath arrow;
    arrow.moveTo(ax - 3, ay - 1.5);
    arrow.lineTo(ax + 3, ay - 1.5);
    arrow.lineTo(ax, ay + 2);
    arrow.closeSubpath();
    p.fillPath(arrow, text);
    p.setPen(text);
    p.setFont(font());
    const QString shown = currentIndex() < 0 ? placeholderText() : currentText();
    p.drawText(QRect(4, 0, width() - 16, height()), Qt::AlignLeft | Qt::AlignVCenter, shown);
}
