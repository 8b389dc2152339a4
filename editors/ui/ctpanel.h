// TControlPanel: the patch editor, one window for the whole run. It shows
// the patch selected in the current project window, module by module in
// signal order (Drive with its custom selections, VNR, EQ, Mod, Dly/Rev,
// then level and controllers), and turns every knob, list, switch and the
// name into an operation of the editing model, performed as a step of the
// project's session; the processor hears its bytes. Its buttons ask the
// frame to act through signals.
#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "editors/compare.h"
#include "editors/patcheditor.h"
#include "editors/patchediting.h"
#include "patch/document.h"

class EditorContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TCellText;
class TColorButton;
class TVolume;

class TControlPanel : public QWidget, public orb8::PatchEditing {
    Q_OBJECT

public:
    explicit TControlPanel(EditorContext& context);

    static constexpr int kWidth = 644;
    static constexpr int kHeight = 301;

    // What the editor shows (tests and benchmarks read it).
    const orb8::PatchEditor& Editor() const { return editor_; }
    // Makes patch `index` of the project the one shown and edited (Compare ends first).
    void ShowPatch(orb8::ProjectSession& project, int index);
    // Compare on: the patch as last loaded, saved or received, read-only;
    // off: the patch as edited. The processor follows. Returns the state.
    bool SetCompare(bool on);
    bool Comparing() const { return compare_.Comparing(); }
    // The project goes: nothing is shown any more.
    void Detach(const orb8::ProjectSession* project);
    // The project whose patch is shown (nullptr: none).
    orb8::ProjectSession* Project() const;
    int PatchIndex() const { return index_; }
    // The frame's on-line state on the OnLine, OffLine, RecvAll and SendAll
    // buttons (an empty `transfersEnabled` leaves their enabling as it is).
    void ShowOnLineState(bool onLine, std::optional<bool> transfersEnabled, bool transfersGreen);
    // Whether the OnLine and OffLine buttons take a click.
    void EnableOnLineButtons(bool enabled);

    // A drag of a knob or slider of the editor, the RTM or a tool window.
    void BeginGesture() override;
    void EndGesture() override;

    // PatchEditing, for the tool windows.
    const orb8::PatchData* EditedPatch() const override;
    std::string EditedPatchTitle() const override;
    const orb8::ProjectSession* EditedProject() const override { return Project(); }
    int EditedIndex() const override { return index_; }
    const orb8::CustomSettingsBlock& EditedSettings() const override { return editor_.Settings(); }
    orb8::RtmView ShownRtm(orb8::Module module) const override { return editor_.Rtm(module); }
    void PerformTool(const std::string& text, const std::function<orb8::Edit(orb8::PatchEditor&)>& tool) override;
    // Fills the controls from the patch.
    void RefreshAll();

signals:
    // A section of the RTM window must show the patch anew.
    void RtmChanged();
    // Compare shows `patch` (the stored one) on the project's row `row`; nullptr: the document's again.
    void ComparedPatchShown(const orb8::ProjectSession* project, int row, const orb8::PatchData* patch);
    // What the buttons ask of the frame.
    void OnLineRequested();
    void OffLineRequested();
    void ReceiveAllRequested();
    void SendAllRequested();
    void RtmRequested();
    void CompareRequested();
    void SoundDesignRequested();
    // Another patch is shown (or none).
    void PatchShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // A knob with its name above and its value below (object names N, N + "Label", N + "Value").
    struct KnobCell {
        TVolume* knob = nullptr;
        TCellText* name = nullptr;
        TCellText* value = nullptr;
    };

    QLabel* PatchNo;
    QLineEdit* PatchName;
    TColorButton *OnLineBtn, *OffLineBtn, *UploadBtn, *DownloadBtn, *RtmEditBtn, *CompareBtn, *DesignBtn;
    TColorButton *DriveOnf, *ModOnf, *DlyOnf, *EqOnf;
    QComboBox *DriveType, *ModType, *DlyType, *CtrlCombo, *TrebleFreqCombo, *MidFreqCombo, *BassFreqCombo;
    QLabel *ModCustom, *DlyCustom;
    QCheckBox* VolRtmCheck;
    std::array<KnobCell, 4> DriveVolume, CustomVolume, ModVolume, DlyVolume;
    std::array<KnobCell, 5> EqVolume;
    KnobCell VnrVolume, LvlVol, Ct1NoVol, Ct1ValueVol, Ct2NoVol, Ct2ValueVol;

    // The knobs' names and values: two fonts for all their texts.
    QFont knobNameFont_, knobValueFont_;
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
    void Apply(const orb8::Edit& edit);
    void Follow(orb8::ProjectSession* project, int index);

    // Runs an operation of the editing model as one step of the project's
    // session (the changes of one knob drag are one step) and shows it.
    // `text` names the step; empty: the name of the first byte it sends.
    void Perform(const std::function<orb8::Edit()>& operation, const QString& text = {});

    EditorContext& context_;
    bool HandlersLive = false;  // false while the controls are being filled from a patch
    // The block the editor shows through when no bank is shown, and the
    // stored block a compared patch plays through (a copy: comparing changes
    // no bank).
    orb8::CustomSettingsBlock noBank_ = orb8::DefaultCustomSettings();
    orb8::CustomSettingsBlock compared_ = orb8::DefaultCustomSettings();
    orb8::PatchData working_{};  // the patch being edited, as shown
    orb8::CustomSettingsBlock workingSettings_{};  // its bank's custom settings, as shown
    orb8::PatchEditor editor_;
    orb8::CompareSession compare_;
    std::weak_ptr<orb8::Document> project_;
    int index_ = 0;
    int listener_ = 0;
    bool performing_ = false;
    struct Panel {
        QRect area;
        QString title;
    };
    std::vector<Panel> panels_;
};
