#include "app/ui/mainwin.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

#include "app/framerules.h"
#include "app/ui/devicecommands.h"
#include "app/ui/filecommands.h"
#include "app/ui/sysexcommands.h"
#include "controls/onidlehandler.h"
#include "customdist/ui/customdistwin.h"
#include "device/devicelink.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "editors/ui/aboutbox.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/differenceswin.h"
#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"
#include "editors/ui/rtmpopwin.h"
#include "midi/midi.h"
#include "workspace/ui/userdialogs.h"

using namespace orb8;

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

TMainWin::TMainWin(MidiSystem& midiSystem, UserDialogs& dialogs, MainWinOptions options)
    : QMainWindow(nullptr), midiSystem_(midiSystem), dialogs_(dialogs), options_(std::move(options)),
      japanese_(options_.japanese) {
    setObjectName("MainWin");
    // The language first: every window takes its texts from it as it is made.
    if (japanese_) {
        if (translator_.load(":/i18n/orb8ed_ja.qm")) QCoreApplication::installTranslator(&translator_);
        if (qtTranslator_.load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTranslator_);
    }
    setWindowTitle(kShortTitle);
    // A picture made from the SVG icon: loading the SVG engine would slow the start.
    setWindowIcon(QIcon(QStringLiteral(":/icons/com.example.orb8ed.png")));
    OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName("MdiArea");
    MdiArea->setBackground(QColor(118, 124, 136));
    setCentralWidget(MdiArea);
    statusBar()->setObjectName("StatusLine");
    statusBar()->setSizeGripEnabled(true);

    midi_ = std::make_unique<TMidi>(midiSystem_, this);
    ChooseStartPorts();
    host_ = std::make_unique<WindowDeviceHost>(*midi_, dialogs_, this);
    link_ = std::make_unique<DeviceLink>(*host_);
    BuildMenus(*menuBar(), japanese_);
    midi_->SetMIDIINMenu(MidiInMenu);
    midi_->SetMIDIOUTMenu(MidiOutMenu);

    // The single windows, in the order of the start-up.
    ControlPanel = new TControlPanel(*this);
    editorWindow_ = MdiArea->addSubWindow(ControlPanel, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    editorWindow_->setObjectName("ControlPanelWindow");
    editorWindow_->setOption(QMdiSubWindow::RubberBandMove, false);
    editorWindow_->show();
    editorWindow_->setFixedSize(editorWindow_->size());
    MemoWin = new TMemoWin(*this);
    memoWindow_ = MdiArea->addSubWindow(MemoWin, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    memoWindow_->setObjectName("MemoWindow");
    memoWindow_->setWindowIcon(windowIcon());
    editorWindow_->setWindowIcon(windowIcon());
    ProgressWin = new TProgressWin(this);
    host_->SetProgressWindow(*ProgressWin);
    RtmPopUp = new TRtmPopUp(*ControlPanel, this);
    AboutBox = new TAboutBox(this);

    files_ = new FileCommands(*this, dialogs_, this, japanese_, options_.settings, *RecentMenu);
    device_ = new DeviceCommands(*link_, *host_, *midi_, dialogs_, this, ChanItems);
    sysex_ = new SysExCommands(dialogs_, this, japanese_, [this](const QString& text) { ShowStatus(text); });
    ConnectMenus();
    ConnectEditor();

    idle_ = new TOnIdleHandler(this);
    idle_->SetInterval(0);
    idle_->SetDone(false);
    idle_->SetOnIdle([this](QObject*, int) { OnIdleHandlerIdle(); });

    PlaceSingleWindows();
    // Wide enough for the patch editor, tall enough for a good part of a bank.
    resize(editorWindow_->frameGeometry().width() + 12, 780);
    if (options_.settings) restoreGeometry(options_.settings->value("frame/geometry").toByteArray());
    ControlPanel->ShowOnLineState(false, {}, false);

    // The splash: the about box at once, closing itself after 2 seconds.
    if (options_.splash) {
        AboutBox->show();
        QCoreApplication::processEvents();
    } else {
        AboutBox->ACTimer.stop();
    }
}

TMainWin::~TMainWin() {
    // The MDI area deactivates its windows as it goes: nothing may reach this
    // window once its destruction has begun.
    disconnect(MdiArea, nullptr, this, nullptr);
    for (const auto& window : DocumentWindows)
        if (window) disconnect(window, nullptr, this, nullptr);
    idle_->SetOnIdle(nullptr);
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
        if (TProjectWindow* project = ActiveProject()) sysex_->Import(*project);
    });
    const auto exportSysEx = [this](bool selectedOnly) {
        // On the channel of the ORB-8 on line, else channel 1.
        if (TProjectWindow* project = ActiveProject())
            sysex_->Export(*project, selectedOnly, link_->isOnLine ? link_->deviceChannel : 0);
    };
    connect(ExportSyxMenu, &QAction::triggered, this, [exportSysEx] { exportSysEx(false); });
    connect(ExportPatchSyxMenu, &QAction::triggered, this, [exportSysEx] { exportSysEx(true); });
    connect(ExitMenu, &QAction::triggered, this, &QWidget::close);
    connect(UndoMenu, &QAction::triggered, this, [this] { Undo(true); });
    connect(RedoMenu, &QAction::triggered, this, [this] { Undo(false); });
    connect(CompareMenu, &QAction::toggled, this, &TMainWin::SetCompare);
    connect(DifferencesMenu, &QAction::triggered, this, &TMainWin::ShowDifferences);
    connect(CopyMenu, &QAction::triggered, this, &TMainWin::Copy);
    connect(PasteMenu, &QAction::triggered, this, &TMainWin::Paste);
    // Opened with the mouse, the menu shows what its items may do right now.
    connect(EditMenu, &QMenu::aboutToShow, this, &TMainWin::OnIdleHandlerIdle);
    connect(OnLineMenu, &QAction::triggered, this, &TMainWin::ToggleOnLine);
    connect(UploadMenu, &QAction::triggered, this, &TMainWin::ReceiveAll);
    connect(DownloadMenu, &QAction::triggered, this, &TMainWin::SendAll);
    connect(DesignMenu, &QAction::triggered, device_, &DeviceCommands::EnterDesignMode);
    connect(KeyboardMenu, &QAction::triggered, this, [this] { midi_->OpenKBD(); });
    connect(MemoMenu, &QAction::triggered, this, &TMainWin::MemoMenuClick);
    connect(AboutMenu, &QAction::triggered, this, [this] {
        AboutBox->ACTimer.stop();
        AboutBox->exec();
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
    connect(ControlPanel, &TControlPanel::SendAllRequested, this, &TMainWin::SendAll);
    connect(ControlPanel, &TControlPanel::RtmRequested, this, [this] { RtmPopUp->ShowPlaced(geometry().topLeft()); });
    connect(ControlPanel, &TControlPanel::CompareRequested, CompareMenu, &QAction::trigger);
}

// --- MIDI ports ----------------------------------------------------------------------

// Device 0 of each kind, or the ports remembered from the last run; a
// remembered port that is gone leaves device 0 in its place.
void TMainWin::ChooseStartPorts() {
    midi_->ChooseOutput(0);
    midi_->ChooseInput(0);
    if (QSettings* settings = options_.settings) {
        const int out = midi_->OutputNames().indexOf(settings->value("midi/output").toString());
        const int in = midi_->InputNames().indexOf(settings->value("midi/input").toString());
        if (out >= 0) midi_->ChooseOutput(out);
        if (in >= 0) midi_->ChooseInput(in);
    }
    startOut_ = midi_->MidiOutName;
    startIn_ = midi_->MidiInName;
}

void TMainWin::AddMidiBackend(std::unique_ptr<orb8::MidiBackend> backend) {
    if (!backend) return;
    const bool untouched = !midi_->OutputOpen() && !midi_->InputOpen() && midi_->MidiOutName == startOut_ &&
                           midi_->MidiInName == startIn_;
    midiSystem_.AddRealBackend(std::move(backend));
    midi_->RefreshDevices();
    if (!untouched) return;
    ChooseStartPorts();
    midi_->SetMIDIOUTMenu(MidiOutMenu);
    midi_->SetMIDIINMenu(MidiInMenu);
}

// --- Placement ----------------------------------------------------------------

// Below the patch editor: two thirds of its width for the project windows,
// each 20 pixels right of the one before, and the last third for the
// comment window.
QRect TMainWin::DocumentArea(int windowsBefore) const {
    const QRect editor = editorWindow_->frameGeometry();
    const int top = editor.bottom() + 2;
    const int height = std::max(120, MdiArea->viewport()->height() - editor.height() - 1);
    return QRect(20 * windowsBefore, top, editor.width() * 2 / 3, height);
}

void TMainWin::PlaceSingleWindows() {
    editorWindow_->move(0, 0);
    const QRect editor = editorWindow_->frameGeometry();
    const QRect area = DocumentArea(0);
    memoWindow_->setGeometry(editor.width() * 2 / 3 + 1, area.top(), editor.width() / 3, area.height());
}

// The start: the file named on the command line, else a new project.
void TMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PlaceSingleWindows();
    if (started_) return;
    started_ = true;
    const QStringList& args = options_.arguments;
    if (!args.isEmpty() && args[0] != "-E" && args[0] != "/E") OpenByName(args[0]);
    else NewDocumentWindow(DocumentKind::Project);
}

// --- Document windows -----------------------------------------------------------

DocumentWindow* TMainWin::OpenByName(const QString& path) { return files_->OpenByName(path); }
QStringList TMainWin::RecentFiles() const { return files_->RecentFiles(); }

DocumentWindow* TMainWin::NewDocumentWindow(DocumentKind kind) {
    DocumentWindow* window = nullptr;
    if (kind == DocumentKind::Project) {
        ++ProjectCount;
        auto* project = new TProjectWindow(*this, ++NewProjectCounter);
        connect(project, &TProjectWindow::PatchSelected, this, &TMainWin::PatchSelected);
        CurrentProject = project;
        window = project;
    } else {
        auto* dist = new TCustomDistWin(*this, ++UntitledDistCount);
        CurrentCustomDist = dist;
        window = dist;
    }
    ActiveDocument = window;
    connect(window, &DocumentWindow::CaptionChanged, this, &TMainWin::DocumentCaptionChanged);
    connect(window, &DocumentWindow::Activated, this, &TMainWin::DocumentActivated);
    connect(window, &DocumentWindow::Closed, this, &TMainWin::DocumentClosed);
    AddDocumentWindow(window);
    DocumentWindows.append(window);
    MdiArea->setActiveSubWindow(window->SubWindow());
    if (CurrentProject == window) CurrentProject->SetCurrentRow(1);
    ShowTitle();
    RebuildWindowList();
    return window;
}

void TMainWin::AddDocumentWindow(DocumentWindow* window) {
    const int before = static_cast<int>(DocumentWindows.size());
    QMdiSubWindow* sub = MdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    window->SetSubWindow(sub);
    if (window->Kind() == DocumentKind::Project) {
        sub->setGeometry(DocumentArea(before));
    } else {
        sub->adjustSize();
        sub->move(DocumentArea(before).topLeft());
    }
    sub->show();
}

TProjectWindow* TMainWin::ActiveProject() const {
    return CurrentProject && ActiveDocument == CurrentProject ? CurrentProject.data() : nullptr;
}

void TMainWin::ShowTitle() { setWindowTitle(ActiveDocument ? Q(MainTitle(ActiveDocument->Caption().toStdString())) : kShortTitle); }

// A project window that becomes the active document shows its current patch
// again (which schedules the patch change); nothing when it already was.
void TMainWin::DocumentActivated(DocumentWindow* window) {
    if (!window || !DocumentWindows.contains(window)) return;
    auto* project = qobject_cast<TProjectWindow*>(window);
    auto* dist = qobject_cast<TCustomDistWin*>(window);
    if (ActiveDocument == window && (project ? CurrentProject == project : CurrentCustomDist == dist)) return;
    ActiveDocument = window;
    if (project) CurrentProject = project;
    if (dist) CurrentCustomDist = dist;
    ShowTitle();
    RebuildWindowList();
    if (project) project->SelectRow(project->CurrentRow());
}

void TMainWin::DocumentCaptionChanged(DocumentWindow* window) {
    if (window == ActiveDocument) ShowTitle();
    RebuildWindowList();
}

bool TMainWin::MayCloseDocument(DocumentWindow& window) {
    if (host_->ExchangeRunning()) return false;
    return files_->MayClose(window);
}

void TMainWin::DocumentClosed(DocumentWindow* window) {
    setWindowTitle(kShortTitle);
    if (ActiveDocument == window) ActiveDocument = nullptr;
    if (auto* project = qobject_cast<TProjectWindow*>(window)) {
        if (ControlPanel->Project() == project && CompareMenu->isChecked()) CompareMenu->setChecked(false);
        ControlPanel->Detach(project);
        if (CurrentProject == project) CurrentProject = nullptr;
        --ProjectCount;
    } else if (CurrentCustomDist == window) {
        CurrentCustomDist = nullptr;
    }
    DocumentWindows.removeAll(window);
    RebuildWindowList();
    if (ProjectCount == 0) {
        MemoWin->Clear();
        memoWindow_->showMinimized();
    }
}

void TMainWin::RebuildWindowList() {
    DocumentWindows.removeAll(nullptr);
    const QList<QAction*> items = WindowMenu->actions();
    for (qsizetype i = items.indexOf(MemoMenu) + 1; i < items.size(); ++i) {
        WindowMenu->removeAction(items[i]);
        items[i]->deleteLater();
    }
    QList<TProjectWindow*> projects;
    for (qsizetype i = 0; i < DocumentWindows.size(); ++i) {
        DocumentWindow* window = DocumentWindows[i];
        if (auto* project = qobject_cast<TProjectWindow*>(window)) projects << project;
        if (!ActiveDocument && i == DocumentWindows.size() - 1) {
            // The last window takes over as the active document.
            ActiveDocument = window;
            if (auto* project = qobject_cast<TProjectWindow*>(window)) CurrentProject = project;
            if (auto* dist = qobject_cast<TCustomDistWin*>(window)) CurrentCustomDist = dist;
            ShowTitle();
        }
        if (i == 0) WindowMenu->addSeparator();
        const int index = static_cast<int>(i);
        QAction* item = WindowMenu->addAction(Q(WindowListText(index, window->Caption().toStdString())));
        item->setObjectName(QStringLiteral("WindowItem%1").arg(index + 1));
        if (const int digit = WindowListShortcutDigit(index)) item->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + digit)));
        item->setCheckable(true);
        item->setChecked(window == ActiveDocument);
        QPointer<DocumentWindow> target = window;
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target) return;
            target->SubWindow()->showNormal();
            MdiArea->setActiveSubWindow(target->SubWindow());
            DocumentActivated(target);
        });
    }
    ControlPanel->setEnabled(CurrentProject != nullptr);
    if (differences_) differences_->SetProjects(projects);
}

// --- Copy and paste -----------------------------------------------------------------

void TMainWin::Copy() {
    if (MemoWin->HasFocus()) {
        MemoWin->Copy();
        return;
    }
    TProjectWindow* project = ActiveProject();
    if (!project) return;
    project->Settle();
    CopyBuffer.CopyFrom(project->Document(), project->CurrentRow());
    PasteMenu->setEnabled(true);
}

void TMainWin::Paste() {
    if (MemoWin->HasFocus()) {
        MemoWin->Paste();
        return;
    }
    TProjectWindow* project = ActiveProject();
    if (!project || !CopyBuffer.filled) return;
    const int row = project->CurrentRow();
    ProjectSession& session = project->Session();
    session.Perform([&] {
        CopyBuffer.PasteInto(session.Document(), row);
        return StepReport{tr("Paste to %1").arg(Q(PatchLabel(row - 1))).toStdString(), {}};
    });
    project->SelectRow(row);
}

// --- The patch shown ------------------------------------------------------------------

void TMainWin::PatchSelected(TProjectWindow* project, int row) {
    if (CompareMenu->isChecked()) CompareMenu->setChecked(false);  // back to the edited patch first
    ControlPanel->ShowPatch(*project, row - 1);
    MemoWin->ShowComment(project, row);
    device_->SchedulePatchChange(*project, row);
}

void TMainWin::MemoMenuClick() {
    memoWindow_->showNormal();
    memoWindow_->show();
    MdiArea->setActiveSubWindow(memoWindow_);
}

void TMainWin::ShowStatus(const QString& text) { statusBar()->showMessage(text, 6000); }

void TMainWin::SetCompare(bool on) {
    if (ControlPanel->SetCompare(on) != on) {
        const QSignalBlocker quiet(CompareMenu);
        CompareMenu->setChecked(!on);
    }
    ShowStatus(ControlPanel->Comparing() ? tr("Comparing: the patch as last loaded, saved or received (read-only)")
                                         : QString());
}

void TMainWin::ShowDifferences() {
    if (!differences_) {
        differences_ = new TDifferencesWin(*this, this);
        RebuildWindowList();
    }
    differences_->ShowFor(ControlPanel->Project(), ControlPanel->PatchIndex());
}

// Edit > Undo and Redo act on the history of the active document; Compare
// ends first, so that the editor and the processor show the step's result.
void TMainWin::Undo(bool undo) {
    DocumentWindow* window = ActiveDocument;
    if (!window) return;
    if (CompareMenu->isChecked()) CompareMenu->setChecked(false);
    undo ? window->Undo() : window->Redo();
}

// --- The processor ---------------------------------------------------------------------

bool TMainWin::DesignMode() const { return device_->DesignMode(); }
int TMainWin::PendingPatchChange() const { return device_->PendingPatchChange(); }
CustomSettingsBlock& TMainWin::CustomSettings() { return link_->areas.customSettings; }

void TMainWin::ToggleOnLine() {
    if (CurrentProject) CurrentProject->Settle();
    const bool wasOnLine = link_->isOnLine;
    device_->ToggleOnLine();
    // On line the custom types follow the processor's settings.
    if (!wasOnLine && link_->isOnLine && CurrentProject) CurrentProject->SelectRow(CurrentProject->CurrentRow());
    OnIdleHandlerIdle();
}

void TMainWin::ReceiveAll() {
    if (CurrentProject) device_->ReceiveAll(*CurrentProject);
}

void TMainWin::SendAll() {
    if (CurrentProject) device_->SendAll(*CurrentProject);
}

void TMainWin::SendParameters(const std::vector<std::pair<int, int>>& bytes) {
    for (const auto& [byte, value] : bytes) link_->SendParameterChange(byte, value);
}

bool TMainWin::OutputOpen() { return link_->OutputOpen(); }

void TMainWin::SendDesignToneFilter(const CustomDistData& data, int set, int slot) {
    link_->SendDesignToneFilter(data, set, slot, device_->DesignMode());
}

void TMainWin::SendDesignCharacter(const CustomDistData& data, int set) {
    link_->SendDesignCharacter(data, set, device_->DesignMode());
}

bool TMainWin::ReceiveCustomDists(CustomDistDocument& document) {
    const TransferResult r = link_->ReceiveAllCustomDists(document);
    return r != TransferResult::Declined && r != TransferResult::NotOnLine;
}

void TMainWin::StoreCustomDists(CustomDistDocument& document) { link_->SendAllCustomDists(document); }

void TMainWin::OnIdleHandlerIdle() {
    FrameState state;
    if (ActiveDocument) {
        state.active = ActiveDocument->Kind();
        state.activeModified = ActiveDocument->Modified();
    }
    state.onLine = link_->isOnLine;
    state.copyFilled = CopyBuffer.filled;
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
    ControlPanel->ShowOnLineState(e.onLineLook, e.transferButtons, e.transferButtonsGreen);
    OnLineMenu->setText(e.onLineLook ? tr("Off &Line") : tr("On &Line"));
    ChanMenu->setEnabled(e.channelMenu);
    DesignMenu->setEnabled(e.designMenu);
    DocumentWindow* active = ActiveDocument;
    ShowHistory(active && active->CanUndo(), active ? active->UndoText() : QString(), active && active->CanRedo(),
                active ? active->RedoText() : QString());
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
    if (host_->ExchangeRunning()) {
        event->ignore();
        return;
    }
    // The last window first; each may ask about unsaved work and stay.
    while (!DocumentWindows.isEmpty()) {
        DocumentWindow* window = DocumentWindows.last();
        const auto before = DocumentWindows.size();
        if (!window || !window->SubWindow()) {
            DocumentWindows.removeLast();
            continue;
        }
        window->SubWindow()->close();
        if (DocumentWindows.size() == before) {
            event->ignore();
            return;
        }
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
