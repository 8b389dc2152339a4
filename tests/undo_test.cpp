// Undo and redo of every kind of change, against the document and what the
// processor hears.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QUndoStack>
#include <QCheckBox>
#include <QTreeWidget>

#include "app/ui/mainwin.h"
#include "controls/volume.h"
#include "device/ui/windowhost.h"
#include "editors/projecthistory.h"
#include "editors/ui/ctpanel.h"
#include "editors/ui/differenceswin.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"
#include "midi/midisystem.h"
#include "tests/apprig.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"

using namespace orb8;

namespace {

struct History : AppRig {
    History() : project(win->CurrentProject), panel(win->ControlPanel) {}
    std::vector<std::string> Traffic() { return TakeLog(); }
    TProjectWindow* project;
    TControlPanel* panel;
};

}  // namespace

TEST(ProjectHistory, StepsKeepOnlyWhatChanged) {
    ProjectDocument doc;
    CustomSettingsBlock settings = DefaultCustomSettings();
    const ProjectState before = Capture(doc, settings);
    doc.patches[4][ModParam2] = 9;
    doc.comments[7] = "note";
    ProjectStep step = ProjectStep::Between(before, doc, settings);
    EXPECT_EQ(step.Patches(), std::vector<int>{4});
    EXPECT_EQ(step.Comments(), std::vector<int>{7});
    const auto undone = step.Apply(doc, settings, true);
    ASSERT_EQ(undone.size(), 1u);
    EXPECT_EQ(undone[0].second, std::vector<int>{ModParam2});
    EXPECT_EQ(doc.patches[4], InitialPatch());
    EXPECT_EQ(doc.comments[7], "");
    step.Apply(doc, settings, false);
    EXPECT_EQ(doc.patches[4][ModParam2], 9);
    // A history of 10,000 knob steps stays small.
    std::size_t bytes = 0;
    for (int i = 0; i < 10000; ++i) {
        const ProjectState b = Capture(doc, settings);
        doc.patches[static_cast<std::size_t>(i % 80)][ModParam1] = static_cast<std::uint8_t>(i % 50);
        settings[kModCustom1Slot + 1] = static_cast<std::uint8_t>(i % 50);
        bytes += ProjectStep::Between(b, doc, settings).MemoryBytes();
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
    History h;
    ASSERT_EQ(h.win->Host().OpenOutput(), 0);
    h.win->Link().isOnLine = true;
    h.project->Document().patches[0][ModuleSwitches] = ModOn;
    h.project->SetCurrentRow(1);
    h.Traffic();
    QUndoStack* stack = h.project->Undo();
    TVolume* rate = h.panel->ModVolume[1].knob;
    QTest::mousePress(rate, Qt::LeftButton, {}, QPoint(20, 12));
    QTest::mouseMove(rate, QPoint(12, 0));
    QTest::mouseMove(rate, QPoint(20, 4));
    QTest::mouseMove(rate, QPoint(24, 12));
    QTest::mouseRelease(rate, Qt::LeftButton, {}, QPoint(24, 12));
    EXPECT_EQ(stack->count(), 1);
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Mod RATE");
    EXPECT_EQ(h.project->Caption(), "NoName1*");
    h.Traffic();
    h.win->UndoMenu->trigger();
    EXPECT_EQ(h.project->Document().patches[0][ModParam2], 24);
    EXPECT_EQ(h.panel->ModVolume[1].value->text(), "25");
    const auto sent = h.Traffic();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find("ParameterChange"), std::string::npos);
    EXPECT_EQ(sent[0].substr(0, 26), "F0 52 00 21 30 15 01 08 F7");  // byte 21 back to 24
    // Back at the saved state: no "*"; redo: the mark again.
    EXPECT_EQ(h.project->Caption(), "NoName1");
    h.win->RedoMenu->trigger();
    EXPECT_EQ(h.project->Caption(), "NoName1*");
    EXPECT_NE(h.project->Document().patches[0][ModParam2], 24);
    // A second drag is a second step.
    QTest::mousePress(rate, Qt::LeftButton, {}, QPoint(12, 0));
    QTest::mouseMove(rate, QPoint(2, 12));
    QTest::mouseRelease(rate, Qt::LeftButton, {}, QPoint(2, 12));
    EXPECT_EQ(stack->count(), 2);
}

TEST(Undo, EveryKindOfStep) {
    TempDir dir;
    History h;
    TProjectWindow* p = h.project;
    QUndoStack* stack = p->Undo();
    // A type change with what the type memory did.
    h.panel->DriveType->setCurrentIndex(14);
    emit h.panel->DriveType->activated(14);
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Drive type");
    h.win->UndoMenu->trigger();
    EXPECT_EQ(p->Document().patches[0], InitialPatch());
    EXPECT_EQ(h.panel->DriveType->currentIndex(), 9);
    // A move.
    EncodeName("TWO", p->Document().PatchOfRow(2));
    p->RefreshRow(2);
    p->PatchGridMouseDown(2);
    p->PatchGridDragOver(5, false);
    p->PatchGridDragDrop(*p, 5);
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Move U02 to U11");
    h.win->UndoMenu->trigger();
    EXPECT_EQ(DecodeName(p->Document().PatchOfRow(2)), "TWO     ");
    h.win->RedoMenu->trigger();
    EXPECT_EQ(DecodeName(p->Document().PatchOfRow(5)), "TWO     ");
    // A paste and a comment.
    p->SetCurrentRow(5);
    h.win->CopyMenuClick();
    p->SetCurrentRow(7);
    h.win->PasteMenuClick();
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Paste to U13");
    h.win->MemoWin->Memo->setPlainText("a note");
    p->SetCurrentRow(8);
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Comment of U13");
    const int steps = stack->count();
    h.win->UndoMenu->trigger();
    h.win->UndoMenu->trigger();
    EXPECT_EQ(p->Document().CommentOfRow(7), "");
    EXPECT_EQ(DecodeName(p->Document().PatchOfRow(7)), "        ");
    EXPECT_EQ(stack->count(), steps);
    // The mark follows the saved state.
    h.dialogs.saveNames = {QString::fromStdString(dir.Path("h"))};
    h.win->FileSaveAsExecute(p);
    EXPECT_FALSE(p->Modified());
    h.win->RedoMenu->trigger();
    EXPECT_TRUE(p->Modified());
    h.win->UndoMenu->trigger();
    EXPECT_FALSE(p->Modified());
    // A Receive All is one step.
    ASSERT_EQ(h.win->Host().OpenOutput(), 0);
    ASSERT_EQ(h.win->Host().OpenInput(), 0);
    h.win->Link().isOnLine = true;
    h.win->UploadMenuClick();
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Receive All");
    h.win->UndoMenu->trigger();
    EXPECT_EQ(DecodeName(p->Document().PatchOfRow(5)), "TWO     ");
}

// Undo while a comment is being typed takes back the typing, not the step
// before it (which would replace the typed text in the comment window).
TEST(Undo, TypedCommentIsTheStepUndone) {
    History h;
    TProjectWindow* p = h.project;
    h.win->MemoWin->Memo->setPlainText("first");
    p->SetCurrentRow(2);
    p->SetCurrentRow(1);
    h.win->MemoWin->Memo->setPlainText("second");
    h.win->UndoMenu->trigger();
    EXPECT_EQ(p->Document().CommentOfRow(1), "first");
    EXPECT_EQ(h.win->MemoWin->Memo->toPlainText(), "first");
    EXPECT_EQ(h.win->RedoMenu->text(), "Redo Comment of U01");
    h.win->RedoMenu->trigger();
    EXPECT_EQ(p->Document().CommentOfRow(1), "second");
    EXPECT_EQ(h.win->MemoWin->Memo->toPlainText(), "second");
    EXPECT_EQ(h.win->UndoMenu->text(), "Undo Comment of U01");
}

TEST(Compare, SwitchesEditorRowAndProcessorAndRestoresExactly) {
    History h;
    ASSERT_EQ(h.win->Host().OpenOutput(), 0);
    h.win->Link().isOnLine = true;
    TProjectWindow* p = h.project;
    p->Document().patches[0][ModuleSwitches] = DriveOn;
    p->TakeStored();  // as if just saved
    p->SetCurrentRow(1);
    h.panel->DriveType->setCurrentIndex(12);
    emit h.panel->DriveType->activated(12);  // FUZZ
    const PatchData edited = p->Document().patches[0];
    h.Traffic();
    h.win->CompareMenu->setChecked(true);
    EXPECT_EQ(h.panel->DriveType->currentText(), "OVER DRV");
    EXPECT_FALSE(h.panel->DriveVolume[0].knob->isEnabled());  // read-only
    EXPECT_EQ(p->Grid()->CellText(1, 2).trimmed(), "OVER DRV");
    EXPECT_EQ(p->Document().patches[0], edited);  // the document is untouched
    const auto toStored = h.Traffic();
    EXPECT_FALSE(toStored.empty());
    h.win->CompareMenu->setChecked(false);
    EXPECT_EQ(p->Document().patches[0], edited);
    EXPECT_EQ(h.panel->DriveType->currentText(), "FUZZ");
    EXPECT_EQ(p->Grid()->CellText(1, 2).trimmed(), "FUZZ");
    EXPECT_EQ(h.Traffic().size(), toStored.size());
    // Selecting another patch leaves the compare.
    h.win->CompareMenu->setChecked(true);
    p->SetCurrentRow(2);
    EXPECT_FALSE(h.win->CompareMenu->isChecked());
    EXPECT_TRUE(h.panel->DriveType->isEnabled() || !h.panel->Editor().ModuleOn(DriveOn));
}

TEST(Compare, DifferencesWindowListsByModule) {
    History h;
    TProjectWindow* p = h.project;
    p->Document().patches[2][ModParam2] = 3;
    p->Document().patches[2][EqBass] = 20;
    p->SetCurrentRow(3);
    h.win->DifferencesMenuClick();
    auto* w = h.win->findChild<TDifferencesWin*>();
    ASSERT_TRUE(w);
    ASSERT_EQ(w->List->topLevelItemCount(), 2);
    EXPECT_EQ(w->List->topLevelItem(0)->text(0), "MOD");
    EXPECT_EQ(w->List->topLevelItem(0)->child(0)->text(0), "RATE");
    EXPECT_EQ(w->List->topLevelItem(0)->child(0)->text(1), "4");
    EXPECT_EQ(w->List->topLevelItem(0)->child(0)->text(2), "25");
    EXPECT_EQ(w->List->topLevelItem(1)->text(0), "EQ");
    // Two patches of two projects.
    h.win->ProjectNewMenuClick();
    w->B.project->setCurrentIndex(1);
    w->B.stored->setChecked(false);
    EXPECT_EQ(w->List->topLevelItemCount(), 2);
    w->A.patch->setCurrentIndex(0);
    EXPECT_EQ(w->List->topLevelItem(0)->text(0), "The two patches are the same.");
}
