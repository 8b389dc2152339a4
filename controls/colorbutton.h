// TColorButton: a flat push button whose face is filled with its colour. It
// looks pressed while the left button, pressed on it, is held inside it, and
// while Down is set by the program.
#pragma once

#include <QColor>
#include <QWidget>

class TColorButton : public QWidget {
    Q_OBJECT

public:
    explicit TColorButton(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool Down() const { return down_; }
    void SetDown(bool down);
    // Drawn pressed at this moment.
    bool ShowsPressed() const { return down_ || (pressed_ && inside_); }

    QSize sizeHint() const override { return {50, 25}; }

signals:
    void OnClick(TColorButton* button);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QColor color_;
    QString caption_;
    bool down_ = false;
    bool pressed_ = false;  // the left button went down on it and is held
    bool inside_ = false;
};
