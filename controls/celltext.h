// TCellText: one line of text in a fixed font and colour, as under and over
// the patch editor's knobs. It draws the text itself: cheaper to make and to
// change than a label with a font and palette of its own, of which the editor
// would have over fifty. Disabled, it draws in its disabled colour.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class TCellText : public QWidget {
    Q_OBJECT

public:
    TCellText(const QFont& font, Qt::Alignment alignment, QWidget* parent);

    QString text() const { return text_; }
    void setText(const QString& text);
    QColor Color() const { return color_; }
    void SetColors(const QColor& color, const QColor& disabled);
    void SetColor(const QColor& color) { SetColors(color, disabled_); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QFont font_;
    Qt::Alignment alignment_;
    QString text_;
    QColor color_ = Qt::black;
    QColor disabled_ = Qt::gray;
};
