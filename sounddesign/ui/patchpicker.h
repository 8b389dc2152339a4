// A patch of an open project, chosen by project and slot, as edited or as
// last loaded, saved or received: a target of the sound-design tools.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "editors/patchediting.h"
#include "patch/customsettings.h"
#include "patch/patchdata.h"

class QCheckBox;
class QComboBox;

class PatchPicker : public QWidget {
    Q_OBJECT

public:
    // optional: the first entry of the project list is "(none)".
    PatchPicker(bool optional, QWidget* parent);


    void SetProjects(const std::vector<orb8::OpenProject>& projects);
    // Shows this project's patch.
    void Select(const orb8::ProjectSession* project, int index, bool stored);
    // A patch from outside the projects (the library), offered as the last
    // entry of the project list under `label`.
    // `settings`: the custom settings it plays through.
    void SetOutside(const orb8::PatchData& patch, const QString& label,
                    const orb8::CustomSettingsBlock& settings = orb8::DefaultCustomSettings());
    // The patch chosen; none for "(none)" or a project that closed.
    std::optional<orb8::PatchData> Chosen() const;
    // The custom settings the chosen patch plays through (its bank's, as
    // edited or as saved with the patch).
    orb8::CustomSettingsBlock ChosenSettings() const;
    // "U23 CRUNCH (NoName1)", or empty.
    QString Title() const;
    // Whether the chosen patch is `index` of `project` as it is edited.
    bool Chosen(const orb8::ProjectSession* project, int index) const;

signals:
    void Changed();

private:
    QComboBox *Project, *Patch;
    QCheckBox* Stored;
    void FillPatches();
    std::shared_ptr<const orb8::ProjectSession> ProjectOf() const;

    bool OutsideChosen() const;

    const bool optional_;
    std::optional<orb8::PatchData> outside_;
    orb8::CustomSettingsBlock outsideSettings_{};
    QString outsideLabel_;
    std::vector<orb8::OpenProject> projects_;
};
