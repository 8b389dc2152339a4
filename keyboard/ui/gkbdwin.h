// TGkbdWin ("Graphic KBD"): a ten-octave keyboard above the other windows
// that plays notes and sends program, bank, controller and pitch-bend
// messages through the program's MIDI output.
#pragma once

#include <QWidget>

#include "keyboard/keyboardmodel.h"
#include "keyboard/keyboardport.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;

class TGkbdWin : public QWidget {
    Q_OBJECT

public:
    TGkbdWin(KeyboardPort& port, QWidget* parent);


    const orb8::KeyboardGeometry& Geometry() const { return geometry_; }
    int SoundingNote() const { return sounding_; }

    // What the keyboard's picture reports (in the picture's coordinates).
    void PointerMoved(QPoint at);
    void PointerPressed();
    void PointerReleased();
    void Paint(QPainter& painter);

    void SendProgram();
    void SendBank();
    void SendValue();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QSpinBox *BankEdit, *PrgEdit, *VeloEdit, *ChEdit, *ValEdit;
    QComboBox* MessCombo;
    QPushButton *SmallBtn, *BigBtn, *PlayBtn;
    QWidget* KBDimage;
    QScrollArea* ScrollBox;
    QStatusBar* StatusBar;
    template <std::size_t N>
    void Out(const std::array<std::uint8_t, N>& message);
    void Resize();

    KeyboardPort& port_;
    orb8::KeyboardGeometry geometry_;
    int hovered_ = -1, sounding_ = -1;
};
