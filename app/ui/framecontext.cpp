#include "app/ui/framecontext.h"

#include <QStatusBar>

#include "app/ui/devicecommands.h"
#include "app/ui/filecommands.h"
#include "device/devicelink.h"

using namespace orb8;

FrameContext::FrameContext(UserDialogs& dialogs, bool japanese, QStatusBar& status, DeviceLink& link)
    : dialogs_(dialogs), japanese_(japanese), status_(status), link_(link) {}

void FrameContext::SetCommands(FileCommands& files, DeviceCommands& device) {
    files_ = &files;
    device_ = &device;
}

void FrameContext::ShowStatus(const QString& text) { status_.showMessage(text, 6000); }

// While an exchange runs the block is its own: the one known before it stands.
std::optional<CustomSettingsBlock> FrameContext::ProcessorSettings() const {
    if (!link_.isOnLine) return std::nullopt;
    if (!link_.Busy()) known_ = link_.areas.customSettings;
    return known_;
}

// The document an exchange works on closes once the exchange has ended (aborted).
bool FrameContext::MayCloseDocument(orb8::Document& document) {
    if (!files_) return false;
    if (device_ && device_->IsTarget(document)) {
        device_->CloseAfterExchange(&document);
        return false;
    }
    return files_->MayClose(document);
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

void FrameContext::ReceiveCustomDists(orb8::Document& target, const CustomDistDocument& document,
                                      std::function<void(const CustomDistDocument&)> received) {
    if (device_) device_->ReceiveCustomDists(target, document, std::move(received));
}

void FrameContext::StoreCustomDists(orb8::Document& target, const CustomDistDocument& document) {
    if (device_) device_->StoreCustomDists(target, document);
}
