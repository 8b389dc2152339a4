#include "app/ui/devicecommands.h"

#include <QAction>
#include <QSettings>
#include <QTimer>
#include <string>

#include "app/framerules.h"
#include "device/devicelink.h"
#include "device/ui/windowhost.h"
#include "editors/ui/projectwin.h"
#include "midi/midi.h"
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

void DeviceCommands::ToggleOnLine() {
    if (midi_.OutputOpen()) {
        link_.OffLine();
        return;
    }
    for (int c = 0; c < 16; ++c)
        if (QAction* item = channelItems_[static_cast<std::size_t>(c)]) item->setText(QString::number(c + 1));
    link_.OnLine();
}

void DeviceCommands::OnChannelItem(int channel, const QString& caption, bool enabled, bool checked) {
    if (channel < 0 || channel >= 16) return;
    QAction* item = channelItems_[static_cast<std::size_t>(channel)];
    if (!item) return;
    item->setText(caption);
    item->setEnabled(enabled);
    if (checked) item->setChecked(true);
}

void DeviceCommands::ReceiveAll(TProjectWindow& project) {
    project.Session().Receive(tr("Receive All").toStdString(), [this](ProjectDocument& document) {
        const TransferResult r = link_.ReceiveAllPatches(document);
        return r != TransferResult::Declined && r != TransferResult::NotOnLine;  // else nothing was asked for
    });
}

void DeviceCommands::SendAll(TProjectWindow& project) {
    project.Settle();
    link_.SendAllPatches(project.Session().Document());
}

void DeviceCommands::EnterDesignMode() {
    if (!link_.PortsOpen()) {
        dialogs_.Inform(parent_, tr("ORB-8ED"), tr("Not be OnLine."));
        return;
    }
    if (!dialogs_.AskYesNo(parent_, tr("Designe"), tr("Enter design mode.\nExecute?"))) return;
    for (const auto& [parameter, value] : DesignModeMessages()) link_.SendParameterChange(parameter, value);
    designMode_ = true;
}

void DeviceCommands::SchedulePatchChange(TProjectWindow& project, int row) {
    // Off line nothing is scheduled.
    if (!midi_.OutputOpen()) return;
    pendingRow_ = row;
    pendingProject_ = &project;
}

void DeviceCommands::PostPendingPatchChange() {
    if (pendingRow_ == 0 || posted_) return;
    // Not inside the idle pass itself: the exchange waits in an event loop of its own.
    posted_ = true;
    QTimer::singleShot(0, this, &DeviceCommands::RunPendingPatchChange);
}

void DeviceCommands::RunPendingPatchChange() {
    posted_ = false;
    if (pendingRow_ == 0) return;
    const int patch = pendingRow_ - 1;
    pendingRow_ = 0;
    if (!midi_.OutputOpen() || !pendingProject_ || link_.Busy()) return;
    link_.PatchChange(patch, pendingProject_->Document().patches[static_cast<std::size_t>(patch)]);
}
