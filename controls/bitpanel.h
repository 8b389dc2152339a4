// TBitPanel: a panel that paints a picture before its bevels: once at the
// top-left corner, tiled, or once centred.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <functional>

class TBitPanel : public QWidget {
    Q_OBJECT

public:
    enum Layout { blSingle, blMulti, blCenter };
    enum Bevel { bvNone, bvLowered, bvRaised };

    explicit TBitPanel(QWidget* parent = nullptr);

    QPixmap Bitmap() const { return bitmap_; }
    void SetBitmap(const QPixmap& bitmap);
    Layout GetLayout() const { return layout_; }
    void SetLayout(Layout layout);
    void SetBevels(Bevel outer, Bevel inner);
    void SetBorderWidth(int width);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    // Paints instead of the colour fill when set.
    std::function<void(TBitPanel* panel, QPainter& canvas)> OnPaint;

    // Where the picture goes for the current layout (blCenter's offset).
    QPoint PictureOrigin() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap bitmap_;
    Layout layout_ = blSingle;
    Bevel outer_ = bvRaised, inner_ = bvNone;
    int borderWidth_ = 0;
    QColor color_;
};
