// TDifferencesWin ("Differences"): every parameter where two patches differ,
// by module, with its name and both display texts. Each side is a patch of
// an open project, as edited or as it was last loaded, saved or received, or
// a patch from outside the projects (a library result) that the lists offer
// under its own name.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "patch/patchclip.h"

class QCheckBox;
class QComboBox;
class QTreeWidget;
class TProjectWindow;
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
    QTreeWidget* List;

    // Shows a patch as edited against itself as stored.
    void ShowFor(TProjectWindow* project, int index);
    // Shows a patch as edited (side A) against `other` (side B), named `label`.
    void ShowAgainst(TProjectWindow* project, int index, const orb8::PatchClip& other, const QString& label);
    void Refresh();
    // The open projects, in order: the lists follow.
    void SetProjects(const QList<TProjectWindow*>& projects);

private:
    void FillProjects();
    TProjectWindow* ProjectOf(const Side& side) const;
    static bool IsOutside(const Side& side);
    void SelectProject(Side& side, TProjectWindow* project, int index);

    WindowContext& context_;
    QList<QPointer<TProjectWindow>> projects_;
    std::optional<orb8::PatchClip> outside_;
    QString outsideLabel_;
    bool filling_ = false;
};
