// What the windows below the frame may ask of it. The frame implements these;
// a window sees only the interface it needs, and asks the frame to act
// (go on line, receive all, open a window) through its own signals.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "patch/customsettings.h"

class DocumentWindow;
class UserDialogs;

namespace orb8 {
class Document;
struct CustomDistData;
struct CustomDistDocument;
}  // namespace orb8

// Every window: questions and messages, the status line, the language and
// the custom settings a new bank starts with.
class WindowContext {
public:
    virtual UserDialogs& Dialogs() = 0;
    virtual void ShowStatus(const QString& text) = 0;
    virtual bool JapaneseUi() const = 0;
    // The processor's custom settings block while on line.
    virtual std::optional<orb8::CustomSettingsBlock> ProcessorSettings() const = 0;
    // A document window is about to close: asks about unsaved work (saving
    // under a name of the user's choice on Yes); false keeps it open.
    virtual bool MayCloseDocument(orb8::Document& document) = 0;

protected:
    ~WindowContext() = default;
};

// The patch editor, the RTM, comment and project windows: the processor
// hears their edits as ParameterChange messages.
class EditorContext : public virtual WindowContext {
public:
    virtual void SendParameters(const std::vector<std::pair<int, int>>& bytes) = 0;

protected:
    ~EditorContext() = default;
};

// The custom distortion windows and their designers: auditions and the
// transfers of both sets.
class DesignerContext : public virtual WindowContext {
public:
    virtual bool OutputOpen() = 0;
    virtual void SendDesignToneFilter(const orb8::CustomDistData& data, int set, int slot) = 0;
    virtual void SendDesignCharacter(const orb8::CustomDistData& data, int set) = 0;
    // Both sets from and to the processor, on a thread of their own. The
    // receive fills a copy of `document`; `received` gets it on this thread
    // when something was asked for. Nothing starts while another exchange runs.
    virtual void ReceiveCustomDists(orb8::Document& target, const orb8::CustomDistDocument& document,
                                    std::function<void(const orb8::CustomDistDocument&)> received) = 0;
    virtual void StoreCustomDists(orb8::Document& target, const orb8::CustomDistDocument& document) = 0;

protected:
    ~DesignerContext() = default;
};
