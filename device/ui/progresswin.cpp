#include "device/ui/progresswin.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TProgressWin::TProgressWin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("ProgressWin");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    ProText = new QLabel(this);
    ProText->setObjectName("ProText");
    ProText->setMinimumWidth(300);
    Bar = new QProgressBar(this);
    Bar->setObjectName("ProgressBar");
    Bar->setTextVisible(true);
    Abortbtn = new QPushButton(tr("Abort"), this);
    Abortbtn->setObjectName("Abortbtn");
    Abortbtn->setAutoDefault(false);
    layout->addWidget(ProText);
    layout->addWidget(Bar);
    layout->addWidget(Abortbtn, 0, Qt::AlignHCenter);
    connect(Abortbtn, &QPushButton::clicked, this, &TProgressWin::AbortbtnClick);
}

void TProgressWin::SetText(const QString& text) { ProText->setText(text); }

void TProgressWin::SetProgress(int done, int total) {
    if (total <= 0) {
        Bar->setRange(0, 0);
        return;
    }
    Bar->setRange(0, total);
    Bar->setValue(std::clamp(done, 0, total));
}

void TProgressWin::ShowCentred() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
}

void TProgressWin::AbortbtnClick() { emit Aborted(); }

// The window has no close button; Escape is Abort, as its only button.
void TProgressWin::closeEvent(QCloseEvent* event) { event->ignore(); }

void TProgressWin::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        AbortbtnClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
