// The custom distortion windows driven as a user drives them, checked
// against the document, the saved bytes and the simulated ORB-8.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/ui/mainwin.h"
#include "controls/numedit.h"
#include "customdist/clipperpresets.h"
#include "customdist/ui/character.h"
#include "customdist/ui/customdistwin.h"
#include "customdist/ui/dcharwin.h"
#include "customdist/ui/filtercolumn.h"
#include "customdist/ui/responseplot.h"
#include "device/ui/windowhost.h"
#include "midi/midisystem.h"
#include "tests/apprig.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;

namespace {

struct Dist : AppRig {
    Dist() {
        Named<QAction>(*win, "CustomDistNewMenu")->trigger();
        doc = win->Documents().CurrentCustomDist();
    }
    std::vector<std::string> Traffic() { return TakeLog(); }
    TCustomDistWin* doc = nullptr;
};

// The filter numbers (byte 5) of the design messages in the log.
std::vector<int> Numbers(const std::vector<std::string>& log, const std::string& name) {
    std::vector<int> n;
    for (const auto& line : log) {
        if (line.find(name) == std::string::npos) continue;
        n.push_back(std::stoi(line.substr(15, 2), nullptr, 16));
    }
    return n;
}

}  // namespace

TEST(CustomDistWindow, DesignersAreMadeHiddenAndGoWithTheDocument) {
    Dist d;
    ASSERT_EQ(d.doc->Designers().size(), 8u);
    for (QWidget* w : d.doc->Designers()) EXPECT_FALSE(w->isVisible());
    TDstCharWin* special1 = d.doc->DistortionDesigner(0);
    Named<QPushButton>(*d.doc, "DstChar1Btn")->click();
    EXPECT_TRUE(special1->isVisible());
    EXPECT_EQ(special1->windowTitle(), "NoNameDst1/CHAR/Special1");
    EXPECT_EQ(Named<QListWidget>(*special1, "ListBox")->count(), 13);
    EXPECT_EQ(Named<QListWidget>(*special1, "ListBox")->currentItem()->text(), "Op-Amp overload");
    EXPECT_TRUE(Named<ResponsePlot>(*special1, "PaintBoxDistChar")->CurveShown());
    EXPECT_EQ(Named<TNumEdit>(*special1, "EditFreqBottom")->text(), "120");
    EXPECT_EQ(Named<QLabel>(*special1, "Result1")->text(), "Valid");
    special1->close();
    EXPECT_FALSE(special1->isVisible());
    AppRig::Touch(d.doc);
    Named<QPushButton>(*d.doc, "HiChar2Btn")->click();
    EXPECT_EQ(d.doc->ToneDesigner(1, SlotHigh)->windowTitle(), "NoNameDst1*/HIGH/Special2");
    EXPECT_EQ(Named<TNumEdit>(*d.doc->ToneDesigner(1, SlotHigh), "EditFreq")->text(), "2500");
    QPointer<QWidget> designer = special1;
    d.dialogs.saveAnswers = {UserDialogs::Answer::No};
    d.doc->SubWindow()->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(designer.isNull());
}

TEST(CustomDistWindow, LookingChangesNothingCalcAndPresetsMark) {
    TempDir dir;
    CustomDistDocument file;
    file.data.clippers[1][3] = 0x55;  // a clipper of no preset
    file.data.filters[FilterNumber(1, SlotClip1)].freq = 777;
    // Set 0's clipper is a preset's, its clip filters are not the preset's.
    file.data.clippers[0] = ClipperPresets()[2].block;
    file.data.filters[FilterNumber(0, SlotClip2)].freq = 555;
    file.fileName = dir.Path("odd.dst");
    ASSERT_TRUE(file.Save().ok());
    const auto bytes = ReadAll(file.fileName);

    Dist d;
    auto* opened = qobject_cast<TCustomDistWin*>(d.win->OpenByName(QString::fromStdString(file.fileName)));
    ASSERT_TRUE(opened);
    TDstCharWin* special2 = opened->DistortionDesigner(1);
    special2->ShowDesigner();
    EXPECT_EQ(Named<QListWidget>(*special2, "ListBox")->currentRow(), -1);  // no preset: the clipper is kept
    TDstCharWin* special1 = opened->DistortionDesigner(0);
    special1->ShowDesigner();
    EXPECT_EQ(Named<QListWidget>(*special1, "ListBox")->currentRow(), 2);  // shown as chosen, its clip filters left as they are
    EXPECT_EQ(opened->Data().filters[FilterNumber(0, SlotClip2)].freq, 555);
    opened->ToneDesigner(0, SlotMid)->ShowDesigner("x");
    EXPECT_FALSE(opened->Doc().Modified());
    d.dialogs.saveNames = {QString::fromStdString(dir.Path("back.dst"))};
    Named<QMdiArea>(*d.win, "MdiArea")->setActiveSubWindow(opened->SubWindow());
    d.Action("SaveAsMenu")->trigger();
    EXPECT_EQ(ReadAll(dir.Path("back.dst")), bytes);

    // CALC marks the document and the designer's caption once; each CALC is a
    // step, even one that changes nothing, and undoing both takes the mark back.
    QTest::mouseClick(Named<QPushButton>(*special2, "DstCharResDraw"), Qt::LeftButton);
    EXPECT_TRUE(opened->Doc().Modified());
    EXPECT_TRUE(special2->windowTitle().endsWith("*/CHAR/Special2"));
    QTest::mouseClick(Named<QPushButton>(*special2, "DstCharResDraw"), Qt::LeftButton);
    EXPECT_FALSE(special2->windowTitle().contains("**"));
    EXPECT_EQ(opened->Session().StepCount(), 2);
    d.Idle();
    d.Action("UndoMenu")->trigger();
    EXPECT_TRUE(opened->Doc().Modified());
    d.Idle();
    d.Action("UndoMenu")->trigger();
    EXPECT_FALSE(opened->Doc().Modified());
    EXPECT_EQ(opened->Caption().toStdString(), dir.Path("back.dst"));
    // A tone designer's CALC snaps the document: it is a change too, as is a preset.
    QTest::mouseClick(Named<QPushButton>(*opened->ToneDesigner(0, SlotMid), "ResDraw"), Qt::LeftButton);
    EXPECT_TRUE(opened->Doc().Modified());
    EXPECT_EQ(opened->Session().StepCount(), 1);
    Named<QListWidget>(*special2, "ListBox")->setCurrentRow(3);
    EXPECT_EQ(opened->Session().StepCount(), 2);
    EXPECT_EQ(MatchingClipperPreset(opened->Data().clippers[1]), 3);
    // The close query asks after such a change.
    d.dialogs.saveAnswers = {UserDialogs::Answer::Cancel};
    opened->SubWindow()->close();
    EXPECT_TRUE(d.dialogs.Last("save").startsWith("CustomDistFile"));
}

TEST(CustomDistWindow, TypeTextsAndCalc) {
    Dist d;
    TCharWin* low = d.doc->ToneDesigner(0, SlotLow);
    low->ShowDesigner("low");
    FilterColumnBox& c = *Named<FilterColumnBox>(*low, "Column");
    Named<QComboBox>(c, "CBfilterType")->setCurrentIndex(FilterHighPass12);
    EXPECT_FALSE(Named<TNumEdit>(c, "EditGain")->isEnabled());
    EXPECT_FALSE(Named<QLabel>(c, "GainLabel")->isEnabled());
    EXPECT_TRUE(Named<TNumEdit>(c, "EditQ")->isEnabled());
    Named<QCheckBox>(c, "Onf")->setChecked(true);
    Named<TNumEdit>(c, "EditFreq")->setText("20000");
    QTest::keyClick(Named<TNumEdit>(c, "EditFreq"), Qt::Key_Return);
    EXPECT_EQ(Named<TNumEdit>(c, "EditFreq")->text(), "13000");
    Named<TNumEdit>(c, "EditFreq")->setText("80");
    Named<TNumEdit>(c, "EditQ")->setText("5");
    QTest::keyClick(Named<TNumEdit>(c, "EditQ"), Qt::Key_Return);
    EXPECT_EQ(Named<TNumEdit>(c, "EditQ")->text(), "5.00");
    Named<TNumEdit>(c, "EditQ")->setText("0.71");
    QTest::mouseClick(Named<QPushButton>(*low, "ResDraw"), Qt::LeftButton);
    const FilterRecord& f = d.doc->Data().filters[SlotLow];
    EXPECT_EQ(f.type, FilterHighPass12);
    EXPECT_EQ(f.freq, 80);
    EXPECT_EQ(Named<QLabel>(c, "Result")->text(), "Valid");
}

TEST(CustomDistWindow, SendWithAndWithoutDesignModeAndInvalidFilters) {
    Dist d;
    d.Connect();
    d.Traffic();
    TDstCharWin* special2 = d.doc->DistortionDesigner(1);
    special2->ShowDesigner();
    QTest::mouseClick(Named<QPushButton>(*special2, "SendButton"), Qt::LeftButton);
    auto log = d.Traffic();
    EXPECT_EQ(Numbers(log, "DesignFilterWrite"), (std::vector<int>{8, 9, 10, 11, 12}));
    EXPECT_EQ(Numbers(log, "DesignClipperWrite"), (std::vector<int>{1}));
    QTest::mouseClick(Named<QPushButton>(*d.doc->ToneDesigner(1, SlotMid), "SendButton"), Qt::LeftButton);
    EXPECT_EQ(Numbers(d.Traffic(), "DesignFilterWrite"), (std::vector<int>{14}));
    d.Idle();
    d.Action("DesignMenu")->trigger();  // design mode, answered Yes
    ASSERT_TRUE(d.win->DesignMode());
    d.Traffic();
    QTest::mouseClick(Named<QPushButton>(*special2, "SendButton"), Qt::LeftButton);
    log = d.Traffic();
    EXPECT_EQ(Numbers(log, "DesignFilterWrite"), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Numbers(log, "DesignClipperWrite"), (std::vector<int>{0}));
    QTest::mouseClick(Named<QPushButton>(*d.doc->ToneDesigner(1, SlotMid), "SendButton"), Qt::LeftButton);
    EXPECT_EQ(Numbers(d.Traffic(), "DesignFilterWrite"), (std::vector<int>{6}));
    QTest::mouseClick(Named<QPushButton>(*d.doc->ToneDesigner(0, SlotLow), "SendButton"), Qt::LeftButton);
    EXPECT_EQ(Numbers(d.Traffic(), "DesignFilterWrite"), (std::vector<int>{7}));

    // An invalid filter: asked first; No sends nothing.
    FilterColumnBox& edge = *Named<FilterColumnBox>(*special2, "ColumnEdge");
    Named<QCheckBox>(edge, "EdgeOnf")->setChecked(true);
    Named<TNumEdit>(edge, "EditGainEdge")->setText("12");
    Named<TNumEdit>(edge, "EditTrimEdge")->setText("12");
    QTest::mouseClick(Named<QPushButton>(*special2, "DstCharResDraw"), Qt::LeftButton);
    EXPECT_EQ(Named<QLabel>(edge, "Result3")->text(), "invalid");
    d.dialogs.yesNo = false;
    QTest::mouseClick(Named<QPushButton>(*special2, "SendButton"), Qt::LeftButton);
    EXPECT_NE(d.dialogs.Last("question").indexOf("invalid"), -1);
    EXPECT_TRUE(Numbers(d.Traffic(), "DesignFilterWrite").empty());
}

TEST(CustomDistWindow, RecvAndStoreThroughTheWindow) {
    Dist d;
    d.Connect();
    QTest::mouseClick(Named<QPushButton>(*d.doc, "RecvBtn"), Qt::LeftButton);
    d.WaitExchange();
    EXPECT_TRUE(d.doc->Doc().Modified());
    EXPECT_EQ(d.doc->Caption(), "NoNameDst1*");
    EXPECT_EQ(MatchingClipperPreset(d.doc->Data().clippers[1]), 5);
    d.Traffic();
    QTest::mouseClick(Named<QPushButton>(*d.doc, "SendBtn"), Qt::LeftButton);
    const auto log = d.Traffic();
    int dumps = 0;
    for (const auto& line : log) dumps += line.find("FilterDump") != std::string::npos;
    EXPECT_EQ(dumps, 16);
}

TEST(CustomDistWindow, CalcPresetAndRecvAreStepsOfTheHistory) {
    Dist d;
    TDstCharWin* special1 = d.doc->DistortionDesigner(0);
    special1->ShowDesigner();
    const auto fresh = d.doc->Data().FileImage();
    Named<QCheckBox>(*special1, "BottomOnf")->setChecked(true);
    Named<TNumEdit>(*special1, "EditGainBottom")->setText("6");
    QTest::mouseClick(Named<QPushButton>(*special1, "DstCharResDraw"), Qt::LeftButton);
    Named<QListWidget>(*special1, "ListBox")->setCurrentRow(2);
    d.Idle();
    EXPECT_EQ(d.Action("UndoMenu")->text(), "Undo Clipper Modern FUZZ clipper");
    d.Action("UndoMenu")->trigger();
    EXPECT_EQ(MatchingClipperPreset(d.doc->Data().clippers[0]), 0);
    d.Idle();
    EXPECT_EQ(d.Action("UndoMenu")->text(), "Undo CALC Special1");
    d.Action("UndoMenu")->trigger();
    EXPECT_EQ(d.doc->Data().FileImage(), fresh);
    EXPECT_FALSE(d.doc->Doc().Modified());  // back at the saved state
    EXPECT_EQ(Named<QLabel>(*special1, "Result1")->text(), "Valid");
    d.Idle();
    d.Action("RedoMenu")->trigger();
    EXPECT_TRUE(d.doc->Data().filters[0].on);
    d.Connect();
    QTest::mouseClick(Named<QPushButton>(*d.doc, "RecvBtn"), Qt::LeftButton);
    d.WaitExchange();
    d.Idle();
    EXPECT_EQ(d.Action("UndoMenu")->text(), "Undo Recv");
    d.Action("UndoMenu")->trigger();
    EXPECT_EQ(MatchingClipperPreset(d.doc->Data().clippers[1]), 0);
}
