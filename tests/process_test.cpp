// The window program as a process: File > Exit ends it whatever other
// windows are open (the keyboard, the Differences and RTM windows, the
// designers and the about box each refuse a close of their own, and none of
// them may keep the event loop running; each order of opening runs in a
// process of its own, this binary started again with --open); its pictures
// show the system's language; its title under a window system is exactly
// the program's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QSignalSpy>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>

#include <sys/inotify.h>
#include <unistd.h>

#include "controls/colorbutton.h"
#include "customdist/ui/customdistwin.h"
#include "editors/ui/aboutbox.h"
#include "device/ui/progresswin.h"
#include "editors/ui/ctpanel.h"
#include "tests/apprig.h"
#include "tests/testfiles.h"
#include "workspace/ui/recoverykeeper.h"
#include "controls/named.h"
#include "controls/named.h"

namespace {

using Opener = std::function<void(TMainWin&)>;

const std::map<QString, Opener>& Openers() {
    static const std::map<QString, Opener> openers = {
        {"keyboard", [](TMainWin& w) { Named<QAction>(w, "KeyboardMenu")->trigger(); }},
        {"differences", [](TMainWin& w) { Named<QAction>(w, "DifferencesMenu")->trigger(); }},
        {"rtm", [](TMainWin& w) { QTest::mouseClick(Named<TColorButton>(*Named<TControlPanel>(w, "ControlPanel"), "RtmEditBtn"), Qt::LeftButton); }},
        {"designers",
         [](TMainWin& w) {
             Named<QAction>(w, "CustomDistNewMenu")->trigger();
             auto* dist = qobject_cast<TCustomDistWin*>(w.Documents().Windows().last().data());
             QTest::mouseClick(Named<QPushButton>(*dist, "DstChar1Btn"), Qt::LeftButton);
             QTest::mouseClick(Named<QPushButton>(*dist, "LowChar2Btn"), Qt::LeftButton);
         }},
        {"about", [](TMainWin& w) { w.About().show(); }},  // as the splash shows it at start
    };
    return openers;
}

char** gArgv = nullptr;

// The child: opens the windows named, chooses Exit and runs the event loop,
// whose end is the end of the process.
int OpenAndExit(const QStringList& order) {
    AppRig rig;
    for (const QString& name : order) Openers().at(name)(*rig.win);
    QTimer::singleShot(0, rig.win.get(), [&rig] { rig.Action("ExitMenu")->trigger(); });
    return QApplication::exec();
}

}  // namespace

TEST(Exit, EndsTheProgramWhateverWindowsAreOpen) {
    const QStringList orders = {
        "keyboard,differences",
        "keyboard,differences,rtm,designers,about",
        "about,designers,rtm,differences,keyboard",
        "differences,designers,keyboard",
        "rtm,keyboard,about",
        "designers,about,differences",
    };
    for (const QString& order : orders) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QString::fromLocal8Bit(gArgv[0]), {"--open", order});
        ASSERT_TRUE(child.waitForStarted(10000));
        const bool ended = child.waitForFinished(10000);
        if (!ended) {
            child.kill();
            child.waitForFinished();
        }
        EXPECT_TRUE(ended) << "still running after Exit; opened: " << order.toStdString();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << order.toStdString();
        EXPECT_EQ(child.exitCode(), 0) << order.toStdString();
    }
}

namespace {

// orb8ed with a home of its own (nothing of the user's is read or written).
QProcessEnvironment ProgramEnvironment(const QTemporaryDir& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_DATA_HOME", home.path() + "/data");
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    return env;
}

QByteArray Screenshot(const QTemporaryDir& home, const QString& lang, const QStringList& extra) {
    QProcess program;
    QProcessEnvironment env = ProgramEnvironment(home);
    env.insert("LANG", lang);
    program.setProcessEnvironment(env);
    const QString file = home.filePath(lang + extra.join("") + ".png");
    program.start(ORB8ED_PATH, QStringList{"--screenshot", file} + extra);
    if (!program.waitForFinished(30000) || program.exitCode() != 0) return {};
    QFile picture(file);
    return picture.open(QIODevice::ReadOnly) ? picture.readAll() : QByteArray();
}

}  // namespace

// make run shows the window a user of this system sees: on a Japanese system
// the Japanese captions, with -E the English ones.
TEST(Screenshot, DrawsTheCaptionsOfTheSystemsLanguage) {
    QTemporaryDir home;
    // The same system (and so the same fonts): only the captions tell the two apart.
    const QByteArray japanese = Screenshot(home, "ja_JP.UTF-8", {});
    const QByteArray forcedEnglish = Screenshot(home, "ja_JP.UTF-8", {"-E"});
    const QByteArray again = Screenshot(home, "ja_JP.UTF-8", {});
    ASSERT_FALSE(japanese.isEmpty());
    ASSERT_FALSE(forcedEnglish.isEmpty());
    EXPECT_NE(japanese, forcedEnglish);
    EXPECT_EQ(japanese, again);
}

// Under X the frame's title is "ORB-8ED - " and the caption, and nothing
// after it (Qt appends an application display name to every title).
TEST(Title, IsExactlyTheProgramsOwn) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X server (the xvfb run of this test)";
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = ProgramEnvironment(home);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LANG", "C.UTF-8");
    program.setProcessEnvironment(env);
    program.start(ORB8ED_PATH, QStringList{});
    ASSERT_TRUE(program.waitForStarted(10000));
    QString names;
    // The frame shows its title once the first project window is there.
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired();) {
        QProcess tree;
        tree.start("xwininfo", {"-root", "-tree"});
        tree.waitForFinished(5000);
        names = QString::fromUtf8(tree.readAllStandardOutput());
        if (names.contains("ORB-8ED - NoName1")) break;
        program.waitForFinished(100);  // a pause that also notices an early end
    }
    program.terminate();
    program.waitForFinished(10000);
    EXPECT_TRUE(names.contains("\"ORB-8ED - NoName1\"")) << names.toStdString();
    EXPECT_FALSE(names.contains("NoName1 \u2014")) << names.toStdString();
}

namespace {

// The patches and comments of a project's file image (its end is the
// program's custom settings, which a project does not carry).
std::vector<std::uint8_t> Bank(const std::vector<std::uint8_t>& image) {
    return {image.begin(), image.begin() + std::min<std::size_t>(image.size(), orb8::kPatchCount * orb8::kPatchRecordBytes)};
}

void Edit(TProjectWindow* project, const std::string& comment, int value) {
    AppRig::Change(project, [&](orb8::ProjectDocument& d) {
        d.comments[2] = comment;
        d.patches[2][20] = static_cast<std::uint8_t>(value);
    });
}

// Ends this process as a crash would, the moment a file appears in `folder`:
// a save has begun (its temporary file) and not necessarily ended.
void KillOnFileCreated(const QString& folder) {
    const int fd = ::inotify_init1(IN_CLOEXEC);
    ::inotify_add_watch(fd, folder.toLocal8Bit().constData(), IN_CREATE);
    std::thread([fd] {
        char event[4096];
        if (::read(fd, event, sizeof event) > 0) ::kill(::getpid(), SIGKILL);
    }).detach();
}

// The child of the recovery tests: edits a project with unsaved work kept in
// `folder`, writes the document as it stands to `expected` and says READY at
// the moment it is to be killed: after an edit, during a Receive All; or
// kills itself during a save.
int EditUntilKilled(const QString& folder, const QString& moment, const QString& expected, const QString& bank) {
    AppRig rig(moment == "receive" ? orb8::SimTiming{true, {}} : orb8::SimTiming{false, {}}, {}, false, folder);
    TProjectWindow* project = rig.win->Documents().CurrentProject();
    RecoveryKeeper* keeper = rig.win->Recovery();
    const auto ready = [&] {
        WriteAll(expected.toStdString(), Bank(project->Session().FileImage()));
        std::printf("READY\n");
        std::fflush(stdout);
    };
    Edit(project, "before the crash", 5);
    bool receiving = false;  // outlives the branches: the receive ends in the event loop below
    QSignalSpy handed(keeper, &RecoveryKeeper::RecordHandedOver);
    if (!handed.wait(10000)) return 3;
    keeper->Flush();
    if (moment == "edit") {
        ready();
    } else if (moment == "save") {
        WriteAll(expected.toStdString(), Bank(project->Session().FileImage()));
        rig.dialogs.saveNames = {bank};
        KillOnFileCreated(QFileInfo(bank).absolutePath());
        rig.Idle();
        rig.Action("SaveAsMenu")->trigger();
    } else if (moment == "receive") {
        rig.Connect();
        Edit(project, "just before the receive", 9);
        rig.Idle();
        rig.WaitExchange();  // the patch change that going on line asked for
        // The record of the last edit is written while the bank comes in (ten
        // patches in), as the keeper's timer would write it.
        receiving = true;
        QObject::connect(Named<QProgressBar>(*Named<TProgressWin>(*rig.win, "ProgressWin"), "ProgressBar"), &QProgressBar::valueChanged, keeper, [&](int value) {
            if (!receiving || value < 10) return;
            receiving = false;
            keeper->WriteNow(&project->Doc());
            ready();
        });
        QObject::connect(&rig.win->Host(), &WindowDeviceHost::Ended, keeper, [&] {
            if (!receiving) return;
            receiving = false;
            std::printf("RECEIVED BEFORE THE RECORD WAS WRITTEN\n");
            std::fflush(stdout);
        });
        rig.Action("UploadMenu")->trigger();
    }
    return QApplication::exec();
}

}  // namespace

// Killed (SIGKILL) at any of these moments, the program gives back every
// change at the next start, byte for byte, under the file name it had.
TEST(Recovery, AKilledProgramsWorkComesBack) {
    for (const QString moment : {"edit", "save", "receive"}) {
        SCOPED_TRACE(moment.toStdString());
        QTemporaryDir home;
        const QString folder = home.filePath("recovery"), expected = home.filePath("expected");
        const QString bank = home.filePath("saved/bank.orb");
        QDir().mkpath(home.filePath("saved"));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QString::fromLocal8Bit(gArgv[0]), {"--recovery-child", folder, moment, expected, bank});
        ASSERT_TRUE(child.waitForStarted(10000));
        if (moment == "save") {
            ASSERT_TRUE(child.waitForFinished(60000));
        } else {
            QByteArray said;
            for (QDeadlineTimer deadline(60000); !said.contains("\n") && !deadline.hasExpired();)
                if (child.waitForReadyRead(1000)) said += child.readAllStandardOutput();
            ASSERT_EQ(said, "READY\n");
            child.kill();
            ASSERT_TRUE(child.waitForFinished(10000));
        }
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        const std::vector<std::uint8_t> before = ReadAll(expected.toStdString());
        ASSERT_EQ(before.size(), static_cast<std::size_t>(orb8::kPatchCount * orb8::kPatchRecordBytes));

        AppRig next({false, {}}, {}, false, folder, ScriptedDialogs::RecoveryAnswer::Recover);
        next.Idle();
        // A save cut short left the old file (none) or the whole new one: never a part.
        const bool saved = QFile::exists(bank);
        if (saved) {
            EXPECT_EQ(Bank(ReadAll(bank.toStdString())), before);
        }
        if (moment == "save" && saved && next.dialogs.recoveryOffers.isEmpty()) continue;  // the save had ended
        ASSERT_EQ(next.dialogs.recoveryOffers.size(), 1);
        auto* recovered = qobject_cast<TProjectWindow*>(next.win->Documents().Windows().last().data());
        ASSERT_TRUE(recovered);
        EXPECT_EQ(Bank(recovered->Session().FileImage()), before);
        EXPECT_EQ(recovered->Doc().FileName(), saved ? bank.toStdString() : std::string());
        EXPECT_EQ(recovered->Doc().Modified(), !saved);
    }
}

int main(int argc, char** argv) {
    gArgv = argv;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (const auto at = args.indexOf("--open"); at >= 0 && at + 1 < args.size())
        return OpenAndExit(args[at + 1].split(',', Qt::SkipEmptyParts));
    if (const auto at = args.indexOf("--recovery-child"); at >= 0 && at + 4 < args.size())
        return EditUntilKilled(args[at + 1], args[at + 2], args[at + 3], args[at + 4]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
