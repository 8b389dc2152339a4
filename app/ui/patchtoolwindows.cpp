#include "app/ui/patchtoolwindows.h"

#include <QAction>

#include "app/ui/librarycommands.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/differenceswin.h"
#include "editors/projectsession.h"
#include "sounddesign/ui/sounddesignwin.h"
#include "workspace/ui/userdialogs.h"

using orb8::PatchClip;

PatchToolWindows::PatchToolWindows(WindowContext& context, TControlPanel& panel, UserDialogs& dialogs, QAction& compare,
                                   QSettings* settings, QWidget* frame)
    : QObject(frame), context_(context), panel_(panel), dialogs_(dialogs), compare_(compare), settings_(settings),
      frame_(frame) {
    connect(&panel_, &TControlPanel::SoundDesignRequested, this, &PatchToolWindows::ShowSoundDesign);
    connect(&panel_, &TControlPanel::PatchShown, this, [this] {
        if (soundDesign_) soundDesign_->PatchChanged();
    });
}

void PatchToolWindows::SetLibrary(LibraryCommands* library) {
    library_ = library;
    if (!library_) return;
    connect(library_, &LibraryCommands::CompareRequested, this, &PatchToolWindows::CompareWithLibrary);
    connect(library_, &LibraryCommands::CopyRequested, this, &PatchToolWindows::CopyFromLibrary);
    connect(library_, &LibraryCommands::SoundDesignRequested, this, [this](const PatchClip& clip, const QString& label) {
        ShowSoundDesign();
        soundDesign_->OfferPatch(clip.patch, label);
    });
}

void PatchToolWindows::SetProjects(const std::vector<orb8::OpenProject>& projects) {
    if (differences_) differences_->SetProjects(projects);
    if (soundDesign_) soundDesign_->SetProjects(projects);
}

void PatchToolWindows::ControllerMessage(std::uint32_t message) {
    if (soundDesign_) soundDesign_->ControllerMessage(message);
}

TDifferencesWin& PatchToolWindows::Differences() {
    if (!differences_) {
        differences_ = new TDifferencesWin(context_, frame_);
        emit WindowMade();
    }
    return *differences_;
}

void PatchToolWindows::ShowDifferences() { Differences().ShowFor(panel_.Project(), panel_.PatchIndex()); }

void PatchToolWindows::ShowSoundDesign() {
    if (!soundDesign_) {
        soundDesign_ = new TSoundDesignWin(panel_, settings_, frame_);
        connect(soundDesign_, &TSoundDesignWin::NewBankRequested, this, &PatchToolWindows::NewBankRequested);
        if (library_)
            soundDesign_->SetLibrary([this](const orb8::PatchData& like, std::uint64_t seed) {
                return library_->SoundsOfTypes(like, seed);
            });
        emit WindowMade();
    }
    soundDesign_->PatchChanged();
    soundDesign_->show();
    soundDesign_->raise();
    soundDesign_->activateWindow();
}

// A library patch against the patch in the editor.
void PatchToolWindows::CompareWithLibrary(const PatchClip& clip, const QString& label) {
    if (!panel_.Project()) {
        dialogs_.ShowError(frame_, tr("Library"),
                           tr("Open a bank first: the library's patch is compared with the patch in the editor."));
        return;
    }
    TDifferencesWin& differences = Differences();
    differences.ShowAgainst(panel_.Project(), panel_.PatchIndex(), clip, label);
    differences.activateWindow();
}

// A library patch over the patch in the editor: a step of its bank, sent on line.
void PatchToolWindows::CopyFromLibrary(const PatchClip& clip) {
    if (!panel_.Project()) {
        dialogs_.ShowError(frame_, tr("Library"),
                           tr("Open a bank first: the library's patch is copied over the patch in the editor."));
        return;
    }
    if (compare_.isChecked()) compare_.setChecked(false);
    emit TakePatchRequested(*panel_.Project(), clip, panel_.PatchIndex() + 1);
}
