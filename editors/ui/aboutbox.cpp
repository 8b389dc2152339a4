#include "editors/ui/aboutbox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

#include "workspace/documentrules.h"
#include "controls/bitpanel.h"

namespace {

void Knob(QPainter& p, QPointF centre, qreal radius, qreal angle) {
    QRadialGradient cap(centre - QPointF(radius * 0.3, radius * 0.4), radius * 1.5);
    cap.setColorAt(0, QColor(120, 126, 138));
    cap.setColorAt(1, QColor(24, 26, 31));
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(cap);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF dir(std::cos(angle), -std::sin(angle));
    p.drawLine(centre + dir * radius * 0.25, centre + dir * radius * 0.8);
}

}  // namespace

QPixmap TAboutBox::Picture(qreal dpr) {
    QPixmap pixmap(QSize(kWidth, kHeight) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // A dark stage.
    QLinearGradient stage(0, 0, 0, kHeight);
    stage.setColorAt(0, QColor(24, 30, 44));
    stage.setColorAt(1, QColor(6, 8, 14));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), stage);

    // The floor processor: a sloped steel body with its display, knobs and pedals.
    const QRectF body(34, 118, 309, 92);
    QLinearGradient steel(body.topLeft(), body.bottomLeft());
    steel.setColorAt(0, QColor(196, 40, 44));
    steel.setColorAt(1, QColor(112, 14, 20));
    p.setPen(QPen(QColor(40, 6, 8), 1.5));
    p.setBrush(steel);
    p.drawRoundedRect(body, 9, 9);
    const QRectF display(50, 130, 66, 30);
    p.setBrush(QColor(12, 14, 12));
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.drawRoundedRect(display, 3, 3);
    QFont led("DejaVu Sans Mono");
    led.setPixelSize(20);
    led.setBold(true);
    p.setFont(led);
    p.setPen(QColor(255, 70, 40));
    p.drawText(display, Qt::AlignCenter, "U01");
    for (int i = 0; i < 5; ++i) Knob(p, QPointF(144 + i * 40, 145), 12, 3.9 - i * 0.8);
    // Foot switches and their LEDs.
    for (int i = 0; i < 3; ++i) {
        const QPointF centre(90 + i * 98, 188);
        QRadialGradient metal(centre - QPointF(3, 4), 15);
        metal.setColorAt(0, QColor(240, 240, 244));
        metal.setColorAt(1, QColor(120, 122, 130));
        p.setPen(QPen(QColor(60, 60, 64), 1));
        p.setBrush(metal);
        p.drawEllipse(centre, 11, 11);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? QColor(90, 255, 90) : QColor(60, 20, 20));
        p.drawEllipse(centre + QPointF(0, -20), 3, 3);
    }
    // The expression pedal at the right.
    QPainterPath pedal;
    pedal.addRoundedRect(QRectF(300, 165, 34, 40), 4, 4);
    p.setPen(QPen(QColor(20, 20, 22), 1));
    p.setBrush(QColor(44, 44, 50));
    p.drawPath(pedal);
    for (int y = 170; y < 203; y += 5) {
        p.setPen(QPen(QColor(80, 80, 88), 1));
        p.drawLine(QPointF(304, y), QPointF(330, y));
    }
    QFont badge = p.font();
    badge.setFamily("DejaVu Sans");
    badge.setPixelSize(11);
    badge.setBold(true);
    p.setFont(badge);
    p.setPen(QColor(255, 228, 210));
    p.drawText(QRectF(236, 168, 60, 14), Qt::AlignLeft | Qt::AlignVCenter, "ORB-8");

    // The name and version.
    QFont title("DejaVu Sans");
    title.setPixelSize(27);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(236, 240, 248));
    p.drawText(QRectF(0, 22, kWidth, 34), Qt::AlignCenter, orb8::kLongTitle);
    QFont small("DejaVu Sans");
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(150, 162, 186));
    p.drawText(QRectF(0, 60, kWidth, 18), Qt::AlignCenter,
               QStringLiteral("Version %1  -  for the VESK ORB-8").arg(QStringLiteral(ORB8_VERSION)));
    p.drawText(QRectF(0, 218, kWidth, 18), Qt::AlignCenter, QStringLiteral("patch librarian, editor and distortion designer"));
    p.end();
    return pixmap;
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("AboutBox");
    setFixedSize(kWidth, kHeight);
    BitPanel1 = new TBitPanel(this);
    BitPanel1->setObjectName("BitPanel1");
    BitPanel1->setGeometry(0, 0, kWidth, kHeight);
    BitPanel1->SetBevels(TBitPanel::bvNone, TBitPanel::bvNone);  // the picture comes when shown
    BitPanel1->installEventFilter(this);
    ACTimer = new QTimer(this);
    ACTimer->setObjectName("ACTimer");
    ACTimer->setInterval(2000);
    ACTimer->setSingleShot(false);
    connect(ACTimer, &QTimer::timeout, this, &TAboutBox::ACTimerTimer);
    ACTimer->start();
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, drawn for its scale.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
    BitPanel1->SetBitmap(Picture(devicePixelRatioF()));
    QDialog::showEvent(event);
}

// The first tick closes the splash; it fires once per run.
void TAboutBox::StopSplashTimer() { ACTimer->stop(); }

void TAboutBox::ACTimerTimer() {
    ACTimer->stop();
    accept();
}

void TAboutBox::keyPressEvent(QKeyEvent*) { accept(); }
void TAboutBox::mousePressEvent(QMouseEvent*) { accept(); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == BitPanel1 && event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
