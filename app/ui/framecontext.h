// What the frame gives the windows below it: their contexts, carried out by
// the frame's parts (the dialogs, the status line, the file commands' close
// question and the link to the processor).
#pragma once

#include <functional>

#include "workspace/ui/windowcontext.h"

class DeviceCommands;
class FileCommands;
class QStatusBar;

namespace orb8 {
class DeviceLink;
}

class FrameContext : public EditorContext, public DesignerContext {
public:
    FrameContext(UserDialogs& dialogs, bool japanese, QStatusBar& status, orb8::DeviceLink& link);
    // The parts made after the windows' contexts are needed.
    void SetCommands(FileCommands& files, DeviceCommands& device);

    UserDialogs& Dialogs() override { return dialogs_; }
    void ShowStatus(const QString& text) override;
    bool JapaneseUi() const override { return japanese_; }
    std::optional<orb8::CustomSettingsBlock> ProcessorSettings() const override;
    bool MayCloseDocument(orb8::Document& document) override;
    void SendParameters(const std::vector<std::pair<int, int>>& bytes) override;
    bool OutputOpen() override;
    void SendDesignToneFilter(const orb8::CustomDistData& data, int set, int slot) override;
    void SendDesignCharacter(const orb8::CustomDistData& data, int set) override;
    void ReceiveCustomDists(orb8::Document& target, const orb8::CustomDistDocument& document,
                            std::function<void(const orb8::CustomDistDocument&)> received) override;
    void StoreCustomDists(orb8::Document& target, const orb8::CustomDistDocument& document) override;

private:
    UserDialogs& dialogs_;
    const bool japanese_;
    QStatusBar& status_;
    orb8::DeviceLink& link_;
    mutable std::optional<orb8::CustomSettingsBlock> known_;  // the processor's block, as last read
    FileCommands* files_ = nullptr;
    DeviceCommands* device_ = nullptr;
};
