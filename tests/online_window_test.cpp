// On line with the simulated ORB-8 through the window program: the scan, a
// Receive All and a Send All with what the processor then holds, the patch
// change after a selection, a bank's custom settings against the
// processor's, and Abort and closing during a receive.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "app/ui/mainwin.h"
#include "controls/colorbutton.h"
#include "device/ui/progresswin.h"
#include "device/ui/windowhost.h"
#include "editors/patcheditor.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectwin.h"
#include "sim/factorybank.h"
#include "tests/appwindow.h"
#include "controls/named.h"

using namespace orb8;

TEST(OnLine, ScanReceiveSendAndPatchChange) {
    App app;
    TProjectWindow* p = app.Project();
    app.Action("OnLineMenu")->trigger();
    // The scan runs on its own thread: the commands that would start another wait meanwhile.
    app.Idle();
    EXPECT_FALSE(app.Action("OnLineMenu")->isEnabled());
    EXPECT_FALSE(app.Menu("ChanMenu")->isEnabled());
    app.WaitExchange();
    ASSERT_TRUE(app.win->Link().isOnLine);
    EXPECT_EQ(app.Action("Chan1Menu")->text(), "1:VESK ORB-8");
    EXPECT_TRUE(app.Action("Chan1Menu")->isChecked());
    EXPECT_FALSE(app.Action("Chan2Menu")->isEnabled());
    app.Idle();
    EXPECT_EQ(app.Action("OnLineMenu")->text(), "Off &Line");
    EXPECT_TRUE(app.Action("UploadMenu")->isEnabled());
    EXPECT_TRUE(Named<TColorButton>(*app.Panel(), "UploadBtn")->isEnabled());
    EXPECT_EQ(Named<TColorButton>(*app.Panel(), "OnLineBtn")->Color(), QColor(0, 0xFF, 0));
    EXPECT_EQ(app.win->Link().areas.customSettings, FactoryCustomSettings());

    app.WaitExchange();  // the selected patch goes to the processor first
    app.Action("UploadMenu")->trigger();
    app.WaitExchange();
    EXPECT_TRUE(app.Action("OnLineMenu")->isEnabled());
    EXPECT_EQ(p->Session().Settings(), FactoryCustomSettings());  // the bank plays through the processor's block
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i) ASSERT_EQ(p->Document().patches[static_cast<std::size_t>(i)], Unpack(factory[static_cast<std::size_t>(i)])) << i;
    EXPECT_EQ(p->Grid()->CellText(1, 1).toStdString(), DecodeName(Unpack(factory[0])));
    EXPECT_TRUE(p->Doc().Modified());
    EXPECT_FALSE(Named<TProgressWin>(*app.win, "ProgressWin")->isVisible());

    // Selecting a row switches the processor to it at the next idle pass.
    app.ClearTraffic();
    p->SetCurrentRow(6);
    app.Idle();
    app.WaitExchange();
    const auto traffic = app.Traffic();
    EXPECT_EQ(Count(traffic, "PatchSelect"), 1);
    EXPECT_EQ(Count(traffic, "EditBufferWrite"), 1);
    EXPECT_EQ(app.system.Simulator()->With([](Orb8Simulator& s) { return s.program; }), 5);

    // A paste over the patch that plays sends the bytes its step changed, not the patch again.
    p->SetCurrentRow(2);
    app.Action("CopyMenu")->trigger();
    p->SetCurrentRow(6);
    app.Idle();
    app.WaitExchange();
    app.ClearTraffic();
    app.Action("PasteMenu")->trigger();
    app.Idle();
    app.Drain();
    const auto pasted = app.Traffic();
    EXPECT_EQ(Count(pasted, "EditBufferWrite"), 0);
    EXPECT_EQ(Count(pasted, "PatchSelect"), 0);
    EXPECT_GT(Count(pasted, "ParameterChange"), 0);
    EXPECT_EQ(p->Document().patches[5], p->Document().patches[1]);
    EXPECT_EQ(app.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; }),
              ShownPatch(p->Document().patches[5], p->Session().Settings()));

    app.ClearTraffic();
    app.Action("DownloadMenu")->trigger();
    app.WaitExchange();
    const auto sent = app.Traffic();
    EXPECT_EQ(Count(sent, "PatchDump"), 80);
    EXPECT_EQ(Count(sent, "SettingsPageWrite"), 2);

    app.Action("OnLineMenu")->trigger();
    EXPECT_FALSE(app.win->Link().PortsOpen());
    app.Idle();
    EXPECT_EQ(app.Action("OnLineMenu")->text(), "On &Line");
    // Off line a selection schedules nothing.
    p->SetCurrentRow(2);
    EXPECT_EQ(app.win->PendingPatchChange(), 0);
    QTest::mouseClick(Named<TColorButton>(*app.Panel(), "UploadBtn"), Qt::LeftButton);
    app.WaitExchange();
    EXPECT_EQ(app.dialogs.Last("information"), "Not be OnLine.");
}

// A bank whose custom settings differ from the processor's: the notice in
// its window and the status line name the slots, "Use the Processor's
// Custom Settings" is one step, and Send All names the change and leaves
// the processor holding the bank's block.
TEST(OnLine, ABanksCustomSettingsAgainstTheProcessors) {
    App app;
    TProjectWindow* p = app.Project();
    ASSERT_NE(p->Session().Settings(), FactoryCustomSettings());  // made off line: the built-in block
    app.Action("OnLineMenu")->trigger();
    app.WaitExchange();
    ASSERT_TRUE(app.win->Link().isOnLine);
    app.Idle();
    app.WaitExchange();
    EXPECT_NE(app.win->statusBar()->currentMessage().indexOf("MOD CUSTOM1"), -1)
        << app.win->statusBar()->currentMessage().toStdString();
    QWidget* notice = p->findChild<QWidget*>("SettingsNotice");
    ASSERT_TRUE(notice);
    EXPECT_FALSE(notice->isHidden());
    auto* use = p->findChild<QPushButton*>("UseProcessorSettingsBtn");
    ASSERT_TRUE(use);
    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_EQ(p->Session().Settings(), FactoryCustomSettings());
    EXPECT_TRUE(notice->isHidden());
    app.Idle();
    EXPECT_EQ(app.Action("UndoMenu")->text(), "Undo Use the Processor's Custom Settings");
    app.Action("UndoMenu")->trigger();
    app.Idle();
    EXPECT_EQ(p->Session().Settings(), DefaultCustomSettings());
    EXPECT_FALSE(notice->isHidden());

    // Send All says what changes, and the processor then plays the bank's block.
    app.Action("DownloadMenu")->trigger();
    app.WaitExchange();
    EXPECT_NE(app.dialogs.Last("question").indexOf("custom settings change too: MOD CUSTOM1"), -1)
        << app.dialogs.Last("question").toStdString();
    const auto processor = app.system.Simulator()->With([](Orb8Simulator& s) { return s.customSettings; });
    EXPECT_TRUE(std::equal(processor.begin() + 20, processor.end(), DefaultCustomSettings().begin() + 20));
    app.Idle();
    EXPECT_TRUE(notice->isHidden());
}

// A Receive All runs while the windows stay live; Abort keeps what arrived,
// closing the bank it fills aborts it and closes once it has ended, and so
// does quitting.
TEST(OnLine, AbortAndClosingDuringAReceive) {
    App app({}, false, SimTiming{true, {}});  // with MIDI wire time: about 2.5 s for the bank
    TProjectWindow* p = app.Project();
    app.Action("OnLineMenu")->trigger();
    app.WaitExchange();
    ASSERT_TRUE(app.win->Link().isOnLine);
    App::Change(p, [](ProjectDocument& d) { EncodeName("MINE", d.PatchOfRow(80)); });
    app.Idle();
    app.WaitExchange();
    app.Action("UploadMenu")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Named<TProgressWin>(*app.win, "ProgressWin")->isVisible(); }, 10000));
    EXPECT_TRUE(app.win->Host().ExchangeRunning());
    // The bank's window takes keys meanwhile.
    QTest::keyClick(p->Grid(), Qt::Key_Down);
    EXPECT_EQ(p->CurrentRow(), 2);
    app.Idle();
    EXPECT_FALSE(app.Action("UploadMenu")->isEnabled());
    QTest::mouseClick(Named<QPushButton>(*Named<TProgressWin>(*app.win, "ProgressWin"), "Abortbtn"), Qt::LeftButton);
    app.WaitExchange();
    ASSERT_EQ(app.win->Documents().Windows().size(), 1);
    const int got = app.win->Link().lastReceived;
    EXPECT_GT(got, 0);
    EXPECT_LT(got, 80);
    EXPECT_EQ(p->Document().patches[0], Unpack(FactoryBank()[0]));
    EXPECT_EQ(DecodeName(p->Document().patches[79]), "MINE    ");  // not received: kept
    EXPECT_TRUE(p->Doc().Modified());
    EXPECT_FALSE(Named<TProgressWin>(*app.win, "ProgressWin")->isVisible());
    app.Idle();
    EXPECT_EQ(app.Action("UndoMenu")->text(), "Undo Receive All");

    // A short exchange shows no progress window. (The row chosen during the
    // receive went to the processor once it had ended.)
    app.Idle();
    app.Drain();
    app.ClearTraffic();
    p->SetCurrentRow(3);
    app.Idle();
    app.WaitExchange();
    EXPECT_FALSE(Named<TProgressWin>(*app.win, "ProgressWin")->isVisible());
    EXPECT_EQ(Count(app.Traffic(), "EditBufferWrite"), 1);

    // Closing the bank that a receive fills: the receive ends first, what
    // arrived is in, and then the bank closes (asking about its unsaved work).
    app.Action("UploadMenu")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.win->Link().lastReceived > 2; }, 10000));
    EXPECT_FALSE(p->SubWindow()->close());
    app.dialogs.saveAnswers = {UserDialogs::Answer::No};
    app.WaitExchange();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.win->Documents().Windows().isEmpty(); }, 10000));
    EXPECT_EQ(app.dialogs.Last("save").isEmpty(), false);

    // Quitting during a receive: likewise.
    app.Action("ProjectNewMenu")->trigger();
    app.Idle();
    app.WaitExchange();
    app.Action("UploadMenu")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.win->Link().lastReceived > 2; }, 10000));
    EXPECT_FALSE(app.win->close());
    app.dialogs.discardUnsaved = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.win->isVisible(); }, 20000));
    EXPECT_FALSE(app.win->Host().ExchangeRunning());
}

