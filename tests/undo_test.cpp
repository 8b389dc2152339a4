// Undo and redo of every kind of change, against the document and what the
// processor hears.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QCheckBox>
#include <QTreeWidget>

#include "app/ui/mainwin.h"
#include "controls/celltext.h"
#include "controls/volume.h"
#include "device/ui/windowhost.h"
#include "editors/projecthistory.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/differenceswin.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"
#include "controls/colorbutton.h"
#include "midi/midisystem.h"
#include "sim/orb8simulator.h"
#include "tests/apprig.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

namespace {

struct HistoryRig : AppRig {
    HistoryRig() : project(win->Documents().CurrentProject()), panel(Named<TControlPanel>(*win, "ControlPanel")) {}
    std::vector<std::string> Traffic() { return TakeLog(); }
    // Edit > Undo and Redo as the user finds them: after an idle pass.
    QString UndoText() {
        Idle();
        return Named<QAction>(*win, "UndoMenu")->text();
    }
    void Undo() {
        Idle();
        Named<QAction>(*win, "UndoMenu")->trigger();
    }
    void Redo() {
        Idle();
        Named<QAction>(*win, "RedoMenu")->trigger();
    }
    int Steps() const { return project->Session().StepCount(); }
    TProjectWindow* project;
    TControlPanel* panel;
};

}  // namespace

TEST(ProjectHistory, StepsKeepOnlyWhatChanged) {
    ProjectDocument doc;
    CustomSettingsBlock& settings = doc.customSettings;
    const ProjectState before = Capture(doc);
    doc.patches[4][ModParam2] = 9;
    doc.comments[7] = "note";
    settings[kModCustom1Slot + 2] = 40;
    ProjectStep step = ProjectStep::Between(before, doc);
    EXPECT_EQ(step.Patches(), std::vector<int>{4});
    EXPECT_EQ(step.Comments(), std::vector<int>{7});
    EXPECT_EQ(step.SettingsBytes(), std::vector<int>{kModCustom1Slot + 2});
    // Something else changes another byte of the block meanwhile: undo
    // restores only what the step changed.
    settings[kDlyCustom1Slot + 1] = 17;
    const auto undone = step.Apply(doc, true);
    ASSERT_EQ(undone.size(), 1u);
    EXPECT_EQ(undone[0].second, std::vector<int>{ModParam2});
    EXPECT_EQ(doc.patches[4], InitialPatch());
    EXPECT_EQ(doc.comments[7], "");
    EXPECT_EQ(settings[kModCustom1Slot + 2], DefaultCustomSettings()[kModCustom1Slot + 2]);
    EXPECT_EQ(settings[kDlyCustom1Slot + 1], 17);
    step.Apply(doc, false);
    EXPECT_EQ(doc.patches[4][ModParam2], 9);
    EXPECT_EQ(settings[kModCustom1Slot + 2], 40);
    // A history of 10,000 knob steps stays small.
    std::size_t bytes = 0;
    for (int i = 0; i < 10000; ++i) {
        const ProjectState b = Capture(doc);
        doc.patches[static_cast<std::size_t>(i % 80)][ModParam1] = static_cast<std::uint8_t>(i % 50);
        settings[kModCustom1Slot + 1] = static_cast<std::uint8_t>(i % 50);
        bytes += ProjectStep::Between(b, doc).MemoryBytes();
    }
    EXPECT_LT(bytes, 10u << 20);
    EXPECT_EQ(MoveStepText(3, 7), "Move U03 to U13");
    // A switch step names the module switched.
    PatchData p = InitialPatch();
    p[ModuleSwitches] = DriveOn | EqOn;
    EXPECT_EQ(EditStepText(p, settings, ModuleSwitches, EqOn), "Drive on");
    EXPECT_EQ(EditStepText(p, settings, ModuleSwitches, DriveOn | EqOn | DlyOn), "Dly/Rev off");
    EXPECT_EQ(EditStepText(p, settings, ModuleSwitches, 0), "module switch");
}

TEST(Undo, KnobDragIsOneStepAndUndoTellsTheProcessor) {
    HistoryRig h;
    h.Connect();
    AppRig::Change(h.project, [](ProjectDocument& d) { d.patches[0][ModuleSwitches] = ModOn; });
    h.project->SetCurrentRow(1);
    h.Traffic();
    const int before = h.Steps();
    TVolume* rate = Named<TVolume>(*h.panel, "ModVolume2");
    QTest::mousePress(rate, Qt::LeftButton, {}, QPoint(20, 12));
    QTest::mouseMove(rate, QPoint(12, 0));
    QTest::mouseMove(rate, QPoint(20, 4));
    QTest::mouseMove(rate, QPoint(24, 12));
    QTest::mouseRelease(rate, Qt::LeftButton, {}, QPoint(24, 12));
    EXPECT_EQ(h.Steps(), before + 1);
    EXPECT_EQ(h.UndoText(), "Undo Mod RATE");
    EXPECT_EQ(h.project->Caption(), "NoName1*");
    h.Traffic();
    h.Undo();
    EXPECT_EQ(h.project->Document().patches[0][ModParam2], 24);
    EXPECT_EQ(Named<TCellText>(*h.panel, "ModVolume2Value")->text(), "25");
    const auto sent = h.Traffic();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find("ParameterChange"), std::string::npos);
    EXPECT_EQ(sent[0].substr(0, 26), "F0 52 00 21 30 15 01 08 F7");  // byte 21 back to 24
    // Undone once more, back at the saved state: no "*"; redo: the mark again.
    EXPECT_EQ(h.project->Caption(), "NoName1*");
    h.Undo();
    EXPECT_EQ(h.project->Caption(), "NoName1");
    h.Redo();
    EXPECT_EQ(h.project->Caption(), "NoName1*");
    h.Redo();
    EXPECT_NE(h.project->Document().patches[0][ModParam2], 24);
    // A second drag is a second step.
    QTest::mousePress(rate, Qt::LeftButton, {}, QPoint(12, 0));
    QTest::mouseMove(rate, QPoint(2, 12));
    QTest::mouseRelease(rate, Qt::LeftButton, {}, QPoint(2, 12));
    EXPECT_EQ(h.Steps(), before + 2);
}

TEST(Undo, EveryKindOfStep) {
    TempDir dir;
    HistoryRig h;
    TProjectWindow* p = h.project;
    // A type change with what the type memory did.
    Named<QComboBox>(*h.panel, "DriveType")->setCurrentIndex(14);
    emit Named<QComboBox>(*h.panel, "DriveType")->activated(14);
    EXPECT_EQ(h.UndoText(), "Undo Drive type");
    h.Undo();
    EXPECT_EQ(p->Document().patches[0], InitialPatch());
    EXPECT_EQ(Named<QComboBox>(*h.panel, "DriveType")->currentIndex(), 9);
    // A move.
    AppRig::Change(p, [](ProjectDocument& d) { EncodeName("TWO", d.PatchOfRow(2)); });
    p->PatchGridMouseDown(2);
    p->PatchGridDragOver(5, false);
    p->PatchGridDragDrop(*p, 5);
    EXPECT_EQ(h.UndoText(), "Undo Move U02 to U11");
    h.Undo();
    EXPECT_EQ(DecodeName(p->Document().patches[1]), "TWO     ");
    h.Redo();
    EXPECT_EQ(DecodeName(p->Document().patches[4]), "TWO     ");
    // A paste and a comment.
    p->SetCurrentRow(5);
    h.Action("CopyMenu")->trigger();
    p->SetCurrentRow(7);
    h.Action("PasteMenu")->trigger();
    EXPECT_EQ(h.UndoText(), "Undo Paste to U13");
    Named<QPlainTextEdit>(*h.Memo(), "Memo")->setPlainText("a note");
    p->SetCurrentRow(8);
    EXPECT_EQ(h.UndoText(), "Undo Comment of U13");
    const int steps = h.Steps();
    h.Undo();
    h.Undo();
    EXPECT_EQ(p->Document().CommentOfRow(7), "");
    EXPECT_EQ(DecodeName(p->Document().patches[6]), "        ");
    EXPECT_EQ(h.Steps(), steps);
    // The mark follows the saved state.
    h.dialogs.saveNames = {QString::fromStdString(dir.Path("h"))};
    h.Action("SaveAsMenu")->trigger();
    EXPECT_FALSE(p->Doc().Modified());
    h.Redo();
    EXPECT_TRUE(p->Doc().Modified());
    h.Undo();
    EXPECT_FALSE(p->Doc().Modified());
    // A Receive All is one step.
    h.Connect();
    h.Idle();
    h.WaitExchange();
    h.Action("UploadMenu")->trigger();
    h.WaitExchange();
    EXPECT_TRUE(p->Doc().Modified());
    EXPECT_EQ(h.UndoText(), "Undo Receive All");
    h.Undo();
    EXPECT_EQ(DecodeName(p->Document().patches[4]), "TWO     ");
    EXPECT_FALSE(p->Doc().Modified());
    h.Redo();
    EXPECT_TRUE(p->Doc().Modified());
    // Saved: the mark goes, and the bank as received is what Compare shows.
    h.Idle();
    h.Action("SaveMenu")->trigger();
    EXPECT_FALSE(p->Doc().Modified());
    EXPECT_EQ(p->Session().Stored(4), p->Document().patches[4]);
}

// Undo while a comment is being typed takes back the typing, not the step
// before it (which would replace the typed text in the comment window).
TEST(Undo, TypedCommentIsTheStepUndone) {
    HistoryRig h;
    TProjectWindow* p = h.project;
    Named<QPlainTextEdit>(*h.Memo(), "Memo")->setPlainText("first");
    p->SetCurrentRow(2);
    p->SetCurrentRow(1);
    Named<QPlainTextEdit>(*h.Memo(), "Memo")->setPlainText("second");
    h.Undo();
    EXPECT_EQ(p->Document().CommentOfRow(1), "first");
    EXPECT_EQ(Named<QPlainTextEdit>(*h.Memo(), "Memo")->toPlainText(), "first");
    h.Idle();
    EXPECT_EQ(h.Action("RedoMenu")->text(), "Redo Comment of U01");
    h.Redo();
    EXPECT_EQ(p->Document().CommentOfRow(1), "second");
    EXPECT_EQ(Named<QPlainTextEdit>(*h.Memo(), "Memo")->toPlainText(), "second");
    EXPECT_EQ(h.UndoText(), "Undo Comment of U01");
}

TEST(Compare, SwitchesEditorRowAndProcessorAndRestoresExactly) {
    HistoryRig h;
    h.Connect();
    TProjectWindow* p = h.project;
    TempDir dir;
    AppRig::Change(p, [](ProjectDocument& d) { d.patches[0][ModuleSwitches] = DriveOn; });
    h.dialogs.saveNames = {QString::fromStdString(dir.Path("stored"))};
    h.Action("SaveAsMenu")->trigger();
    p->SetCurrentRow(1);
    Named<QComboBox>(*h.panel, "DriveType")->setCurrentIndex(12);
    emit Named<QComboBox>(*h.panel, "DriveType")->activated(12);  // FUZZ
    const PatchData edited = p->Document().patches[0];
    h.Traffic();
    h.Action("CompareMenu")->setChecked(true);
    EXPECT_EQ(Named<QComboBox>(*h.panel, "DriveType")->currentText(), "OVER DRV");
    EXPECT_FALSE(Named<TVolume>(*h.panel, "DriveVolume1")->isEnabled());  // read-only
    EXPECT_EQ(p->Grid()->CellText(1, 2).trimmed(), "OVER DRV");
    EXPECT_EQ(p->Document().patches[0], edited);  // the document is untouched
    const auto toStored = h.Traffic();
    EXPECT_FALSE(toStored.empty());
    h.Action("CompareMenu")->setChecked(false);
    EXPECT_EQ(p->Document().patches[0], edited);
    EXPECT_EQ(Named<QComboBox>(*h.panel, "DriveType")->currentText(), "FUZZ");
    EXPECT_EQ(p->Grid()->CellText(1, 2).trimmed(), "FUZZ");
    EXPECT_EQ(h.Traffic().size(), toStored.size());
    // Selecting another patch leaves the compare.
    h.Action("CompareMenu")->setChecked(true);
    p->SetCurrentRow(2);
    EXPECT_FALSE(h.Action("CompareMenu")->isChecked());
    EXPECT_TRUE(Named<QComboBox>(*h.panel, "DriveType")->isEnabled() || !h.panel->Editor().ModuleOn(DriveOn));
}

TEST(Compare, DifferencesWindowListsByModule) {
    HistoryRig h;
    TProjectWindow* p = h.project;
    AppRig::Change(p, [](ProjectDocument& d) {
        d.patches[2][ModParam2] = 3;
        d.patches[2][EqBass] = 20;
    });
    p->SetCurrentRow(3);
    h.Action("DifferencesMenu")->trigger();
    auto* w = h.win->findChild<TDifferencesWin*>();
    ASSERT_TRUE(w);
    ASSERT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItemCount(), 2);
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItem(0)->text(0), "MOD");
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItem(0)->child(0)->text(0), "RATE");
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItem(0)->child(0)->text(1), "4");
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItem(0)->child(0)->text(2), "25");
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItem(1)->text(0), "EQ");
    // Two patches of two projects.
    h.Action("ProjectNewMenu")->trigger();
    w->B.project->setCurrentIndex(1);
    w->B.stored->setChecked(false);
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItemCount(), 2);
    w->A.patch->setCurrentIndex(0);
    EXPECT_EQ(Named<QTreeWidget>(*w, "DifferencesList")->topLevelItem(0)->text(0), "The two patches are the same.");
}

// Compare on, off and on again on patches whose custom Mod, Dly/Rev or Drive
// type holds other values in the file than in its slot: whatever the editor
// shows, the simulated ORB-8's edit buffer holds exactly that.
TEST(Compare, CustomTypesLeaveTheProcessorHoldingWhatTheEditorShows) {
    struct Case {
        int typeByte, firstParam;
        const char* knob;  // the edited value's knob
        int editedByte;  // a custom value the test turns down
    };
    for (const Case& k : {Case{ModType, ModParam1, "ModVolume2", ModParam2},
                          Case{DlyType, DlyParam1, "DlyVolume4", DlyParam4},
                          Case{DriveType, DriveParam1, "HiCharVol", CustomCharSel + 1}}) {
        // A bank from elsewhere: the file holds the type's values as they are.
        TempDir dir;
        ProjectDocument file;
        PatchData& patch = file.patches[0];
        patch[ModuleSwitches] = DriveOn | ModOn | DlyOn | EqOn;
        patch[static_cast<std::size_t>(k.typeByte)] = 20;  // CUSTOM1
        for (int i = 0; i < 4; ++i) patch[static_cast<std::size_t>(k.firstParam + i)] = static_cast<std::uint8_t>(3 + i);
        file.fileName = dir.Path("bank.orb");
        ASSERT_TRUE(file.Save().ok());
        HistoryRig h;
        auto* p = qobject_cast<TProjectWindow*>(h.win->OpenByName(QString::fromStdString(file.fileName)));
        ASSERT_TRUE(p);
        h.Connect();
        p->SetCurrentRow(2);
        p->SetCurrentRow(1);
        h.Idle();  // the patch change writes the edit buffer
        QTest::keyClick(Named<TVolume>(*h.panel, "LvlVol"), Qt::Key_Up);
        const auto processor = [&h] {
            h.TakeLog();  // everything sent has arrived
            return h.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; });
        };
        ASSERT_EQ(processor(), *h.panel->Editor().Current()) << k.typeByte;
        // An edit of the CUSTOM type's own values (they live in the bank's
        // block): Compare shows and plays them as stored.
        const PatchData beforeEdit = *h.panel->Editor().Current();
        TVolume* knob = Named<TVolume>(*h.panel, k.knob);
        QTest::keyClick(knob, beforeEdit[static_cast<std::size_t>(k.editedByte)] > 0 ? Qt::Key_Down : Qt::Key_Up);
        const PatchData edited = *h.panel->Editor().Current();
        ASSERT_NE(edited[static_cast<std::size_t>(k.editedByte)], beforeEdit[static_cast<std::size_t>(k.editedByte)]);
        const CustomSettingsBlock block = p->Session().Settings();
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(Named<TColorButton>(*h.panel, "CompareBtn"), Qt::LeftButton);
            ASSERT_TRUE(h.Action("CompareMenu")->isChecked());
            EXPECT_EQ(processor(), *h.panel->Editor().Current()) << k.typeByte << " on, round " << round;
            EXPECT_EQ(processor()[PatchLevel], p->Session().Stored(0)[PatchLevel]);
            EXPECT_EQ(processor()[static_cast<std::size_t>(k.editedByte)], beforeEdit[static_cast<std::size_t>(k.editedByte)])
                << k.typeByte;
            EXPECT_EQ(p->Session().Settings(), block) << "comparing changed the bank's block";
            QTest::mouseClick(Named<TColorButton>(*h.panel, "CompareBtn"), Qt::LeftButton);
            EXPECT_EQ(processor(), *h.panel->Editor().Current()) << k.typeByte << " off, round " << round;
            EXPECT_EQ(processor(), p->Document().patches[0]);
            EXPECT_EQ(processor()[static_cast<std::size_t>(k.editedByte)], edited[static_cast<std::size_t>(k.editedByte)]);
        }
    }
}

// Two banks with other custom settings open at once: an edit of a CUSTOM
// patch changes its own bank's block only, and undo in one bank leaves the
// other's as it is; both are saved as they are held.
TEST(Undo, EachBankKeepsItsOwnCustomSettings) {
    TempDir dir;
    auto write = [&](const std::string& name, int base) {
        ProjectDocument file;
        file.patches[0][ModuleSwitches] = ModOn;
        file.patches[0][ModType] = 20;  // CUSTOM1
        file.customSettings[kModCustom1Slot] = static_cast<std::uint8_t>(base);
        file.customSettings[kModCustom1Slot + 2] = 10;
        file.fileName = dir.Path(name);
        EXPECT_TRUE(file.Save().ok());
        return file.customSettings;
    };
    const CustomSettingsBlock blockA = write("a.orb", 0), blockB = write("b.orb", 3);
    HistoryRig h;
    auto* a = qobject_cast<TProjectWindow*>(h.win->OpenByName(QString::fromStdString(dir.Path("a.orb"))));
    auto* b = qobject_cast<TProjectWindow*>(h.win->OpenByName(QString::fromStdString(dir.Path("b.orb"))));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Session().Settings(), blockA);
    EXPECT_EQ(b->Session().Settings(), blockB);
    auto turnDown = [&](TProjectWindow* p) {
        p->SetCurrentRow(2);
        p->SetCurrentRow(1);
        QTest::keyClick(Named<TVolume>(*h.panel, "ModVolume2"), Qt::Key_Down);
        EXPECT_EQ(p->Session().Settings()[kModCustom1Slot + 2], 9);
    };
    turnDown(a);
    const CustomSettingsBlock editedA = a->Session().Settings();
    turnDown(b);
    const CustomSettingsBlock editedB = b->Session().Settings();
    EXPECT_EQ(a->Session().Settings(), editedA);
    EXPECT_EQ(editedB[kModCustom1Slot], 3);
    a->Undo();
    EXPECT_EQ(a->Session().Settings(), blockA);
    EXPECT_EQ(b->Session().Settings(), editedB);
    a->Redo();
    h.dialogs.yesNo = true;
    ASSERT_TRUE(a->Doc().Save().ok());
    ASSERT_TRUE(b->Doc().Save().ok());
    for (const auto& [name, block] : {std::pair{"a.orb", editedA}, std::pair{"b.orb", editedB}}) {
        const auto bytes = ReadAll(dir.Path(name));
        EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + 23840)) << name;
    }
}

// In a Japanese frame the Undo menu names every kind of step in Japanese: a
// knob's module, a module switched, a type, a move of one row and of several.
TEST(Undo, AJapaneseMenuNamesTheStepsInJapanese) {
    AppRig rig({false, {}}, {}, true);
    TProjectWindow* p = rig.win->Documents().CurrentProject();
    const auto undoText = [&] {
        rig.Idle();
        return rig.Action("UndoMenu")->text();
    };
    Named<QComboBox>(*rig.Panel(), "DriveType")->setCurrentIndex(14);
    emit Named<QComboBox>(*rig.Panel(), "DriveType")->activated(14);
    EXPECT_EQ(undoText(), QString::fromUtf8("元に戻す ドライブ タイプ"));
    AppRig::Change(p, [](ProjectDocument& d) {
        for (int r = 2; r <= 4; ++r) EncodeName("ROW" + std::to_string(r), d.PatchOfRow(r));
    });
    p->PatchGridMouseDown(2);
    p->PatchGridDragOver(5, false);
    p->PatchGridDragDrop(*p, 5);
    EXPECT_EQ(undoText(), QString::fromUtf8("元に戻す U02 を U11 へ移動"));
    p->Grid()->ChooseRows(3, 4, 3);
    p->PatchGridMouseDown(3);
    p->PatchGridDragOver(9, false);
    p->PatchGridDragDrop(*p, 9);
    EXPECT_EQ(undoText(), QString::fromUtf8("元に戻す U03-U04 を U21 へ移動"));
}

