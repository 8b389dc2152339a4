// orb8ed-gallery: pictures of the program's real windows, offscreen, for the
// help page and for looking at: orb8ed-gallery OUTDIR [--scale N].
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/ui/mainwin.h"
#include "controls/colorbutton.h"
#include "customdist/ui/character.h"
#include "customdist/ui/customdistwin.h"
#include "customdist/ui/dcharwin.h"
#include "device/ui/midimonitorwin.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "editors/ui/aboutbox.h"
#include "editors/ui/memo.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/differenceswin.h"
#include "editors/ui/projectwin.h"
#include "editors/ui/rtmpopwin.h"
#include "keyboard/ui/gkbdwin.h"
#include "device/ui/midi.h"
#include "midi/midisystem.h"
#include "library/processorhistory.h"
#include "library/ui/librarywin.h"
#include "library/ui/processorhistorypane.h"
#include "sounddesign/ui/patchpicker.h"
#include "sounddesign/ui/sounddesignwin.h"
#include "patch/projectdocument.h"
#include "sim/factorybank.h"
#include "workspace/ui/recoverydialog.h"
#include "workspace/ui/userdialogs.h"
#include "controls/named.h"

namespace {

// Every question is answered Yes, nothing else is shown.
struct YesDialogs : UserDialogs {
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
    Answer AskSave(QWidget*, const QString&, const QString&) override { return Answer::No; }
    void Inform(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    void ShowError(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    QString OpenFileName(QWidget*, const QString&) override { return {}; }
    QString FolderName(QWidget*, const QString&) override { return folder; }
    QString AskText(QWidget*, const QString&, const QString&, const QString& initial) override { return initial; }
    QString folder;  // what Add Folder finds
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    RecoveryAnswer AskRecovery(QWidget*, QList<RecoveryOffer>&) override { return RecoveryAnswer::Later; }
};

bool Save(const QPixmap& picture, const QString& path) {
    if (picture.save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "orb8ed-gallery: %s could not be written\n", qPrintable(path));
    return false;
}

void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Until the exchange with the processor (or the one an idle pass posted) has ended.
void WaitExchange(TMainWin& win) {
    QCoreApplication::processEvents();
    while (win.Host().ExchangeRunning()) {
        QEventLoop loop;
        QObject::connect(&win.Host(), &WindowDeviceHost::Ended, &loop, &QEventLoop::quit);
        loop.exec();
    }
}


}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // --scale N: the windows as a screen of N device pixels to the point shows them.
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--scale") == 0) qputenv("QT_SCALE_FACTOR", argv[i + 1]);
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (const qsizetype scale = args.indexOf("--scale"); scale >= 0) args.remove(scale, 2);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: orb8ed-gallery OUTDIR [--scale N]\n");
        return 2;
    }
    const QDir out(args[0]);
    QDir().mkpath(out.path());
    YesDialogs dialogs;
    bool ok = true;

    {
        // On line with the simulated ORB-8, its bank received into one project,
        // a new project beside it, a comment written.
        orb8::MidiSystemOptions options;
        options.realPorts = false;
        options.simulatorTiming = {true, {}};
        orb8::MidiSystem system(options);
        TMainWin win(system, dialogs, MainWinOptions{false, {}, false});
        win.show();
        Settle();
        Named<QAction>(win, "OnLineMenu")->trigger();
        WaitExchange(win);
        win.OnIdleHandlerIdle();
        WaitExchange(win);
        auto* bank = win.Documents().CurrentProject();
        Named<QAction>(win, "MonitorMenu")->trigger();
        // The progress window, half way through a Receive All.
        QTimer::singleShot(1200, [&] { ok &= Save(Named<TProgressWin>(win, "ProgressWin")->grab(), out.filePath("progress-window.png")); });
        Named<QAction>(win, "UploadMenu")->trigger();
        WaitExchange(win);
        if (auto* monitor = win.findChild<TMidiMonitorWin*>()) {
            monitor->TakeRecorded();
            Settle();
            ok &= Save(monitor->grab(), out.filePath("midi-monitor.png"));
            monitor->close();
        }
        bank->SetCurrentRow(6);
        Named<TMemoWin>(win, "MemoWin")->ShowComment(&bank->Session(), 6);
        Named<QPlainTextEdit>(*Named<TMemoWin>(win, "MemoWin"), "Memo")->setPlainText("Smooth lead for the solo in the second set.");
        Named<TMemoWin>(win, "MemoWin")->HandBack();
        Named<QAction>(win, "ProjectNewMenu")->trigger();
        Named<QMdiArea>(win, "MdiArea")->setActiveSubWindow(bank->SubWindow());
        win.OnIdleHandlerIdle();
        Settle();
        ok &= Save(win.grab(), out.filePath("main-window.png"));
        // The editor with three very different patches, and the RTM window.
        auto* third = win.Documents().CurrentProject();
        using namespace orb8;
        ProjectDocument doc = third->Session().Document();
        PatchData custom = InitialPatch();
        custom[ModuleSwitches] = DriveOn | ModOn | DlyOn | EqOn;
        custom[DriveType] = 20;
        custom[ModType] = 20;
        custom[DlyType] = 21;
        EncodeName("CUSTOM", custom);
        doc.patches[1] = custom;
        PatchData off = InitialPatch();
        EncodeName("ALL OFF", off);
        doc.patches[2] = off;
        PatchData odd = InitialPatch();
        odd[ModuleSwitches] = DriveOn | ModOn | DlyOn | EqOn;
        odd[DriveParam1] = 31;
        odd[ModType] = 25;
        odd[ModParam1] = 200;
        odd[DlyParam2] = 127;
        odd[EqBass] = 30;
        odd[VnrLevel] = 15;
        odd[Ctrl1Number] = 63;
        EncodeName("ODD DATA", odd);
        doc.patches[3] = odd;
        const char* names[] = {"", "editor-custom.png", "editor-all-off.png", "editor-out-of-range.png"};
        third->Session().Perform([&](ProjectDocument& d) {
            d = doc;
            return StepReport{"gallery", {}};
        });
        for (int row = 2; row <= 4; ++row) {
            third->SetCurrentRow(row);
            Settle();
            ok &= Save(Named<TControlPanel>(win, "ControlPanel")->grab(), out.filePath(names[row - 1]));
        }
        third->SetCurrentRow(2);
        QTest::mouseClick(Named<TColorButton>(*Named<TControlPanel>(win, "ControlPanel"), "RtmEditBtn"), Qt::LeftButton);
        Settle();
        ok &= Save(Named<TRtmPopUp>(win, "RtmPopUp")->grab(), out.filePath("rtm-window.png"));
        Named<TRtmPopUp>(win, "RtmPopUp")->hide();
        // The custom patch against the initial patch it was made from.
        Named<QAction>(win, "DifferencesMenu")->trigger();
        if (auto* differences = win.findChild<TDifferencesWin*>()) {
            Settle();
            ok &= Save(differences->grab(), out.filePath("differences.png"));
            differences->hide();
        }
        // Sound design on the custom patch, a morph target chosen.
        Named<QAction>(win, "SoundDesignMenu")->trigger();
        if (auto* design = win.findChild<TSoundDesignWin*>()) {
            Named<QCheckBox>(*design, "Lock_eq")->setChecked(true);
            Named<QComboBox>(*Named<PatchPicker>(*design, "MorphTarget"), "Patch")->setCurrentIndex(2);
            // The single parameters open, and two results to go back to.
            if (auto* parameters = design->findChild<QPushButton*>("ParametersBtn")) parameters->setChecked(true);
            Named<QPushButton>(*design, "RandomiseBtn")->click();
            Named<QPushButton>(*design, "RandomiseBtn")->click();
            for (int i = 0; i < 2; ++i) {
                win.OnIdleHandlerIdle();
                Named<QAction>(win, "UndoMenu")->trigger();
            }
            Settle();
            ok &= Save(design->grab(), out.filePath("sound-design.png"));
            if (auto* area = design->findChild<QScrollArea*>("SoundDesignArea"))
                ok &= Save(area->widget()->grab(), out.filePath("sound-design-all.png"));
            design->hide();
        }
        Named<QAction>(win, "CustomDistNewMenu")->trigger();
        Settle();
        ok &= Save(win.Documents().CurrentCustomDist()->grab(), out.filePath("customdist-window.png"));
        // The designers with a boosted, a cut and an invalid filter.
        {
            using namespace orb8;
            TCustomDistWin& dist = *win.Documents().CurrentCustomDist();
            auto set = [&](int slot, int on, int type, double freq, double gain, double q, double trim) {
                dist.Session().Perform("gallery", [&](CustomDistData& d) {
                FilterRecord& f = d.filters[static_cast<std::size_t>(FilterNumber(0, slot))];
                f.on = static_cast<std::uint8_t>(on);
                f.type = static_cast<std::uint8_t>(type);
                f.freq = freq;
                f.gain = gain;
                f.q = q;
                f.trim = trim;
                ComputeCoefficients(f);
                });
            };
            set(SlotBottom, 1, FilterLowShelf, 200, 6, 0.71, 0);      // boosted
            set(SlotPre, 1, FilterPeq, 800, -9, 1.5, 0);              // cut
            set(SlotEdge, 1, FilterPeq, 1000, 12, 1, 12);             // invalid: b0 overflows
            dist.Session().Perform("gallery", [](CustomDistData& d) { d.ApplyClipperPreset(0, 4); });
            TDstCharWin* designer = dist.DistortionDesigner(0);
            designer->ShowDesigner();
            Settle();
            ok &= Save(designer->grab(), out.filePath("distortion-designer.png"));
            designer->hide();
            set(SlotHigh, 1, FilterHighShelf, 4000, -6, 0.71, 2);
            dist.ToneDesigner(0, SlotHigh)->ShowDesigner(dist.Caption() + "/HIGH/Special1");
            Settle();
            ok &= Save(dist.ToneDesigner(0, SlotHigh)->grab(), out.filePath("tone-designer.png"));
            dist.ToneDesigner(0, SlotHigh)->hide();
        }
        win.close();  // unsaved documents are let go: AskSave answers No
    }
    {
        orb8::MidiSystemOptions options;
        options.realPorts = false;
        orb8::MidiSystem system(options);
        TMainWin win(system, dialogs, MainWinOptions{true, {}, false});
        win.show();
        Settle();
        ok &= Save(win.grab(), out.filePath("main-window-ja.png"));
        win.Midi().OpenKBD();
        auto* keyboard = qobject_cast<TGkbdWin*>(win.Midi().Keyboard());
        keyboard->PointerMoved(QPoint(keyboard->Geometry().Key(64).left + 3, 60));
        keyboard->PointerPressed();
        Settle();
        ok &= Save(keyboard->grab(), out.filePath("keyboard.png"));
        Named<QPushButton>(*keyboard, "BigBtn")->click();
        Named<QPushButton>(*keyboard, "BigBtn")->click();
        Settle();
        ok &= Save(keyboard->grab(), out.filePath("keyboard-bigger.png"));
        keyboard->PointerReleased();
        ok &= Save(win.About().grab(), out.filePath("about-box.png"));
        win.close();  // unsaved documents are let go: AskSave answers No
    }
    {
        // The question at start after a crash.
        const QList<RecoveryOffer> offers = {
            {"live.orb", QDir::homePath() + "/banks/live.orb", QDateTime::currentDateTime().addSecs(-300), {}},
            {"NoNameDst1", {}, QDateTime::currentDateTime().addSecs(-120), {}},
            {"s123_5d2c.rec", {}, {}, "the record is damaged (its checksum does not match)"}};
        RecoveryDialog dialog(offers, nullptr);
        dialog.show();
        Settle();
        ok &= Save(dialog.grab(), out.filePath("recovery-dialog.png"));
    }
    {
        // The library on two banks: the factory bank and a backup of it with
        // a few patches changed, searched for the delays.
        QTemporaryDir temp;
        const QString banks = temp.filePath("banks");
        QDir().mkpath(banks);
        orb8::ProjectDocument bank;
        const auto factory = orb8::FactoryBank();
        for (int i = 0; i < orb8::kPatchCount; ++i) bank.patches[static_cast<std::size_t>(i)] = orb8::Unpack(factory[i]);
        const auto slap = static_cast<std::size_t>(orb8::PatchIndexFromLabel("u62"));
        bank.comments[slap] = "Slap-back for the rockabilly set";
        bank.fileName = (banks + "/factory.orb").toStdString();
        bank.Save();
        bank.patches[slap][orb8::PatchLevel] = 40;
        bank.fileName = (banks + "/backup 2025.orb").toStdString();
        bank.Save();
        // Two receives from the processor, a day apart, U11 renamed between them.
        const orb8::library::ProcessorHistory history(temp.filePath("processor-history").toStdString());
        history.Keep({"", "ORB-8-ch01-v1.0.0.0", 1796760000, orb8::library::SnapshotKind::Received, orb8::kPatchCount}, bank);
        orb8::EncodeName("CRUNCH 2", bank.patches[4]);
        history.Keep({"", "ORB-8-ch01-v1.0.0.0", 1796850000, orb8::library::SnapshotKind::Received, orb8::kPatchCount}, bank);
        orb8::MidiSystemOptions options;
        options.realPorts = false;
        orb8::MidiSystem system(options);
        MainWinOptions winOptions{false, {}, false};
        winOptions.libraryDatabase = temp.filePath("library.db");
        TMainWin win(system, dialogs, winOptions);
        win.show();
        Named<QAction>(win, "LibraryMenu")->trigger();
        auto* library = win.findChild<TLibraryWin*>();
        dialogs.folder = banks;
        Named<QPushButton>(*library, "AddFolderBtn")->click();
        ok &= QTest::qWaitFor([&] { return Named<QTableView>(*library, "Results")->model()->rowCount() == 2 * orb8::kPatchCount; }, 20000);
        Named<QLineEdit>(*library, "SearchEdit")->setText("dly");
        QTest::keyClick(Named<QLineEdit>(*library, "SearchEdit"), Qt::Key_Return);
        Named<QTableView>(*library, "Results")->selectRow(4);
        Settle();
        ok &= Save(library->grab(), out.filePath("library-window.png"));
        if (auto* tabs = library->ProcessorHistory().parentWidget() ? library->findChild<QTabWidget*>() : nullptr) {
            tabs->setCurrentWidget(&library->ProcessorHistory());
            library->ProcessorHistory().findChild<QComboBox*>("HistorySlot")->setCurrentIndex(4);
            Settle();
            ok &= Save(library->grab(), out.filePath("library-processor-history.png"));
            if (auto* manage = library->findChild<QWidget*>("LibraryManage")) {
                tabs->setCurrentWidget(manage);
                Settle();
                ok &= Save(library->grab(), out.filePath("library-sources.png"));
            }
        }
        win.close();
    }
    return ok ? 0 : 1;
}
