// ResponsePlot: the frequency response of a character's filters, from 10 Hz
// to 18 kHz and from +24 to -24 dB: the grid with its labels and the curve,
// drawn from the plot geometry of the custom distortion library. The picture
// is kept and drawn anew only when the curve, the size or the scale change.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

#include "customdist/response.h"

class ResponsePlot : public QWidget {
    Q_OBJECT

public:
    explicit ResponsePlot(QWidget* parent = nullptr);

    // The levels to draw; none: the grid alone.
    void SetLevels(const std::optional<std::array<double, orb8::kPlotPoints>>& levels);
    bool CurveShown() const { return levels_.has_value(); }
    // The area the curve is drawn in, inside the labels.
    QRect PlotArea() const;
    // The picture as it is painted, at a scale.
    QPixmap Render(qreal devicePixelRatio) const;

    QSize sizeHint() const override { return {600, 300}; }
    QSize minimumSizeHint() const override { return {260, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::optional<std::array<double, orb8::kPlotPoints>> levels_;
    mutable QPixmap picture_;
};
