#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "controls/bitpanel.h"
#include "controls/celltext.h"
#include "controls/colorbutton.h"
#include "controls/knobgeometry.h"
#include "controls/numedit.h"
#include "controls/onidlehandler.h"
#include "controls/volume.h"

using namespace orb8;

namespace {

// A shown, active window holding one control, so that focus works.
template <class Control>
struct Shown {
    QWidget window;
    Control* control;
    QWidget* other;  // somewhere for the focus to go
    explicit Shown(QSize size) {
        control = new Control(&window);
        control->setGeometry(QRect(QPoint(10, 10), size));
        other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(0, 0, 5, 5);
        window.resize(size + QSize(40, 40));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }
};

}  // namespace

TEST(KnobGeometry, AngleMapping) {
    const int w = 25, h = 25, c = 12;
    EXPECT_EQ(KnobPositionForPointer(c, 0, w, h, 0, 127).position, 64);        // straight up
    EXPECT_EQ(KnobPositionForPointer(w - 1, c, w, h, 0, 127).position, 106);   // right
    EXPECT_EQ(KnobPositionForPointer(0, c, w, h, 0, 127).position, 21);        // left
    EXPECT_EQ(KnobPositionForPointer(c - 5, c + 5, w, h, 50, 127).position, 0);    // lower-left end
    EXPECT_EQ(KnobPositionForPointer(c + 5, c + 5, w, h, 50, 127).position, 127);  // lower-right end
    EXPECT_FALSE(KnobPositionForPointer(c, c, w, h, 50, 127).changes);          // the centre
    EXPECT_EQ(KnobPositionForPointer(c, 0, w, h, 0, 0).position, 0);           // Max 0
}

TEST(KnobGeometry, DeadZone) {
    const int w = 25, h = 25, c = 12;
    const int rightHalfX = c + 2, leftHalfX = c - 2, bottomY = c + 10;
    // From the Max end: the right half keeps Max, the left half does nothing.
    EXPECT_EQ(KnobPositionForPointer(rightHalfX, bottomY, w, h, 127, 127).position, 127);
    EXPECT_TRUE(KnobPositionForPointer(rightHalfX, bottomY, w, h, 127, 127).changes);
    EXPECT_FALSE(KnobPositionForPointer(leftHalfX, bottomY, w, h, 127, 127).changes);
    // From 0: the left half keeps 0, the right half does nothing.
    EXPECT_TRUE(KnobPositionForPointer(leftHalfX, bottomY, w, h, 0, 127).changes);
    EXPECT_FALSE(KnobPositionForPointer(rightHalfX, bottomY, w, h, 0, 127).changes);
    // From the middle it snaps to the nearer end.
    EXPECT_EQ(KnobPositionForPointer(rightHalfX, bottomY, w, h, 64, 127).position, 127);
    EXPECT_EQ(KnobPositionForPointer(leftHalfX, bottomY, w, h, 64, 127).position, 0);
}

TEST(KnobGeometry, PointerEndOnA25PixelKnob) {
    const KnobPoint zero = KnobIndicatorEnd(0, 127, 25, 25);
    const KnobPoint mid = KnobIndicatorEnd(64, 127, 25, 25);
    const KnobPoint max = KnobIndicatorEnd(127, 127, 25, 25);
    EXPECT_EQ(zero.x, 6);
    EXPECT_EQ(zero.y, 18);
    EXPECT_EQ(mid.x, 12);
    EXPECT_EQ(mid.y, 3);
    EXPECT_EQ(max.x, 18);
    EXPECT_EQ(max.y, 18);
    for (int v = 0; v <= 127; ++v) {
        const KnobPoint p = KnobIndicatorEnd(v, 127, 25, 25);
        EXPECT_LE(std::abs(p.x - 12), 9) << v;  // 0.8 x 12 = 9.6, truncated
        EXPECT_LE(std::abs(p.y - 12), 9) << v;
    }
    EXPECT_EQ(KnobIndicatorEnd(5, 0, 25, 25).x, 6);  // Max 0 points at the 0 end
}

TEST(Knob, ProgramChangesFireNothing) {
    TVolume knob;
    QSignalSpy changed(&knob, &TVolume::OnChanged);
    knob.SetPosition(200);
    EXPECT_EQ(knob.Position(), 127);
    knob.SetPosition(80);
    knob.SetMax(50);
    EXPECT_EQ(knob.Position(), 50);
    knob.SetMin(60);
    EXPECT_EQ(knob.Position(), 60);
    EXPECT_EQ(changed.count(), 0);
    knob.SetMax(0);
    knob.resize(25, 25);
    EXPECT_FALSE(knob.Render().isNull());  // Max 0 draws without dividing by zero
}

TEST(Knob, PressOnlyFocusesThenDragSetsValue) {
    Shown<TVolume> s(QSize(25, 25));
    TVolume& knob = *s.control;
    knob.SetPosition(10);
    QSignalSpy changed(&knob, &TVolume::OnChanged);
    QTest::mousePress(&knob, Qt::LeftButton, {}, QPoint(24, 12));
    EXPECT_TRUE(knob.hasFocus());
    EXPECT_TRUE(knob.Dragging());
    EXPECT_EQ(knob.Position(), 10);
    EXPECT_EQ(changed.count(), 0);
    QTest::mouseMove(&knob, QPoint(12, 0));
    EXPECT_EQ(knob.Position(), 64);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][1].toInt(), 64);
    QTest::mouseMove(&knob, QPoint(24, 12));
    EXPECT_EQ(knob.Position(), 106);
    QTest::mouseMove(&knob, QPoint(12, 12));  // the centre changes nothing
    EXPECT_EQ(changed.count(), 2);
    QTest::mouseRelease(&knob, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_FALSE(knob.Dragging());
    QTest::mouseMove(&knob, QPoint(0, 12));
    EXPECT_EQ(knob.Position(), 106);  // no drag, no change
}

TEST(Knob, KeptFaceFollowsEveryChangeOfLook) {
    TVolume knob;
    knob.resize(25, 25);
    const QImage first = knob.Render(2.0);
    EXPECT_EQ(knob.Render(2.0), first);            // the same picture from the kept face
    EXPECT_EQ(knob.Render(1.0).width(), 25);       // another scale, its own face
    EXPECT_EQ(knob.Render(2.0).width(), 50);
    knob.SetColor(Qt::red);
    EXPECT_EQ(knob.Render(2.0).pixelColor(0, 0), QColor(Qt::red));
    const QImage enabledLook = knob.Render(2.0);
    knob.setEnabled(false);
    EXPECT_NE(knob.Render(2.0), enabledLook);
    knob.setEnabled(true);
    EXPECT_EQ(knob.Render(2.0), enabledLook);
    knob.SetPosition(100);                         // only the pointer moves
    EXPECT_NE(knob.Render(2.0), enabledLook);
    QImage picture(25, 25, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    knob.SetBGnorm(picture);
    EXPECT_EQ(knob.Render(1.0).pixelColor(1, 1), QColor(Qt::blue));
    knob.resize(30, 30);
    EXPECT_EQ(knob.Render(1.0).width(), 30);
}

TEST(Knob, DisabledGivesTheFocusAway) {
    Shown<TVolume> s(QSize(25, 25));
    s.control->setFocus();
    ASSERT_TRUE(s.control->hasFocus());
    s.control->setEnabled(false);
    EXPECT_FALSE(s.control->hasFocus());
}

TEST(NumEdit, PageKeysAtTheLimits) {
    TNumEdit edit;
    edit.SetMax(10);
    edit.SetValue(5);
    QSignalSpy changed(&edit, &TNumEdit::OnChanged);
    QSignalSpy decided(&edit, &TNumEdit::OnDecided);
    QTest::keyClick(&edit, Qt::Key_PageUp);
    EXPECT_EQ(edit.Value(), 6);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(decided.count(), 0);
    edit.SetValue(10);
    changed.clear();
    QTest::keyClick(&edit, Qt::Key_PageUp);
    EXPECT_EQ(edit.Value(), 10);
    EXPECT_EQ(edit.text(), "10");
    EXPECT_EQ(changed.count(), 0);
    edit.SetValue(0);
    QTest::keyClick(&edit, Qt::Key_PageDown);
    EXPECT_EQ(edit.Value(), 0);
}

TEST(NumEdit, TypingEnterEscapeAndFocusOut) {
    Shown<TNumEdit> s(QSize(80, 24));
    TNumEdit& edit = *s.control;
    edit.SetMax(240);
    edit.SetValue(12);
    edit.setFocus();
    QSignalSpy changed(&edit, &TNumEdit::OnChanged);
    QSignalSpy decided(&edit, &TNumEdit::OnDecided);
    edit.selectAll();
    QTest::keyClicks(&edit, "500");
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.Value(), 240);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(decided.count(), 1);

    edit.selectAll();
    QTest::keyClicks(&edit, "77");
    QTest::keyClick(&edit, Qt::Key_Escape);
    EXPECT_EQ(edit.text(), "240");
    EXPECT_EQ(edit.Value(), 240);

    edit.selectAll();
    QTest::keyClicks(&edit, "a!b\"c");
    EXPECT_EQ(edit.text(), "abc");  // "!" and the double quote never reach the text
    s.other->setFocus();
    EXPECT_FALSE(edit.hasFocus());
    EXPECT_EQ(edit.Value(), 0);
    EXPECT_EQ(decided.count(), 1);  // leaving the box decides nothing

    edit.SetMin(3);
    EXPECT_EQ(edit.Value(), 3);
}

TEST(NumEdit, TextRulesAndMinAboveValue) {
    TNumEdit edit;
    edit.OnSetText = [](int v) { return QString::number(40 + 10 * v) + " Hz"; };
    edit.OnTextToVal = [](const QString& t) { return t.left(t.indexOf(' ')).toInt() / 10 - 4; };
    edit.SetMax(1296);
    edit.SetValue(96);
    EXPECT_EQ(edit.text(), "1000 Hz");
    edit.setText("2000 Hz");
    QTest::keyClick(&edit, Qt::Key_Enter);
    EXPECT_EQ(edit.Value(), 196);

    TNumEdit q;
    q.SetMin(1);
    q.SetMax(500);
    q.SetValue(1);
    QSignalSpy changed(&q, &TNumEdit::OnChanged);
    q.SetMin(5);
    EXPECT_EQ(q.Value(), 5);
    EXPECT_EQ(changed.count(), 1);
}

TEST(NumEdit, SteppingZoneClickDragAndDoubleClick) {
    Shown<TNumEdit> s(QSize(80, 24));
    TNumEdit& edit = *s.control;
    edit.SetPointerWarping(false);  // the offscreen platform does not move a pointer
    edit.SetValue(50);
    QSignalSpy decided(&edit, &TNumEdit::OnDecided);
    const QPoint upper(76, 3), lower(76, 20);

    QTest::mouseClick(&edit, Qt::LeftButton, {}, upper);
    EXPECT_EQ(edit.Value(), 51);
    EXPECT_EQ(decided.count(), 1);
    QTest::mouseClick(&edit, Qt::LeftButton, {}, lower);
    EXPECT_EQ(edit.Value(), 50);
    EXPECT_EQ(decided.count(), 2);

    // Press in the zone, drag 10 pixels up: +10, and the release adds no step.
    QTest::mousePress(&edit, Qt::LeftButton, {}, QPoint(76, 12));
    for (int y = 11; y >= 2; --y) QTest::mouseMove(&edit, QPoint(76, y));
    QTest::mouseRelease(&edit, Qt::LeftButton, {}, QPoint(76, 2));
    EXPECT_EQ(edit.Value(), 60);
    EXPECT_EQ(decided.count(), 3);

    // A double click in the upper zone steps twice. A desktop delivers press,
    // release, double click, release; QTest's double click is only the third.
    QTest::mouseClick(&edit, Qt::LeftButton, {}, upper);
    QTest::mouseDClick(&edit, Qt::LeftButton, {}, upper);
    QTest::mouseRelease(&edit, Qt::LeftButton, {}, upper);
    EXPECT_EQ(edit.Value(), 62);

    // Outside the zone a press is an ordinary text press.
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_EQ(edit.Value(), 62);
    EXPECT_TRUE(edit.InSteppingZone(QPoint(61, 0)));
    EXPECT_FALSE(edit.InSteppingZone(QPoint(60, 0)));
}

TEST(NumEdit, DragWithPointerWarping) {
    Shown<TNumEdit> s(QSize(80, 24));
    TNumEdit& edit = *s.control;
    edit.SetPointerWarping(true);
    edit.SetValue(50);
    // The pointer is put back at the middle after the press and each move, so
    // every move counts from there: 10 pixels above it is +10.
    QTest::mousePress(&edit, Qt::LeftButton, {}, QPoint(76, 5));
    QTest::mouseMove(&edit, QPoint(76, 12 - 1 - 10));
    QTest::mouseRelease(&edit, Qt::LeftButton, {}, QPoint(76, 1));
    EXPECT_EQ(edit.Value(), 60);
}

TEST(ColorButton, ClickAndPressedLook) {
    Shown<TColorButton> s(QSize(50, 25));
    TColorButton& b = *s.control;
    QSignalSpy clicked(&b, &TColorButton::OnClick);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b.ShowsPressed());
    QTest::mouseMove(&b, QPoint(80, 10));
    EXPECT_FALSE(b.ShowsPressed());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(80, 10));
    EXPECT_EQ(clicked.count(), 0);  // released outside
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    b.SetDown(true);
    EXPECT_TRUE(b.ShowsPressed());
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
}

// The colours a picture of the widget holds.
QSet<QRgb> ColoursOf(QWidget& w) {
    const QImage image = w.grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    return colours;
}

TEST(CellText, DrawsInItsColourAndGreyWhenDisabled) {
    QWidget window;
    window.setAutoFillBackground(true);
    QPalette black;
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    auto* text = new TCellText(font, Qt::AlignCenter, &window);
    text->setGeometry(0, 0, 60, 16);
    text->SetColors(Qt::red, Qt::gray);
    window.resize(60, 16);
    EXPECT_FALSE(ColoursOf(window).contains(qRgb(255, 0, 0)));  // nothing to draw yet
    text->setText("127");
    EXPECT_TRUE(ColoursOf(window).contains(qRgb(255, 0, 0)));
    text->setEnabled(false);
    EXPECT_FALSE(ColoursOf(window).contains(qRgb(255, 0, 0)));
    EXPECT_TRUE(ColoursOf(window).contains(QColor(Qt::gray).rgb()));
    text->setEnabled(true);
    text->SetColor(Qt::green);
    EXPECT_TRUE(ColoursOf(window).contains(qRgb(0, 255, 0)));
    EXPECT_EQ(text->text(), "127");
}

TEST(BitPanel, CentredOffset) {
    TBitPanel panel;
    panel.resize(101, 61);
    QPixmap picture(30, 20);
    picture.fill(Qt::red);
    panel.SetBitmap(picture);
    EXPECT_EQ(panel.PictureOrigin(), QPoint(0, 0));
    panel.SetLayout(TBitPanel::blCenter);
    EXPECT_EQ(panel.PictureOrigin(), QPoint(50 - 15, 30 - 10));
    QImage shot = panel.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(50, 30)), QColor(Qt::red));
}

// On a clock of the test's own: a pass comes once the interval has gone by,
// with the time since the last; before that the loop is woken when it is
// due, and with nothing to do it sleeps (no wake) rather than spinning.
TEST(IdleHandler, KeepsItsIntervalAndDoesNotSpin) {
    qint64 now = 0;
    TOnIdleHandler idle;
    idle.SetClock([&] { return now; });
    std::vector<int> lags;
    idle.SetInterval(100);
    idle.SetOnIdle([&](QObject*, int lag) { lags.push_back(lag); });
    now = 40;
    idle.Pass();
    EXPECT_TRUE(lags.empty());
    ASSERT_TRUE(idle.WakeScheduled());  // the loop wakes when the pass is due
    EXPECT_EQ(idle.WakeIn(), 60);
    now = 100;
    idle.Pass();
    EXPECT_EQ(lags, std::vector<int>{100});
    now = 130;
    idle.Pass();
    now = 345;  // a busy loop comes late: the lag says how late
    idle.Pass();
    EXPECT_EQ(lags, (std::vector<int>{100, 245}));

    // Done (the default): after a pass the loop sleeps until an event.
    TOnIdleHandler done;
    done.SetClock([&] { return now; });
    done.SetOnIdle([](QObject*, int) {});
    done.Pass();
    EXPECT_FALSE(done.WakeScheduled());
    // Not done: passes go on every interval, the loop asleep in between...
    done.SetDone(false);
    done.SetInterval(100);
    now += 100;
    done.Pass();
    EXPECT_TRUE(done.WakeScheduled());
    EXPECT_EQ(done.WakeIn(), 100);
    // ...but with interval 0 they wait for an event: an idle program uses no CPU.
    TOnIdleHandler busy;
    busy.SetClock([&] { return now; });
    busy.SetDone(false);
    int passes = 0;
    busy.SetOnIdle([&](QObject*, int) { ++passes; });
    busy.Pass();
    EXPECT_EQ(passes, 1);
    EXPECT_FALSE(busy.WakeScheduled());
    busy.SetVisible(false);
    busy.Pass();
    EXPECT_EQ(passes, 1);
}
