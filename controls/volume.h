// TVolume: the rotary knob every editor is built from. It holds an integer
// position, draws its face and a pointer line into an off-screen image that is
// copied to the screen in one step, and turns drags into positions by the
// pointer's angle around the centre. A focused knob also takes the arrow
// keys, Page Up and Down, Home and End and the wheel. Program changes never
// fire OnChanged.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

class TVolume : public QWidget {
    Q_OBJECT

public:
    explicit TVolume(QWidget* parent = nullptr);

    int Position() const { return position_; }
    void SetPosition(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Min() const { return min_; }
    void SetMin(int value);

    bool Transparented() const { return transparented_; }
    void SetTransparented(bool on);
    // Face pictures; while empty the knob draws its own faces.
    void SetBGnorm(const QImage& face);
    void SetBGfoced(const QImage& face);
    void SetBGdis(const QImage& face);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    // Replaces the pointer drawing when set (the face is drawn first).
    std::function<void(TVolume* vol, int value, QPainter& canvas)> OnPaint;
    // Draws the pointer instead of the white line; x, y is its end point.
    std::function<void(TVolume* vol, int x, int y, QPainter& canvas)> OnPaintIndicator;
    // Paints what lies under the knob, so a knob can sit on a picture.
    std::function<void(TVolume* vol, QImage& bg)> OnGetParentBG;

    bool Dragging() const { return dragging_; }
    // Counts the drags begun: the changes of one drag share the number.
    int DragCount() const { return dragCount_; }
    // The knob as it is drawn, at the given device pixel ratio.
    QImage Render(qreal devicePixelRatio = 1.0) const;

    QSize sizeHint() const override { return {64, 64}; }

signals:
    // After each pointer movement that sets the position while dragging.
    void OnChanged(TVolume* vol, int value);
    // A drag from press to release (or until the knob loses the focus or is disabled).
    void DragStarted(TVolume* vol);
    void DragEnded(TVolume* vol);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawBuiltInFace(QPainter& p, bool focused) const;
    // A change by the keyboard or the wheel: a user change like a drag.
    void Step(int to);
    void EndDrag();
    // The background and face at a scale: drawn once per size, scale and
    // state and kept, so a repaint only copies it and draws the pointer.
    const QImage& Face(qreal devicePixelRatio) const;
    void DrawFace(QPainter& p) const;
    void FaceChanged();

    struct FaceKey {
        QSize size;
        qreal dpr = 0;
        bool enabled = false, focused = false;
        bool operator==(const FaceKey&) const = default;
    };
    mutable QImage faceCache_;
    mutable FaceKey faceKey_;

    int position_ = 0;
    int max_ = 127;
    int min_ = 0;
    bool transparented_ = false;
    bool dragging_ = false;
    int dragCount_ = 0;
    QImage bgNorm_, bgFocused_, bgDisabled_;
    QColor color_;
};
