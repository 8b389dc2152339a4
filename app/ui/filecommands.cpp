#include "app/ui/filecommands.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <QMenu>
#include <QSettings>

#include "app/framerules.h"
#include "app/ui/documentframe.h"
#include "workspace/documentrules.h"
#include "workspace/ui/filemessages.h"
#include "workspace/ui/userdialogs.h"

using namespace orb8;

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
// A path as the file system gives it (bytes) shown as the file system decodes it.
QString ShownPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}
}  // namespace

FileCommands::FileCommands(DocumentFrame& frame, UserDialogs& dialogs, QWidget* parent,
                           QSettings* settings, QMenu& recentMenu)
    : QObject(parent), frame_(frame), dialogs_(dialogs), parent_(parent), settings_(settings),
      recentMenu_(recentMenu) {
    RebuildRecentMenu();
}

void FileCommands::Open() {
    const QString path =
        dialogs_.OpenFileName(parent_, tr("ORB-8 Project File (*.orb);;ORB-8 Custom Drive Parameter File (*.dst)"));
    if (!path.isEmpty()) OpenByName(path);
}

Document* FileCommands::OpenByName(const QString& name) {
    // The full path, as the caption shows it and a later Save uses it.
    return OpenPath(QFile::encodeName(QFileInfo(name).absoluteFilePath()).toStdString());
}

Document* FileCommands::OpenPath(const std::string& path, bool onlyReadable) {
    const DocumentKind kind = KindOfPath(path);
    if (kind == DocumentKind::None) return nullptr;
    // A file already open is not opened twice: its window comes to the front.
    if (Document* open = OpenDocumentOfFile(frame_.Documents(), path)) {
        frame_.ShowDocument(*open);
        Remember(ShownPath(open->FileName()));
        return open;
    }
    if (onlyReadable) {
        const FileResult r = TryReading(path, kind);
        if (!r.loaded()) {
            dialogs_.ShowError(parent_, tr("ORB-8ED"),
                               FileMessageText(r, FileKindName(kind)) + "\n" +
                                   tr("The bank is missing or damaged (is its disk plugged in?). Nothing was opened."));
            return nullptr;
        }
    }
    Document* document = frame_.NewDocument(kind);
    document->SetFileName(path);
    const FileResult r = document->Load();
    if (!r.loaded()) {
        Report(r, kind);
        // Save must never overwrite a file that exists but failed to load.
        if (!KeepsPathAfterFailedLoad(Exists(path))) document->SetFileName("");
    } else if (r.problem == FileProblem::Short) {
        Report(r, kind);
    }
    if (r.loaded()) Remember(QFile::decodeName(QByteArray::fromStdString(path)));
    return document;
}

void FileCommands::Report(const FileResult& result, DocumentKind kind) {
    const QString text = FileMessageText(result, FileKindName(kind));
    if (result.problem == FileProblem::Short) dialogs_.Inform(parent_, tr("ORB-8ED"), text);
    else dialogs_.ShowError(parent_, tr("ORB-8ED"), text);
}

bool FileCommands::SaveNow(Document& document) {
    const FileResult r = document.Save();
    if (!r.ok()) {
        Report(r, document.Kind());
        return false;
    }
    return true;
}

void FileCommands::Save() {
    Document* target = frame_.ActiveDocument();
    if (!target) return;
    if (target->FileName().empty()) {
        SaveAs(target);
        return;
    }
    // A file that appeared where a failed open left its name is not this
    // document's to replace unasked.
    if (SaveMustAsk(target->FileKnown(), Exists(target->FileName())) &&
        !dialogs_.AskYesNo(parent_, tr("ORB-8ED"),
                           tr("%1 already exists.\nDo you want to replace it?").arg(ShownPath(target->FileName())))) {
        SaveAs(target);
        return;
    }
    SaveNow(*target);
}

std::optional<std::string> FileCommands::ChooseSavePath(DocumentKind kind, const std::string& current,
                                                        const Document* except, QWidget* dialogParent) {
    const QString filter = kind == DocumentKind::Project ? tr("ORB-8 Project File (*.orb)")
                                                         : tr("ORB-8 Custom Drive Parameter File (*.dst)");
    const QString chosen = dialogs_.SaveFileName(dialogParent, filter, Q(current));
    if (chosen.isEmpty()) return std::nullopt;
    const std::string path = WithExtension(chosen.toStdString(), kind);
    // The dialog asked about the name it returned; a name that gained the
    // extension here is asked about now.
    if (path != chosen.toStdString() && QFileInfo::exists(Q(path)) &&
        !dialogs_.AskYesNo(dialogParent, tr("ORB-8ED"), tr("%1 already exists.\nDo you want to replace it?").arg(Q(path))))
        return std::nullopt;
    // Another window's file: whichever saved last would overwrite the other's work.
    std::vector<Document*> others = frame_.Documents();
    std::erase(others, except);
    if (OpenDocumentOfFile(others, path)) {
        dialogs_.ShowError(dialogParent, tr("ORB-8ED"),
                           tr("%1 is open in another window.\nClose that window first, or choose another name.")
                               .arg(ShownPath(path)));
        return std::nullopt;
    }
    return path;
}

bool FileCommands::SaveAs(Document* target) {
    if (!target) target = frame_.ActiveDocument();
    if (!target) return false;
    target->Settle();
    const auto path = ChooseSavePath(target->Kind(), target->FileName(), target, parent_);
    if (!path) return false;
    const std::string previous = target->FileName();
    target->SetFileName(*path);
    if (!SaveNow(*target)) {
        target->SetFileName(previous);
        return false;
    }
    Remember(Q(*path));
    return true;
}

std::optional<std::string> FileCommands::SaveBankAs(const ProjectDocument& bank, const QString& suggested,
                                                    QWidget* dialogParent) {
    const auto path = ChooseSavePath(DocumentKind::Project, suggested.toStdString(), nullptr, dialogParent);
    if (!path) return std::nullopt;
    ProjectDocument copy = bank;
    copy.fileName = *path;
    copy.PackAll();
    const FileResult r = copy.Save();
    if (!r.ok()) {
        dialogs_.ShowError(dialogParent, tr("ORB-8ED"), FileMessageText(r, FileKindName(DocumentKind::Project)));
        return std::nullopt;
    }
    return path;
}

bool FileCommands::MayClose(Document& document) {
    document.Settle();
    if (!document.Modified()) return true;
    const QString name = Q(document.FileName());
    const QString question = document.Kind() == DocumentKind::Project
                                 ? tr("This Project %1 has not been saved.\nSave this?").arg(name)
                                 : tr("CustomDistFile%1 has not been saved.\nSave this?").arg(name);
    switch (dialogs_.AskSave(parent_, tr("ORB-8ED"), question)) {
        case UserDialogs::Answer::Cancel: return false;
        case UserDialogs::Answer::No: return true;
        case UserDialogs::Answer::Yes: return SaveAs(&document);
    }
    return false;
}

QStringList FileCommands::RecentFiles() const {
    return settings_ ? settings_->value("recentFiles").toStringList() : QStringList();
}

void FileCommands::Remember(const QString& path) {
    if (!settings_) return;
    std::vector<std::string> files;
    for (const QString& f : RecentFiles()) files.push_back(f.toStdString());
    QStringList kept;
    for (const std::string& f : RememberRecent(files, path.toStdString())) kept << Q(f);
    settings_->setValue("recentFiles", kept);
    RebuildRecentMenu();
}

void FileCommands::RebuildRecentMenu() {
    recentMenu_.clear();
    const QStringList files = RecentFiles();
    recentMenu_.setEnabled(!files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        QAction* item = recentMenu_.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]));
        const QString path = files[i];
        connect(item, &QAction::triggered, this, [this, path] { OpenByName(path); });
    }
}
