// The frame's commands to the processor: going on and off line (with the
// channel items the scan writes), Receive All and Send All of a project,
// design mode, and the patch change that follows the selection of a patch.
// Each exchange is sequential code over the device link; the window host
// waits in an event loop of its own meanwhile.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>

class QAction;
class QSettings;
class QWidget;
class TMidi;
class TProjectWindow;
class UserDialogs;
class WindowDeviceHost;

namespace orb8 {
class DeviceLink;
class MidiBackend;
class MidiSystem;
}  // namespace orb8

class DeviceCommands : public QObject {
    Q_OBJECT

public:
    // Chooses the start-up ports: device 0 of each kind, or the ports
    // remembered in `settings` while they are there.
    DeviceCommands(orb8::DeviceLink& link, WindowDeviceHost& host, TMidi& midi, UserDialogs& dialogs, QWidget* parent,
                   QSettings* settings);
    // The channel menu's 16 items, which the scan for the processor writes.
    void SetChannelItems(const std::array<QAction*, 16>& items) { channelItems_ = items; }
    // The output pace items, in the order of orb8::kOutputPaces: the one
    // remembered in the settings (else a MIDI cable's) is chosen now, and a
    // choice takes effect at once and is remembered.
    void SetPaceItems(const std::array<QAction*, 4>& items);
    // A real MIDI system found after start-up: its ports join the lists, and
    // the start-up choice is made again with them unless the user has chosen
    // or opened a port meanwhile (true then: the menus show it anew).
    bool AddMidiBackend(orb8::MidiSystem& system, std::unique_ptr<orb8::MidiBackend> backend);

    // Off line when the output is open, else the scan for the processor.
    void ToggleOnLine();
    bool OnLine() const;
    void ReceiveAll(TProjectWindow& project);
    void SendAll(TProjectWindow& project);
    // Asks, then puts the processor's edit buffer into design mode.
    void EnterDesignMode();
    bool DesignMode() const { return designMode_; }

    // A patch was selected: the processor is switched to it at the next idle
    // pass (on line only).
    void SchedulePatchChange(TProjectWindow& project, int row);
    int PendingPatchChange() const { return pendingRow_; }
    // The idle pass: a pending change runs from the event loop, not inside the pass.
    void PostPendingPatchChange();
    void RunPendingPatchChange();

private:
    void ChooseStartPorts();
    void OnChannelItem(int channel, const QString& caption, bool enabled, bool checked);
    void ChoosePace(std::size_t index);

    orb8::DeviceLink& link_;
    WindowDeviceHost& host_;
    TMidi& midi_;
    UserDialogs& dialogs_;
    QWidget* parent_;
    QSettings* settings_;
    QString startOut_, startIn_;  // the ports chosen at start-up
    std::array<QAction*, 16> channelItems_{};
    QPointer<TProjectWindow> pendingProject_;
    int pendingRow_ = 0;  // index + 1 of the patch the next idle pass selects
    bool posted_ = false;
    bool designMode_ = false;
};
