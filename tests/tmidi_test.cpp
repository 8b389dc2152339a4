#include <gtest/gtest.h>

#include <QApplication>
#include <QActionGroup>
#include <QMenu>
#include <QThread>
#include <QTest>
#include <future>
#include <thread>

#include "midi/portoutput.h"
#include "device/ui/midi.h"
#include "keyboard/keyboardmodel.h"

using namespace orb8;
using namespace std::chrono_literals;

namespace {

// A MIDI system the test drives: what is sent is recorded, what arrives comes
// on a thread of its own, as a real platform's input does.
struct Sent {
    std::mutex mutex;
    std::vector<std::vector<std::uint8_t>> messages;
    std::promise<void> unblock;  // a send that hangs waits for this
    std::shared_future<void> released = unblock.get_future().share();
    std::atomic<bool> hang{false};
};

struct Script {
    std::vector<std::string> outputs{"Out A", "Out B"}, inputs{"In A"};
    // Shared with the sender threads, which may outlive the test's own objects.
    std::shared_ptr<Sent> sent = std::make_shared<Sent>();
    MidiReceiveHandler input;
    int openedOutput = -1;
};

class ScriptedBackend : public MidiBackend {
public:
    explicit ScriptedBackend(Script& s) : s_(s) {}
    std::string Name() const override { return "Scripted"; }
    std::vector<std::string> OutputNames() override { return s_.outputs; }
    std::vector<std::string> InputNames() override { return s_.inputs; }
    std::unique_ptr<MidiOut> OpenOutput(int index, int& result) override {
        if (index >= static_cast<int>(s_.outputs.size())) {
            result = MidiOpenInvalidDevice;
            return nullptr;
        }
        result = MidiOpenOk;
        s_.openedOutput = index;
        std::shared_ptr<Sent> sent = s_.sent;
        return std::make_unique<SystemPortOut>(
            [sent](std::span<const std::uint8_t> m) {
                if (sent->hang) sent->released.wait();
                std::lock_guard lock(sent->mutex);
                sent->messages.emplace_back(m.begin(), m.end());
            },
            sent);
    }
    std::unique_ptr<MidiIn> OpenInput(int index, MidiReceiveHandler handler, int& result) override {
        if (index >= static_cast<int>(s_.inputs.size())) {
            result = MidiOpenInvalidDevice;
            return nullptr;
        }
        result = MidiOpenOk;
        s_.input = std::move(handler);
        struct In : MidiIn {
            Script& s;
            explicit In(Script& script) : s(script) {}
            ~In() override { s.input = {}; }
        };
        return std::make_unique<In>(s_);
    }

private:
    Script& s_;
};

std::unique_ptr<MidiSystem> SystemFor(Script& s) {
    std::vector<std::unique_ptr<MidiBackend>> backends;
    backends.push_back(std::make_unique<ScriptedBackend>(s));
    return std::make_unique<MidiSystem>(std::move(backends));
}

void Arrive(Script& s, std::vector<std::uint8_t> message) {
    std::thread platform([&] { s.input(std::move(message)); });
    platform.join();
}

struct Received {
    int recorded;
    std::vector<std::uint8_t> bytes;
    bool onUiThread;
};

void Collect(TMidi& midi, std::vector<Received>& into) {
    midi.OnLong = [&into](TMidi* m, std::uint32_t, MidiReceiveBuffer* b) {
        into.push_back({TMidi::GetBytes(b), std::vector<std::uint8_t>(b->data.begin(), b->data.begin() + b->recorded),
                        QThread::currentThread() == qApp->thread()});
        m->DeleteBuf(b);
    };
}

void Open(TMidi& midi) {
    ASSERT_EQ(midi.OpenMidiOut(), 0);
    ASSERT_EQ(midi.OpenMidiIn(), 0);
    QCoreApplication::processEvents();  // the input-open notice starts recording
}

}  // namespace

TEST(TMidi, NoDevices) {
    Script s;
    s.outputs.clear();
    s.inputs.clear();
    auto system = SystemFor(s);
    TMidi midi(*system);
    QMenu out, in;
    midi.SetMIDIOUTMenu(&out);
    midi.SetMIDIINMenu(&in);
    ASSERT_EQ(out.actions().size(), 1);
    EXPECT_EQ(out.actions()[0]->text(), "no devices");
    EXPECT_FALSE(out.actions()[0]->isEnabled());
    EXPECT_FALSE(out.actions()[0]->isChecked());
    EXPECT_EQ(in.actions()[0]->text(), "no devices");
    EXPECT_EQ(midi.OpenMidiOut(), MidiOpenInvalidDevice);
    EXPECT_EQ(midi.OpenMidiIn(), MidiOpenInvalidDevice);
    EXPECT_EQ(midi.Send(reinterpret_cast<const std::uint8_t*>("\xF0\xF7"), 2), 0);
    EXPECT_EQ(midi.AddBuf(7), 0);
    EXPECT_EQ(midi.QueuedBuffers(), 0);
}

TEST(TMidi, TheChosenDeviceIsOpenedByItsName) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    QMenu out;
    midi.SetMIDIOUTMenu(&out);
    out.actions()[1]->trigger();
    EXPECT_EQ(midi.MidiOutName, "Out B");
    // A device went away since the menu was filled: the chosen one is still opened.
    s.outputs = {"Out B"};
    ASSERT_EQ(midi.OpenMidiOut(), 0);
    EXPECT_EQ(s.openedOutput, 0);
    EXPECT_EQ(out.actions().size(), 1);  // the menu shows the list as it is now
    midi.CloseMidiOut();
    // The chosen device itself went away: nothing else is opened in its place.
    s.outputs = {"Out A", "Out C"};
    s.openedOutput = -1;
    EXPECT_EQ(midi.OpenMidiOut(), MidiOpenInvalidDevice);
    EXPECT_EQ(s.openedOutput, -1);
}

TEST(TMidi, AMenuDestroyedFirstIsNotTouchedAgain) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    auto* first = new QMenu;
    midi.SetMIDIOUTMenu(first);
    delete first;  // with the action group it owns
    QMenu second;
    midi.SetMIDIOUTMenu(&second);
    ASSERT_EQ(second.actions().size(), 2);
    midi.SetMIDIOUTMenu(&second);  // refilled: the old group goes with its items
    EXPECT_EQ(second.actions().size(), 2);
    EXPECT_EQ(second.findChildren<QActionGroup*>().size(), 1);
}

TEST(TMidi, MenusPickDevicesAndAreDisabledWhileOpen) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    QMenu out;
    midi.SetMIDIOUTMenu(&out);
    ASSERT_EQ(out.actions().size(), 2);
    EXPECT_TRUE(out.actions()[0]->isChecked());
    out.actions()[1]->trigger();
    EXPECT_EQ(midi.MidiOutID, 1);
    EXPECT_TRUE(out.actions()[1]->isChecked());
    EXPECT_FALSE(out.actions()[0]->isChecked());
    ASSERT_EQ(midi.OpenMidiOut(), 0);
    for (QAction* a : out.actions()) EXPECT_FALSE(a->isEnabled());
    midi.CloseMidiOut();
    for (QAction* a : out.actions()) EXPECT_TRUE(a->isEnabled());
}

TEST(TMidi, BuffersFillInOrderOnTheUiThreadAndALongerMessageIsNotTheReply) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    std::vector<Received> got;
    Collect(midi, got);
    Open(midi);
    midi.AddBuf(7);
    midi.AddBuf(20);
    // A late patch dump of an aborted exchange: longer than the acknowledgement's buffer.
    std::vector<std::uint8_t> dump(91, 0x01);
    dump.front() = 0xF0;
    dump.back() = 0xF7;
    Arrive(s, dump);
    Arrive(s, {0xF0, 0x52, 0x00, 0x21, 0x11, 0xF7});
    Arrive(s, {0xF0, 0x7E, 0x00, 0x06, 0x02, 0xF7});
    EXPECT_TRUE(got.empty());  // nothing before the UI thread runs
    QCoreApplication::processEvents();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].recorded, 6);
    EXPECT_EQ(got[0].bytes, (std::vector<std::uint8_t>{0xF0, 0x52, 0x00, 0x21, 0x11, 0xF7}));
    EXPECT_EQ(got[1].recorded, 6);
    EXPECT_TRUE(got[0].onUiThread);
    EXPECT_TRUE(got[1].onUiThread);
}

TEST(TMidi, SysExWithNoBufferIsDroppedAndResetReturnsEveryBuffer) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    std::vector<Received> got;
    Collect(midi, got);
    Open(midi);
    Arrive(s, {0xF0, 0x52, 0x00, 0x21, 0x11, 0xF7});  // no buffer queued: lost
    midi.AddBuf(7);
    QCoreApplication::processEvents();
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(midi.QueuedBuffers(), 1);
    midi.AddBuf(91);
    midi.Reset();
    ASSERT_EQ(got.size(), 2u);  // both came back before Reset returned
    EXPECT_EQ(got[0].recorded, 0);
    EXPECT_EQ(got[1].recorded, 0);
    EXPECT_EQ(midi.QueuedBuffers(), 0);
}

TEST(TMidi, NothingIsRecordedBeforeStartOrWhenOnOpenSaysNo) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    std::vector<Received> got;
    Collect(midi, got);
    midi.OnOpen = [](TMidi*, bool& proceed) { proceed = false; };
    ASSERT_EQ(midi.OpenMidiIn(), 0);
    QCoreApplication::processEvents();
    midi.AddBuf(7);
    Arrive(s, {0xF0, 0x52, 0x00, 0x21, 0x11, 0xF7});
    QCoreApplication::processEvents();
    EXPECT_TRUE(got.empty());
    midi.Start();
    Arrive(s, {0xF0, 0x52, 0x00, 0x21, 0x11, 0xF7});
    QCoreApplication::processEvents();
    EXPECT_EQ(got.size(), 1u);
    midi.CloseMidiIn();
    EXPECT_FALSE(midi.InputOpen());
}

TEST(TMidi, ShortMessagesAndThru) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    std::vector<std::uint32_t> data;
    midi.OnData = [&](TMidi*, bool& pass, std::uint32_t m) {
        data.push_back(m);
        pass = (m & 0xFF) != 0xC0;  // program changes are not echoed
    };
    midi.Thru = true;
    Open(midi);
    Arrive(s, {0x90, 60, 100});
    Arrive(s, {0xC0, 5});
    QCoreApplication::processEvents();
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0], 0x90u | (60u << 8) | (100u << 16));
    midi.CloseMidiOut();  // lets what is queued go out
    std::lock_guard lock(s.sent->mutex);
    ASSERT_EQ(s.sent->messages.size(), 1u);
    EXPECT_EQ(s.sent->messages[0], (std::vector<std::uint8_t>{0x90, 60, 100}));
}

TEST(TMidi, SendCopiesAndNeverBlocksEvenWhenTheSystemHangs) {
    Script s;
    auto system = SystemFor(s);
    TMidi midi(*system);
    ASSERT_EQ(midi.OpenMidiOut(), 0);
    std::vector<std::uint8_t> message = {0xF0, 0x52, 0x00, 0x21, 0x10, 0xF7};
    midi.Send(message.data(), static_cast<int>(message.size()));
    message[4] = 0x00;  // the caller's bytes may change at once
    midi.CloseMidiOut();
    {
        std::lock_guard lock(s.sent->mutex);
        ASSERT_EQ(s.sent->messages.size(), 1u);
        EXPECT_EQ(s.sent->messages[0][4], 0x10);
    }

    // A MIDI system that stops taking messages: sends still return (a send
    // that waited for the port would never come back), and the close gives up.
    s.sent->hang = true;
    ASSERT_EQ(midi.OpenMidiOut(), 0);
    for (int i = 0; i < 50; ++i) midi.Send(message.data(), static_cast<int>(message.size()));
    EXPECT_FALSE(midi.DrainOutput(0ms));
    midi.CloseMidiOut();
    EXPECT_FALSE(midi.OutputOpen());
    s.sent->unblock.set_value();  // the stuck sender thread can finish now
}

// --- The virtual keyboard -------------------------------------------------------

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>

#include "keyboard/ui/gkbdwin.h"
#include "controls/named.h"

namespace {
using orb8::KeyRect;
// What reached the port since the last call, once everything sent has gone out.
std::vector<std::vector<std::uint8_t>> Sent(Script& s, TMidi& midi) {
    EXPECT_TRUE(midi.DrainOutput(5000ms));
    std::lock_guard lock(s.sent->mutex);
    auto out = s.sent->messages;
    s.sent->messages.clear();
    return out;
}
QPoint KeyCentre(const TGkbdWin& k, int note) {
    const KeyRect r = k.Geometry().Key(note);
    return QPoint((r.left + r.right) / 2, r.bottom - 5);
}
}  // namespace

TEST(Keyboard, NotesProgramsControllersAndSizes) {
    Script s;
    auto system = SystemFor(s);
    QWidget owner;
    TMidi midi(*system, &owner);
    midi.SetKeyboardMaker([](KeyboardPort& port, QWidget* parent) { return new TGkbdWin(port, parent); });
    midi.OpenKBD();
    auto* kbd = qobject_cast<TGkbdWin*>(midi.Keyboard());
    ASSERT_TRUE(kbd);
    EXPECT_EQ(kbd->windowTitle(), "Graphic KBD");
    // With the output closed nothing is sent, and the status bar says so.
    QTest::mousePress(Named<QWidget>(*kbd, "KBDimage"), Qt::LeftButton, {}, KeyCentre(*kbd, 0));
    EXPECT_NE(Named<QStatusBar>(*kbd, "StatusBar")->currentMessage().indexOf("closed"), -1);
    QTest::mouseRelease(Named<QWidget>(*kbd, "KBDimage"), Qt::LeftButton, {}, KeyCentre(*kbd, 0));
    ASSERT_EQ(midi.OpenMidiOut(), 0);
    EXPECT_TRUE(Sent(s, midi).empty());

    QTest::mouseMove(Named<QWidget>(*kbd, "KBDimage"), KeyCentre(*kbd, 0));
    EXPECT_EQ(Named<QStatusBar>(*kbd, "StatusBar")->currentMessage(), "C-1(0)");
    QTest::mousePress(Named<QWidget>(*kbd, "KBDimage"), Qt::LeftButton, {}, KeyCentre(*kbd, 0));
    EXPECT_EQ(Sent(s, midi), (std::vector<std::vector<std::uint8_t>>{{0x90, 0, 100}}));
    QTest::mouseRelease(Named<QWidget>(*kbd, "KBDimage"), Qt::LeftButton, {}, KeyCentre(*kbd, 0));
    Sent(s, midi);
    // Dragging from C4 to D4: off for 60, on for 62.
    QTest::mousePress(Named<QWidget>(*kbd, "KBDimage"), Qt::LeftButton, {}, KeyCentre(*kbd, 60));
    QTest::mouseMove(Named<QWidget>(*kbd, "KBDimage"), KeyCentre(*kbd, 62));
    EXPECT_EQ(kbd->SoundingNote(), 62);
    EXPECT_EQ(Sent(s, midi), (std::vector<std::vector<std::uint8_t>>{{0x90, 60, 100}, {0x80, 60, 0x40}, {0x90, 62, 100}}));
    QTest::mouseRelease(Named<QWidget>(*kbd, "KBDimage"), Qt::LeftButton, {}, KeyCentre(*kbd, 62));
    Sent(s, midi);

    // A program typed as 200 is taken as 127; a bank sends its controller and the program.
    Named<QSpinBox>(*kbd, "ChEdit")->setValue(3);
    Named<QSpinBox>(*kbd, "PrgEdit")->setValue(200);
    EXPECT_EQ(Named<QSpinBox>(*kbd, "PrgEdit")->value(), 127);
    Named<QSpinBox>(*kbd, "BankEdit")->setValue(2);
    EXPECT_EQ(Sent(s, midi), (std::vector<std::vector<std::uint8_t>>{{0xC2, 127}, {0xB2, 0, 2}, {0xC2, 127}}));
    // The value step: nothing without a message chosen; pitch bend; a controller.
    Named<QSpinBox>(*kbd, "ValEdit")->setValue(90);
    EXPECT_TRUE(Sent(s, midi).empty());
    Named<QComboBox>(*kbd, "MessCombo")->setCurrentIndex(0);
    Named<QSpinBox>(*kbd, "ValEdit")->setValue(64);
    Named<QComboBox>(*kbd, "MessCombo")->setCurrentIndex(7);
    EXPECT_EQ(Named<QComboBox>(*kbd, "MessCombo")->currentText().left(10), "7 - Volume");
    Named<QSpinBox>(*kbd, "ValEdit")->setValue(10);
    EXPECT_EQ(Sent(s, midi), (std::vector<std::vector<std::uint8_t>>{{0xE2, 0, 64}, {0xB2, 7, 10}}));
    EXPECT_EQ(Named<QComboBox>(*kbd, "MessCombo")->count(), 96);
    EXPECT_EQ(Named<QComboBox>(*kbd, "MessCombo")->itemText(95), "95 - Phaser     ");

    // Key sizes.
    Named<QPushButton>(*kbd, "SmallBtn")->click();
    EXPECT_EQ(kbd->Geometry().KeyWidth(), 9);
    EXPECT_EQ(kbd->Geometry().KeyHeight(), 72);
    Named<QPushButton>(*kbd, "BigBtn")->click();
    Named<QPushButton>(*kbd, "BigBtn")->click();
    EXPECT_EQ(kbd->Geometry().KeyWidth(), 11);
    EXPECT_EQ(Named<QWidget>(*kbd, "KBDimage")->width(), 70 * 11 + 1);
    // Shown on every call, freed by CloseKBD.
    QPointer<TGkbdWin> window = kbd;
    kbd->close();
    midi.OpenKBD();
    EXPECT_EQ(midi.Keyboard(), kbd);
    EXPECT_TRUE(kbd->isVisible());
    midi.CloseKBD();
    EXPECT_TRUE(window.isNull());
}
