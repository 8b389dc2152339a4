// Window > Library: the library window on the user's patch database, made on
// first use, and the opening of a bank at the patch the user double-clicks;
// what else the window asks of the frame passes on by signals.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "patch/patchclip.h"
#include "customdist/customdistdata.h"
#include "library/processorhistory.h"
#include "patch/projectdocument.h"

class FileCommands;
namespace orb8 {
class Document;
}
class LibraryService;
class TLibraryWin;
class UserDialogs;
class QSettings;
class QWidget;

class LibraryCommands : public QObject {
    Q_OBJECT

public:
    // databasePath: the library's file; files opens the banks.
    // settings: where the window keeps saved searches (none: in memory).
    LibraryCommands(QString databasePath, FileCommands& files, UserDialogs& dialogs, QSettings* settings,
                    QWidget* parent);
    ~LibraryCommands() override;

    // Shows the window (opening the database and scanning on first use); an
    // error message when the database can't be opened.
    void Show();
    TLibraryWin* Window() const;
    // Sounds of the library that share a type with `like` (see
    // PatchLibrary::SoundsOfTypes); none when the library can't be read.
    std::vector<orb8::PatchData> SoundsOfTypes(const orb8::PatchData& like, std::uint64_t seed);

    // The processor's history, kept beside the library's database.
    QString HistoryFolder() const;
    // Keeps what the processor now holds as a snapshot in the history, and
    // has the library index it.
    void KeepSnapshot(const QString& processor, const orb8::ProjectDocument& bank, int received, bool sent);
    void KeepCustomDistSnapshot(const QString& processor, const orb8::CustomDistDocument& sets, int received);
    // What the processor holds as far as the program knows: its latest snapshot.
    std::optional<orb8::ProjectDocument> KnownBank(const QString& processor) const;
    // The bank snapshots are compared with: the active one.
    using BankSource = std::function<std::optional<orb8::ProjectDocument>()>;
    void SetCurrentBank(BankSource source) { currentBank_ = std::move(source); }
signals:
    // The window asks for a patch to be compared with the editor's, or copied over it.
    void CompareRequested(const orb8::PatchClip& clip, const QString& label);
    void CopyRequested(const orb8::PatchClip& clip);
    void SoundDesignRequested(const orb8::PatchClip& clip, const QString& label);
    // A sentence for the status line.
    void StatusMessage(const QString& text);
    // A library result's bank was opened: its window goes to patch row `row` (1..80).
    void BankOpened(orb8::Document* document, int row);
    // Try on the Processor, from the window.
    void TryRequested(const orb8::PatchData& patch, const QString& label);
    void TryEnded();
    void NewBankRequested(const std::vector<orb8::PatchClip>& clips);
    // Ctrl+Z and Ctrl+Shift+Z in the Library window.
    void UndoRequested();
    void RedoRequested();

private:
    // Keeps a snapshot made by `keep` in the history, and has the library index it.
    void Keep(const QString& processor, int received, bool sent,
              const std::function<orb8::FileResult(const orb8::library::ProcessorHistory&,
                                                   const orb8::library::Snapshot&)>& keep);
    // The library opened (and scanned) on first use; false with a message when it can't be.
    bool Open();
    void OpenPatch(const QByteArray& path, int slot);

    QString path_;
    FileCommands& files_;
    UserDialogs& dialogs_;
    QSettings* settings_;
    QWidget* parent_;
    std::unique_ptr<LibraryService> service_;
    QPointer<TLibraryWin> window_;
    BankSource currentBank_;
};
