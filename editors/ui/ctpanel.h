// TControlPanel: the patch editor, one window for the whole run. It shows
// the patch selected in the current project window, module by module in
// signal order (Drive with its custom selections, VNR, EQ, Mod, Dly/Rev,
// then level and controllers), and turns every knob, list, switch and the
// name into an operation of the editing model; Apply then sends its bytes,
// shows the result and marks the project modified.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "editors/patcheditor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TColorButton;
class TMainWin;
class TProjectWindow;
class TVolume;

class TControlPanel : public QWidget {
    Q_OBJECT

public:
    explicit TControlPanel(TMainWin& main);

    static constexpr int kWidth = 644;
    static constexpr int kHeight = 301;

    // A knob with its name above and its value below.
    struct KnobCell {
        TVolume* knob = nullptr;
        QLabel* name = nullptr;
        QLabel* value = nullptr;
    };

    QLabel* PatchNo;
    QLineEdit* PatchName;
    TColorButton *OnLineBtn, *OffLineBtn, *UploadBtn, *DownloadBtn, *RtmEditBtn, *CompareBtn;
    TColorButton *DriveOnf, *ModOnf, *DlyOnf, *EqOnf;
    QComboBox *DriveType, *ModType, *DlyType, *CtrlCombo, *TrebleFreqCombo, *MidFreqCombo, *BassFreqCombo;
    QLabel *ModCustom, *DlyCustom;
    QCheckBox* VolRtmCheck;
    std::array<KnobCell, 4> DriveVolume, CustomVolume, ModVolume, DlyVolume;
    std::array<KnobCell, 5> EqVolume;
    KnobCell VnrVolume, LvlVol, Ct1NoVol, Ct1ValueVol, Ct2NoVol, Ct2ValueVol;

    // False while the controls are being filled from a patch.
    bool HandlersLive = false;

    orb8::PatchEditor& Editor() { return editor_; }
    // Makes patch `index` of the project the one shown and edited.
    void ShowPatch(TProjectWindow& project, int index);
    // Compare: the patch as it was stored, shown read-only (a copy; the document is untouched).
    void ShowStoredPatch(TProjectWindow& project, int index, orb8::PatchData& stored);
    bool Comparing() const { return comparing_; }
    // The project window goes: nothing is shown any more.
    void Detach(TProjectWindow* project);
    TProjectWindow* Project() const;
    int PatchIndex() const { return index_; }

    // The one place every change of the editor and the RTM window goes
    // through: the bytes to the processor, the controls, the project list
    // and the modified mark.
    void Apply(const orb8::Edit& edit);
    // Runs an operation of the editing model, applies it and records it in
    // the project's history; the changes of one knob drag (same gesture) are one step.
    void Perform(const std::function<orb8::Edit()>& operation, int gesture = 0);
    static int Gesture(const TVolume* knob);
    // Fills the controls from the patch.
    void RefreshAll();

signals:
    // A section of the RTM window must show the patch anew.
    void RtmChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    KnobCell MakeKnob(const QString& objectName, int x, int y, int width);
    TColorButton* MakeSwitch(const char* objectName, int x, int y);
    QComboBox* MakeList(const char* objectName, QRect at);
    QLabel* MakeCaption(const char* objectName, QRect at);
    void ShowKnob(KnobCell& cell, const orb8::KnobView& view, const QString& label = {});
    void RefreshDrive();
    void RefreshMod();
    void RefreshDly();
    void RefreshEq();
    void RefreshSwitches();
    void RefreshOthers();
    void NameEntered();

    TMainWin& main_;
    orb8::PatchEditor editor_;
    QPointer<TProjectWindow> project_;
    int index_ = 0;
    struct Panel {
        QRect area;
        QString title;
    };
    std::vector<Panel> panels_;
    bool comparing_ = false;
};
