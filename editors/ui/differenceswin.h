// TDifferencesWin ("Differences"): every parameter where two patches differ,
// by module, with its name and both display texts. Each side is a patch of
// an open project, as edited or as it was last loaded, saved or received.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QTreeWidget;
class TMainWin;
class TProjectWindow;

class TDifferencesWin : public QWidget {
    Q_OBJECT

public:
    TDifferencesWin(TMainWin& main, QWidget* parent);

    struct Side {
        QComboBox* project = nullptr;
        QComboBox* patch = nullptr;
        QCheckBox* stored = nullptr;
    };
    Side A, B;
    QTreeWidget* List;

    // Shows a patch as edited against itself as stored.
    void ShowFor(TProjectWindow* project, int index);
    void Refresh();
    // The open projects changed: the lists follow.
    void ProjectsChanged();

private:
    void FillProjects();
    TProjectWindow* ProjectOf(const Side& side) const;

    TMainWin& main_;
    bool filling_ = false;
};
