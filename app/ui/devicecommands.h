// The frame's commands to the processor: going on and off line (with the
// channel items the scan writes), Receive All and Send All of a project,
// design mode, and the patch change that follows the selection of a patch.
// Each exchange is sequential code over the device link, run on the window
// host's worker; what it received is applied to its document as one step on
// this thread when it ends. A document an exchange works on does not close
// under it: its close aborts the exchange and follows once it has ended.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "customdist/customdistdata.h"
#include "patch/projectdocument.h"

class QAction;
class QSettings;
class QWidget;
class TMidi;
class UserDialogs;
class WindowDeviceHost;

namespace orb8 {
class Document;
class ProjectSession;
class DeviceLink;
enum class TransferResult;
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
    void ReceiveAll(orb8::ProjectSession& project);
    void SendAll(orb8::ProjectSession& project);
    // The patches of `project` that differ from `known` (what the processor
    // holds as far as the program knows), read back when `verify`. Without
    // knowledge it says so and offers a Receive All into a new bank first.
    void SendChanged(orb8::ProjectSession& project, const std::optional<orb8::ProjectDocument>& known, bool verify);
    // The processor's name in its history (while on line).
    QString ProcessorName() const;
    // Plays `patch` on the processor (its edit buffer only: no bank, no
    // stored patch changes). The latest asked for goes once a running
    // exchange has ended; false off line.
    bool Play(const orb8::PatchData& patch);
    // Both custom distortion sets from the processor into a copy of
    // `document`; `received` gets it when something was asked for. Store
    // sends a copy. Nothing starts while another exchange runs.
    void ReceiveCustomDists(orb8::Document& target, const orb8::CustomDistDocument& document,
                            std::function<void(const orb8::CustomDistDocument&)> received);
    void StoreCustomDists(orb8::Document& target, const orb8::CustomDistDocument& document);
    bool ExchangeRunning() const;
    // A transfer the user started runs (not the short patch change after a
    // selection, nor a patch tried on the processor): the commands that
    // would start another are greyed meanwhile.
    bool TransferRunning() const;
    // An exchange runs (or waits to) on `document`.
    bool IsTarget(const orb8::Document& document) const;
    // The document's window closes (or the frame, with none) once the
    // running exchange has ended; the exchange is aborted.
    void CloseAfterExchange(orb8::Document* document);
    // Asks, then puts the processor's edit buffer into design mode.
    void EnterDesignMode();
    bool DesignMode() const { return designMode_; }

    // A patch was selected: the processor is switched to it at the next idle
    // pass (on line only).
    void SchedulePatchChange(orb8::ProjectSession& project, int row);
    int PendingPatchChange() const { return pendingRow_; }
    // The idle pass: a pending change runs from the event loop, not inside the pass.
    void PostPendingPatchChange();
    void RunPendingPatchChange();

signals:
    // An exchange ended and what it received is in its document.
    void ExchangeEnded();
    // The scan for the processor ended; on line when it found one.
    void OnLineScanEnded(bool onLine);
    // The frame closes again after an exchange (CloseAfterExchange(nullptr)).
    void FrameCloseRequested();
    // The document's window closes again after the exchange on it.
    void DocumentCloseRequested(const orb8::Document* document);
    // The processor (named for its history) now holds `bank`, as far as the
    // program knows: `received` patches of it arrived, or it was sent whole.
    void ProcessorBankKnown(const QString& processor, const orb8::ProjectDocument& bank, int received, bool sent);
    // Both custom distortion sets arrived from the processor (`received` filters and clippers).
    void ProcessorCustomDistsKnown(const QString& processor, const orb8::CustomDistDocument& sets, int received);
    // Learn what the processor holds: a Receive All into a new bank.
    void ReceiveIntoNewBankRequested();
    // A sentence for the status line.
    void StatusMessage(const QString& text);

private:
    bool Start(orb8::Document* target, std::function<void()> exchange, std::function<void()> done,
               bool background = false);
    // `receive(copy)` (a transfer of the link) on the worker; once it has ended,
    // `apply(target, copy, received)` takes in what arrived, unless nothing
    // was asked for (declined, off line, busy) or the document has gone.
    template <class Copy, class Receive, class Apply>
    void StartReceive(orb8::Document& target, std::shared_ptr<Copy> copy, Receive receive, Apply apply);
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
    std::weak_ptr<orb8::ProjectSession> pendingProject_;
    std::weak_ptr<orb8::Document> target_;  // the running exchange's document
    // One exchange asked for while another ran (a command given just as the
    // patch change after a selection began): it starts when that one ends.
    struct Queued {
        std::weak_ptr<orb8::Document> target;
        bool hasTarget = false;
        std::function<void()> exchange, done;
        bool background = false;
    };
    std::optional<Queued> queued_;
    std::optional<orb8::PatchData> playNext_;  // waiting for the running exchange
    std::weak_ptr<orb8::Document> closeAfter_;  // to close once it has ended
    bool frameCloseAfter_ = false;
    bool background_ = false;  // the running exchange is a patch change or a try
    int pendingRow_ = 0;  // index + 1 of the patch the next idle pass selects
    bool posted_ = false;
    bool designMode_ = false;
};
