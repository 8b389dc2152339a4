// File > New, Open, Save, Save As and Recent Files, and the question about
// unsaved work when a document window closes.
#pragma once

#include <QObject>
#include <QStringList>
#include <optional>
#include <string>

#include "patch/fileio.h"
#include "patch/projectdocument.h"
#include "workspace/documentrules.h"

class DocumentFrame;
class QMenu;
class QSettings;
class QWidget;
class UserDialogs;

class FileCommands : public QObject {
    Q_OBJECT

public:
    // settings: where the recent files are remembered (none: nowhere).
    FileCommands(DocumentFrame& frame, UserDialogs& dialogs, QWidget* parent, QSettings* settings,
                 QMenu& recentMenu);

    void Open();
    // Opens a .orb or .dst by its name; anything else opens nothing.
    orb8::Document* OpenByName(const QString& path);
    // The same for a path as the file system spells it (bytes, not always
    // UTF-8). With `onlyReadable`, a file that cannot be read opens no
    // window: the message says the bank is missing.
    orb8::Document* OpenPath(const std::string& path, bool onlyReadable = false);
    void Save();
    // Save As of one document (the active one when none is given); true when saved.
    bool SaveAs(orb8::Document* target = nullptr);
    // A bank that is no open document (the library's chosen patches) written
    // under a name the user chooses, with Save As's questions; the path
    // written, or none.
    std::optional<std::string> SaveBankAs(const orb8::ProjectDocument& bank, const QString& suggested,
                                          QWidget* dialogParent);
    // Unsaved work: Yes saves under a name of the user's choice (the window
    // stays when that is cancelled or fails), No lets it go, Cancel keeps it.
    bool MayClose(orb8::Document& document);
    // The last documents opened or saved, newest first.
    QStringList RecentFiles() const;

private:
    // The path Save As writes to: the dialog's choice with the kind's
    // extension, asked about when the extension made it a file that exists,
    // and refused when another window (not `except`) has that file open.
    std::optional<std::string> ChooseSavePath(orb8::DocumentKind kind, const std::string& current,
                                              const orb8::Document* except, QWidget* dialogParent);
    bool SaveNow(orb8::Document& document);
    void Report(const orb8::FileResult& result, orb8::DocumentKind kind);
    void Remember(const QString& path);
    void RebuildRecentMenu();

    DocumentFrame& frame_;
    UserDialogs& dialogs_;
    QWidget* parent_;
    QSettings* settings_;
    QMenu& recentMenu_;
};
