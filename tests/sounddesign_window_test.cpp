// The Sound Design window as a player uses it, on line with the simulated
// ORB-8: randomise a patch by 20 % with the EQ locked, morph it halfway back
// towards the original while the processor follows, keep the result, cancel
// another drag with Esc, and undo it all; the locks are remembered.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMdiArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QSpinBox>
#include <QTemporaryDir>

#include "controls/colorbutton.h"
#include "editors/ui/ctpanel.h"
#include "sim/factorybank.h"
#include "sim/orb8simulator.h"
#include "sounddesign/ui/patchpicker.h"
#include "sounddesign/ui/sounddesignwin.h"
#include "tests/apprig.h"
#include "tests/testfiles.h"
#include "controls/named.h"

using namespace orb8;
using design::Part;

namespace {

QStyleOptionSlider Option(const QSlider* slider) {
    QStyleOptionSlider o;
    o.initFrom(slider);
    o.orientation = slider->orientation();
    o.minimum = slider->minimum();
    o.maximum = slider->maximum();
    o.tickPosition = slider->tickPosition();
    o.tickInterval = slider->tickInterval();
    o.sliderPosition = slider->sliderPosition();
    o.sliderValue = slider->value();
    o.singleStep = slider->singleStep();
    o.pageStep = slider->pageStep();
    return o;
}

// Where the handle's centre is when the slider is at `value`.
QPoint SliderAt(const QSlider* slider, int value) {
    const QStyleOptionSlider o = Option(slider);
    QStyle* style = slider->style();
    const QRect groove = style->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, slider);
    const QRect handle = style->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, slider);
    const int x = groove.x() + handle.width() / 2 +
                  QStyle::sliderPositionFromValue(o.minimum, o.maximum, value, groove.width() - handle.width());
    return {x, handle.center().y()};
}

}  // namespace

TEST(SoundDesignWindow, RandomiseWithEqLockedMorphBackAndUndo) {
    AppRig rig;
    rig.Connect();
    TMainWin& win = *rig.win;
    TProjectWindow* project = win.Documents().CurrentProject();
    ASSERT_TRUE(project);
    const PatchData original = Unpack(FactoryBank()[4]);
    TempDir dir;
    {
        ProjectDocument bank;
        bank.patches[0] = original;
        bank.fileName = dir.Path("bank.orb");
        bank.customSettings = FactoryCustomSettings();
        ASSERT_TRUE(bank.Save().ok());
    }
    project->Doc().SetFileName(dir.Path("bank.orb"));
    ASSERT_TRUE(project->Doc().Load().ok());
    project->SetCurrentRow(1);
    win.OnIdleHandlerIdle();
    auto processor = [&] { return rig.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; }); };
    auto patch = [&] { return project->Document().patches[0]; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return processor() == original; }, 10000));

    // From the editor's button.
    QTest::mouseClick(Named<TColorButton>(*Named<TControlPanel>(win, "ControlPanel"), "DesignBtn"), Qt::LeftButton, {}, QPoint(10, 10));
    auto* design = win.findChild<TSoundDesignWin*>();
    ASSERT_TRUE(design && design->isVisible());
    EXPECT_TRUE(Named<QLabel>(*design, "PatchTitle")->text().contains("U01")) << Named<QLabel>(*design, "PatchTitle")->text().toStdString();
    // Morph and Take start from another patch than the edited one: the next row.
    EXPECT_EQ(Named<QComboBox>(*Named<PatchPicker>(*design, "MorphTarget"), "Patch")->currentIndex(), 1);
    EXPECT_EQ(Named<QComboBox>(*Named<PatchPicker>(*design, "MergeSource"), "Patch")->currentIndex(), 1);

    QCheckBox* eq = Named<QCheckBox>(*design, "Lock_eq");
    QTest::mouseClick(eq, Qt::LeftButton, {}, QPoint(8, eq->height() / 2));
    ASSERT_TRUE(eq->isChecked());
    Named<QSpinBox>(*design, "Amount")->selectAll();
    QTest::keyClicks(Named<QSpinBox>(*design, "Amount"), "20");
    Named<QLineEdit>(*design, "Seed")->selectAll();
    QTest::keyClicks(Named<QLineEdit>(*design, "Seed"), "12345");
    QTest::mouseClick(Named<QPushButton>(*design, "RandomiseBtn"), Qt::LeftButton);
    const PatchData randomised = patch();
    EXPECT_NE(randomised, original);
    for (int b = EqPresence; b <= EqBassFreq; ++b) EXPECT_EQ(randomised[static_cast<std::size_t>(b)], original[static_cast<std::size_t>(b)]) << b;
    EXPECT_EQ(randomised[ModuleSwitches] & EqOn, original[ModuleSwitches] & EqOn);
    EXPECT_EQ(DecodeName(randomised), DecodeName(original));
    win.OnIdleHandlerIdle();
    EXPECT_EQ(Named<QAction>(win, "UndoMenu")->text(), "Undo Randomise 20 %");
    EXPECT_TRUE(Named<QLabel>(*design, "Status")->text().contains("seed 12345"));
    EXPECT_NE(Named<QLineEdit>(*design, "Seed")->text(), "12345");  // the next press gives another patch
    EXPECT_TRUE(project->Doc().Modified());
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == randomised; }, 10000));

    // Halfway back towards the original (the patch as saved), heard while the slider moves.
    Named<PatchPicker>(*design, "MorphTarget")->Select(&project->Session(), 0, true);
    QSlider* slider = Named<QSlider>(*design, "MorphSlider");
    QTest::mousePress(slider, Qt::LeftButton, {}, SliderAt(slider, 0));
    QTest::mouseMove(slider, SliderAt(slider, 25));
    const PatchData quarter = patch();
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == quarter; }, 10000));
    QTest::mouseMove(slider, SliderAt(slider, 50));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, SliderAt(slider, 50));
    const int at = slider->value();
    EXPECT_NEAR(at, 50, 3);
    const PatchData half = patch();
    EXPECT_NE(half, randomised);
    win.OnIdleHandlerIdle();
    EXPECT_EQ(Named<QAction>(win, "UndoMenu")->text(), QString("Undo Morph %1 %").arg(at));
    EXPECT_EQ(project->Session().StepCount(), 2);  // the randomise, and one for the whole drag
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == half; }, 10000));

    // Esc during another drag: back to where it began, no step more.
    QTest::mousePress(slider, Qt::LeftButton, {}, SliderAt(slider, at));
    QTest::mouseMove(slider, SliderAt(slider, 90));
    EXPECT_NE(patch(), half);
    QTest::keyClick(slider, Qt::Key_Escape);
    QTest::mouseMove(slider, SliderAt(slider, 95));  // still held: nothing more happens
    EXPECT_EQ(slider->value(), at);                  // and the handle shows where the patch is
    QTest::mouseRelease(slider, Qt::LeftButton, {}, SliderAt(slider, 95));
    EXPECT_EQ(patch(), half);
    EXPECT_EQ(slider->value(), at);
    EXPECT_EQ(project->Session().StepCount(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == half; }, 10000));

    // Steps by key are one step, as a drag is.
    slider->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(slider, Qt::Key_PageUp);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(project->Session().StepCount(), 3);
    Named<QSpinBox>(*design, "Amount")->setFocus();  // the slider lets go of the keys
    const PatchData byKeys = patch();
    win.OnIdleHandlerIdle();
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(patch(), half);
    EXPECT_NE(byKeys, half);
    // The slider and the status show where the patch is after an undo.
    EXPECT_EQ(slider->value(), 0);
    EXPECT_FALSE(Named<QLabel>(*design, "Status")->text().startsWith("Morph")) << Named<QLabel>(*design, "Status")->text().toStdString();

    // Undo twice: the original, in the editor and in the processor.
    win.OnIdleHandlerIdle();
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(patch(), randomised);
    win.OnIdleHandlerIdle();
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(patch(), original);
    EXPECT_FALSE(project->Doc().Modified());
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == original; }, 10000));
}

// Rows 1..4 hold factory patches 9..12, and row 1 is in the editor.
void FourFactoryPatches(TProjectWindow* project) {
    const auto factory = FactoryBank();
    AppRig::Change(project, [&](ProjectDocument& d) {
        for (int i = 0; i < 4; ++i) d.patches[static_cast<std::size_t>(i)] = Unpack(factory[static_cast<std::size_t>(i + 8)]);
    });
    project->SetCurrentRow(1);
}

TEST(SoundDesignWindow, TakesModulesAndRemembersTheLocks) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("orb8ed.ini"), QSettings::IniFormat);
    AppRig rig;
    TMainWin& win = *rig.win;
    TProjectWindow* project = win.Documents().CurrentProject();
    FourFactoryPatches(project);
    const auto factory = FactoryBank();
    {
        TSoundDesignWin design(*Named<TControlPanel>(win, "ControlPanel"), &settings, nullptr);
        design.SetProjects({{std::static_pointer_cast<const ProjectSession>(project->SharedDoc()), "NoName1"}});
        Named<QCheckBox>(design, "Lock_level")->click();
        Named<QCheckBox>(design, "Lock_controllers")->click();

        // The Mod and Dly/Rev modules of U04, with their types and switches.
        Named<PatchPicker>(design, "MergeSource")->Select(&project->Session(), 3, false);
        Named<QCheckBox>(design, "Merge_mod")->click();
        Named<QCheckBox>(design, "Merge_dly")->click();
        QTest::mouseClick(Named<QPushButton>(design, "MergeBtn"), Qt::LeftButton);
        const PatchData& now = project->Document().patches[0];
        const PatchData& source = project->Document().patches[3];
        for (int b = ModType; b <= ModParam4; ++b) EXPECT_EQ(now[static_cast<std::size_t>(b)], source[static_cast<std::size_t>(b)]) << b;
        for (int b = DlyType; b <= DlyParam4; ++b) EXPECT_EQ(now[static_cast<std::size_t>(b)], source[static_cast<std::size_t>(b)]) << b;
        EXPECT_EQ(now[PatchLevel], Unpack(factory[8])[PatchLevel]);
        win.OnIdleHandlerIdle();
        EXPECT_TRUE(Named<QAction>(win, "UndoMenu")->text().startsWith("Undo Take modules from U04")) << Named<QAction>(win, "UndoMenu")->text().toStdString();

        // The library's patches of the same types guide a randomise when asked.
        int asked = 0;
        design.SetLibrary([&](const PatchData& like, std::uint64_t seed) {
            ++asked;
            EXPECT_EQ(like, project->Document().patches[0]);
            EXPECT_EQ(seed, 77u);
            return std::vector<PatchData>(3, Unpack(factory[20]));
        });
        ASSERT_FALSE(Named<QCheckBox>(design, "LibraryGuided")->isHidden());
        Named<QLineEdit>(design, "Seed")->setText("77");
        QTest::mouseClick(Named<QPushButton>(design, "RandomiseBtn"), Qt::LeftButton);
        EXPECT_EQ(asked, 0);
        Named<QCheckBox>(design, "LibraryGuided")->click();
        Named<QLineEdit>(design, "Seed")->setText("77");
        QTest::mouseClick(Named<QPushButton>(design, "RandomiseBtn"), Qt::LeftButton);
        EXPECT_EQ(asked, 1);

        // Nudging needs a patch to aim at.
        QTest::mouseClick(Named<QPushButton>(design, "TowardsBtn"), Qt::LeftButton);
        EXPECT_TRUE(Named<QLabel>(design, "Status")->text().contains("Choose up to four patches"));
        // A patch of the library, offered to every list, is aimed at all the way.
        const PatchData far = Unpack(factory[40]);
        design.OfferPatch(far, "FAR (old.orb U11)");
        QComboBox* list = Named<QComboBox>(*Named<PatchPicker>(design, "Target1"), "Project");
        ASSERT_EQ(list->itemText(list->count() - 1), "Library: FAR (old.orb U11)");
        list->setCurrentIndex(list->count() - 1);
        EXPECT_EQ(Named<PatchPicker>(design, "Target1")->Chosen(), far);
        Named<QSpinBox>(design, "NudgeAmount")->setValue(100);
        QTest::mouseClick(Named<QPushButton>(design, "TowardsBtn"), Qt::LeftButton);
        EXPECT_EQ(project->Document().patches[0][ModType], far[ModType]);
        EXPECT_EQ(project->Document().patches[0][DriveType], far[DriveType]);
    }
    TSoundDesignWin again(*Named<TControlPanel>(win, "ControlPanel"), &settings, nullptr);
    EXPECT_EQ(again.Locks().Text(), "level,controllers");
}

// Make Variations and the morph's steps fill a new bank, one step of it.
TEST(SoundDesignWindow, VariationsAndMorphStepsGoIntoANewBank) {
    AppRig rig;
    TMainWin& win = *rig.win;
    TProjectWindow* project = win.Documents().CurrentProject();
    FourFactoryPatches(project);
    Named<QAction>(win, "SoundDesignMenu")->trigger();
    auto* design = win.findChild<TSoundDesignWin*>();
    ASSERT_TRUE(design);
    Named<QSpinBox>(*design, "VariationCount")->setValue(5);
    const auto before = win.Documents().Windows().size();
    QTest::mouseClick(Named<QPushButton>(*design, "VariationsBtn"), Qt::LeftButton);
    ASSERT_EQ(win.Documents().Windows().size(), before + 1);
    auto* bank = qobject_cast<TProjectWindow*>(win.Documents().Windows().last().data());
    ASSERT_TRUE(bank);
    EXPECT_TRUE(bank->Doc().Modified());
    EXPECT_EQ(DecodeName(bank->Document().patches[4]).substr(6, 2), "05");
    EXPECT_EQ(bank->Document().patches[5], InitialPatch());
    EXPECT_EQ(bank->Session().StepCount(), 1);
    bank->Undo();
    EXPECT_EQ(bank->Document().patches[0], InitialPatch());

    // Back in the first bank: the morph towards U02 in 5 steps.
    Named<QMdiArea>(win, "MdiArea")->setActiveSubWindow(project->SubWindow());
    project->SetCurrentRow(1);
    Named<PatchPicker>(*design, "MorphTarget")->Select(&project->Session(), 1, false);
    QTest::mouseClick(Named<QPushButton>(*design, "MorphStepsBtn"), Qt::LeftButton);
    auto* steps = qobject_cast<TProjectWindow*>(win.Documents().Windows().last().data());
    ASSERT_TRUE(steps && steps != bank);
    PatchData last = steps->Document().patches[4], target = project->Document().patches[1];
    for (int i = 0; i < kNameLength; ++i) last[static_cast<std::size_t>(Name0 + i)] = target[static_cast<std::size_t>(Name0 + i)];
    EXPECT_EQ(last, target);
}

// Single parameters locked from the list, the recent results to go back to,
// and a pedal that the window learns moving the morph, on line.
TEST(SoundDesignWindow, ParameterLocksRecentResultsAndAPedal) {
    AppRig rig;
    rig.Connect();
    TMainWin& win = *rig.win;
    TProjectWindow* project = win.Documents().CurrentProject();
    FourFactoryPatches(project);
    win.OnIdleHandlerIdle();
    auto processor = [&] { return rig.system.Simulator()->With([](Orb8Simulator& s) { return s.editBuffer; }); };
    auto patch = [&] { return project->Document().patches[0]; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return processor() == patch(); }, 10000));
    Named<QAction>(win, "SoundDesignMenu")->trigger();
    auto* window = win.findChild<TSoundDesignWin*>();
    ASSERT_TRUE(window);
    TSoundDesignWin& design = *window;

    // Lock the patch level on its own, from the list, by keyboard.
    auto* parametersBtn = design.findChild<QPushButton*>("ParametersBtn");
    auto* parameters = design.findChild<QListView*>("ParameterLocks");
    ASSERT_TRUE(parametersBtn && parameters);
    QTest::mouseClick(parametersBtn, Qt::LeftButton);
    ASSERT_TRUE(parameters->isVisible());
    const auto found = parameters->model()->match(parameters->model()->index(0, 0), Qt::DisplayRole, "PATCH LEVEL", 1,
                                                  Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    parameters->setFocus();
    parameters->setCurrentIndex(found[0]);
    QTest::keyClick(parameters, Qt::Key_Space);
    EXPECT_EQ(found[0].data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(design.Locks().Text(), "byte50");
    EXPECT_TRUE(parametersBtn->text().contains("1 locked"));
    const PatchData start = patch();

    // Two randomisations at full strength keep it; both are listed, newest first.
    Named<QSpinBox>(design, "Amount")->setValue(100);
    Named<QLineEdit>(design, "Seed")->setText("101");
    QTest::mouseClick(Named<QPushButton>(design, "RandomiseBtn"), Qt::LeftButton);
    const PatchData first = patch();
    Named<QLineEdit>(design, "Seed")->setText("202");
    QTest::mouseClick(Named<QPushButton>(design, "RandomiseBtn"), Qt::LeftButton);
    const PatchData second = patch();
    EXPECT_NE(first, second);
    EXPECT_EQ(first[PatchLevel], start[PatchLevel]);
    EXPECT_EQ(second[PatchLevel], start[PatchLevel]);
    auto* recent = design.findChild<QListView*>("RecentResults");
    ASSERT_TRUE(recent);
    ASSERT_EQ(recent->model()->rowCount(), 2);
    EXPECT_TRUE(recent->model()->index(0, 0).data().toString().startsWith("Randomise 100 %, seed 202"));
    EXPECT_TRUE(recent->model()->index(1, 0).data().toString().contains("seed 101"));

    // Back to the first: one step, heard at once.
    const int steps = project->Session().StepCount();
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, {}, recent->visualRect(recent->model()->index(1, 0)).center());
    EXPECT_EQ(patch(), first);
    EXPECT_EQ(project->Session().StepCount(), steps + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == first; }, 10000));
    win.OnIdleHandlerIdle();
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(patch(), second);

    // Learn the processor's pedal (controller 7 on channel 1), then move it.
    auto* learn = design.findChild<QPushButton*>("LearnPedalBtn");
    auto* shown = design.findChild<QLabel*>("MorphController");
    ASSERT_TRUE(learn && shown);
    QTest::mouseClick(learn, Qt::LeftButton);
    auto pedal = [&](int value) {
        const std::uint8_t cc[] = {0xB0, 7, static_cast<std::uint8_t>(value)};
        rig.system.Simulator()->Transmit(cc);
    };
    pedal(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !learn->isChecked(); }, 10000));
    EXPECT_TRUE(shown->text().contains("controller 7 on channel 1")) << shown->text().toStdString();
    Named<PatchPicker>(design, "MorphTarget")->Select(&project->Session(), 3, false);
    pedal(64);
    pedal(127);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Named<QSlider>(design, "MorphSlider")->value() == 100; }, 10000));
    PatchData far = project->Document().patches[3], now = patch();
    for (int i = 0; i < kNameLength; ++i) far[static_cast<std::size_t>(Name0 + i)] = now[static_cast<std::size_t>(Name0 + i)];
    far[PatchLevel] = start[PatchLevel];  // still locked
    EXPECT_EQ(now, far);
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == now; }, 10000));
    // Another command ends the pedal's step; the morph is listed.
    QTest::mouseClick(Named<QPushButton>(design, "NewSeedBtn"), Qt::LeftButton);
    QTest::mouseClick(Named<QPushButton>(design, "RandomiseBtn"), Qt::LeftButton);
    EXPECT_TRUE(recent->model()->index(1, 0).data().toString().startsWith("Morph 100 % towards U04"))
        << recent->model()->index(1, 0).data().toString().toStdString();
    // The pedal's moves were one step: two undos go back to before it.
    win.OnIdleHandlerIdle();
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(patch(), now);
    win.OnIdleHandlerIdle();
    EXPECT_EQ(Named<QAction>(win, "UndoMenu")->text(), "Undo Morph 100 %");
    Named<QAction>(win, "UndoMenu")->trigger();
    EXPECT_EQ(patch(), second);
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor() == second; }, 10000));
}
