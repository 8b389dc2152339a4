// The library window's Sources tab: the folders and files the library
// reads (Add File, Remove), the files it skipped and why, and the sounds
// that occur in several places or share a name with another sound. A place
// double-clicked opens its bank there.
#pragma once

#include <QByteArray>
#include <QWidget>

class LibraryService;
struct LibraryOverview;
class QPushButton;
class QListView;
class QStandardItemModel;
class QTreeView;
class UserDialogs;

class LibraryManagePane : public QWidget {
    Q_OBJECT

public:
    LibraryManagePane(LibraryService& service, UserDialogs& dialogs, QWidget* parent);
    // Reads the sources, problems and duplicates again (after a scan), on
    // the library's reading thread.
    void Refresh();
    bool Reading() const { return request_ != 0; }

signals:
    void OpenRequested(const QByteArray& path, int slot);
    void StatusMessage(const QString& text, bool error);

private:
    void AddFile();
    void RemoveChosen();
    void Show(int request, const LibraryOverview& overview, const QString& error);

    LibraryService& service_;
    UserDialogs& dialogs_;
    QStandardItemModel *sources_, *problems_, *doubles_;
    QListView *sourceList_, *problemList_;
    QTreeView* doubleTree_;
    QPushButton *addFileBtn_, *removeBtn_;
    int request_ = 0;
};
