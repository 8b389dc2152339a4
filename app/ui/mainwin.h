// TMainWin: the frame of the program. It owns the menus and the status line,
// the MIDI port component and the link to the processor, the single windows
// (patch editor, comment window, progress window, RTM window, about box) and
// the open document windows (OpenDocuments), and on each idle
// pass sets what the menus allow and switches the processor to the patch
// that was selected. The windows below it see it only as their contexts.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTranslator>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editors/patchediting.h"
#include "app/ui/framemenus.h"
#include "app/ui/opendocuments.h"
#include "midi/midibackend.h"
#include "patch/customsettings.h"
#include "patch/patchclip.h"
#include "workspace/ui/documentwindow.h"

class DeviceCommands;
class EditCommands;
class FileCommands;
class FrameContext;
class QMdiArea;
class QMdiSubWindow;
class QSettings;
class RecoveryCommands;
class LibraryCommands;
class RecoveryKeeper;
class SysExCommands;
class PatchToolWindows;
class TAboutBox;
class TControlPanel;
class TMemoWin;
class TMidi;
class TMidiMonitorWin;
class TOnIdleHandler;
class TProgressWin;
class TProjectWindow;
class TRtmPopUp;
class UserDialogs;
class WindowDeviceHost;

namespace orb8 {
class DeviceLink;
class ProjectDocument;
class MidiSystem;
}  // namespace orb8

struct MainWinOptions {
    bool japanese = false;
    // The command line after the program's name as text (tests, pictures):
    // .orb or .dst files to open, -E or /E first for English (see
    // orb8::ParseCommandLine). `commandLine` below is the same as the system
    // gives it (bytes, not always UTF-8).
    QStringList arguments;
    bool splash = true;
    // Where the MIDI ports, the recent files and the frame's place are
    // remembered between runs; none: nothing is (the first run, tests).
    QSettings* settings = nullptr;
    // Where records of unsaved work are kept for recovery after a crash;
    // empty: none are (tests, benchmarks, pictures).
    QString recoveryFolder = {};
    // The patch library's database; empty: the library is not offered (tests, pictures).
    QString libraryDatabase = {};
    std::vector<std::string> commandLine = {};
};

class TMainWin : public QMainWindow, private FrameMenus {
    Q_OBJECT

public:
    TMainWin(orb8::MidiSystem& midiSystem, UserDialogs& dialogs, MainWinOptions options);
    ~TMainWin() override;

    // The open document windows, the active one and the current project.
    OpenDocuments& Documents() const { return *documents_; }

    // The about box, made for the splash or when first asked for.
    TAboutBox& About();

    orb8::DeviceLink& Link() { return *link_; }
    WindowDeviceHost& Host() { return *host_; }
    TMidi& Midi() { return *midi_; }
    bool DesignMode() const;
    // index + 1 of the patch the next idle pass selects on the processor, or 0.
    int PendingPatchChange() const;

    // How help and web pages are opened (the desktop's browser); tests look.
    std::function<bool(const QUrl&)> OpenUrl;
    // Where the local help page is looked for.
    QString HelpPagePath() const;
    // Opens a .orb or .dst by its name; anything else opens nothing.
    DocumentWindow* OpenByName(const QString& path);
    // The last documents opened or saved, newest first.
    QStringList RecentFiles() const;
    // A real MIDI system found after start-up (ALSA, JACK): its ports join the
    // menus, and a choice nobody has made yet is made again with them.
    void AddMidiBackend(std::unique_ptr<orb8::MidiBackend> backend);
    // Real MIDI cannot be used at all (its module did not load): said in the status line.
    void RealMidiUnavailable(const QString& why);

    // Unsaved work kept for recovery, or nullptr when nothing is kept.
    RecoveryKeeper* Recovery() const { return recovery_.get(); }

    // The idle pass: enabling, colours, the history's items and the pending patch change.
    void OnIdleHandlerIdle();

    bool JapaneseUi() const { return japanese_; }
    DocumentWindow* NewDocumentWindow(orb8::DocumentKind kind);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Banks and custom distortion files dropped on the frame (from a file manager) open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // --- The single windows ---
    TControlPanel* ControlPanel = nullptr;
    TMemoWin* MemoWin = nullptr;
    TProgressWin* ProgressWin = nullptr;
    TRtmPopUp* RtmPopUp = nullptr;  // made when first asked for
    TAboutBox* AboutBox = nullptr;
    QMdiArea* MdiArea = nullptr;
    void ConnectMenus();
    void ConnectEditor();
    void ConnectDocuments();
    // The open projects for the tool windows' lists.
    std::vector<orb8::OpenProject> OpenProjects() const;
    void PlaceSingleWindows();
    void PatchSelected(TProjectWindow* project, int row);
    void ToggleOnLine();
    void OnLineScanEnded(bool onLine);
    void ReceiveAll();
    void SendAll();
    void SendChanged();
    void NewBank(const QString& title, const std::function<void(orb8::ProjectDocument&)>& fill);
    void SetCompare(bool on);
    void Undo(bool undo);
    void MemoMenuClick();

    orb8::MidiSystem& midiSystem_;
    UserDialogs& dialogs_;
    MainWinOptions options_;
    const bool japanese_;
    QTranslator translator_, qtTranslator_;
    std::unique_ptr<TMidi> midi_;
    QPointer<TMidiMonitorWin> monitor_;
    std::unique_ptr<WindowDeviceHost> host_;
    std::unique_ptr<orb8::DeviceLink> link_;
    std::unique_ptr<FrameContext> context_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    RecoveryCommands* recoveryCommands_ = nullptr;
    LibraryCommands* library_ = nullptr;
    FileCommands* files_ = nullptr;
    DeviceCommands* device_ = nullptr;
    SysExCommands* sysex_ = nullptr;
    EditCommands* edit_ = nullptr;
    TOnIdleHandler* idle_ = nullptr;
    QMdiSubWindow* editorWindow_ = nullptr;
    QMdiSubWindow* memoWindow_ = nullptr;
    PatchToolWindows* tools_ = nullptr;
    OpenDocuments* documents_ = nullptr;
    bool started_ = false;
};
