#include "controls/bitpanel.h"

#include <QPainter>

TBitPanel::TBitPanel(QWidget* parent) : QWidget(parent), color_(palette().color(QPalette::Window)) {}

void TBitPanel::SetBitmap(const QPixmap& bitmap) {
    bitmap_ = bitmap;
    update();
}

void TBitPanel::SetLayout(Layout layout) {
    layout_ = layout;
    update();
}

void TBitPanel::SetBevels(Bevel outer, Bevel inner) {
    outer_ = outer;
    inner_ = inner;
    update();
}

void TBitPanel::SetBorderWidth(int width) {
    borderWidth_ = width < 0 ? 0 : width;
    update();
}

void TBitPanel::SetColor(const QColor& color) {
    color_ = color;
    update();
}

QPoint TBitPanel::PictureOrigin() const {
    if (layout_ != blCenter || bitmap_.isNull()) return {0, 0};
    const QSize picture = bitmap_.deviceIndependentSize().toSize();
    return {width() / 2 - picture.width() / 2, height() / 2 - picture.height() / 2};
}

namespace {

void DrawBevel(QPainter& p, QRect& r, TBitPanel::Bevel bevel) {
    if (bevel == TBitPanel::bvNone) return;
    const QColor light(255, 255, 255), shadow(128, 128, 128);
    const QColor topLeft = bevel == TBitPanel::bvRaised ? light : shadow;
    const QColor bottomRight = bevel == TBitPanel::bvRaised ? shadow : light;
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    r.adjust(1, 1, -1, -1);
}

}  // namespace

void TBitPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (OnPaint) OnPaint(this, p);
    else p.fillRect(rect(), color_);
    if (!bitmap_.isNull()) {
        switch (layout_) {
            case blSingle: p.drawPixmap(QPoint(0, 0), bitmap_); break;
            case blMulti: p.drawTiledPixmap(rect(), bitmap_); break;
            case blCenter: p.drawPixmap(PictureOrigin(), bitmap_); break;
        }
    }
    QRect r = rect();
    DrawBevel(p, r, outer_);
    for (int i = 0; i < borderWidth_ && r.width() > 0 && r.height() > 0; ++i) {
        p.setPen(color_);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    DrawBevel(p, r, inner_);
}
