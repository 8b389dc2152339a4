#include "controls/volume.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "controls/knobgeometry.h"

TVolume::TVolume(QWidget* parent) : QWidget(parent), color_(palette().color(QPalette::Window)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(64, 64);
}

void TVolume::SetPosition(int value) {
    if (value > max_) value = max_;
    if (value < min_) value = min_;
    position_ = value;
    update();
}

void TVolume::SetMax(int value) {
    max_ = value;
    if (position_ > value) {
        position_ = value;
    }
    update();
}

void TVolume::SetMin(int value) {
    min_ = value;
    if (position_ < value) {
        position_ = value;
    }
    update();
}

void TVolume::SetTransparented(bool on) {
    if (on == transparented_) return;
    transparented_ = on;
    FaceChanged();
}

void TVolume::SetBGnorm(const QImage& face) {
    bgNorm_ = face.copy();
    FaceChanged();
}

void TVolume::SetBGfoced(const QImage& face) {
    bgFocused_ = face.copy();
    FaceChanged();
}

void TVolume::SetBGdis(const QImage& face) {
    bgDisabled_ = face.copy();
    FaceChanged();
}

void TVolume::SetColor(const QColor& color) {
    color_ = color;
    FaceChanged();
}

void TVolume::FaceChanged() {
    faceCache_ = QImage();
    update();
}

// The faces we supply: a dark cap in a ring of scale marks, drawn as vectors so
// they stay sharp at any size and screen scale.
void TVolume::DrawBuiltInFace(QPainter& p, bool focused) const {
    const QRectF area(0, 0, width(), height());
    const qreal side = std::min(area.width(), area.height());
    const QPointF centre(width() / 2.0, height() / 2.0);
    const qreal radius = side / 2.0 - std::max<qreal>(1.0, side * 0.06);
    const bool enabled = isEnabled();
    p.setRenderHint(QPainter::Antialiasing, true);

    // Scale marks along the 270-degree travel.
    const QColor markColour = enabled ? QColor(150, 156, 166) : QColor(190, 190, 190);
    p.setPen(QPen(markColour, std::max<qreal>(1.0, side / 40.0), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= 10; ++i) {
        const double t = i / 10.0 * 3 * M_PI / 2 - M_PI / 4;
        const QPointF dir(-std::cos(t), -std::sin(t));
        p.drawLine(centre + dir * (radius * 0.98), centre + dir * (radius * 0.86));
    }

    // The cap.
    const qreal cap = radius * 0.78;
    QRadialGradient shade(centre - QPointF(cap * 0.35, cap * 0.45), cap * 1.6);
    if (enabled) {
        shade.setColorAt(0.0, QColor(104, 110, 122));
        shade.setColorAt(0.55, QColor(52, 56, 64));
        shade.setColorAt(1.0, QColor(28, 30, 36));
    } else {
        shade.setColorAt(0.0, QColor(196, 196, 196));
        shade.setColorAt(1.0, QColor(150, 150, 150));
    }
    p.setBrush(shade);
    const QColor rim = focused && enabled ? QColor(255, 168, 38) : enabled ? QColor(18, 19, 23) : QColor(130, 130, 130);
    p.setPen(QPen(rim, focused && enabled ? std::max<qreal>(1.5, side / 14.0) : std::max<qreal>(0.8, side / 40.0)));
    p.drawEllipse(centre, cap, cap);
}

const QImage& TVolume::Face(qreal dpr) const {
    const FaceKey key{size(), dpr, isEnabled(), hasFocus()};
    if (faceCache_.isNull() || !(key == faceKey_)) {
        faceCache_ = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
        faceCache_.setDevicePixelRatio(dpr);
        faceCache_.fill(color_);
        QPainter p(&faceCache_);
        DrawFace(p);
        faceKey_ = key;
    }
    return faceCache_;
}

QImage TVolume::Render(qreal dpr) const {
    QImage image;
    if (OnGetParentBG) {
        // 1. What lies under the knob may change at any time: drawn each time.
        image = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(color_);
        OnGetParentBG(const_cast<TVolume*>(this), image);
        QPainter face(&image);
        DrawFace(face);
    } else {
        image = Face(dpr).copy();
    }
    QPainter p(&image);
    // 4, 5. The pointer.
    if (OnPaint) {
        OnPaint(const_cast<TVolume*>(this), position_, p);
        return image;
    }
    const orb8::KnobPoint end = orb8::KnobIndicatorEnd(position_, max_, width(), height());
    if (OnPaintIndicator) {
        OnPaintIndicator(const_cast<TVolume*>(this), end.x, end.y, p);
    } else {
        p.setRenderHint(QPainter::Antialiasing, true);
        const qreal pen = std::max<qreal>(1.5, std::min(width(), height()) / 14.0);
        p.setPen(QPen(isEnabled() ? QColor(Qt::white) : QColor(235, 235, 235), pen, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(width() / 2, height() / 2), QPointF(end.x, end.y));
    }
    return image;
}

// 2, 3. The face: the picture for the state, or the built-in one.
void TVolume::DrawFace(QPainter& p) const {
    const bool focused = hasFocus();
    const QImage* face = &bgNorm_;
    if (isEnabled() && focused && !bgFocused_.isNull()) face = &bgFocused_;
    if (!isEnabled() && !bgDisabled_.isNull()) face = &bgDisabled_;
    if (face->isNull()) {
        DrawBuiltInFace(p, focused);
    } else if (transparented_) {
        // The bottom-left pixel's colour is the colour key.
        QImage keyed = face->convertToFormat(QImage::Format_ARGB32);
        const QRgb key = keyed.pixel(0, keyed.height() - 1);
        for (int y = 0; y < keyed.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
            }
        }
        p.drawImage(QPoint(0, 0), keyed);
    } else {
        p.drawImage(QPoint(0, 0), *face);
    }
}

void TVolume::paintEvent(QPaintEvent*) {
    // Drawn off screen at the target's own scale (a screen's, or a larger
    // picture's when the window is rendered), then copied in one step.
    QPainter painter(this);
    const qreal dpr = std::max(devicePixelRatioF(), painter.deviceTransform().m11());
    painter.drawImage(QPoint(0, 0), Render(dpr));
}

void TVolume::mousePressEvent(QMouseEvent*) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    // The press only focuses and starts the drag; the value moves with the pointer.
    dragging_ = isEnabled() && focusPolicy() != Qt::NoFocus;
    if (dragging_) {
        ++dragCount_;
        emit DragStarted(this);
    }
}

void TVolume::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint at = event->position().toPoint();
    const orb8::KnobMove move = orb8::KnobPositionForPointer(at.x(), at.y(), width(), height(), position_, max_);
    if (!move.changes) return;
    position_ = move.position;
    emit OnChanged(this, position_);
    update();
}

void TVolume::mouseReleaseEvent(QMouseEvent*) { EndDrag(); }

void TVolume::EndDrag() {
    if (!dragging_) return;
    dragging_ = false;
    emit DragEnded(this);
}

void TVolume::Step(int to) {
    to = std::clamp(to, std::min(min_, max_), max_);
    if (to == position_) return;
    position_ = to;
    emit OnChanged(this, position_);
    update();
}

void TVolume::keyPressEvent(QKeyEvent* event) {
    const int page = std::max(1, (max_ + 5) / 10);
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right: Step(position_ + 1); break;
        case Qt::Key_Down:
        case Qt::Key_Left: Step(position_ - 1); break;
        case Qt::Key_PageUp: Step(position_ + page); break;
        case Qt::Key_PageDown: Step(position_ - page); break;
        case Qt::Key_Home: Step(min_); break;
        case Qt::Key_End: Step(max_); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TVolume::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || !isEnabled()) {
        event->ignore();
        return;
    }
    Step(position_ + notches);
    event->accept();
}

void TVolume::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TVolume::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    EndDrag();
    update();
}

void TVolume::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            EndDrag();
            if (hasFocus()) focusNextChild();
            if (hasFocus()) clearFocus();
        }
        update();
    }
    QWidget::changeEvent(event);
}
