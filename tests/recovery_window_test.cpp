// Unsaved work kept for recovery, as the window program keeps and offers it:
// a record while a document has unsaved changes, none once it is saved or
// let go, and at start the records of a program that did not end normally.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <filesystem>

#include "customdist/ui/dcharwin.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/memo.h"
#include "controls/volume.h"
#include "tests/apprig.h"
#include "tests/testfiles.h"
#include "workspace/recovery.h"
#include "workspace/ui/recoverydialog.h"
#include "workspace/ui/recoverykeeper.h"
#include "controls/named.h"

using namespace orb8;

namespace {

using Answer = ScriptedDialogs::RecoveryAnswer;

// The records in the folder, readable ones only.
std::vector<RecoveryRecord> Records(const QString& folder) {
    std::vector<RecoveryRecord> records;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString())) {
        if (entry.path().extension() != ".rec") continue;
        std::string why;
        if (auto record = DecodeRecoveryRecord(ReadAll(entry.path().string()), why)) records.push_back(*record);
    }
    return records;
}

// Waits until the window's change is in a record on disk.
void WaitForRecord(AppRig& app) {
    RecoveryKeeper* keeper = app.win->Recovery();
    ASSERT_TRUE(keeper);
    QSignalSpy handed(keeper, &RecoveryKeeper::RecordHandedOver);
    ASSERT_TRUE(handed.wait(5000));
    keeper->Flush();
}

// The Mod RATE knob turned in the editor (right or left): one step of the current patch.
void TurnKnob(AppRig& app, bool right) {
    TProjectWindow* project = app.win->Documents().CurrentProject();
    if (!(project->Document().patches[0][ModuleSwitches] & ModOn)) {
        AppRig::Change(project, [](ProjectDocument& d) { d.patches[0][ModuleSwitches] |= ModOn; });
        project->SetCurrentRow(1);
    }
    TVolume* rate = Named<TVolume>(*app.Panel(), "ModVolume2");
    const std::vector<QPoint> path = right ? std::vector<QPoint>{{20, 12}, {12, 0}, {20, 4}, {24, 12}}
                                           : std::vector<QPoint>{{20, 12}, {24, 4}, {12, 0}, {2, 12}};
    QTest::mousePress(rate, Qt::LeftButton, {}, path.front());
    for (const QPoint& at : path) QTest::mouseMove(rate, at);
    QTest::mouseRelease(rate, Qt::LeftButton, {}, path.back());
}

// The patches and comments of a project's file image (its end is the
// program's custom settings, which a project does not carry).
std::vector<std::uint8_t> Bank(const std::vector<std::uint8_t>& image) {
    return {image.begin(), image.begin() + std::min<std::size_t>(image.size(), kPatchCount * kPatchRecordBytes)};
}

// What a program that was killed left: records it wrote, its lock gone with it.
std::string LeaveRecord(const QString& folder, const RecoveryRecord& record) {
    RecoveryFolder dead(folder.toStdString());
    dead.Write(1, record);
    return dead.RecordPath(1);
}

}  // namespace

TEST(Recovery, KeepsARecordExactlyWhileWorkIsUnsaved) {
    QTemporaryDir home;
    const QString folder = home.filePath("recovery");
    {
        AppRig app({false, {}}, {}, false, folder);
        TProjectWindow* project = app.win->Documents().CurrentProject();
        app.Idle();
        EXPECT_TRUE(Records(folder).empty());
        TurnKnob(app, false);
        ASSERT_TRUE(project->Doc().Modified());
        WaitForRecord(app);
        std::vector<RecoveryRecord> records = Records(folder);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].bytes, project->Session().FileImage());
        EXPECT_EQ(records[0].title, "NoName1");
        EXPECT_TRUE(records[0].fileName.empty());

        // Saved: the record goes; changed again: it comes back with the file's name.
        const QString bank = home.filePath("bank.orb");
        app.dialogs.saveNames = {bank};
        app.Idle();
        app.Action("SaveAsMenu")->trigger();
        app.win->Recovery()->Flush();
        EXPECT_TRUE(Records(folder).empty());
        TurnKnob(app, true);
        WaitForRecord(app);
        records = Records(folder);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].fileName, bank.toStdString());
        EXPECT_EQ(records[0].bytes, project->Session().FileImage());

        // Undone back to the saved state: nothing is unsaved.
        app.Idle();
        app.Action("UndoMenu")->trigger();
        app.win->Recovery()->Flush();
        EXPECT_TRUE(Records(folder).empty());

        // A custom distortion document too; closed on the user's word: its record goes.
        app.Action("CustomDistNewMenu")->trigger();
        auto* dist = qobject_cast<TCustomDistWin*>(app.win->Documents().Windows().last().data());
        QTest::mouseClick(Named<QPushButton>(*dist, "DstChar1Btn"), Qt::LeftButton);
        QTest::mouseClick(dist->DistortionDesigner(0)->findChild<QPushButton*>("DstCharResDraw"), Qt::LeftButton);
        ASSERT_TRUE(dist->Doc().Modified());
        WaitForRecord(app);
        ASSERT_EQ(Records(folder).size(), 1u);
        EXPECT_EQ(Records(folder)[0].kind, DocumentKind::CustomDist);
        app.dialogs.saveAnswers = {UserDialogs::Answer::No};
        dist->SubWindow()->close();
        app.win->Recovery()->Flush();
        EXPECT_TRUE(Records(folder).empty());
        TurnKnob(app, true);  // (to the left again would end where it began: no step, nothing unsaved)
        WaitForRecord(app);
        EXPECT_EQ(Records(folder).size(), 1u);
    }
    // The program ended normally: nothing is left, not even its lock.
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// At start the work of a program that did not end normally is offered;
// recovered, a document opens modified under its own file name, and Save
// writes it there.
TEST(Recovery, OffersWhatAKilledProgramLeftAndRecoversIt) {
    QTemporaryDir home;
    const QString folder = home.filePath("recovery");
    const std::string bank = home.filePath("bank.orb").toStdString();
    CustomSettingsBlock settings{};
    ProjectSession saved(settings);
    saved.SetFileName(bank);
    ASSERT_TRUE(saved.Save().ok());
    saved.Perform([&](ProjectDocument& d) {
        d.comments[4] = "unsaved work";
        d.patches[4][20] = 3;
        return StepReport{"x", {}};
    });
    RecoveryRecord project{DocumentKind::Project, bank, "bank.orb", 1'700'000'000'000, saved.FileImage()};
    CustomDistSession dist;
    dist.Perform("x", [](CustomDistData& d) { d.ReadFileImage(std::vector<std::uint8_t>(60, 9)); });
    RecoveryRecord design{DocumentKind::CustomDist, "", "NoNameDst1", 1'700'000'100'000, dist.FileImage()};
    const std::string first = LeaveRecord(folder, project);
    const std::string second = LeaveRecord(folder, design);
    const std::string damaged = LeaveRecord(folder, project);
    WriteAll(damaged, {'x'});

    // Later: asked, nothing opened, everything kept.
    {
        AppRig app({false, {}}, {}, false, folder, Answer::Later);
        app.Idle();
        ASSERT_EQ(app.dialogs.Count("recovery"), 1);
        ASSERT_EQ(app.dialogs.recoveryOffers.size(), 3);
        EXPECT_EQ(app.dialogs.recoveryOffers[0].name, "bank.orb");
        EXPECT_EQ(app.dialogs.recoveryOffers[0].fileName.toStdString(), bank);
        EXPECT_EQ(app.dialogs.recoveryOffers[0].changed.toMSecsSinceEpoch(), 1'700'000'000'000);
        EXPECT_EQ(app.dialogs.recoveryOffers[1].name, "NoNameDst1");
        EXPECT_FALSE(app.dialogs.recoveryOffers[2].problem.isEmpty());
        EXPECT_EQ(app.win->Documents().Windows().size(), 1);

        // While this program runs, another one is not offered the records it holds.
        TurnKnob(app, false);
        WaitForRecord(app);
        AppRig other({false, {}}, {}, false, folder, Answer::Recover);
        other.Idle();
        EXPECT_EQ(other.dialogs.recoveryOffers.size(), 3);
        for (const RecoveryOffer& offer : other.dialogs.recoveryOffers) EXPECT_NE(offer.name, "NoName1");
        other.dialogs.recoveryOffers.clear();
        // (other recovered them: the next program finds none of them.)
        EXPECT_EQ(other.win->Documents().Windows().size(), 3);
        EXPECT_EQ(other.dialogs.Count("error"), 1);
        EXPECT_TRUE(other.dialogs.Last("error").contains(QString::fromStdString(damaged)));

        auto* recovered = qobject_cast<TProjectWindow*>(other.win->Documents().Windows()[1].data());
        ASSERT_TRUE(recovered);
        EXPECT_EQ(recovered->Doc().FileName(), bank);
        EXPECT_TRUE(recovered->Doc().Modified());
        EXPECT_EQ(recovered->Caption().toStdString(), bank + "*");
        EXPECT_EQ(Bank(recovered->Session().FileImage()), Bank(project.bytes));
        auto* design2 = qobject_cast<TCustomDistWin*>(other.win->Documents().Windows()[2].data());
        ASSERT_TRUE(design2);
        EXPECT_TRUE(design2->Doc().Modified());
        EXPECT_EQ(design2->Session().FileImage(), design.bytes);

        // The old records are gone, the damaged one kept aside; the work is in other's own records.
        EXPECT_FALSE(std::filesystem::exists(first));
        EXPECT_FALSE(std::filesystem::exists(second));
        EXPECT_TRUE(std::filesystem::exists(damaged + ".damaged"));
        EXPECT_EQ(Records(folder).size(), 3u);  // app's NoName1, other's bank and design

        // Save writes the recovered bank where it belongs.
        Named<QMdiArea>(*other.win, "MdiArea")->setActiveSubWindow(recovered->SubWindow());
        other.Idle();
        other.Action("SaveMenu")->trigger();
        EXPECT_FALSE(recovered->Doc().Modified());
        EXPECT_EQ(Bank(ReadAll(bank)), Bank(project.bytes));
    }
}

TEST(Recovery, DiscardRemovesWhatWasLeft) {
    QTemporaryDir home;
    const QString folder = home.filePath("recovery");
    CustomDistSession dist;
    const std::string left =
        LeaveRecord(folder, RecoveryRecord{DocumentKind::CustomDist, "", "NoNameDst1", 1, dist.FileImage()});
    {
        AppRig app({false, {}}, {}, false, folder, Answer::Discard);
        app.Idle();
        EXPECT_EQ(app.dialogs.Count("recovery"), 1);
        EXPECT_EQ(app.win->Documents().Windows().size(), 1);
        EXPECT_FALSE(std::filesystem::exists(left));
    }
    AppRig again({false, {}}, {}, false, folder, Answer::Recover);
    again.Idle();
    EXPECT_EQ(again.dialogs.Count("recovery"), 0);
}

// Where no records can be kept, the program works without them and says so.
TEST(Recovery, WithoutAFolderTheProgramSaysSoAndWorks) {
    QTemporaryDir home;
    QFile blocker(home.filePath("data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AppRig app({false, {}}, {}, false, home.filePath("data/recovery"));
    EXPECT_EQ(app.win->Recovery(), nullptr);
    EXPECT_TRUE(app.win->statusBar()->currentMessage().startsWith("Unsaved work cannot be kept for recovery"));
    TurnKnob(app, true);
    EXPECT_TRUE(app.win->Documents().CurrentProject()->Doc().Modified());
}

// The question itself: its list, and each button's answer.
TEST(Recovery, DialogListsTheWorkAndAnswersByItsButtons) {
    const QList<RecoveryOffer> offers = {
        {"bank.orb", "/home/x/bank.orb", QDateTime::fromMSecsSinceEpoch(1'700'000'000'000), {}},
        {"/x/y.rec", {}, {}, "the record is damaged"}};
    for (const auto& [button, answer] : std::vector<std::pair<const char*, Answer>>{
             {"Recover", Answer::Recover}, {"Discard", Answer::Discard}, {"Later", Answer::Later}}) {
        RecoveryDialog dialog(offers, nullptr);
        dialog.show();
        auto* list = dialog.findChild<QAbstractItemView*>("RecoveryList");
        ASSERT_TRUE(list);
        EXPECT_EQ(list->model()->rowCount(), 2);
        EXPECT_EQ(list->model()->index(0, 2).data().toString(), "/home/x/bank.orb");
        EXPECT_TRUE(list->model()->index(1, 2).data().toString().contains("damaged"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        EXPECT_EQ(dialog.Answer(), answer) << button;
        EXPECT_FALSE(dialog.isVisible());
    }
    // Each document is ticked on its own; with none, Recover and Discard wait.
    RecoveryDialog dialog(offers, nullptr);
    auto* list = dialog.findChild<QAbstractItemView*>("RecoveryList");
    auto* model = list->model();
    EXPECT_EQ(dialog.Chosen(), (QList<bool>{true, true}));
    model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(dialog.Chosen(), (QList<bool>{false, true}));
    EXPECT_TRUE(dialog.findChild<QPushButton*>("Recover")->isEnabled());
    model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(dialog.findChild<QPushButton*>("Recover")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("Discard")->isEnabled());
}

// Each document on its own: the ones ticked are recovered, the others wait
// for the next start; Discard asks; a damaged record is named by its
// document; an untitled one comes back under the name it was offered with;
// and nothing of the dead program is left once its records are taken.
TEST(Recovery, EachDocumentOnItsOwnAndNothingLeftBehind) {
    QTemporaryDir home;
    const QString folder = home.filePath("recovery");
    ProjectSession untitled;
    untitled.Perform([&](ProjectDocument& d) {
        d.comments[2] = "never saved";
        return StepReport{"x", {}};
    });
    CustomDistSession dist;
    dist.Perform("x", [](CustomDistData& d) { d.ReadFileImage(std::vector<std::uint8_t>(60, 9)); });
    {
        RecoveryFolder dead(folder.toStdString());
        dead.Write(1, {DocumentKind::Project, "", "NoName7", 1'700'000'000'000, untitled.FileImage()});
        dead.Write(2, {DocumentKind::CustomDist, "", "NoNameDst1", 1'700'000'100'000, dist.FileImage()});
        dead.Write(3, {DocumentKind::Project, "/banks/live.orb", "live.orb", 1'700'000'200'000, untitled.FileImage()});
        auto bytes = ReadAll(dead.RecordPath(3));
        bytes.back() ^= 0xFF;  // the checksum no longer matches
        WriteAll(dead.RecordPath(3), bytes);
    }
    {
        AppRig app({false, {}}, {}, false, folder, Answer::Recover, {},
                   [](ScriptedDialogs& dialogs) { dialogs.recoveryLeftOut = {1}; });
        app.Idle();
        ASSERT_EQ(app.dialogs.recoveryOffers.size(), 3);
        EXPECT_EQ(app.dialogs.recoveryOffers[2].name, "live.orb");  // damaged, named by its document
        EXPECT_TRUE(app.dialogs.recoveryOffers[2].problem.contains("checksum"));
        ASSERT_EQ(app.win->Documents().Windows().size(), 2);  // the new project and the recovered one
        auto* recovered = qobject_cast<TProjectWindow*>(app.win->Documents().Windows()[1].data());
        ASSERT_TRUE(recovered);
        EXPECT_EQ(recovered->Caption(), "NoName7*");
        EXPECT_EQ(recovered->Document().comments[2], "never saved");
    }
    {
        // The design left out is offered again; Discard asks, and No keeps it.
        AppRig app({false, {}}, {}, false, folder, Answer::Discard, {},
                   [](ScriptedDialogs& dialogs) { dialogs.yesNo = false; });
        app.Idle();
        ASSERT_EQ(app.dialogs.recoveryOffers.size(), 1);
        EXPECT_EQ(app.dialogs.recoveryOffers[0].name, "NoNameDst1");
        EXPECT_EQ(app.dialogs.Count("question"), 1);
    }
    {
        AppRig app({false, {}}, {}, false, folder, Answer::Discard);
        app.Idle();
        EXPECT_EQ(app.dialogs.recoveryOffers.size(), 1);
    }
    // Nothing of the dead programs is left: no record, no lock.
    AppRig last({false, {}}, {}, false, folder, Answer::Recover);
    last.Idle();
    EXPECT_EQ(last.dialogs.Count("recovery"), 0);
    // (the damaged record stays aside for whoever wants to look at it, as it says).
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files.filter(".lock").size(), 1) << files.join(", ").toStdString();  // the running program's own
    EXPECT_EQ(files.filter(".rec").size(), 1) << files.join(", ").toStdString();
    EXPECT_EQ(files.filter(".rec.damaged").size(), 1) << files.join(", ").toStdString();
}

// A comment being typed is unsaved work at once: the project shows "*", and
// its record holds the text within the usual time, without a step per key.
TEST(Recovery, ACommentBeingTypedIsInTheRecord) {
    QTemporaryDir home;
    const QString folder = home.filePath("recovery");
    AppRig app({false, {}}, {}, false, folder);
    TProjectWindow* project = app.win->Documents().CurrentProject();
    project->SetCurrentRow(3);
    const int steps = project->Session().StepCount();
    Named<QPlainTextEdit>(*app.Memo(), "Memo")->setFocus();
    QTest::keyClicks(Named<QPlainTextEdit>(*app.Memo(), "Memo"), "half typed");
    EXPECT_EQ(project->Caption(), "NoName1*");
    WaitForRecord(app);
    const auto records = Records(folder);
    ASSERT_EQ(records.size(), 1u);
    ProjectDocument image;
    ASSERT_TRUE(image.FromFileImage(records[0].bytes));
    EXPECT_EQ(image.comments[2], "half typed");
    EXPECT_EQ(project->Session().StepCount(), steps);
}

// A record is written once the changes have settled, and no more often than
// the interval, measured on the keeper's clock.
TEST(Recovery, WritesOnceChangesSettleAndNoMoreOftenThanTheInterval) {
    QTemporaryDir home;
    RecoveryKeeper keeper(home.filePath("recovery"), nullptr);
    ASSERT_TRUE(keeper.Usable());
    std::chrono::steady_clock::time_point now{};
    keeper.SetClock([&now] { return now; });
    auto session = std::make_shared<ProjectSession>();
    keeper.Watch(*session);
    EXPECT_FALSE(keeper.WriteIn(session.get()));  // nothing unsaved
    const auto change = [&](int value) {
        session->Perform([value](ProjectDocument& d) {
            d.patches[0][PatchLevel] = static_cast<std::uint8_t>(value);
            return StepReport{"x", {}};
        });
    };
    change(1);
    EXPECT_EQ(keeper.WriteIn(session.get()), kRecoverySettle);
    keeper.WriteNow(session.get());
    EXPECT_FALSE(keeper.WriteIn(session.get()));
    now += std::chrono::milliseconds(500);
    change(2);
    EXPECT_EQ(keeper.WriteIn(session.get()), kRecoveryInterval - std::chrono::milliseconds(500));
    keeper.WriteNow(session.get());
    now += std::chrono::milliseconds(1900);  // 100 ms of the interval left: the settling time is longer
    change(3);
    EXPECT_EQ(keeper.WriteIn(session.get()), kRecoverySettle);
    keeper.WriteNow(session.get());
    session->Undo();
    session->Undo();
    session->Undo();  // saved state again: no write is due and the record goes
    EXPECT_FALSE(keeper.WriteIn(session.get()));
    keeper.Forget(session.get());
}
