#include "app/ui/mainwin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyle>
#include <QToolBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QScreen>
#include <filesystem>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include "app/framerules.h"
#include "app/ui/devicecommands.h"
#include "app/ui/editcommands.h"
#include "app/ui/filecommands.h"
#include "app/ui/framecontext.h"
#include "app/ui/recoverycommands.h"
#include "app/ui/librarycommands.h"
#include "app/ui/opendocuments.h"
#include "app/ui/patchtoolwindows.h"
#include "app/ui/sysexcommands.h"
#include "controls/onidlehandler.h"
#include "device/devicelink.h"
#include "device/ui/midimonitorwin.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "editors/ui/aboutbox.h"
#include "controls/colorbutton.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"
#include "editors/ui/rtmpopwin.h"
#include "keyboard/ui/gkbdwin.h"
#include "device/ui/midi.h"
#include "patch/differences.h"
#include "workspace/ui/recoverykeeper.h"
#include "workspace/ui/userdialogs.h"

using namespace orb8;

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

TMainWin::TMainWin(MidiSystem& midiSystem, UserDialogs& dialogs, MainWinOptions options)
    : QMainWindow(nullptr), midiSystem_(midiSystem), dialogs_(dialogs), options_(std::move(options)),
      japanese_(options_.japanese) {
    setObjectName("MainWin");
    setAcceptDrops(true);
    // The language first: every window takes its texts from it as it is made.
    if (japanese_) {
        if (translator_.load(":/i18n/orb8ed_ja.qm")) QCoreApplication::installTranslator(&translator_);
        if (qtTranslator_.load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTranslator_);
    }
    setWindowTitle(kShortTitle);
    // The program's icon, where the application has none (tests, pictures): a
    // picture made from the SVG icon, as loading the SVG engine would slow the start.
    if (QApplication::windowIcon().isNull()) setWindowIcon(QIcon(QStringLiteral(":/icons/com.example.orb8ed.png")));
    OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName("MdiArea");
    MdiArea->setBackground(QColor(118, 124, 136));
    // On a small screen (or a large scale) the windows may reach beyond the
    // frame: scroll bars then lead to them.
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);
    statusBar()->setObjectName("StatusLine");
    statusBar()->setSizeGripEnabled(true);

    midi_ = std::make_unique<TMidi>(midiSystem_, this);
    midi_->SetKeyboardMaker([](KeyboardPort& port, QWidget* parent) { return new TGkbdWin(port, parent); });
    host_ = std::make_unique<WindowDeviceHost>(*midi_, dialogs_, this);
    link_ = std::make_unique<DeviceLink>(*host_);
    context_ = std::make_unique<FrameContext>(dialogs_, japanese_, *statusBar(), *link_);
    device_ = new DeviceCommands(*link_, *host_, *midi_, dialogs_, this, options_.settings);
    connect(device_, &DeviceCommands::OnLineScanEnded, this, &TMainWin::OnLineScanEnded);
    connect(device_, &DeviceCommands::ExchangeEnded, this, &TMainWin::OnIdleHandlerIdle);
    connect(device_, &DeviceCommands::FrameCloseRequested, this, &QWidget::close, Qt::QueuedConnection);
    connect(device_, &DeviceCommands::DocumentCloseRequested, this, [this](const orb8::Document* document) {
        documents_->CloseDocument(*document);
    });
    connect(device_, &DeviceCommands::StatusMessage, this, [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    connect(device_, &DeviceCommands::ReceiveIntoNewBankRequested, this, [this] {
        if (auto* project = qobject_cast<TProjectWindow*>(NewDocumentWindow(DocumentKind::Project)))
            device_->ReceiveAll(project->Session());
    });
    BuildMenus(*menuBar(), japanese_);
    midi_->SetMIDIINMenu(MidiInMenu);
    midi_->SetMIDIOUTMenu(MidiOutMenu);

    // The single windows, in the order of the start-up.
    ControlPanel = new TControlPanel(*context_);
    editorWindow_ = OpenDocuments::AddWindow(*MdiArea, ControlPanel, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint,
                                             [this](QMdiSubWindow& sub) {
                                                 sub.setObjectName("ControlPanelWindow");
                                                 sub.setOption(QMdiSubWindow::RubberBandMove, false);
                                                 sub.setWindowIcon(windowIcon());
                                                 sub.show();
                                                 sub.setFixedSize(sub.size());
                                             });
    MemoWin = new TMemoWin(*context_);
    memoWindow_ = OpenDocuments::AddWindow(*MdiArea, MemoWin,
                                           Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint,
                                           [this](QMdiSubWindow& sub) {
                                               sub.setObjectName("MemoWindow");
                                               sub.setWindowIcon(windowIcon());
                                           });
    ProgressWin = new TProgressWin(this);
    host_->SetProgressWindow(*ProgressWin);

    documents_ = new OpenDocuments(*context_, *MdiArea, *editorWindow_, this);
    files_ = new FileCommands(*documents_, dialogs_, this, options_.settings, *RecentMenu);
    device_->SetChannelItems(ChanItems);
    device_->SetPaceItems(PaceItems);
    context_->SetCommands(*files_, *device_);
    edit_ = new EditCommands(*MemoWin, this);
    if (!options_.libraryDatabase.isEmpty()) library_ = new LibraryCommands(options_.libraryDatabase, *files_, dialogs_, options_.settings, this);
    LibraryMenu->setVisible(library_ != nullptr);
    if (library_) {
        // The library is one click away: a tool bar with its button.
        QToolBar* bar = addToolBar(tr("Library"));
        bar->setObjectName("LibraryToolBar");
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        LibraryMenu->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
        bar->addAction(LibraryMenu);
    }
    tools_ = new PatchToolWindows(*context_, *ControlPanel, dialogs_, *CompareMenu, options_.settings, this);
    tools_->SetLibrary(library_);
    connect(tools_, &PatchToolWindows::TakePatchRequested, this,
            [this](ProjectSession& project, const PatchClip& clip, int row) {
                if (auto* window = qobject_cast<TProjectWindow*>(documents_->WindowOf(&project))) window->TakePatch(clip, row);
            });
    // Controllers from the MIDI input (a pedal) reach the tool windows.
    midi_->OnData = [this](TMidi*, bool&, std::uint32_t message) { tools_->ControllerMessage(message); };
    if (library_) {
        // What the processor holds goes into its history in the library.
        connect(device_, &DeviceCommands::ProcessorBankKnown, library_, &LibraryCommands::KeepSnapshot);
        connect(device_, &DeviceCommands::ProcessorCustomDistsKnown, library_, &LibraryCommands::KeepCustomDistSnapshot);
        connect(library_, &LibraryCommands::BankOpened, this, [this](orb8::Document* document, int row) {
            if (auto* project = qobject_cast<TProjectWindow*>(documents_->WindowOf(document))) project->SetCurrentRow(row);
        });
        connect(library_, &LibraryCommands::StatusMessage, this, [this](const QString& text) {
            statusBar()->showMessage(text, 10000);
        });
        library_->SetCurrentBank([this]() -> std::optional<ProjectDocument> {
            if (TProjectWindow* project = documents_->CurrentProject()) return project->Document();
            return std::nullopt;
        });
        // Try on the Processor: the edit buffer only; the editor's patch again after.
        connect(library_, &LibraryCommands::TryRequested, this, [this](const PatchData& patch, const QString& label) {
            if (device_->Play(patch)) statusBar()->showMessage(tr("The processor plays %1 (from the library).").arg(label));
            else statusBar()->showMessage(tr("Not on line: nothing plays on the processor."), 6000);
        });
        connect(library_, &LibraryCommands::TryEnded, this, [this] {
            const PatchData* edited = ControlPanel->EditedPatch();
            if (edited && device_->Play(*edited))
                statusBar()->showMessage(tr("The processor plays %1 again.").arg(Q(ControlPanel->EditedPatchTitle())), 6000);
        });
        // A new bank of the library's results: one step of it, with their comments.
        connect(library_, &LibraryCommands::NewBankRequested, this, [this](const std::vector<PatchClip>& clips) {
            NewBank(tr("New Bank from Selection"), [&](ProjectDocument& document) { PutClips(clips, document); });
        });
        connect(library_, &LibraryCommands::UndoRequested, this, [this] { Undo(true); });
        connect(library_, &LibraryCommands::RedoRequested, this, [this] { Undo(false); });
    }
    connect(tools_, &PatchToolWindows::WindowMade, this, [this] { tools_->SetProjects(OpenProjects()); });
    // Variations go into a new bank, as one step of it (Undo leaves it new).
    connect(tools_, &PatchToolWindows::NewBankRequested, this,
            [this](const QString& title, const std::vector<PatchData>& patches, const CustomSettingsBlock& settings) {
                NewBank(title, [&](ProjectDocument& document) {
                    for (std::size_t i = 0; i < patches.size() && i < document.patches.size(); ++i)
                        document.patches[i] = patches[i];
                    document.customSettings = settings;
                });
            });
    if (!options_.recoveryFolder.isEmpty()) {
        recovery_ = std::make_unique<RecoveryKeeper>(options_.recoveryFolder, nullptr);
        if (recovery_->Usable()) {
            recoveryCommands_ = new RecoveryCommands(*documents_, dialogs_, *recovery_, this);
            documents_->SetRecovery(recovery_.get());
        } else {
            // No folder to keep records in: the program works without, and says so.
            context_->ShowStatus(tr("Unsaved work cannot be kept for recovery in %1: %2")
                                     .arg(recovery_->Folder(), recovery_->Problem()));
            recovery_.reset();
        }
    }
    sysex_ = new SysExCommands(dialogs_, this, [this](const QString& text) { context_->ShowStatus(text); });
    ConnectMenus();
    ConnectEditor();
    ConnectDocuments();

    idle_ = new TOnIdleHandler(this);
    idle_->SetInterval(0);
    idle_->SetDone(false);
    idle_->SetOnIdle([this](QObject*, int) { OnIdleHandlerIdle(); });

    PlaceSingleWindows();
    // Wide enough for the patch editor, tall enough for a good part of a bank.
    // Never taller or wider than the screen it opens on.
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(editorWindow_->frameGeometry().width() + 12, screen.width()), std::min(780, screen.height()));
    if (options_.settings) restoreGeometry(options_.settings->value("frame/geometry").toByteArray());
    ControlPanel->ShowOnLineState(false, {}, false);

    // The splash: the about box at once, closing itself after 2 seconds.
    if (options_.splash) About().show();
}

// The about box and the RTM window are made when first needed: a faster start.
TAboutBox& TMainWin::About() {
    if (!AboutBox) {
        AboutBox = new TAboutBox(this);
        if (!options_.splash) AboutBox->StopSplashTimer();
    }
    return *AboutBox;
}

TMainWin::~TMainWin() {
    // A normal end: the records of unsaved work go.
    recovery_.reset();
    // The MDI area deactivates its windows as it goes: nothing may reach this
    // window once its destruction has begun.
    disconnect(MdiArea, nullptr, this, nullptr);
    disconnect(documents_, nullptr, this, nullptr);
    idle_->SetOnIdle(nullptr);
    midi_->OnData = nullptr;
    delete monitor_.data();  // it records through the MIDI component, which goes first
    host_->EndExchange();  // the exchange's thread uses the link
    if (link_) link_->OffLine();
    link_.reset();
    host_.reset();
    QCoreApplication::removeTranslator(&translator_);
    QCoreApplication::removeTranslator(&qtTranslator_);
}

void TMainWin::ConnectMenus() {
    connect(ProjectNewMenu, &QAction::triggered, this, [this] { NewDocumentWindow(DocumentKind::Project); });
    connect(CustomDistNewMenu, &QAction::triggered, this, [this] { NewDocumentWindow(DocumentKind::CustomDist); });
    connect(OpenMenu, &QAction::triggered, files_, &FileCommands::Open);
    connect(SaveMenu, &QAction::triggered, files_, &FileCommands::Save);
    connect(SaveAsMenu, &QAction::triggered, files_, [this] { files_->SaveAs(); });
    connect(ImportSyxMenu, &QAction::triggered, this, [this] {
        TProjectWindow* project = documents_->ActiveProject();
        // The imported patch on the current row plays on the processor.
        if (!project) return;
        if (const auto change = sysex_->Import(project->Session(), project->CurrentRow())) context_->SendParameters(change->send);
    });
    const auto exportSysEx = [this](bool selectedOnly) {
        // On the channel of the ORB-8 on line, else channel 1.
        if (TProjectWindow* project = documents_->ActiveProject())
            sysex_->Export(project->Session(), selectedOnly ? std::optional<int>(project->CurrentRow() - 1) : std::nullopt,
                           link_->isOnLine ? link_->deviceChannel.load() : 0);
    };
    connect(ExportSyxMenu, &QAction::triggered, this, [exportSysEx] { exportSysEx(false); });
    connect(ExportPatchSyxMenu, &QAction::triggered, this, [exportSysEx] { exportSysEx(true); });
    connect(ExitMenu, &QAction::triggered, this, &QWidget::close);
    connect(UndoMenu, &QAction::triggered, this, [this] { Undo(true); });
    connect(RedoMenu, &QAction::triggered, this, [this] { Undo(false); });
    connect(CompareMenu, &QAction::toggled, this, &TMainWin::SetCompare);
    connect(DifferencesMenu, &QAction::triggered, tools_, &PatchToolWindows::ShowDifferences);
    connect(SoundDesignMenu, &QAction::triggered, tools_, &PatchToolWindows::ShowSoundDesign);
    connect(CopyMenu, &QAction::triggered, this, [this] {
        TProjectWindow* project = documents_->ActiveProject();
        edit_->Copy(project ? &project->Session() : nullptr, project ? project->ChosenRows() : std::vector<int>());
        if (edit_->Filled()) PasteMenu->setEnabled(true);
    });
    connect(PasteMenu, &QAction::triggered, this, [this] {
        edit_->Paste([project = documents_->ActiveProject()](const CopyBuffer& buffer) {
            if (project) project->Paste(buffer, project->CurrentRow());
        });
    });
    // Opened with the mouse, the menu shows what its items may do right now.
    connect(EditMenu, &QMenu::aboutToShow, this, &TMainWin::OnIdleHandlerIdle);
    connect(OnLineMenu, &QAction::triggered, this, &TMainWin::ToggleOnLine);
    connect(UploadMenu, &QAction::triggered, this, &TMainWin::ReceiveAll);
    connect(DownloadMenu, &QAction::triggered, this, &TMainWin::SendAll);
    connect(SendChangedMenu, &QAction::triggered, this, &TMainWin::SendChanged);
    if (options_.settings) VerifyMenu->setChecked(options_.settings->value("midi/verify", true).toBool());
    connect(VerifyMenu, &QAction::toggled, this, [this](bool on) {
        if (options_.settings) options_.settings->setValue("midi/verify", on);
    });
    connect(DesignMenu, &QAction::triggered, device_, &DeviceCommands::EnterDesignMode);
    connect(KeyboardMenu, &QAction::triggered, this, [this] { midi_->OpenKBD(); });
    connect(MonitorMenu, &QAction::triggered, this, [this] {
        if (!monitor_) monitor_ = new TMidiMonitorWin(*midi_, dialogs_, this);
        monitor_->show();
        monitor_->raise();
        monitor_->activateWindow();
    });
    connect(MemoMenu, &QAction::triggered, this, &TMainWin::MemoMenuClick);
    connect(LibraryMenu, &QAction::triggered, this, [this] {
        if (library_) library_->Show();
    });
    connect(AboutMenu, &QAction::triggered, this, [this] {
        About().StopSplashTimer();
        About().exec();
    });
    connect(OnLineHMenu, &QAction::triggered, this, [this] { OpenUrl(QUrl::fromLocalFile(HelpPagePath())); });
    connect(VHomeMenu, &QAction::triggered, this, [this] { OpenUrl(QUrl(Q(HomePageAddress(japanese_)))); });
    connect(ORBPageMenu, &QAction::triggered, this, [this] { OpenUrl(QUrl(Q(DownloadPageAddress(japanese_)))); });
}

// The patch editor's buttons ask the frame.
void TMainWin::ConnectEditor() {
    connect(ControlPanel, &TControlPanel::OnLineRequested, this, [this] {
        if (!link_->PortsOpen()) ToggleOnLine();
    });
    connect(ControlPanel, &TControlPanel::OffLineRequested, this, [this] {
        if (link_->PortsOpen()) ToggleOnLine();
    });
    connect(ControlPanel, &TControlPanel::ReceiveAllRequested, this, &TMainWin::ReceiveAll);
    connect(ControlPanel, &TControlPanel::ComparedPatchShown, this,
            [this](const ProjectSession* project, int row, const PatchData* patch) {
                if (auto* window = qobject_cast<TProjectWindow*>(documents_->WindowOf(project)))
                    window->ShowPatchOnRow(row, patch);
            });
    connect(ControlPanel, &TControlPanel::SendAllRequested, this, &TMainWin::SendAll);
    connect(ControlPanel, &TControlPanel::RtmRequested, this, [this] {
        if (!RtmPopUp) {
            RtmPopUp = new TRtmPopUp(*ControlPanel, this);
            connect(ControlPanel, &TControlPanel::RtmChanged, RtmPopUp, &TRtmPopUp::Refresh);
        }
        RtmPopUp->ShowPlaced(geometry().topLeft());
    });
    connect(ControlPanel, &TControlPanel::CompareRequested, CompareMenu, &QAction::trigger);
}

// A real MIDI system found after start-up (ALSA, JACK) joins the port menus.
void TMainWin::AddMidiBackend(std::unique_ptr<orb8::MidiBackend> backend) {
    if (device_->AddMidiBackend(midiSystem_, std::move(backend))) {
        midi_->SetMIDIOUTMenu(MidiOutMenu);
        midi_->SetMIDIINMenu(MidiInMenu);
    }
}

void TMainWin::RealMidiUnavailable(const QString& why) {
    context_->ShowStatus(tr("Real MIDI ports cannot be used: %1").arg(why));
}

// --- Placement ----------------------------------------------------------------

// The comment window takes the last third of the width below the patch editor.
void TMainWin::PlaceSingleWindows() {
    editorWindow_->move(0, 0);
    const QRect editor = editorWindow_->frameGeometry();
    const QRect area = documents_->DocumentArea(0);
    memoWindow_->setGeometry(editor.width() * 2 / 3 + 1, area.top(), editor.width() / 3, area.height());
}

// The start: the file named on the command line, else a new project.
void TMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PlaceSingleWindows();
    if (started_) return;
    started_ = true;
    std::vector<std::string> arguments = options_.commandLine;
    for (const QString& argument : options_.arguments) arguments.push_back(QFile::encodeName(argument).toStdString());
    // Every file named opens (a failed one as a new project, said); with none, a new project.
    bool opened = false;
    for (const std::string& file : ParseCommandLine(arguments).files) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(file, error);
        opened |= files_->OpenPath(error ? file : absolute.lexically_normal().string()) != nullptr;
    }
    if (!opened) NewDocumentWindow(DocumentKind::Project);
    if (recoveryCommands_) QTimer::singleShot(0, recoveryCommands_, &RecoveryCommands::Offer);
}

// --- Files dropped on the frame ---------------------------------------------------

namespace {
// The documents among dropped files, as the file system spells their paths.
std::vector<std::string> DroppedDocuments(const QMimeData* mime) {
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string path = QFile::encodeName(url.toLocalFile()).toStdString();
        if (KindOfPath(path) != DocumentKind::None) files.push_back(path);
    }
    return files;
}
}  // namespace

void TMainWin::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedDocuments(event->mimeData()).empty()) event->acceptProposedAction();
}

void TMainWin::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = DroppedDocuments(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    for (const std::string& file : files) files_->OpenPath(file);
}

// --- Document windows -----------------------------------------------------------

DocumentWindow* TMainWin::OpenByName(const QString& path) { return documents_->WindowOf(files_->OpenByName(path)); }
QStringList TMainWin::RecentFiles() const { return files_->RecentFiles(); }
DocumentWindow* TMainWin::NewDocumentWindow(DocumentKind kind) { return documents_->NewDocumentWindow(kind); }

std::vector<orb8::OpenProject> TMainWin::OpenProjects() const {
    std::vector<orb8::OpenProject> projects;
    for (TProjectWindow* project : documents_->Projects())
        projects.push_back(
            {std::static_pointer_cast<const ProjectSession>(project->SharedDoc()), project->Caption().toStdString()});
    return projects;
}

void TMainWin::ConnectDocuments() {
    documents_->SetWindowMenu(*WindowMenu, MemoMenu);
    connect(documents_, &OpenDocuments::TitleChanged, this, [this] {
        const DocumentWindow* active = documents_->Active();
        setWindowTitle(active ? Q(MainTitle(active->Caption().toStdString())) : kShortTitle);
    });
    connect(documents_, &OpenDocuments::ListChanged, this, [this] {
        ControlPanel->setEnabled(documents_->CurrentProject() != nullptr);
        tools_->SetProjects(OpenProjects());
    });
    connect(documents_, &OpenDocuments::ProjectClosing, this, [this](TProjectWindow* project) {
        if (ControlPanel->Project() == &project->Session() && CompareMenu->isChecked()) CompareMenu->setChecked(false);
        ControlPanel->Detach(&project->Session());
    });
    connect(documents_, &OpenDocuments::NoProjectLeft, this, [this] {
        MemoWin->Clear();
        memoWindow_->showMinimized();
    });
    connect(documents_, &OpenDocuments::PatchSelected, this, &TMainWin::PatchSelected);
}

// --- The patch shown ------------------------------------------------------------------

void TMainWin::PatchSelected(TProjectWindow* project, int row) {
    if (CompareMenu->isChecked()) CompareMenu->setChecked(false);  // back to the edited patch first
    ControlPanel->ShowPatch(project->Session(), row - 1);
    MemoWin->ShowComment(&project->Session(), row);
    device_->SchedulePatchChange(project->Session(), row);
}

void TMainWin::MemoMenuClick() {
    memoWindow_->showNormal();
    memoWindow_->show();
    MdiArea->setActiveSubWindow(memoWindow_);
}

void TMainWin::SetCompare(bool on) {
    if (ControlPanel->SetCompare(on) != on) {
        const QSignalBlocker quiet(CompareMenu);
        CompareMenu->setChecked(!on);
    }
    context_->ShowStatus(ControlPanel->Comparing() ? tr("Comparing: the patch as last loaded, saved or received (read-only)")
                                         : QString());
}

// Edit > Undo and Redo act on the history of the active document; Compare
// ends first, so that the editor and the processor show the step's result.
void TMainWin::Undo(bool undo) {
    DocumentWindow* window = documents_->Active();
    if (!window) return;
    if (CompareMenu->isChecked()) CompareMenu->setChecked(false);
    undo ? window->Undo() : window->Redo();
}

// --- The processor ---------------------------------------------------------------------

bool TMainWin::DesignMode() const { return device_->DesignMode(); }
int TMainWin::PendingPatchChange() const { return device_->PendingPatchChange(); }

void TMainWin::ToggleOnLine() {
    if (TProjectWindow* project = documents_->CurrentProject()) project->Session().Settle();
    device_->ToggleOnLine();
    OnIdleHandlerIdle();
}

// Once on line the processor takes the selected patch, and a bank whose
// custom settings differ from the processor's is named.
void TMainWin::OnLineScanEnded(bool onLine) {
    TProjectWindow* project = documents_->CurrentProject();
    if (onLine && project) {
        project->SelectRow(project->CurrentRow());
        // Said where the user looks: the status line, and the bank's window.
        if (project->Session().Settings() != link_->areas.customSettings)
            statusBar()->showMessage(
                tr("The ORB-8's custom settings differ from those of %1 (%2).")
                    .arg(project->Caption(),
                         Q(DifferingSlotsText(project->Session().Settings(), link_->areas.customSettings))),
                10000);
    }
    OnIdleHandlerIdle();
}

// A new bank filled by `fill` as one step named `title` (Undo leaves it new).
void TMainWin::NewBank(const QString& title, const std::function<void(ProjectDocument&)>& fill) {
    auto* project = qobject_cast<TProjectWindow*>(NewDocumentWindow(DocumentKind::Project));
    if (!project) return;
    project->Session().Perform([&](ProjectDocument& document) {
        fill(document);
        return StepReport{title.toStdString(), {}};
    });
    project->SetCurrentRow(1);
}

void TMainWin::ReceiveAll() {
    if (TProjectWindow* project = documents_->CurrentProject()) device_->ReceiveAll(project->Session());
}

void TMainWin::SendAll() {
    if (TProjectWindow* project = documents_->CurrentProject()) device_->SendAll(project->Session());
}

// What the processor holds as far as the program knows: its latest snapshot.
void TMainWin::SendChanged() {
    TProjectWindow* project = documents_->CurrentProject();
    if (!project) return;
    const auto known = library_ ? library_->KnownBank(device_->ProcessorName()) : std::nullopt;
    device_->SendChanged(project->Session(), known, VerifyMenu->isChecked());
}

void TMainWin::OnIdleHandlerIdle() {
    FrameState state;
    DocumentWindow* active = documents_->Active();
    if (active) {
        state.active = active->Doc().Kind();
        state.activeModified = active->Doc().Modified();
    }
    state.onLine = link_->isOnLine;
    state.copyFilled = edit_->Filled();
    state.exchangeRunning = device_->TransferRunning();
    const FrameEnabling e = IdleEnabling(state);
    SaveMenu->setEnabled(e.save);
    SaveAsMenu->setEnabled(e.saveAs);
    CopyMenu->setEnabled(e.copy || MemoWin->HasFocus());
    // In the comment window Paste pastes text, when the clipboard has some.
    PasteMenu->setEnabled(MemoWin->HasFocus() ? MemoWin->CanPaste() : e.paste);
    MemoMenu->setEnabled(e.comment);
    ImportSyxMenu->setEnabled(state.active == DocumentKind::Project);
    ExportMenu->setEnabled(state.active == DocumentKind::Project);
    if (e.receiveAll) UploadMenu->setEnabled(*e.receiveAll);
    if (e.sendAll) DownloadMenu->setEnabled(*e.sendAll);
    if (e.sendAll) SendChangedMenu->setEnabled(*e.sendAll);
    ControlPanel->ShowOnLineState(e.onLineLook, e.transferButtons, e.transferButtonsGreen);
    OnLineMenu->setText(e.onLineLook ? tr("Off &Line") : tr("On &Line"));
    OnLineMenu->setEnabled(e.onLineMenu);
    ControlPanel->EnableOnLineButtons(e.onLineMenu);
    ChanMenu->setEnabled(e.channelMenu);
    DesignMenu->setEnabled(e.designMenu);
    const orb8::Document* document = active ? &active->Doc() : nullptr;
    ShowHistory(document && document->CanUndo(), document ? Q(document->UndoText()) : QString(),
                document && document->CanRedo(), document ? Q(document->RedoText()) : QString());
    for (TProjectWindow* project : documents_->Projects()) project->RefreshSettingsNotice();
    device_->PostPendingPatchChange();
}

// --- Help --------------------------------------------------------------------------------

QString TMainWin::HelpPagePath() const {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + "/OnLineHelp/index.html", dir + "/../share/orb8ed/OnLineHelp/index.html"}) {
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return dir + "/OnLineHelp/index.html";
}

// --- Closing ----------------------------------------------------------------------------------

void TMainWin::closeEvent(QCloseEvent* event) {
    // An exchange is aborted first; the close goes on once it has ended.
    if (device_->ExchangeRunning()) {
        device_->CloseAfterExchange(nullptr);
        event->ignore();
        return;
    }
    // The last window first; each may ask about unsaved work and stay.
    if (!documents_->CloseAll()) {
        event->ignore();
        return;
    }
    link_->OffLine();
    // Every other window of the frame goes too (keyboard, Differences, RTM,
    // about box): a visible one that refuses to close would stop the
    // application's quit that this close starts.
    for (QWidget* child : findChildren<QWidget*>())
        if (child->isWindow() && child->isVisible()) child->hide();
    if (QSettings* settings = options_.settings) {
        settings->setValue("frame/geometry", saveGeometry());
        settings->setValue("midi/output", midi_->MidiOutName);
        settings->setValue("midi/input", midi_->MidiInName);
    }
    event->accept();
}
