// TSoundDesignWin ("Sound Design"): the tools that explore a sound from the
// patch in the editor. Randomise it by an amount (guided by the open banks'
// patches when asked), nudge it towards or away from up to four patches,
// morph it towards another patch with a slider that plays while it moves,
// and take modules from another patch. Parts and single parameters the
// player locks never change; the locks are remembered. The last results stay
// listed to go back to, and a pedal the window learns drives the morph. Each
// tool is one step of the project (Undo takes it back) and on line the
// processor follows.
#pragma once

#include <QList>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>
#include <optional>

#include "editors/patchediting.h"
#include "patch/patchdata.h"
#include "sounddesign/morphcontroller.h"
#include "sounddesign/recentresults.h"
#include "sounddesign/sounddesign.h"

class PatchPicker;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;
class QPushButton;
class QSettings;
class QSlider;
class QSpinBox;

class TSoundDesignWin : public QWidget {
    Q_OBJECT

public:
    // settings: where the locks are remembered (none: they are not).
    TSoundDesignWin(orb8::PatchEditing& editing, QSettings* settings, QWidget* parent);

    // The open projects, in order: the pickers and the guide follow.
    void SetProjects(const std::vector<orb8::OpenProject>& projects);
    // The player's patches beyond the open banks (the library): those that
    // share a type with a patch. None: the library is not offered.
    using PatchSource = std::function<std::vector<orb8::PatchData>(const orb8::PatchData& like, std::uint64_t seed)>;
    void SetLibrary(PatchSource source);
    // A patch from the library, offered by every patch picker under `label`.
    void OfferPatch(const orb8::PatchData& patch, const QString& label);
    // The editor shows another patch (or changed it): the title and the morph start anew.
    void PatchChanged();
    orb8::design::Locks Locks() const;
    // A short message from the MIDI input (status | data1 << 8 | data2 << 16):
    // the learnt controller moves the morph; while learning, the first
    // controller that moves is learnt.
    void ControllerMessage(std::uint32_t message);

signals:
    // A new bank of these patches, playing through `settings`, named `title` for its step.
    void NewBankRequested(const QString& title, const std::vector<orb8::PatchData>& patches,
                          const orb8::CustomSettingsBlock& settings);

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* PatchTitle;
    std::array<QCheckBox*, orb8::design::kPartCount> Lock{};
    QSpinBox* Amount;
    QLineEdit* Seed;
    QPushButton *NewSeedBtn, *RandomiseBtn;
    QSpinBox* VariationCount;
    QPushButton *VariationsBtn, *MorphStepsBtn;
    QCheckBox *Guided, *LibraryGuided;
    std::array<PatchPicker*, 4> Targets{};
    QSpinBox* NudgeAmount;
    QPushButton *TowardsBtn, *AwayBtn;
    PatchPicker* MorphTarget;
    QSlider* MorphSlider;
    PatchPicker* MergeSource;
    std::array<QCheckBox*, 8> MergePart{};
    QPushButton* MergeBtn;
    QLabel* Status;
    void Randomise();
    void MakeVariations();
    void MakeMorphSteps();
    void Nudge(bool away);
    void MorphMoved(int value);
    void MorphPressed();
    void MorphReleased();
    void CancelMorph();
    void Merge();
    void SaveLocks();
    void ShowParameterLocks();
    void ParameterLockChanged(QStandardItem* item);
    void AddResult(orb8::design::Tool tool, int amount, std::uint64_t seed, const QString& other);
    void ShowResults();
    void RecallResult(const QModelIndex& index);
    void ShowController();
    void EndKeySteps();
    void ShowStatus(const QString& text);
    std::uint64_t SeedValue() const;

    orb8::PatchEditing& editing_;
    QSettings* settings_;
    std::vector<orb8::OpenProject> projects_;
    PatchSource library_;
    std::optional<orb8::PatchData> morphFrom_;  // the patch where the morph began
    orb8::PatchData dragFrom_{};                 // the patch and slider value where this drag began
    int dragValue_ = 0;
    bool dragging_ = false, morphing_ = false, cancelled_ = false;
    bool keySteps_ = false;  // key steps (or pedal moves) on the morph slider, one step of the project
    bool morphMoved_ = false;  // this drag or these key steps moved the patch

    QPushButton* parametersBtn_;
    QListView* parameterList_;
    QStandardItemModel* parameterModel_;
    std::vector<orb8::design::LockableByte> parametersShown_;
    orb8::design::Locks byteLocks_;  // the single parameters locked (parts in Lock)

    QListView* recentList_;
    QStandardItemModel* recentModel_;
    orb8::design::RecentResults recent_;

    QPushButton *learnBtn_, *forgetBtn_;
    QLabel* controllerLabel_;
    std::optional<orb8::design::Controller> controller_;
};
