#include "controls/celltext.h"

#include <QPainter>

TCellText::TCellText(const QFont& font, Qt::Alignment alignment, QWidget* parent)
    : QWidget(parent), font_(font), alignment_(alignment) {}

void TCellText::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
}

void TCellText::SetColors(const QColor& color, const QColor& disabled) {
    if (color == color_ && disabled == disabled_) return;
    color_ = color;
    disabled_ = disabled;
    update();
}

void TCellText::paintEvent(QPaintEvent*) {
    if (text_.isEmpty()) return;
    QPainter painter(this);
    painter.setFont(font_);
    painter.setPen(isEnabled() ? color_ : disabled_);
    painter.drawText(rect(), static_cast<int>(alignment_), text_);
}
