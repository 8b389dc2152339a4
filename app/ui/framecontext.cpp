#include "app/ui/framecontext.h"

#include <QStatusBar>

#include "app/ui/devicecommands.h"
#include "app/ui/filecommands.h"
#include "device/devicelink.h"
#include "device/ui/windowhost.h"

using namespace orb8;

FrameContext::FrameContext(UserDialogs& dialogs, bool japanese, QStatusBar& status, DeviceLink& link,
                           WindowDeviceHost& host)
    : dialogs_(dialogs), japanese_(japanese), status_(status), link_(link), host_(host) {}

void FrameContext::SetCommands(FileCommands& files, DeviceCommands& device) {
    files_ = &files;
    device_ = &device;
}

void FrameContext::ShowStatus(const QString& text) { status_.showMessage(text, 6000); }

std::optional<CustomSettingsBlock> FrameContext::ProcessorSettings() const {
    if (!link_.isOnLine) return std::nullopt;
    return link_.areas.customSettings;
}

// No window goes while an exchange with the processor runs.
bool FrameContext::MayCloseDocument(DocumentWindow& window) {
    if (host_.ExchangeRunning() || !files_) return false;
    return files_->MayClose(window);
}

void FrameContext::SendParameters(const std::vector<std::pair<int, int>>& bytes) {
    for (const auto& [byte, value] : bytes) link_.SendParameterChange(byte, value);
}

bool FrameContext::OutputOpen() { return link_.OutputOpen(); }

void FrameContext::SendDesignToneFilter(const CustomDistData& data, int set, int slot) {
    link_.SendDesignToneFilter(data, set, slot, device_ && device_->DesignMode());
}

void FrameContext::SendDesignCharacter(const CustomDistData& data, int set) {
    link_.SendDesignCharacter(data, set, device_ && device_->DesignMode());
}

bool FrameContext::ReceiveCustomDists(CustomDistDocument& document) {
    const TransferResult r = link_.ReceiveAllCustomDists(document);
    return r != TransferResult::Declined && r != TransferResult::NotOnLine;  // else nothing was asked for
}

void FrameContext::StoreCustomDists(CustomDistDocument& document) { link_.SendAllCustomDists(document); }
