// File > Exit ends the program whatever other windows are open: the
// keyboard, the Differences and RTM windows, the designers and the about box
// each refuse a close of their own, and none of them may keep the
// application's event loop running. Each order of opening runs in a process
// of its own, as the program does: this binary started again with --open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

#include "controls/colorbutton.h"
#include "customdist/ui/customdistwin.h"
#include "editors/ui/aboutbox.h"
#include "editors/ui/ctpanel.h"
#include "tests/apprig.h"

namespace {

using Opener = std::function<void(TMainWin&)>;

const std::map<QString, Opener>& Openers() {
    static const std::map<QString, Opener> openers = {
        {"keyboard", [](TMainWin& w) { w.KeyboardMenu->trigger(); }},
        {"differences", [](TMainWin& w) { w.DifferencesMenu->trigger(); }},
        {"rtm", [](TMainWin& w) { QTest::mouseClick(w.ControlPanel->RtmEditBtn, Qt::LeftButton); }},
        {"designers",
         [](TMainWin& w) {
             w.CustomDistNewMenu->trigger();
             auto* dist = qobject_cast<TCustomDistWin*>(w.DocumentWindows.last().data());
             QTest::mouseClick(dist->DstChar1Btn, Qt::LeftButton);
             QTest::mouseClick(dist->LowChar2Btn, Qt::LeftButton);
         }},
        {"about", [](TMainWin& w) { w.AboutBox->show(); }},  // as the splash shows it at start
    };
    return openers;
}

char** gArgv = nullptr;

// The child: opens the windows named, chooses Exit and runs the event loop,
// whose end is the end of the process.
int OpenAndExit(const QStringList& order) {
    AppRig rig;
    for (const QString& name : order) Openers().at(name)(*rig.win);
    QTimer::singleShot(0, rig.win.get(), [&rig] { rig.win->ExitMenu->trigger(); });
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

int main(int argc, char** argv) {
    gArgv = argv;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (const auto at = args.indexOf("--open"); at >= 0 && at + 1 < args.size())
        return OpenAndExit(args[at + 1].split(',', Qt::SkipEmptyParts));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
