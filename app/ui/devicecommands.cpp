#include "app/ui/devicecommands.h"

#include <QAction>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <string>
#include <utility>

#include "app/framerules.h"
#include "device/devicelink.h"
#include "device/ui/windowhost.h"
#include "editors/patcheditor.h"
#include "editors/projectsession.h"
#include "library/processorhistory.h"
#include "device/ui/midi.h"
#include "midi/midisystem.h"
#include "midi/pacedoutput.h"
#include "workspace/ui/userdialogs.h"

using namespace orb8;

DeviceCommands::DeviceCommands(DeviceLink& link, WindowDeviceHost& host, TMidi& midi, UserDialogs& dialogs,
                               QWidget* parent, QSettings* settings)
    : QObject(parent), link_(link), host_(host), midi_(midi), dialogs_(dialogs), parent_(parent), settings_(settings) {
    ChooseStartPorts();
    host_.onChannelItem = [this](int c, const QString& caption, bool enabled, bool checked) {
        OnChannelItem(c, caption, enabled, checked);
    };
}

void DeviceCommands::ChooseStartPorts() {
    midi_.ChooseOutput(0);
    midi_.ChooseInput(0);
    if (settings_) {
        const int out = midi_.OutputNames().indexOf(settings_->value("midi/output").toString());
        const int in = midi_.InputNames().indexOf(settings_->value("midi/input").toString());
        if (out >= 0) midi_.ChooseOutput(out);
        if (in >= 0) midi_.ChooseInput(in);
    }
    startOut_ = midi_.MidiOutName;
    startIn_ = midi_.MidiInName;
}

bool DeviceCommands::AddMidiBackend(MidiSystem& system, std::unique_ptr<MidiBackend> backend) {
    if (!backend) return false;
    const bool untouched = !midi_.OutputOpen() && !midi_.InputOpen() && midi_.MidiOutName == startOut_ &&
                           midi_.MidiInName == startIn_;
    system.AddRealBackend(std::move(backend));
    midi_.RefreshDevices();
    if (!untouched) return false;
    ChooseStartPorts();
    return true;
}

void DeviceCommands::SetPaceItems(const std::array<QAction*, 4>& items) {
    const std::string remembered = settings_ ? settings_->value("midi/pace").toString().toStdString() : std::string();
    const auto pace = OutputPaceOf(remembered);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i]) continue;
        if (kOutputPaces[i].byteTime == pace) items[i]->setChecked(true);
        connect(items[i], &QAction::triggered, this, [this, i] { ChoosePace(i); });
    }
    midi_.SetOutputPace(pace);
}

void DeviceCommands::ChoosePace(std::size_t index) {
    midi_.SetOutputPace(kOutputPaces[index].byteTime);
    if (settings_) settings_->setValue("midi/pace", QString::fromLatin1(kOutputPaces[index].key));
}

bool DeviceCommands::OnLine() const { return link_.isOnLine; }

bool DeviceCommands::ExchangeRunning() const { return host_.ExchangeRunning(); }
bool DeviceCommands::TransferRunning() const { return host_.ExchangeRunning() && !background_; }

bool DeviceCommands::IsTarget(const Document& document) const {
    return host_.ExchangeRunning() &&
           (target_.lock().get() == &document || (queued_ && queued_->target.lock().get() == &document));
}

void DeviceCommands::CloseAfterExchange(Document* document) {
    if (document) closeAfter_ = document->weak_from_this();
    else frameCloseAfter_ = true;
    host_.RequestAbort();
}

bool DeviceCommands::Start(Document* target, std::function<void()> exchange, std::function<void()> done,
                           bool background) {
    const std::weak_ptr<Document> held = target ? target->weak_from_this() : std::weak_ptr<Document>();
    if (host_.ExchangeRunning()) {
        if (queued_) return false;
        queued_ = Queued{held, target != nullptr, std::move(exchange), std::move(done), background};
        return true;
    }
    target_ = held;
    background_ = background;
    return host_.Run(std::move(exchange), [this, done = std::move(done)] {
        if (done) done();
        target_.reset();
        if (!closeAfter_.expired() || frameCloseAfter_) queued_.reset();  // a close waits: nothing more starts
        // The one asked for meanwhile, unless its document has gone.
        if (std::optional<Queued> next = std::exchange(queued_, std::nullopt)) {
            const std::shared_ptr<Document> document = next->target.lock();
            if (!next->hasTarget || document)
                Start(document.get(), std::move(next->exchange), std::move(next->done), next->background);
        }
        emit ExchangeEnded();
        // A close that waited for the exchange goes on now.
        if (const std::shared_ptr<Document> document = std::exchange(closeAfter_, {}).lock())
            emit DocumentCloseRequested(document.get());
        if (std::exchange(frameCloseAfter_, false)) emit FrameCloseRequested();
        else if (playNext_ && !host_.ExchangeRunning()) Play(*playNext_);
    });
}

void DeviceCommands::ToggleOnLine() {
    if (host_.ExchangeRunning()) return;
    if (midi_.OutputOpen()) {
        link_.OffLine();
        return;
    }
    for (int c = 0; c < 16; ++c)
        if (QAction* item = channelItems_[static_cast<std::size_t>(c)]) item->setText(QString::number(c + 1));
    Start(nullptr, [this] { link_.OnLine(); }, [this] { emit OnLineScanEnded(link_.isOnLine); });
}

void DeviceCommands::OnChannelItem(int channel, const QString& caption, bool enabled, bool checked) {
    if (channel < 0 || channel >= 16) return;
    QAction* item = channelItems_[static_cast<std::size_t>(channel)];
    if (!item) return;
    item->setText(caption);
    item->setEnabled(enabled);
    if (checked) item->setChecked(true);
}

template <class Copy, class Receive, class Apply>
void DeviceCommands::StartReceive(Document& target, std::shared_ptr<Copy> copy, Receive receive, Apply apply) {
    auto result = std::make_shared<TransferResult>(TransferResult::Busy);
    Start(
        &target, [copy, result, receive] { *result = receive(*copy); },
        [this, copy, result, weak = target.weak_from_this(), apply = std::move(apply)] {
            const std::shared_ptr<Document> document = weak.lock();
            if (!document || *result == TransferResult::Declined || *result == TransferResult::NotOnLine ||
                *result == TransferResult::Busy)
                return;  // nothing was asked for
            apply(*document, *copy, link_.lastReceived);
        });
}

// The bank as it was when the receive began takes in what arrived; the
// patches that did not arrive (after an abort) stay as they are in the bank.
void DeviceCommands::ReceiveAll(ProjectSession& project) {
    StartReceive(project, std::make_shared<ProjectDocument>(project.Document()),
                 [this](ProjectDocument& bank) { return link_.ReceiveAllPatches(bank); },
                 [this](Document& document, const ProjectDocument& received, int arrived) {
                     const int count = std::clamp(arrived, 0, kPatchCount);
                     static_cast<ProjectSession&>(document).Receive(
                         tr("Receive All", "undo step").toStdString(), [&](ProjectDocument& bank) {
                             for (int i = 0; i < count; ++i) {
                                 const auto at = static_cast<std::size_t>(i);
                                 bank.patches[at] = received.patches[at];
                                 bank.packedSlots[at] = received.packedSlots[at];
                             }
                             if (count > 0) bank.customSettings = received.customSettings;
                             return true;
                         });
                     if (count > 0) emit ProcessorBankKnown(ProcessorName(), received, count, false);
                 });
}

void DeviceCommands::SendAll(ProjectSession& project) {
    project.Settle();
    auto image = std::make_shared<ProjectDocument>(project.Document());
    auto result = std::make_shared<TransferResult>(TransferResult::Busy);
    Start(&project, [this, image, result] { *result = link_.SendAllPatches(*image); },
          [this, image, result] {
              if (*result == TransferResult::Completed) emit ProcessorBankKnown(ProcessorName(), *image, kPatchCount, true);
          });
}

void DeviceCommands::SendChanged(ProjectSession& project, const std::optional<ProjectDocument>& known, bool verify) {
    if (!link_.PortsOpen()) {
        dialogs_.InformLater(parent_, tr("ORB-8ED"), tr("Not be OnLine."));
        return;
    }
    if (!known) {
        dialogs_.AskYesNoLater(parent_, tr("Send Changed"),
                               tr("The program does not know what this ORB-8 holds yet: it learns it from a Receive All "
                                  "or a Send All.\nReceive All into a new bank first?"),
                               [this, alive = QPointer<DeviceCommands>(this)](bool yes) {
                                   if (yes && alive) emit ReceiveIntoNewBankRequested();
                               });
        return;
    }
    project.Settle();
    auto image = std::make_shared<ProjectDocument>(project.Document());
    auto held = std::make_shared<ProjectDocument>(*known);
    auto result = std::make_shared<TransferResult>(TransferResult::Busy);
    auto report = std::make_shared<DeviceLink::ChangedReport>();
    Start(
        &project, [this, image, held, result, report, verify] {
            *result = link_.SendChangedPatches(*image, *held, verify, *report);
        },
        [this, image, result, report] {
            if (report->sent.empty() && !report->settings) return;
            QStringList names;
            for (const int i : report->sent) names << QString::fromStdString(PatchLabel(i));
            const int sent = static_cast<int>(report->sent.size());
            QString text = sent == 1 ? tr("Sent 1 changed patch") : tr("Sent %1 changed patches").arg(sent);
            if (!names.isEmpty()) text += tr(" (%1)").arg(names.join(QStringLiteral(", ")));
            if (report->settings) text += tr(" and the custom settings");
            if (*result == TransferResult::Completed) {
                emit ProcessorBankKnown(ProcessorName(), *image, kPatchCount, true);
                if (report->verified && report->mismatched.empty()) text += tr("; read back, all as sent.");
                else text += '.';
            } else {
                text += tr("; the transfer ended early (%1).").arg(QString::fromUtf8(TransferResultText(*result).data()));
            }
            if (!report->mismatched.empty()) {
                QStringList wrong;
                for (const int i : report->mismatched) wrong << QString::fromStdString(PatchLabel(i));
                text += tr(" Read back otherwise than sent: %1.").arg(wrong.join(QStringLiteral(", ")));
                dialogs_.InformLater(parent_, tr("Send Changed"), text);
            }
            emit StatusMessage(text);
        });
}

bool DeviceCommands::Play(const PatchData& patch) {
    if (!link_.PortsOpen()) return false;
    playNext_ = patch;
    if (!host_.ExchangeRunning()) {
        const PatchData data = *std::exchange(playNext_, std::nullopt);
        Start(nullptr, [this, data] { link_.LoadEditBuffer(data); }, nullptr, true);
    }
    return true;
}

QString DeviceCommands::ProcessorName() const {
    return QString::fromStdString(library::ProcessorName(link_.areas.identity, link_.deviceChannel));
}

void DeviceCommands::ReceiveCustomDists(Document& target, const CustomDistDocument& document,
                                        std::function<void(const CustomDistDocument&)> received) {
    StartReceive(target, std::make_shared<CustomDistDocument>(document),
                 [this](CustomDistDocument& sets) { return link_.ReceiveAllCustomDists(sets); },
                 [this, received = std::move(received)](Document&, const CustomDistDocument& sets, int arrived) {
                     received(sets);
                     if (arrived > 0) emit ProcessorCustomDistsKnown(ProcessorName(), sets, arrived);
                 });
}

void DeviceCommands::StoreCustomDists(Document& target, const CustomDistDocument& document) {
    auto copy = std::make_shared<CustomDistDocument>(document);
    Start(&target, [this, copy] { link_.SendAllCustomDists(*copy); }, nullptr);
}

void DeviceCommands::EnterDesignMode() {
    if (!link_.PortsOpen()) {
        dialogs_.Inform(parent_, tr("ORB-8ED"), tr("Not be OnLine."));
        return;
    }
    dialogs_.AskYesNoLater(parent_, tr("Designe"), tr("Enter design mode.\nExecute?"),
                           [this, alive = QPointer<DeviceCommands>(this)](bool yes) {
                               if (!yes || !alive || !link_.PortsOpen()) return;
                               for (const auto& [parameter, value] : DesignModeMessages())
                                   link_.SendParameterChange(parameter, value);
                               designMode_ = true;
                           });
}

void DeviceCommands::SchedulePatchChange(ProjectSession& project, int row) {
    // Off line nothing is scheduled.
    if (!midi_.OutputOpen()) return;
    pendingRow_ = row;
    pendingProject_ = std::static_pointer_cast<ProjectSession>(project.shared_from_this());
}

void DeviceCommands::PostPendingPatchChange() {
    if (pendingRow_ == 0 || posted_) return;
    // Not inside the idle pass itself: the exchange waits in an event loop of its own.
    posted_ = true;
    QTimer::singleShot(0, this, &DeviceCommands::RunPendingPatchChange);
}

void DeviceCommands::RunPendingPatchChange() {
    posted_ = false;
    if (pendingRow_ == 0 || host_.ExchangeRunning()) return;  // after the running one, at a later idle pass
    const int patch = pendingRow_ - 1;
    pendingRow_ = 0;
    const std::shared_ptr<ProjectSession> project = pendingProject_.lock();
    if (!midi_.OutputOpen() || !project) return;
    const PatchData data = ShownPatch(project->Document().patches[static_cast<std::size_t>(patch)], project->Settings());
    Start(nullptr, [this, patch, data] { link_.PatchChange(patch, data); }, nullptr, true);
}
