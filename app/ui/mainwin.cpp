#include "app/ui/mainwin.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>
#include <sys/stat.h>

#include "app/ui/userdialogs.h"
#include "controls/colorbutton.h"
#include "controls/onidlehandler.h"
#include "customdist/ui/customdistwin.h"
#include "device/sysexfile.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "editors/ui/aboutbox.h"
#include "editors/compare.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/differenceswin.h"
#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"
#include "editors/ui/rtmpopwin.h"
#include "midi/midi.h"

using namespace orb8;

namespace {

const QColor kGreen(0x00, 0xFF, 0x00);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kGrey(0x80, 0x80, 0x80);

QString Q(const std::string& text) { return QString::fromStdString(text); }

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

TMainWin::TMainWin(MidiSystem& midiSystem, UserDialogs& dialogs, MainWinOptions options)
    : QMainWindow(nullptr), JapaneseUi(options.japanese), midiSystem_(midiSystem), dialogs_(dialogs),
      options_(std::move(options)) {
    setObjectName("MainWin");
    // The language first: every window takes its texts from it as it is made.
    if (JapaneseUi) {
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
    CreateMenus();

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
    RtmPopUp = new TRtmPopUp(*this, this);
    AboutBox = new TAboutBox(this);
    host_->onChannelItem = [this](int c, const QString& caption, bool enabled, bool checked) {
        OnChannelItem(c, caption, enabled, checked);
    };
    host_->onProjectReceived = [this](ProjectDocument& project) { ProjectReceived(project); };
    host_->onCustomDistReceived = [this](CustomDistDocument& document) { CustomDistReceived(document); };

    connect(MdiArea, &QMdiArea::subWindowActivated, this, &TMainWin::SubWindowActivated);

    idle_ = new TOnIdleHandler(this);
    idle_->SetInterval(0);
    idle_->SetDone(false);
    idle_->SetOnIdle([this](QObject*, int) { OnIdleHandlerIdle(); });

    PlaceSingleWindows();
    // Wide enough for the patch editor, tall enough for a good part of a bank.
    resize(editorWindow_->frameGeometry().width() + 12, 780);
    if (options_.settings) restoreGeometry(options_.settings->value("frame/geometry").toByteArray());
    RebuildRecentMenu();
    ApplyOnLineLook(false);

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
    idle_->SetOnIdle(nullptr);
    if (link_) link_->OffLine();
    link_.reset();
    host_.reset();
    QCoreApplication::removeTranslator(&translator_);
    QCoreApplication::removeTranslator(&qtTranslator_);
}

void TMainWin::SetHint(QAction* action, const QString& hint) {
    const int bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void TMainWin::CreateMenus() {
    auto add = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    FileMenu = menuBar()->addMenu(tr("&File"));
    FileMenu->setObjectName("FileMenu");
    NewMenu = FileMenu->addMenu(tr("&New"));
    NewMenu->setObjectName("NewMenu");
    SetHint(NewMenu->menuAction(), tr("New|Create new Project"));
    ProjectNewMenu = add(NewMenu, "ProjectNewMenu", tr("&Project"));
    ProjectNewMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    CustomDistNewMenu = add(NewMenu, "CustomDistNewMenu", tr("&CustomDist"));
    OpenMenu = add(FileMenu, "OpenMenu", tr("&Open..."));
    OpenMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SetHint(OpenMenu, tr("Open|Open a Project"));
    SaveMenu = add(FileMenu, "SaveMenu", tr("&Save"));
    SaveMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SetHint(SaveMenu, tr("Save|Save this Project Overwritten"));
    SaveAsMenu = add(FileMenu, "SaveAsMenu", tr("Save &As..."));
    SetHint(SaveAsMenu, tr("Save As|Save this Project as another file name"));
    FileMenu->addSeparator();
    ImportSyxMenu = add(FileMenu, "ImportSyxMenu", tr("&Import SysEx..."));
    SetHint(ImportSyxMenu, tr("Import SysEx|Take the ORB-8 patches of a SysEx file into this project"));
    ExportMenu = FileMenu->addMenu(tr("&Export"));
    ExportMenu->setObjectName("ExportMenu");
    ExportSyxMenu = add(ExportMenu, "ExportSyxMenu", tr("&Patches as SysEx..."));
    SetHint(ExportSyxMenu, tr("Export|The 80 patches as the SysEx messages that write them into the ORB-8"));
    ExportPatchSyxMenu = add(ExportMenu, "ExportPatchSyxMenu", tr("&Selected Patch as SysEx..."));
    SetHint(ExportPatchSyxMenu, tr("Export|The selected patch as the SysEx messages that write it into the ORB-8"));
    RecentMenu = FileMenu->addMenu(tr("&Recent Files"));
    RecentMenu->setObjectName("RecentMenu");
    FileMenu->addSeparator();
    ExitMenu = add(FileMenu, "ExitMenu", tr("E&xit"));
    ExitMenu->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Q));
    SetHint(ExitMenu, tr("Exit|Quit ORB-8 Librarian/Editor"));

    EditMenu = menuBar()->addMenu(tr("&Edit"));
    EditMenu->setObjectName("EditMenu");
    // One history per project; the items name the step ("Undo Mod RATE").
    undoGroup_ = new QUndoGroup(this);
    // A comment being typed is handed back first, so that it becomes the step
    // undone instead of being replaced by what the undone step restores.
    const auto historyAction = [this](const char* name, const QString& prefix, bool undo) {
        auto* action = new QAction(prefix, this);
        action->setObjectName(name);
        action->setEnabled(false);
        const auto caption = [action, prefix](const QString& step) {
            action->setText(step.isEmpty() ? prefix : prefix + ' ' + step);
        };
        if (undo) {
            connect(undoGroup_, &QUndoGroup::canUndoChanged, action, &QAction::setEnabled);
            connect(undoGroup_, &QUndoGroup::undoTextChanged, action, caption);
        } else {
            connect(undoGroup_, &QUndoGroup::canRedoChanged, action, &QAction::setEnabled);
            connect(undoGroup_, &QUndoGroup::redoTextChanged, action, caption);
        }
        connect(action, &QAction::triggered, this, [this, undo] {
            HandBackComment();
            undo ? undoGroup_->undo() : undoGroup_->redo();
        });
        return action;
    };
    UndoMenu = historyAction("UndoMenu", tr("Undo"), true);
    UndoMenu->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    RedoMenu = historyAction("RedoMenu", tr("Redo"), false);
    RedoMenu->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    EditMenu->addAction(UndoMenu);
    EditMenu->addAction(RedoMenu);
    EditMenu->addSeparator();
    CompareMenu = add(EditMenu, "CompareMenu", tr("Co&mpare"));
    CompareMenu->setCheckable(true);
    SetHint(CompareMenu, tr("Compare|Switch between the patch as edited and as last loaded, saved or received"));
    DifferencesMenu = add(EditMenu, "DifferencesMenu", tr("&Differences..."));
    SetHint(DifferencesMenu, tr("Differences|List the parameters where two patches differ"));
    EditMenu->addSeparator();
    CopyMenu = add(EditMenu, "CopyMenu", tr("&Copy"));
    CopyMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    SetHint(CopyMenu, tr("Copy|Copy current Patch to CopyBuffer"));
    PasteMenu = add(EditMenu, "PasteMenu", tr("&Paste"));
    PasteMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    SetHint(PasteMenu, tr("Paste|Paste the Patch in CopyBuffer to current Patch"));
    PasteMenu->setEnabled(false);

    MidiMenu = menuBar()->addMenu(tr("&MIDI"));
    MidiMenu->setObjectName("MidiMenu");
    MidiInMenu = MidiMenu->addMenu(tr("MIDI &IN"));
    MidiInMenu->setObjectName("MidiInMenu");
    MidiOutMenu = MidiMenu->addMenu(tr("MIDI &OUT"));
    MidiOutMenu->setObjectName("MidiOutMenu");
    midi_->SetMIDIINMenu(MidiInMenu);
    midi_->SetMIDIOUTMenu(MidiOutMenu);
    MidiMenu->addSeparator();
    OnLineMenu = add(MidiMenu, "OnLineMenu", tr("On &Line"));
    ChanMenu = MidiMenu->addMenu(tr("&Channel"));
    ChanMenu->setObjectName("ChanMenu");
    ChanMenu->setEnabled(false);
    chanGroup_ = new QActionGroup(ChanMenu);
    chanGroup_->setExclusive(true);
    for (int c = 0; c < 16; ++c) {
        QAction* item = ChanMenu->addAction(QString::number(c + 1));
        item->setObjectName(QStringLiteral("Chan%1Menu").arg(c + 1));
        item->setCheckable(true);
        item->setChecked(c == 0);
        chanGroup_->addAction(item);
        ChanItems[static_cast<std::size_t>(c)] = item;
    }
    MidiMenu->addSeparator();
    UploadMenu = add(MidiMenu, "UploadMenu", tr("&Receive All"));
    UploadMenu->setEnabled(false);
    DownloadMenu = add(MidiMenu, "DownloadMenu", tr("&Send All"));
    DownloadMenu->setEnabled(false);
    MidiMenu->addSeparator();
    KeyboardMenu = add(MidiMenu, "KeyboardMenu", tr("&Keyboard..."));
    SetHint(KeyboardMenu, tr("Keyboard|Play notes and send programs and controllers through MIDI OUT"));

    CustomDistMenu = menuBar()->addMenu(tr("&CustomDist"));
    CustomDistMenu->setObjectName("CustomDistMenu");
    DesignMenu = add(CustomDistMenu, "DesignMenu", tr("&Design"));
    SetHint(DesignMenu, tr("Enter design mode on the ORB-8"));

    WindowMenu = menuBar()->addMenu(tr("&Window"));
    WindowMenu->setObjectName("WindowMenu");
    MemoMenu = add(WindowMenu, "MemoMenu", tr("&Comment"));
    SetHint(MemoMenu, tr("Open the comment window"));

    HelpMenu = menuBar()->addMenu(tr("&Help"));
    HelpMenu->setObjectName("HelpMenu");
    AboutMenu = add(HelpMenu, "AboutMenu", tr("&About..."));
    SetHint(AboutMenu, tr("SHow Version Information"));
    HelpMenu->addSeparator();
    OnLineHMenu = add(HelpMenu, "OnLineHMenu", tr("&OnLine Help"));
    SetHint(OnLineHMenu, tr("Open the online help"));
    HelpMenu->addSeparator();
    VHomeMenu = add(HelpMenu, "VHomeMenu", tr("&VESK Home Page"));
    SetHint(VHomeMenu, Q(HomePageAddress(JapaneseUi)));
    ORBPageMenu = add(HelpMenu, "ORBPageMenu", tr("&Download Home Page"));
    SetHint(ORBPageMenu, Q(DownloadPageAddress(JapaneseUi)));

    connect(ProjectNewMenu, &QAction::triggered, this, &TMainWin::ProjectNewMenuClick);
    connect(ImportSyxMenu, &QAction::triggered, this, &TMainWin::ImportSysEx);
    connect(ExportSyxMenu, &QAction::triggered, this, [this] { ExportSysEx(false); });
    connect(ExportPatchSyxMenu, &QAction::triggered, this, [this] { ExportSysEx(true); });
    connect(CustomDistNewMenu, &QAction::triggered, this, &TMainWin::CustomDistNewMenuClick);
    connect(OpenMenu, &QAction::triggered, this, &TMainWin::FileOpenExecute);
    connect(SaveMenu, &QAction::triggered, this, &TMainWin::FileSaveExecute);
    connect(SaveAsMenu, &QAction::triggered, this, [this] { FileSaveAsExecute(); });
    connect(ExitMenu, &QAction::triggered, this, &QWidget::close);
    connect(CopyMenu, &QAction::triggered, this, &TMainWin::CopyMenuClick);
    connect(CompareMenu, &QAction::toggled, this, &TMainWin::SetCompare);
    connect(DifferencesMenu, &QAction::triggered, this, &TMainWin::DifferencesMenuClick);
    connect(PasteMenu, &QAction::triggered, this, &TMainWin::PasteMenuClick);
    // Opened with the mouse, the menu shows what its items may do right now.
    connect(EditMenu, &QMenu::aboutToShow, this, &TMainWin::OnIdleHandlerIdle);
    connect(OnLineMenu, &QAction::triggered, this, &TMainWin::OnLineExecute);
    connect(UploadMenu, &QAction::triggered, this, &TMainWin::UploadMenuClick);
    connect(DownloadMenu, &QAction::triggered, this, &TMainWin::DownloadMenuClick);
    connect(DesignMenu, &QAction::triggered, this, &TMainWin::DesignMenuClick);
    connect(KeyboardMenu, &QAction::triggered, this, [this] { midi_->OpenKBD(); });
    connect(MemoMenu, &QAction::triggered, this, &TMainWin::MemoMenuClick);
    connect(AboutMenu, &QAction::triggered, this, &TMainWin::AboutMenuClick);
    connect(OnLineHMenu, &QAction::triggered, this, &TMainWin::OnLineHMenuClick);
    connect(VHomeMenu, &QAction::triggered, this, &TMainWin::VHomeMenuClick);
    connect(ORBPageMenu, &QAction::triggered, this, &TMainWin::ORBPageMenuClick);
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

void TMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PlaceSingleWindows();
    if (!started_) {
        started_ = true;
        FormShow();
    }
}

void TMainWin::FormShow() {
    started_ = true;
    const QStringList& args = options_.arguments;
    if (!args.isEmpty() && args[0] != "-E" && args[0] != "/E") OpenByName(args[0]);
    else ProjectNewMenuClick();
}

// --- Document windows -----------------------------------------------------------

QMdiSubWindow* TMainWin::AddDocumentWindow(DocumentWindow* window) {
    const int before = static_cast<int>(DocumentWindows.size());
    QMdiSubWindow* sub = MdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    window->SetSubWindow(sub);
    window->RefreshCaption();
    if (window->Kind() == DocumentKind::Project) {
        sub->setGeometry(DocumentArea(before));
    } else {
        sub->adjustSize();
        sub->move(DocumentArea(before).topLeft());
    }
    sub->show();
    return sub;
}

TProjectWindow* TMainWin::NewProjectWindow() {
    ++ProjectCount;
    auto* window = new TProjectWindow(*this, ++NewProjectCounter);
    CurrentProject = window;
    ActiveDocument = window;
    setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
    AddDocumentWindow(window);
    window->RefreshAllRows();
    return window;
}

TCustomDistWin* TMainWin::NewCustomDistWindow() {
    auto* window = new TCustomDistWin(*this, ++UntitledDistCount);
    CurrentCustomDist = window;
    ActiveDocument = window;
    setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
    AddDocumentWindow(window);
    return window;
}

void TMainWin::ProjectNewMenuClick() {
    HandBackComment();
    RegisterDocument(NewProjectWindow());
}

void TMainWin::CustomDistNewMenuClick() {
    HandBackComment();
    RegisterDocument(NewCustomDistWindow());
}

// Edit > Undo and Redo act on the history of the active project.
void TMainWin::ActivateHistory(DocumentWindow* window) {
    QUndoStack* stack = nullptr;
    if (auto* project = qobject_cast<TProjectWindow*>(window)) stack = project->Undo();
    if (auto* dist = qobject_cast<TCustomDistWin*>(window)) stack = dist->Undo();
    if (stack && !undoGroup_->stacks().contains(stack)) undoGroup_->addStack(stack);
    undoGroup_->setActiveStack(stack);
}

void TMainWin::RegisterDocument(DocumentWindow* window) {
    ActivateHistory(window);
    DocumentWindows.append(window);
    MdiArea->setActiveSubWindow(window->SubWindow());
    RebuildWindowList();
}

void TMainWin::DocumentActivated(DocumentWindow* window) {
    HandBackComment();
    ActivateHistory(window);
    setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
    ActiveDocument = window;
    if (auto* project = qobject_cast<TProjectWindow*>(window)) CurrentProject = project;
    if (auto* dist = qobject_cast<TCustomDistWin*>(window)) CurrentCustomDist = dist;
    RebuildWindowList();
}

void TMainWin::DocumentCaptionChanged(DocumentWindow* window) {
    if (window == ActiveDocument) setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
    RebuildWindowList();
}

void TMainWin::SubWindowActivated(QMdiSubWindow* sub) {
    if (!sub) return;
    if (auto* document = qobject_cast<DocumentWindow*>(sub->widget())) document->FormActivate();
}

bool TMainWin::MayCloseDocument(DocumentWindow* window) {
    if (host_->ExchangeRunning()) return false;
    HandBackComment();
    if (!window->Modified()) return true;
    const QString question = window->UnsavedQuestion();
    switch (dialogs_.AskSave(this, tr("ORB-8ED"), question)) {
        case UserDialogs::Answer::Cancel: return false;
        case UserDialogs::Answer::No: return true;
        case UserDialogs::Answer::Yes:
            // Saved under a name of the user's choice, or the window stays.
            return FileSaveAsExecute(window);
    }
    return false;
}

void TMainWin::DocumentClosed(DocumentWindow* window) {
    setWindowTitle(kShortTitle);
    if (ActiveDocument == window) ActiveDocument = nullptr;
    if (window->Kind() == DocumentKind::Project) {
        if (ControlPanel->Project() == window && CompareMenu->isChecked()) CompareMenu->setChecked(false);
        ControlPanel->Detach(static_cast<TProjectWindow*>(window));
        if (CurrentProject == window) CurrentProject = nullptr;
        --ProjectCount;
        if (pendingProject_ == window) PendingPatchChange = 0;
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
    for (qsizetype i = 0; i < DocumentWindows.size(); ++i) {
        DocumentWindow* window = DocumentWindows[i];
        if (!ActiveDocument && i == DocumentWindows.size() - 1) {
            // The last window takes over as the active document.
            ActiveDocument = window;
            if (auto* project = qobject_cast<TProjectWindow*>(window)) CurrentProject = project;
            if (auto* dist = qobject_cast<TCustomDistWin*>(window)) CurrentCustomDist = dist;
            setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
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
            target->FormActivate();
        });
    }
    ControlPanel->setEnabled(CurrentProject != nullptr);
    if (differences_) differences_->ProjectsChanged();
}

void TMainWin::MarkModified(DocumentWindow* window) {
    if (!window || window->Modified()) return;
    window->SetModified(true);
}

// --- Open and save -------------------------------------------------------------------

void TMainWin::FileOpenExecute() {
    const QString path = dialogs_.OpenFileName(
        this, tr("ORB-8 Project File (*.orb);;ORB-8 Custom Drive Parameter File (*.dst)"));
    if (!path.isEmpty()) OpenByName(path);
}

DocumentWindow* TMainWin::OpenByName(const QString& name) {
    // The full path, as the caption shows it and a later Save uses it.
    const std::string path = QFileInfo(name).absoluteFilePath().toStdString();
    const DocumentKind kind = KindOfPath(path);
    if (kind == DocumentKind::None) return nullptr;
    HandBackComment();
    DocumentWindow* window = kind == DocumentKind::Project ? static_cast<DocumentWindow*>(NewProjectWindow())
                                                           : static_cast<DocumentWindow*>(NewCustomDistWindow());
    window->SetFileName(path);
    const FileResult r = window->LoadDocument();
    if (!r.loaded()) {
        ReportFile(r, kind);
        // Save must never overwrite a file that exists but failed to load.
        if (!KeepsPathAfterFailedLoad(FileExists(path))) window->SetFileName("");
    } else if (r.problem == FileProblem::Short) {
        ReportFile(r, kind);
    }
    RegisterDocument(window);
    setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
    if (r.loaded()) Remember(Q(path));
    return window;
}

void TMainWin::ReportFile(const FileResult& result, DocumentKind kind) {
    const std::string kindName = kind == DocumentKind::Project ? "project file" : "custom distortion file";
    const QString text = Q(FileMessage(result, JapaneseUi, kindName));
    if (result.problem == FileProblem::Short) dialogs_.Inform(this, tr("ORB-8ED"), text);
    else dialogs_.ShowError(this, tr("ORB-8ED"), text);
}

bool TMainWin::SaveDocumentNow(DocumentWindow* window) {
    const FileResult r = window->SaveDocument();
    if (!r.ok()) {
        ReportFile(r, window->Kind());
        return false;
    }
    if (window == ActiveDocument) setWindowTitle(Q(MainTitle(window->Caption().toStdString())));
    return true;
}

void TMainWin::FileSaveExecute() {
    HandBackComment();
    DocumentWindow* target = ActiveDocument;
    if (!target) return;
    if (target->FileName().empty()) FileSaveAsExecute(target);
    else SaveDocumentNow(target);
}

bool TMainWin::FileSaveAsExecute(DocumentWindow* target) {
    HandBackComment();
    if (!target) target = ActiveDocument;
    if (!target) return false;
    const bool project = target->Kind() == DocumentKind::Project;
    const QString filter =
        project ? tr("ORB-8 Project File (*.orb)") : tr("ORB-8 Custom Drive Parameter File (*.dst)");
    const QString chosen = dialogs_.SaveFileName(this, filter, Q(target->FileName()));
    if (chosen.isEmpty()) return false;
    const std::string path = WithExtension(chosen.toStdString(), target->Kind());
    // The dialog asked about the name it returned; a name that gained the
    // extension here is asked about now.
    if (path != chosen.toStdString() && FileExists(path) &&
        !dialogs_.AskYesNo(this, tr("ORB-8ED"), tr("%1 already exists.\nDo you want to replace it?").arg(Q(path))))
        return false;
    const std::string previous = target->FileName();
    target->SetFileName(path);
    if (!SaveDocumentNow(target)) {
        target->SetFileName(previous);
        return false;
    }
    setWindowTitle(Q(MainTitle(target->Caption().toStdString())));
    Remember(Q(path));
    return true;
}

// --- Copy and paste -----------------------------------------------------------------

void TMainWin::CopyMenuClick() {
    if (MemoWin->HasFocus()) {
        MemoWin->Copy();
        return;
    }
    if (!CurrentProject || ActiveDocument != CurrentProject) return;
    HandBackComment();
    CopyBuffer.CopyFrom(CurrentProject->Document(), CurrentProject->CurrentRow());
    PasteMenu->setEnabled(true);
}

void TMainWin::PasteMenuClick() {
    if (MemoWin->HasFocus()) {
        MemoWin->Paste();
        return;
    }
    if (!ActiveDocument || !CurrentProject || ActiveDocument != CurrentProject) return;
    HandBackComment();
    const int row = CurrentProject->CurrentRow();
    const ProjectState before = CurrentProject->Snapshot();
    if (!CopyBuffer.PasteInto(CurrentProject->Document(), row)) return;
    CurrentProject->Record(before, tr("Paste to %1").arg(Q(PatchLabel(row - 1))));
    CurrentProject->RefreshRow(row);
    CurrentProject->SelectRow(row);
    MarkModified(CurrentProject);
}

// --- The comment window -----------------------------------------------------------------

void TMainWin::HandBackComment() {
    if (MemoWin) MemoWin->HandBack();
}

void TMainWin::PatchSelected(TProjectWindow* project, int row) {
    HandBackComment();
    if (CompareMenu->isChecked()) CompareMenu->setChecked(false);  // back to the edited patch first
    ControlPanel->ShowPatch(*project, row - 1);
    MemoWin->ShowComment(project, row);
    // Off line nothing is scheduled.
    if (midi_->OutputOpen()) {
        PendingPatchChange = row;
        pendingProject_ = project;
    }
}

void TMainWin::MemoMenuClick() {
    memoWindow_->showNormal();
    memoWindow_->show();
    MdiArea->setActiveSubWindow(memoWindow_);
}

void TMainWin::ShowStatus(const QString& text) { statusBar()->showMessage(text, 6000); }

void TMainWin::StepApplied(TProjectWindow* project, const std::vector<std::pair<int, std::vector<int>>>& patches,
                           const std::vector<int>& comments) {
    const bool shown = ControlPanel->Project() == project;
    const int index = ControlPanel->PatchIndex();
    for (const auto& [patch, bytes] : patches) {
        if (!shown || patch != index) continue;  // another patch: the next patch change brings it
        const PatchData& data = project->Document().patches[static_cast<std::size_t>(patch)];
        for (int byte : bytes) link_->SendParameterChange(byte, data[static_cast<std::size_t>(byte)]);
    }
    if (shown) ControlPanel->ShowPatch(*project, index);
    if (shown && std::find(comments.begin(), comments.end(), index) != comments.end()) MemoWin->ShowComment(project, index + 1);
    MarkModified(project);
    RebuildWindowList();
}

// --- The processor ---------------------------------------------------------------------

void TMainWin::OnLineExecute() {
    HandBackComment();
    if (midi_->OutputOpen()) {
        link_->OffLine();
    } else {
        for (int c = 0; c < 16; ++c) ChanItems[static_cast<std::size_t>(c)]->setText(QString::number(c + 1));
        link_->OnLine();
        if (link_->isOnLine && CurrentProject) {
            // The custom types now follow the processor's settings.
            CurrentProject->SelectRow(CurrentProject->CurrentRow());
        }
    }
    OnIdleHandlerIdle();
}

void TMainWin::OnChannelItem(int channel, const QString& caption, bool enabled, bool checked) {
    if (channel < 0 || channel >= 16) return;
    QAction* item = ChanItems[static_cast<std::size_t>(channel)];
    item->setText(caption);
    item->setEnabled(enabled);
    if (checked) item->setChecked(true);
}

void TMainWin::UploadMenuClick() {
    if (!CurrentProject) return;
    HandBackComment();
    QPointer<TProjectWindow> project = CurrentProject;
    const ProjectState before = project->Snapshot();
    link_->ReceiveAllPatches(project->Document());
    if (project) project->Record(before, tr("Receive All"));
}

void TMainWin::ProjectReceived(ProjectDocument& document) {
    for (const auto& window : DocumentWindows) {
        auto* project = qobject_cast<TProjectWindow*>(window.data());
        if (!project || &project->Document() != &document) continue;
        project->TakeStored();
        project->RefreshAllRows(true);
        MarkModified(project);
    }
}

void TMainWin::CustomDistReceived(CustomDistDocument& document) {
    for (const auto& window : DocumentWindows) {
        auto* dist = qobject_cast<TCustomDistWin*>(window.data());
        if (dist && &dist->Document() == &document) MarkModified(dist);
    }
}

void TMainWin::DownloadMenuClick() {
    if (!CurrentProject) return;
    HandBackComment();
    link_->SendAllPatches(CurrentProject->Document());
}

void TMainWin::DesignMenuClick() {
    if (!link_->PortsOpen()) {
        dialogs_.Inform(this, tr("ORB-8ED"), tr("Not be OnLine."));
        return;
    }
    if (!dialogs_.AskYesNo(this, tr("Designe"), tr("Enter design mode.\nExecute?"))) return;
    static constexpr std::pair<int, int> kDesign[] = {{1, 20},  {0, 1},   {10, 9},  {11, 9},  {12, 9},
                                                      {13, 9},  {51, 26}, {52, 27}, {53, 41}, {54, 31},
                                                      {55, 29}, {56, 36}, {57, 0},  {58, 0}};
    for (const auto& [parameter, value] : kDesign) link_->SendParameterChange(parameter, value);
    DesignMode = true;
}

void TMainWin::OnIdleHandlerIdle() {
    FrameState state;
    if (ActiveDocument) {
        state.active = ActiveDocument->Kind();
        state.activeModified = ActiveDocument->Modified();
        if (ActiveDocument == CurrentProject) state.active = DocumentKind::Project;
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
    if (e.transferButtons) {
        ControlPanel->UploadBtn->setEnabled(*e.transferButtons);
        ControlPanel->DownloadBtn->setEnabled(*e.transferButtons);
    }
    const QColor text = e.transferButtonsGreen ? kGreen : kGrey;
    for (TColorButton* b : {ControlPanel->UploadBtn, ControlPanel->DownloadBtn}) {
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, text);
        b->setPalette(p);
    }
    ApplyOnLineLook(e.onLineLook);
    OnLineMenu->setText(e.onLineLook ? tr("Off &Line") : tr("On &Line"));
    ChanMenu->setEnabled(e.channelMenu);
    DesignMenu->setEnabled(e.designMenu);
    if (PendingPatchChange != 0 && !patchChangePosted_) {
        // Not inside the idle pass itself: the exchange waits in an event loop of its own.
        patchChangePosted_ = true;
        QTimer::singleShot(0, this, &TMainWin::RunPendingPatchChange);
    }
}

void TMainWin::ApplyOnLineLook(bool onLine) {
    auto look = [](TColorButton* b, const QColor& face, const QColor& text) {
        b->SetColor(face);
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, text);
        b->setPalette(p);
    };
    look(ControlPanel->OnLineBtn, onLine ? kGreen : kNavy, onLine ? kNavy : kGreen);
    look(ControlPanel->OffLineBtn, onLine ? kNavy : kGreen, onLine ? kGreen : kNavy);
}

void TMainWin::RunPendingPatchChange() {
    patchChangePosted_ = false;
    if (PendingPatchChange == 0) return;
    const int patch = PendingPatchChange - 1;
    PendingPatchChange = 0;
    if (!midi_->OutputOpen() || !pendingProject_ || link_->Busy()) return;
    link_->PatchChange(patch, pendingProject_->Document().patches[static_cast<std::size_t>(patch)]);
}

// --- Help --------------------------------------------------------------------------------

QString TMainWin::HelpPagePath() const {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + "/OnLineHelp/index.html", dir + "/../share/orb8ed/OnLineHelp/index.html"}) {
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return dir + "/OnLineHelp/index.html";
}

void TMainWin::OnLineHMenuClick() { OpenUrl(QUrl::fromLocalFile(HelpPagePath())); }
void TMainWin::VHomeMenuClick() { OpenUrl(QUrl(Q(HomePageAddress(JapaneseUi)))); }
void TMainWin::ORBPageMenuClick() { OpenUrl(QUrl(Q(DownloadPageAddress(JapaneseUi)))); }

void TMainWin::AboutMenuClick() {
    AboutBox->ACTimer.stop();
    AboutBox->exec();
}

void TMainWin::ShowRtmWindow() { RtmPopUp->ShowPlaced(); }

void TMainWin::SetCompare(bool on) {
    TProjectWindow* project = ControlPanel->Project();
    if (!project || on == ControlPanel->Comparing()) {
        if (!project && on) CompareMenu->setChecked(false);
        return;
    }
    HandBackComment();
    const int index = ControlPanel->PatchIndex();
    const PatchData& edited = project->Document().patches[static_cast<std::size_t>(index)];
    if (on) {
        compared_ = project->Stored(index);
        for (const auto& [byte, value] : SwitchBytes(edited, compared_)) link_->SendParameterChange(byte, value);
        ControlPanel->ShowStoredPatch(*project, index, compared_);
        project->ShowRow(index + 1, compared_);
    } else {
        for (const auto& [byte, value] : SwitchBytes(compared_, edited)) link_->SendParameterChange(byte, value);
        ControlPanel->ShowPatch(*project, index);
        project->RefreshRow(index + 1);
    }
    ShowStatus(on ? tr("Comparing: the patch as last loaded, saved or received (read-only)") : QString());
}

void TMainWin::DifferencesMenuClick() {
    if (!differences_) differences_ = new TDifferencesWin(*this, this);
    differences_->ShowFor(ControlPanel->Project(), ControlPanel->PatchIndex());
}

// --- Closing ----------------------------------------------------------------------------------

void TMainWin::closeEvent(QCloseEvent* event) {
    if (host_->ExchangeRunning()) {
        event->ignore();
        return;
    }
    HandBackComment();
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

// --- Recent files ----------------------------------------------------------------------

QStringList TMainWin::RecentFiles() const {
    return options_.settings ? options_.settings->value("recentFiles").toStringList() : QStringList();
}

void TMainWin::Remember(const QString& path) {
    if (!options_.settings || path.isEmpty()) return;
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > 8) files.removeLast();
    options_.settings->setValue("recentFiles", files);
    RebuildRecentMenu();
}

void TMainWin::RebuildRecentMenu() {
    RecentMenu->clear();
    const QStringList files = RecentFiles();
    RecentMenu->setEnabled(!files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        QAction* item = RecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]));
        const QString path = files[i];
        connect(item, &QAction::triggered, this, [this, path] { OpenByName(path); });
    }
}

// --- SysEx files -------------------------------------------------------------------------

void TMainWin::ExportSysEx(bool selectedOnly) {
    HandBackComment();
    if (!CurrentProject || ActiveDocument != CurrentProject) return;
    const QString chosen = dialogs_.SaveFileName(this, tr("SysEx file (*.syx)"), QString());
    if (chosen.isEmpty()) return;
    QString path = chosen;
    if (!path.endsWith(".syx", Qt::CaseInsensitive)) {
        path += ".syx";
        if (FileExists(path.toStdString()) &&
            !dialogs_.AskYesNo(this, tr("ORB-8ED"), tr("%1 already exists.\nDo you want to replace it?").arg(path)))
            return;
    }
    std::optional<int> only;
    if (selectedOnly) only = CurrentProject->CurrentRow() - 1;
    // On the channel of the ORB-8 on line, else channel 1.
    const int channel = link_->isOnLine ? link_->deviceChannel : 0;
    const auto bytes = PatchesAsSysEx(CurrentProject->Document(), channel, only);
    const FileResult r = WriteFileAtomically(path.toStdString(), bytes);
    if (!r.ok()) {
        dialogs_.ShowError(this, tr("ORB-8ED"), Q(FileMessage(r, JapaneseUi, "SysEx file")));
        return;
    }
    ShowStatus(tr("%1 written to %2").arg(only ? tr("1 patch") : tr("80 patches"), path));
}

void TMainWin::ImportSysEx() {
    HandBackComment();
    if (!CurrentProject || ActiveDocument != CurrentProject) return;
    const QString path = dialogs_.OpenFileName(this, tr("SysEx file (*.syx)"));
    if (path.isEmpty()) return;
    std::vector<std::uint8_t> bytes;
    const FileResult r = ReadFileBytes(path.toStdString(), 16u << 20, bytes);
    if (!r.ok()) {
        dialogs_.ShowError(this, tr("ORB-8ED"), Q(FileMessage(r, JapaneseUi, "SysEx file")));
        return;
    }
    const SysExContents contents = ReadSysEx(bytes);
    if (!contents.Usable()) {
        dialogs_.Inform(this, tr("ORB-8ED"),
                        tr("%1 holds no ORB-8 patch (%2). Nothing was changed.").arg(path, Q(contents.Summary())));
        return;
    }
    TProjectWindow* project = CurrentProject;
    const int current = project->CurrentRow();
    const ProjectState before = project->Snapshot();
    for (int row : TakeSysEx(project->Document(), contents, current)) project->RefreshRow(row);
    project->Record(before, tr("Import SysEx"));
    project->SelectRow(current);
    MarkModified(project);
    dialogs_.Inform(this, tr("ORB-8ED"), tr("Taken from %1: %2.").arg(path, Q(contents.Summary())));
}
