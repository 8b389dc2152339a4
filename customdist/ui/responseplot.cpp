#include "customdist/ui/responseplot.h"

#include <QPainter>
#include <QPainterPath>

using namespace orb8;

namespace {
constexpr int kLeft = 40, kRight = 32, kTop = 6, kBottom = 18;
}

ResponsePlot::ResponsePlot(QWidget* parent) : QWidget(parent) {
    setObjectName("PaintBoxDistChar");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(minimumSizeHint());
}

void ResponsePlot::SetLevels(const std::optional<std::array<double, kPlotPoints>>& levels) {
    levels_ = levels;
    picture_ = QPixmap();
    update();
}

QRect ResponsePlot::PlotArea() const {
    return QRect(kLeft, kTop, std::max(20, width() - kLeft - kRight), std::max(20, height() - kTop - kBottom));
}

QPixmap ResponsePlot::Render(qreal dpr) const {
    QPixmap pixmap(size() * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(QColor(26, 30, 38));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area = PlotArea();
    const int w = area.width(), h = area.height();
    const PlotGeometry grid = PlotGrid(w, h);
    p.translate(area.topLeft() - QPoint(1, 1));  // the geometry counts from (1, 1)

    p.fillRect(QRect(1, 1, w, h), QColor(12, 16, 22));
    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    const QColor gridColour(70, 82, 100), labelColour(170, 182, 200);
    static const char* levelLabels[] = {"12dB", "0dB", "-12dB"};
    for (int k = 0; k < 3; ++k) {
        const int y = grid.levelLines[static_cast<std::size_t>(k)];
        p.setPen(QPen(k == 1 ? QColor(110, 124, 146) : gridColour, 1));
        p.drawLine(QPointF(1, y + 0.5), QPointF(w, y + 0.5));
        p.setPen(labelColour);
        p.drawText(QRect(-kLeft + 1, y - 8, kLeft - 4, 16), Qt::AlignRight | Qt::AlignVCenter, levelLabels[k]);
    }
    static const char* freqLabels[] = {"100Hz", "1kHz", "10kHz"};
    for (int k = 0; k < 3; ++k) {
        const int x = grid.freqLines[static_cast<std::size_t>(k)];
        p.setPen(QPen(gridColour, 1));
        p.drawLine(QPointF(x + 0.5, 1), QPointF(x + 0.5, h));
        p.setPen(labelColour);
        p.drawText(QRect(x - 30, h + 3, 60, 14), Qt::AlignHCenter | Qt::AlignTop, freqLabels[k]);
    }
    p.drawText(QRect(1 - 30, h + 3, 60, 14), Qt::AlignHCenter | Qt::AlignTop, "10Hz");
    // The last label starts at the edge, clear of "10kHz" however narrow the plot.
    p.drawText(QRect(w - 6, h + 3, kRight + 6, 14), Qt::AlignLeft | Qt::AlignTop, "18kHz");

    if (levels_) {
        const auto points = CurvePoints(*levels_, w, h);
        QPainterPath curve;
        curve.moveTo(points[0].x, points[0].y);
        for (std::size_t i = 1; i < points.size(); ++i) curve.lineTo(points[i].x, points[i].y);
        p.save();
        p.setClipRect(QRectF(1, 1, w, h));
        p.setPen(QPen(QColor(255, 196, 70), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(curve);
        p.restore();
    }
    // The frame: a 2-pixel pen.
    p.setPen(QPen(QColor(150, 164, 190), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, w - 1, h - 1));
    return pixmap;
}

void ResponsePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal dpr = std::max(devicePixelRatioF(), painter.deviceTransform().m11());
    if (picture_.isNull() || picture_.devicePixelRatio() != dpr || picture_.deviceIndependentSize() != QSizeF(size()))
        picture_ = Render(dpr);
    painter.drawPixmap(0, 0, picture_);
}

void ResponsePlot::resizeEvent(QResizeEvent* event) {
    picture_ = QPixmap();
    QWidget::resizeEvent(event);
}
