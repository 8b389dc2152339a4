// TLibraryWin ("Library"): every patch of the banks on the computer. A search
// field takes the library's query syntax; the results fill a table page by
// page; below, where the selected patch occurs, what its slot held before and
// the patches that sound like it, and the user's own marks of its sound
// (favourite, rating, tags, note), and the processor's history. Double-clicking a patch asks for its bank
// to be opened at that patch; any patch of any list can be dragged onto a
// bank's row, compared with the editor's patch or copied over it.
#pragma once

#include <QByteArray>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "library/patchlibrary.h"
#include "library/savedsearches.h"
#include "patch/patchclip.h"

class LibraryManagePane;
class LibraryResultModel;
class ProcessorHistoryPane;
class LibraryService;
class PatchItemModel;
class QAbstractItemView;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSettings;
class QPushButton;
class QTableView;
class QTimer;
class QTreeView;
class UserDialogs;

class TLibraryWin : public QWidget {
    Q_OBJECT

public:
    // settings: where saved searches are kept (none: for this window only).
    TLibraryWin(LibraryService& service, UserDialogs& dialogs, QSettings* settings, QWidget* parent);

    LibraryResultModel& Model() { return *model_; }
    ProcessorHistoryPane& ProcessorHistory() { return *processorHistory_; }

    // The patch the buttons act on: the one last chosen in any of the lists.
    std::optional<orb8::PatchClip> ChosenPatch() const;
    // Says where an export went: `count` patches written to `path`, `left` more did not fit.
    void ShowExported(const QString& path, int count, int left);
    // Waiting for the library: results or a patch's details are on their way.
    bool Reading() const;
    // A scan of the sources is under way (another may follow what it found changed).
    bool Scanning() const;

signals:
    // `path` as the file system spells it (bytes).
    void OpenPatchRequested(const QByteArray& path, int slot);
    // Compare `clip` (named `label`) with the patch in the editor.
    void CompareRequested(const orb8::PatchClip& clip, const QString& label);
    // Put `clip` over the current patch of the active bank.
    void CopyRequested(const orb8::PatchClip& clip);
    // Offer `clip` (named `label`) to the Sound Design window's patch lists.
    void SoundDesignRequested(const orb8::PatchClip& clip, const QString& label);
    // Try on the Processor: play `patch` (named `label`) on the processor
    // without changing a bank or the editor; TryEnded: the editor's patch again.
    void TryRequested(const orb8::PatchData& patch, const QString& label);
    void TryEnded();
    // A new bank of these patches, in order (at most kPatchCount).
    void NewBankRequested(const std::vector<orb8::PatchClip>& clips);
    // These patches written as a bank file of their own (at most
    // kPatchCount; `left` more were chosen than fit).
    void ExportBankRequested(const std::vector<orb8::PatchClip>& clips, int left);
    // Ctrl+Z and Ctrl+Shift+Z here: the active document's Undo and Redo.
    void UndoRequested();
    void RedoRequested();

private:
    QLineEdit* SearchEdit;
    QComboBox* SavedSearchList;
    QPushButton *SaveSearchBtn, *ForgetSearchBtn;
    QTableView* Results;
    QTreeView *Places, *History, *Similar;
    QCheckBox* Favourite;
    QComboBox* Rating;
    QLineEdit *Tags, *Note;
    QPushButton *AddFolderBtn, *RescanBtn, *CancelBtn, *CompareBtn, *CopyBtn, *TryBtn, *NewBankBtn, *ExportBankBtn;
    QLabel* Status;
    QProgressBar* Progress;
    void Search();
    void Refresh();
    void ShowResults(const QString& error);
    void ShowDetails();
    void DetailsRead(int request, const orb8::library::PlaceDetails& details, const QString& error);
    void ShowNotes(std::int64_t patch, const orb8::library::PatchNotes& notes);
    void ShowSavedSearches();
    void SaveSearch();
    void ForgetSearch();
    void RunSavedSearch(int index);
    void ShowSimilar(int request, const std::vector<orb8::library::SimilarPatch>& found, const QString& error);
    std::function<std::optional<orb8::PatchClip>()> ClipSourceOf(const orb8::library::Place& place);
    // A change of a sound's marks; one the database can't take now (a scan
    // writing) waits and is stored as soon as it can be, never dropped.
    void Write(const std::function<void(orb8::library::PatchLibrary&)>& write);
    void WritePending();
    void ShowAccess();
    void ShowActions();
    void FitColumns();
    void SetTags();
    void Choose(QAbstractItemView* view);
    std::optional<orb8::PatchClip> ClipIn(QAbstractItemView* view, int row) const;
    QString LabelIn(QAbstractItemView* view, int row) const;
    void OpenIn(QAbstractItemView* view, int row);
    void ContextMenu(QAbstractItemView* view, const QPoint& at);
    void Compare(QAbstractItemView* view, int row);
    void Copy(QAbstractItemView* view, int row);
    void AddFolder();
    void OpenRow(int row);
    void ScanProgress(int done, int total, const QString& path);
    void ScanFinished(const QString& summary, bool failed);
    void ShowStatus(const QString& text, bool error = false);
    void TryChosen();
    void NewBankFromSelection();
    // The chosen results in their order, at most a bank's worth; `left` how many more there were.
    std::vector<orb8::PatchClip> ChosenResults(int& left) const;
    void ExportSelection();
    void EndTry();

protected:
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:

    LibraryService& service_;
    UserDialogs& dialogs_;
    QSettings* settings_;
    orb8::library::SavedSearches saved_;
    int detailsRequest_ = 0;  // the details on their way
    // A refresh after a scan keeps the chosen place and the scroll.
    std::int64_t keepOccurrence_ = 0;
    int keepScroll_ = -1;
    bool scanFailed_ = false;
    LibraryResultModel* model_;
    ProcessorHistoryPane* processorHistory_;
    LibraryManagePane* manage_;
    PatchItemModel *places_, *history_, *similar_;
    QAbstractItemView* chosen_ = nullptr;
    int similarRequest_ = 0;
    QTimer* searchLater_;
    QTimer* retryLater_;
    std::vector<std::function<void(orb8::library::PatchLibrary&)>> pending_;  // marks waiting for the database
    std::int64_t notesPatch_ = 0;  // the sound whose marks the fields show
    bool userSized_ = false, fitting_ = false;
};
