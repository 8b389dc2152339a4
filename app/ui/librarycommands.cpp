#include "app/ui/librarycommands.h"

#include <QWidget>

#include "app/ui/filecommands.h"
#include "editors/ui/projectwin.h"
#include "library/ui/libraryservice.h"
#include "library/ui/librarywin.h"
#include "workspace/ui/userdialogs.h"

LibraryCommands::LibraryCommands(QString databasePath, FileCommands& files, UserDialogs& dialogs, QWidget* parent)
    : QObject(parent), path_(std::move(databasePath)), files_(files), dialogs_(dialogs), parent_(parent) {}

LibraryCommands::~LibraryCommands() { delete window_.data(); }

void LibraryCommands::Show() {
    if (!service_) {
        auto service = std::make_unique<LibraryService>(path_);
        QString error;
        if (!service->Open(error)) {
            dialogs_.ShowError(parent_, tr("Library"), error);
            return;
        }
        service_ = std::move(service);
        // The files may have changed while the program was not running.
        service_->Scan();
    }
    if (!window_) {
        window_ = new TLibraryWin(*service_, dialogs_, parent_);
        connect(window_, &TLibraryWin::OpenPatchRequested, this, &LibraryCommands::OpenPatch);
        connect(window_, &TLibraryWin::CompareRequested, this, &LibraryCommands::CompareRequested);
        connect(window_, &TLibraryWin::CopyRequested, this, &LibraryCommands::CopyRequested);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

TLibraryWin* LibraryCommands::Window() const { return window_.data(); }

void LibraryCommands::OpenPatch(const QString& path, int slot) {
    DocumentWindow* window = files_.OpenByName(path);
    if (auto* project = qobject_cast<TProjectWindow*>(window)) project->SetCurrentRow(slot + 1);
}
