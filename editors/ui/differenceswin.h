// TDifferencesWin ("Differences"): every parameter where two patches differ,
// by module, with its name and both display texts. Each side is a patch of
// an open project, as edited or as it was last loaded, saved or received.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

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
    void Refresh();
    // The open projects, in order: the lists follow.
    void SetProjects(const QList<TProjectWindow*>& projects);

private:
    void FillProjects();
    TProjectWindow* ProjectOf(const Side& side) const;

    WindowContext& context_;
    QList<QPointer<TProjectWindow>> projects_;
    bool filling_ = false;
};
