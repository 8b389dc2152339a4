// TLibraryWin ("Library"): every patch of the banks on the computer. A search
// field takes the library's query syntax; the results fill a table page by
// page; below, where the selected patch occurs, what its slot held before and
// the patches that sound like it. Double-clicking a patch asks for its bank
// to be opened at that patch.
#pragma once

#include <QWidget>

class LibraryResultModel;
class LibraryService;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTimer;
class QTreeView;
class UserDialogs;

class TLibraryWin : public QWidget {
    Q_OBJECT

public:
    TLibraryWin(LibraryService& service, UserDialogs& dialogs, QWidget* parent);

    QLineEdit* SearchEdit;
    QTableView* Results;
    QTreeView *Places, *History, *Similar;
    QCheckBox* Favourite;
    QPushButton *AddFolderBtn, *RescanBtn, *CancelBtn;
    QLabel* Status;
    QProgressBar* Progress;
    LibraryResultModel& Model() { return *model_; }

signals:
    void OpenPatchRequested(const QString& path, int slot);

private:
    void Search();
    void ShowDetails();
    void AddFolder();
    void OpenRow(int row);
    void ScanProgress(int done, int total, const QString& path);
    void ScanFinished(const QString& summary, bool failed);
    void ShowStatus(const QString& text, bool error = false);

    LibraryService& service_;
    UserDialogs& dialogs_;
    LibraryResultModel* model_;
    QStandardItemModel *places_, *history_, *similar_;
    QTimer* searchLater_;
    bool sized_ = false;
};
