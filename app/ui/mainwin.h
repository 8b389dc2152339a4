// TMainWin: the frame of the program. It owns the menus and the status line,
// the MIDI port component and the link to the processor, the single windows
// (patch editor, comment window, progress window, RTM window, about box) and
// the list of open document windows, keeps the copy buffer, and on each idle
// pass sets what the menus allow and switches the processor to the patch
// that was selected.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTranslator>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

#include "app/framerules.h"
#include "device/devicelink.h"
#include "midi/midibackend.h"
#include "patch/projectdocument.h"

class QAction;
class QSettings;
class QActionGroup;
class QUndoGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TAboutBox;
class TControlPanel;
class TCustomDistWin;
class TMemoWin;
class TMidi;
class TOnIdleHandler;
class TProgressWin;
class TProjectWindow;
class TRtmPopUp;
class DocumentWindow;
class UserDialogs;
class WindowDeviceHost;

namespace orb8 {
class MidiSystem;
}

struct MainWinOptions {
    bool japanese = false;
    // The command line after the program's name: a .orb or .dst file to
    // open, or -E or /E for English.
    QStringList arguments;
    bool splash = true;
    // Where the MIDI ports, the recent files and the frame's place are
    // remembered between runs; none: nothing is (the first run, tests).
    QSettings* settings = nullptr;
};

class TMainWin : public QMainWindow {
    Q_OBJECT

public:
    TMainWin(orb8::MidiSystem& midiSystem, UserDialogs& dialogs, MainWinOptions options);
    ~TMainWin() override;

    // --- State the other windows use ---
    QPointer<TProjectWindow> CurrentProject;
    QPointer<TCustomDistWin> CurrentCustomDist;
    QPointer<DocumentWindow> ActiveDocument;
    QList<QPointer<DocumentWindow>> DocumentWindows;
    int PendingPatchChange = 0;  // index + 1 of the patch the next idle pass selects
    int ProjectCount = 0;
    int NewProjectCounter = 0;
    int UntitledDistCount = 0;
    bool DesignMode = false;
    const bool JapaneseUi;
    orb8::CopyBuffer CopyBuffer;

    // --- The single windows ---
    TControlPanel* ControlPanel = nullptr;
    TMemoWin* MemoWin = nullptr;
    TProgressWin* ProgressWin = nullptr;
    TRtmPopUp* RtmPopUp = nullptr;
    TAboutBox* AboutBox = nullptr;
    QMdiArea* MdiArea = nullptr;

    // --- Menus ---
    QMenu *FileMenu, *NewMenu, *ExportMenu, *RecentMenu, *EditMenu, *MidiMenu, *MidiInMenu, *MidiOutMenu, *ChanMenu, *CustomDistMenu,
        *WindowMenu, *HelpMenu;
    QAction *ExportSyxMenu, *ExportPatchSyxMenu, *ImportSyxMenu, *UndoMenu, *RedoMenu, *CompareMenu, *DifferencesMenu;
    QAction *ProjectNewMenu, *CustomDistNewMenu, *OpenMenu, *SaveMenu, *SaveAsMenu, *ExitMenu, *CopyMenu, *PasteMenu,
        *OnLineMenu, *UploadMenu, *DownloadMenu, *KeyboardMenu, *DesignMenu, *MemoMenu, *AboutMenu, *OnLineHMenu, *VHomeMenu,
        *ORBPageMenu;
    std::array<QAction*, 16> ChanItems{};

    orb8::DeviceLink& Link() { return *link_; }
    WindowDeviceHost& Host() { return *host_; }
    TMidi& Midi() { return *midi_; }
    orb8::CustomSettingsBlock& CustomSettings() { return link_->areas.customSettings; }
    UserDialogs& Dialogs() { return dialogs_; }

    // How help and web pages are opened (the desktop's browser); tests look.
    std::function<bool(const QUrl&)> OpenUrl;
    // Where the local help page is looked for.
    QString HelpPagePath() const;

    // --- Commands ---
    void ProjectNewMenuClick();
    void CustomDistNewMenuClick();
    void FileOpenExecute();
    // Opens a .orb or .dst by its name; anything else opens nothing.
    DocumentWindow* OpenByName(const QString& path);
    void FileSaveExecute();
    // Save As of one document (the active one when none is given); true when saved.
    bool FileSaveAsExecute(DocumentWindow* target = nullptr);
    void CopyMenuClick();
    void PasteMenuClick();
    void OnLineExecute();
    void UploadMenuClick();
    void DownloadMenuClick();
    void DesignMenuClick();
    void MemoMenuClick();
    void AboutMenuClick();
    void OnLineHMenuClick();
    void VHomeMenuClick();
    void ORBPageMenuClick();
    void ShowRtmWindow();
    // A/B compare of the patch in the editor with the one last loaded, saved or received.
    void SetCompare(bool on);
    void DifferencesMenuClick();
    // SysEx files: the bank (or the selected patch) out, patches in.
    void ExportSysEx(bool selectedOnly);
    void ImportSysEx();
    // The last documents opened or saved, newest first.
    QStringList RecentFiles() const;
    // A real MIDI system found after start-up (JACK): its ports join the
    // menus, and a choice nobody has made yet is made again with them.
    void AddMidiBackend(std::unique_ptr<orb8::MidiBackend> backend);

    // The idle pass: enabling, colours and the pending patch change.
    void OnIdleHandlerIdle();
    // Runs the pending patch change now (the idle pass posts it).
    void RunPendingPatchChange();

    // --- What the document windows call ---
    void RegisterDocument(DocumentWindow* window);
    void DocumentActivated(DocumentWindow* window);
    void DocumentCaptionChanged(DocumentWindow* window);
    // The close query: false keeps the window open.
    bool MayCloseDocument(DocumentWindow* window);
    void DocumentClosed(DocumentWindow* window);
    // Every change to a document: the modified flag and the caption's "*".
    void MarkModified(DocumentWindow* window);
    // A row of a project was selected.
    void PatchSelected(TProjectWindow* project, int row);
    // The comment being typed goes back to its patch.
    void HandBackComment();
    void ShowStatus(const QString& text);
    // An undo or redo of a project: the processor hears the bytes of the
    // patch it plays that changed back, the editor and the comment window show them.
    void StepApplied(TProjectWindow* project, const std::vector<std::pair<int, std::vector<int>>>& patches,
                     const std::vector<int>& comments);
    void RebuildWindowList();

    // The start: the file named on the command line, else a new project.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void SetHint(QAction* action, const QString& hint);
    QMdiSubWindow* AddDocumentWindow(DocumentWindow* window);
    void PlaceSingleWindows();
    QRect DocumentArea(int windowsBefore) const;
    TProjectWindow* NewProjectWindow();
    TCustomDistWin* NewCustomDistWindow();
    bool SaveDocumentNow(DocumentWindow* window);
    void ReportFile(const orb8::FileResult& result, orb8::DocumentKind kind);
    void OnChannelItem(int channel, const QString& caption, bool enabled, bool checked);
    void ProjectReceived(orb8::ProjectDocument& project);
    void CustomDistReceived(orb8::CustomDistDocument& document);
    void SubWindowActivated(QMdiSubWindow* window);
    void ApplyOnLineLook(bool onLine);
    void Remember(const QString& path);
    void ActivateHistory(DocumentWindow* window);
    void RebuildRecentMenu();

    orb8::MidiSystem& midiSystem_;
    UserDialogs& dialogs_;
    MainWinOptions options_;
    QTranslator translator_, qtTranslator_;
    std::unique_ptr<TMidi> midi_;
    QString startOut_, startIn_;  // the ports chosen at start-up
    void ChooseStartPorts();
    std::unique_ptr<WindowDeviceHost> host_;
    std::unique_ptr<orb8::DeviceLink> link_;
    TOnIdleHandler* idle_ = nullptr;
    QMdiSubWindow* editorWindow_ = nullptr;
    QMdiSubWindow* memoWindow_ = nullptr;
    QActionGroup* chanGroup_ = nullptr;
    QUndoGroup* undoGroup_ = nullptr;
    orb8::PatchData compared_{};  // the stored patch shown while comparing
    class TDifferencesWin* differences_ = nullptr;
    QPointer<TProjectWindow> pendingProject_;
    bool patchChangePosted_ = false;
    bool started_ = false;
    DocumentWindow* saveAsTarget_ = nullptr;
};
