// TDifferencesWin ("Differences"): every parameter where two patches differ,
// by module, with its name and both display texts. Each side is a patch of
// an open project, as edited or as it was last loaded, saved or received, or
// a patch from outside the projects (a library result) that the lists offer
// under its own name.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "editors/patchediting.h"
#include "patch/patchclip.h"

class QCheckBox;
class QComboBox;
class QTreeWidget;
class WindowContext;

class TDifferencesWin : public QWidget {
    Q_OBJECT

public:
    TDifferencesWin(WindowContext& context, QWidget* parent);

    struct Side {
        QComboBox* project = nullptr;
        QComboBox* patch = nullptr;
        QCheckBox* stored = nullptr;
    };
    Side A, B;

    // Shows a patch as edited against itself as stored.
    void ShowFor(const orb8::ProjectSession* project, int index);
    // Shows a patch as edited (side A) against `other` (side B), named `label`.
    void ShowAgainst(const orb8::ProjectSession* project, int index, const orb8::PatchClip& other, const QString& label);
    void Refresh();
    // The open projects, in order: the lists follow.
    void SetProjects(const std::vector<orb8::OpenProject>& projects);

private:
    QTreeWidget* List;
    void FillProjects();
    std::shared_ptr<const orb8::ProjectSession> ProjectOf(const Side& side) const;
    static bool IsOutside(const Side& side);
    void SelectProject(Side& side, const orb8::ProjectSession* project, int index);

    WindowContext& context_;
    std::vector<orb8::OpenProject> projects_;
    std::optional<orb8::PatchClip> outside_;
    QString outsideLabel_;
    bool filling_ = false;
};
