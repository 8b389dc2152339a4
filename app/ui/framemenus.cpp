#include "app/ui/framemenus.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "app/framerules.h"
#include "midi/pacedoutput.h"

namespace {
// The menus' texts, in a translation context of their own.
QString tr(const char* text) { return QCoreApplication::translate("FrameMenus", text); }
}  // namespace

void FrameMenus::SetHint(QAction* action, const QString& hint) {
    const int bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void FrameMenus::ShowHistory(bool canUndo, const QString& undoText, bool canRedo, const QString& redoText) {
    UndoMenu->setEnabled(canUndo);
    UndoMenu->setText(undoText.isEmpty() ? tr("Undo") : tr("Undo") + ' ' + undoText);
    RedoMenu->setEnabled(canRedo);
    RedoMenu->setText(redoText.isEmpty() ? tr("Redo") : tr("Redo") + ' ' + redoText);
}

void FrameMenus::BuildMenus(QMenuBar& bar, bool japanese) {
    auto add = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    FileMenu = bar.addMenu(tr("&File"));
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

    EditMenu = bar.addMenu(tr("&Edit"));
    EditMenu->setObjectName("EditMenu");
    // The items name the step ("Undo Mod RATE"); the frame sets them from the active document's history.
    UndoMenu = add(EditMenu, "UndoMenu", tr("Undo"));
    UndoMenu->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    RedoMenu = add(EditMenu, "RedoMenu", tr("Redo"));
    RedoMenu->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ShowHistory(false, {}, false, {});
    EditMenu->addSeparator();
    CompareMenu = add(EditMenu, "CompareMenu", tr("Co&mpare"));
    CompareMenu->setCheckable(true);
    SetHint(CompareMenu, tr("Compare|Switch between the patch as edited and as last loaded, saved or received"));
    DifferencesMenu = add(EditMenu, "DifferencesMenu", tr("&Differences..."));
    SetHint(DifferencesMenu, tr("Differences|List the parameters where two patches differ"));
    SoundDesignMenu = add(EditMenu, "SoundDesignMenu", tr("S&ound Design..."));
    SetHint(SoundDesignMenu, tr("Sound Design|Randomise, nudge, morph and merge the patch in the editor"));
    EditMenu->addSeparator();
    CopyMenu = add(EditMenu, "CopyMenu", tr("&Copy"));
    CopyMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    SetHint(CopyMenu, tr("Copy|Copy current Patch to CopyBuffer"));
    PasteMenu = add(EditMenu, "PasteMenu", tr("&Paste"));
    PasteMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    SetHint(PasteMenu, tr("Paste|Paste the Patch in CopyBuffer to current Patch"));
    PasteMenu->setEnabled(false);

    MidiMenu = bar.addMenu(tr("&MIDI"));
    MidiMenu->setObjectName("MidiMenu");
    MidiInMenu = MidiMenu->addMenu(tr("MIDI &IN"));
    MidiInMenu->setObjectName("MidiInMenu");
    MidiOutMenu = MidiMenu->addMenu(tr("MIDI &OUT"));
    MidiOutMenu->setObjectName("MidiOutMenu");
    PaceMenu = MidiMenu->addMenu(tr("Output &Pace"));
    PaceMenu->setObjectName("PaceMenu");
    const std::array<QString, 4> paceCaptions = {tr("&MIDI Cable (31,250 baud)"), tr("&Twice MIDI Speed"),
                                                 tr("T&en Times MIDI Speed"), tr("&Unpaced")};
    static_assert(std::tuple_size_v<decltype(PaceItems)> == orb8::kOutputPaces.size());
    auto* paceGroup = new QActionGroup(PaceMenu);
    paceGroup->setExclusive(true);
    for (std::size_t i = 0; i < PaceItems.size(); ++i) {
        QAction* item = PaceMenu->addAction(paceCaptions[i]);
        item->setObjectName(QStringLiteral("PaceMenu_%1").arg(QLatin1String(orb8::kOutputPaces[i].key)));
        item->setCheckable(true);
        paceGroup->addAction(item);
        PaceItems[i] = item;
    }
    SetHint(PaceMenu->menuAction(), tr("Output Pace|How fast messages go out: a MIDI cable's speed, so that the "
                                       "processor follows an edit at once, or faster for faster links"));
    MidiMenu->addSeparator();
    OnLineMenu = add(MidiMenu, "OnLineMenu", tr("On &Line"));
    ChanMenu = MidiMenu->addMenu(tr("&Channel"));
    ChanMenu->setObjectName("ChanMenu");
    ChanMenu->setEnabled(false);
    auto* chanGroup = new QActionGroup(ChanMenu);
    chanGroup->setExclusive(true);
    for (int c = 0; c < 16; ++c) {
        QAction* item = ChanMenu->addAction(QString::number(c + 1));
        item->setObjectName(QStringLiteral("Chan%1Menu").arg(c + 1));
        item->setCheckable(true);
        item->setChecked(c == 0);
        chanGroup->addAction(item);
        ChanItems[static_cast<std::size_t>(c)] = item;
    }
    MidiMenu->addSeparator();
    UploadMenu = add(MidiMenu, "UploadMenu", tr("&Receive All"));
    UploadMenu->setEnabled(false);
    DownloadMenu = add(MidiMenu, "DownloadMenu", tr("&Send All"));
    DownloadMenu->setEnabled(false);
    SendChangedMenu = add(MidiMenu, "SendChangedMenu", tr("Send C&hanged"));
    SendChangedMenu->setEnabled(false);
    SetHint(SendChangedMenu, tr("Send Changed|Send only the patches that differ from what the ORB-8 holds"));
    VerifyMenu = add(MidiMenu, "VerifyMenu", tr("Read &Back What Was Sent"));
    VerifyMenu->setCheckable(true);
    VerifyMenu->setChecked(true);
    SetHint(VerifyMenu, tr("Send Changed reads the patches it sent back from the ORB-8 and compares them"));
    MidiMenu->addSeparator();
    MonitorMenu = add(MidiMenu, "MonitorMenu", tr("&Monitor..."));
    SetHint(MonitorMenu, tr("MIDI Monitor|Every message in and out, with its time, name and bytes"));
    KeyboardMenu = add(MidiMenu, "KeyboardMenu", tr("&Keyboard..."));
    SetHint(KeyboardMenu, tr("Keyboard|Play notes and send programs and controllers through MIDI OUT"));

    CustomDistMenu = bar.addMenu(tr("&CustomDist"));
    CustomDistMenu->setObjectName("CustomDistMenu");
    DesignMenu = add(CustomDistMenu, "DesignMenu", tr("&Design"));
    SetHint(DesignMenu, tr("Enter design mode on the ORB-8"));

    WindowMenu = bar.addMenu(tr("&Window"));
    WindowMenu->setObjectName("WindowMenu");
    LibraryMenu = add(WindowMenu, "LibraryMenu", tr("&Library..."));
    SetHint(LibraryMenu, tr("Library|Every patch of the banks on this computer: search, duplicates, history"));
    MemoMenu = add(WindowMenu, "MemoMenu", tr("&Comment"));
    SetHint(MemoMenu, tr("Open the comment window"));

    HelpMenu = bar.addMenu(tr("&Help"));
    HelpMenu->setObjectName("HelpMenu");
    AboutMenu = add(HelpMenu, "AboutMenu", tr("&About..."));
    SetHint(AboutMenu, tr("Show Version Information"));
    HelpMenu->addSeparator();
    OnLineHMenu = add(HelpMenu, "OnLineHMenu", tr("&OnLine Help"));
    SetHint(OnLineHMenu, tr("Open the online help"));
    HelpMenu->addSeparator();
    VHomeMenu = add(HelpMenu, "VHomeMenu", tr("&VESK Home Page"));
    SetHint(VHomeMenu, QString::fromStdString(orb8::HomePageAddress(japanese)));
    ORBPageMenu = add(HelpMenu, "ORBPageMenu", tr("&Download Home Page"));
    SetHint(ORBPageMenu, QString::fromStdString(orb8::DownloadPageAddress(japanese)));
}
