#include "app/ui/librarycommands.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include "app/ui/filecommands.h"
#include "library/patchlibrary.h"
#include "library/processorhistory.h"
#include "patch/patchclip.h"
#include "patch/projectdocument.h"
#include "library/ui/libraryservice.h"
#include "library/ui/librarywin.h"
#include "library/ui/processorhistorypane.h"
#include "workspace/ui/userdialogs.h"

LibraryCommands::LibraryCommands(QString databasePath, FileCommands& files, UserDialogs& dialogs, QSettings* settings,
                                 QWidget* parent)
    : QObject(parent), path_(std::move(databasePath)), files_(files), dialogs_(dialogs), settings_(settings),
      parent_(parent) {}

LibraryCommands::~LibraryCommands() { delete window_.data(); }

bool LibraryCommands::Open() {
    if (service_) return true;
    auto service = std::make_unique<LibraryService>(path_);
    QString error;
    if (!service->Open(error)) {
        dialogs_.ShowError(parent_, tr("Library"), error);
        return false;
    }
    if (!error.isEmpty()) dialogs_.Inform(parent_, tr("Library"), error);  // what opening did (a damaged library made anew)
    service_ = std::move(service);
    // The files may have changed while the program was not running.
    service_->Scan();
    return true;
}

void LibraryCommands::Show() {
    if (!Open()) return;
    if (!window_) {
        window_ = new TLibraryWin(*service_, dialogs_, settings_, parent_);
        connect(window_, &TLibraryWin::OpenPatchRequested, this, &LibraryCommands::OpenPatch);
        connect(window_, &TLibraryWin::CompareRequested, this, &LibraryCommands::CompareRequested);
        connect(window_, &TLibraryWin::CopyRequested, this, &LibraryCommands::CopyRequested);
        connect(window_, &TLibraryWin::SoundDesignRequested, this, &LibraryCommands::SoundDesignRequested);
        connect(window_, &TLibraryWin::UndoRequested, this, &LibraryCommands::UndoRequested);
        connect(window_, &TLibraryWin::RedoRequested, this, &LibraryCommands::RedoRequested);
        connect(window_, &TLibraryWin::TryRequested, this, &LibraryCommands::TryRequested);
        connect(window_, &TLibraryWin::TryEnded, this, &LibraryCommands::TryEnded);
        connect(window_, &TLibraryWin::NewBankRequested, this, &LibraryCommands::NewBankRequested);
        connect(window_, &TLibraryWin::ExportBankRequested, this,
                [this](const std::vector<orb8::PatchClip>& clips, int left) {
                    orb8::ProjectDocument bank;
                    orb8::PutClips(clips, bank);
                    if (const auto path = files_.SaveBankAs(bank, QStringLiteral("library selection.orb"), window_))
                        window_->ShowExported(QFile::decodeName(QByteArray::fromStdString(*path)), static_cast<int>(clips.size()), left);
                });
        window_->ProcessorHistory().SetCurrentBank([this] { return currentBank_ ? currentBank_() : std::nullopt; });
        window_->ProcessorHistory().SetFolder(HistoryFolder());
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

std::vector<orb8::PatchData> LibraryCommands::SoundsOfTypes(const orb8::PatchData& like, std::uint64_t seed) {
    constexpr int kPerType = 200;  // enough to learn a style from, quick to read
    if (!Open() || !service_->Library()) return {};
    try {
        return service_->Library()->SoundsOfTypes(like, kPerType, seed);
    } catch (const std::exception&) {
        return {};  // a library held by a scan: the open banks still guide
    }
}

TLibraryWin* LibraryCommands::Window() const { return window_.data(); }

QString LibraryCommands::HistoryFolder() const {
    if (path_.isEmpty()) return {};
    return QFileInfo(path_).absoluteDir().filePath(QStringLiteral("processor-history"));
}

std::optional<orb8::ProjectDocument> LibraryCommands::KnownBank(const QString& processor) const {
    const QString folder = HistoryFolder();
    if (folder.isEmpty() || processor.isEmpty()) return std::nullopt;
    const orb8::library::ProcessorHistory history(QFile::encodeName(folder).toStdString());
    const auto latest = history.Latest(processor.toStdString());
    if (!latest) return std::nullopt;
    orb8::ProjectDocument bank;
    bank.fileName = latest->path;
    if (!bank.Load().ok()) return std::nullopt;
    return bank;
}

void LibraryCommands::KeepSnapshot(const QString& processor, const orb8::ProjectDocument& bank, int received, bool sent) {
    Keep(processor, received, sent, [&](const orb8::library::ProcessorHistory& history, const orb8::library::Snapshot& s) {
        return history.Keep(s, bank);
    });
}

void LibraryCommands::KeepCustomDistSnapshot(const QString& processor, const orb8::CustomDistDocument& sets, int received) {
    Keep(processor, received, false, [&](const orb8::library::ProcessorHistory& history, const orb8::library::Snapshot& s) {
        return history.Keep(s, sets);
    });
}

void LibraryCommands::Keep(const QString& processor, int received, bool sent,
                           const std::function<orb8::FileResult(const orb8::library::ProcessorHistory&,
                                                                const orb8::library::Snapshot&)>& keep) {
    using namespace orb8::library;
    const QString folder = HistoryFolder();
    if (folder.isEmpty()) return;
    const ProcessorHistory history(QFile::encodeName(folder).toStdString());
    Snapshot snapshot;
    snapshot.processor = processor.toStdString();
    snapshot.time = QDateTime::currentSecsSinceEpoch();
    snapshot.kind = sent ? SnapshotKind::Sent : SnapshotKind::Received;
    snapshot.received = received;
    const orb8::FileResult kept = keep(history, snapshot);
    if (!kept.ok()) {
        emit StatusMessage(tr("What the processor holds could not be kept in its history: %1")
                               .arg(QString::fromStdString(orb8::FileMessageLine(kept, "file"))));
        return;
    }
    if (window_) window_->ProcessorHistory().Refresh();
    // The library indexes the history as one of its folders.
    QString error;
    if (Open()) service_->AddSource(folder, error);
}

void LibraryCommands::OpenPatch(const QByteArray& path, int slot) {
    // A bank on a disk that is not plugged in, or moved since the scan, opens nothing.
    if (orb8::Document* document = files_.OpenPath(path.toStdString(), true)) emit BankOpened(document, slot + 1);
}
