// TRtmPopUp: the real-time modulation window ("RTM"), above the frame. Four
// sections, one per module (Drive, EQ, Mod, Dly/Rev): the upper and lower
// limit, the destination and the controller of the patch the editor shows.
// Its changes go through the editor's one edit path; Refresh follows the
// editor.
#pragma once

#include <QWidget>
#include <array>

#include "patch/effecttables.h"

namespace orb8 {
class PatchEditing;
}

class QComboBox;
class QLabel;
class QSlider;
class TVolume;

class TRtmPopUp : public QWidget {
    Q_OBJECT

public:
    TRtmPopUp(orb8::PatchEditing& editing, QWidget* parent);

    static constexpr int kWidth = 534;
    static constexpr int kHeight = 216;


    // Shown 50 pixels below and 20 right of the frame's top left corner.
    void ShowPlaced(QPoint frameTopLeft);
    // Every section from the patch the editor shows.
    void Refresh();

private:
    struct Section {
        QSlider* maxTrackBar = nullptr;
        QLabel* maxValue = nullptr;
        QSlider* minTrackBar = nullptr;
        QLabel* minValue = nullptr;
        QComboBox* desCombo = nullptr;
        TVolume* ctrVol = nullptr;
        QLabel* ctrValue = nullptr;
        QLabel* title = nullptr;
    };
    // Drive, EQ, Mod, Dly/Rev, in the window's order.
    std::array<Section, 4> Sections;
    Section& Of(orb8::Module module);
    void Build(int row, orb8::Module module, const char* prefix, const QString& title);

    orb8::PatchEditing& editing_;
    bool filling_ = false;
};
