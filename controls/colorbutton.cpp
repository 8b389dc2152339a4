#include "controls/colorbutton.h"

#include <QMouseEvent>
#include <QPainter>

TColorButton::TColorButton(QWidget* parent) : QWidget(parent), color_(palette().color(QPalette::Button)) {
    resize(50, 25);
    setFocusPolicy(Qt::NoFocus);
}

void TColorButton::SetColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void TColorButton::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void TColorButton::SetDown(bool down) {
    if (down == down_) return;
    down_ = down;
    update();
}

void TColorButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const bool pressed = ShowsPressed();
    const bool enabled = isEnabled();
    const QColor light = enabled ? QColor(255, 255, 255) : QColor(232, 232, 232);
    const QColor shadow = enabled ? QColor(112, 112, 112) : QColor(190, 190, 190);
    const QColor dark = enabled ? QColor(40, 40, 40) : QColor(170, 170, 170);

    // Frame: raised, or pushed in while pressed; an inactive one when disabled.
    p.fillRect(r, dark);
    if (pressed) {
        p.fillRect(r.adjusted(0, 0, -1, -1), shadow);
        p.fillRect(r.adjusted(1, 1, 0, 0), light);
        p.fillRect(r.adjusted(1, 1, -1, -1), dark.lighter(250));
    } else {
        p.fillRect(r.adjusted(0, 0, -1, -1), light);
        p.fillRect(r.adjusted(1, 1, -1, -1), shadow);
        p.fillRect(r.adjusted(1, 1, -2, -2), light.darker(104));
    }
    // Face, one pixel further in while pressed.
    const int inset = pressed ? 3 : 2;
    QRect face = r.adjusted(inset, inset, -inset, -inset);
    if (pressed) face.translate(1, 0);
    QColor fill = color_;
    if (!enabled) fill = QColor::fromHsv(fill.hsvHue(), fill.hsvSaturation() / 4, std::min(255, fill.value() / 2 + 110));
    p.fillRect(face, fill);

    // Caption, centred, a pixel right and down while pressed.
    QRect text = r;
    if (pressed) text.translate(1, 1);
    const int lightness = (fill.red() * 299 + fill.green() * 587 + fill.blue() * 114) / 1000;
    QColor ink = lightness < 128 ? QColor(Qt::white) : QColor(Qt::black);
    if (!enabled) ink = QColor(120, 120, 120);
    p.setPen(ink);
    p.setFont(font());
    p.drawText(text, Qt::AlignCenter, caption_);
}

void TColorButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    inside_ = true;
    update();
}

void TColorButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != inside_) {
        inside_ = inside;
        update();
    }
}

void TColorButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    update();
    if (inside && isEnabled()) emit OnClick(this);
}

void TColorButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        pressed_ = false;
        update();
    }
    QWidget::changeEvent(event);
}
