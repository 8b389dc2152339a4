// TAboutBox: the program's picture, once as the splash at start-up (it
// closes itself after 2 seconds) and again on Help > About, where it stays
// until a key or a click.
#pragma once

#include <QDialog>
#include <QTimer>

class TBitPanel;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static constexpr int kWidth = 377;
    static constexpr int kHeight = 246;

    // Shown as the about box, not the splash: the box stays until dismissed.
    void StopSplashTimer();

    // The picture: name, version and a floor processor, drawn for a screen scale.
    static QPixmap Picture(qreal devicePixelRatio);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ACTimerTimer();

    TBitPanel* BitPanel1;
    QTimer* ACTimer;  // the splash's two seconds
};
