// TNumEdit: a one-line box holding a bounded integer, shown as text. Typing and
// Enter commit a value; Page Up and Down step it; a press in the right quarter
// steps by one, and dragging there up or down changes it one unit per pixel.
// The windows that use it supply the text form of a value through OnSetText
// and OnTextToVal.
#pragma once

#include <QCursor>
#include <QLineEdit>
#include <functional>

class TNumEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TNumEdit(QWidget* parent = nullptr);

    int Value() const { return value_; }
    void SetValue(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Min() const { return min_; }
    void SetMin(int value);

    // The text shown for a value (decimal when unset).
    std::function<QString(int value)> OnSetText;
    // A typed text back to a value (a decimal integer, 0 otherwise, when unset).
    std::function<int(const QString& text)> OnTextToVal;

    // The stepping zone: the right quarter, upper half up, lower half down.
    bool InSteppingZone(const QPoint& at) const { return at.x() > width() * 3 / 4; }
    // Warping the pointer back into the box while dragging, where the platform allows it.
    void SetPointerWarping(bool on) { warp_ = on; }

    // The four cursors: stepping up or down, pressed or hovering.
    static QCursor StepCursor(bool up, bool pressed);

signals:
    void OnChanged(TNumEdit* edit);
    void OnDecided(TNumEdit* edit);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RewriteText();
    int TextValue() const;
    void Step();
    void PutPointer(int d);

    int value_ = 0;
    int max_ = 127;
    int min_ = 0;
    bool dragging_ = false;
    bool moved_ = false;
    bool zonePress_ = false;
    int lastY_ = 0;
    bool warp_ = true;
};
