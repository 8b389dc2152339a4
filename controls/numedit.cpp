#include "controls/numedit.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setMouseTracking(true);
    // Wayland does not let a program move the pointer: drags are then measured
    // from the press point instead.
    warp_ = QGuiApplication::platformName() != QLatin1String("wayland");
    RewriteText();
}

void TNumEdit::RewriteText() {
    setText(OnSetText ? OnSetText(value_) : QString::number(value_));
    setCursorPosition(static_cast<int>(text().size()));
}

void TNumEdit::SetValue(int v) {
    if (v > max_) v = max_;
    if (v < min_) v = min_;
    if (v == value_) {
        RewriteText();
        return;
    }
    value_ = v;
    RewriteText();
    emit OnChanged(this);
}

void TNumEdit::SetMax(int v) {
    max_ = v;
    if (value_ > v) SetValue(v);
}

void TNumEdit::SetMin(int v) {
    min_ = v;
    if (value_ < v) SetValue(v);
}

int TNumEdit::TextValue() const {
    if (OnTextToVal) return OnTextToVal(text());
    bool ok = false;
    const int v = text().trimmed().toInt(&ok);
    return ok ? v : 0;
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SetValue(TextValue());
            emit OnDecided(this);
            event->accept();
            return;
        case Qt::Key_PageUp:
            SetValue(value_ + 1);
            event->accept();
            return;
        case Qt::Key_PageDown:
            SetValue(value_ - 1);
            event->accept();
            return;
        case Qt::Key_Escape:
            RewriteText();
            event->accept();
            return;
        default: break;
    }
    // Characters that never reach the text.
    const QString typed = event->text();
    if (typed.size() == 1) {
        const QChar c = typed[0];
        if (c == QChar('\r') || c == QChar(0x1B) || c == QChar('!') || c == QChar('"')) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
    SetValue(TextValue());
    QLineEdit::focusOutEvent(event);
}

void TNumEdit::PutPointer(int d) {
    const QPoint home(width() - 4, height() / 2 + d);
    if (warp_) QCursor::setPos(mapToGlobal(home));
    lastY_ = home.y();
}

void TNumEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (InSteppingZone(at)) {
        const int d = at.y() < height() / 2 ? -1 : 1;
        setCursor(StepCursor(d < 0, true));
        if (!hasFocus()) setFocus(Qt::MouseFocusReason);
        if (warp_) {
            PutPointer(d);
        } else {
            lastY_ = at.y();
        }
        dragging_ = true;
        moved_ = false;
        zonePress_ = true;
        event->accept();
        return;
    }
    dragging_ = moved_ = zonePress_ = false;
    QLineEdit::mousePressEvent(event);
}

void TNumEdit::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragging_) {
        if (at.y() == lastY_) return;
        const int d = at.y() < lastY_ ? -1 : 1;
        setCursor(StepCursor(d < 0, true));
        SetValue(lastY_ + value_ - at.y());  // one unit per pixel, up increases
        if (warp_) PutPointer(d);
        else lastY_ = at.y();
        moved_ = true;
        return;
    }
    if (InSteppingZone(at)) setCursor(StepCursor(at.y() < height() / 2, false));
    else setCursor(Qt::IBeamCursor);
    QLineEdit::mouseMoveEvent(event);
}

void TNumEdit::Step() { SetValue(lastY_ < height() / 2 ? value_ + 1 : value_ - 1); }

void TNumEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragging_) {
        // The click: a press without a drag steps once; either way the value is decided.
        if (!moved_) Step();
        dragging_ = false;
        emit OnDecided(this);
        setCursor(StepCursor(event->position().toPoint().y() < height() / 2, false));
        event->accept();
        return;
    }
    dragging_ = false;
    QLineEdit::mouseReleaseEvent(event);
}

void TNumEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && zonePress_ && !moved_) {
        // The second press of the pair steps once more, as a click does.
        Step();
        emit OnDecided(this);
        setCursorPosition(static_cast<int>(text().size()));
        event->accept();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

namespace {

// The four cursors live while the application does: a cursor must not
// outlive the application object, and a later application makes them anew.
struct StepCursorSet {
    QCursor cursors[2][2];
};
StepCursorSet* stepCursors = nullptr;

void FreeStepCursors() {
    delete stepCursors;
    stepCursors = nullptr;
}

}  // namespace

QCursor TNumEdit::StepCursor(bool up, bool pressed) {
    // CRINC / CRDEC while stepping, CRINCP / CRDECP while hovering: a triangle
    // with a bar, filled while pressed.
    if (!stepCursors) {
        stepCursors = new StepCursorSet;
        qAddPostRoutine(FreeStepCursors);
        auto& cursors = stepCursors->cursors;
        for (int u = 0; u < 2; ++u) {
            for (int pr = 0; pr < 2; ++pr) {
                QPixmap pix(21, 21);
                pix.fill(Qt::transparent);
                QPainter p(&pix);
                p.setRenderHint(QPainter::Antialiasing);
                QPainterPath arrow;
                const bool isUp = u == 1;
                if (isUp) {
                    arrow.moveTo(10.5, 3);
                    arrow.lineTo(18, 12);
                    arrow.lineTo(3, 12);
                } else {
                    arrow.moveTo(10.5, 18);
                    arrow.lineTo(18, 9);
                    arrow.lineTo(3, 9);
                }
                arrow.closeSubpath();
                p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPath(arrow);
                p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(pr ? QBrush(Qt::black) : QBrush(Qt::white));
                p.drawPath(arrow);
                const qreal bar = isUp ? 16 : 5;
                p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(5, bar), QPointF(16, bar));
                p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(5, bar), QPointF(16, bar));
                p.end();
                cursors[u][pr] = QCursor(pix, 10, 10);
            }
        }
    }
    return stepCursors->cursors[up ? 1 : 0][pressed ? 1 : 0];
}
