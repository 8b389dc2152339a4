// What a tool window may do to the patch in the editor: read it, change it
// as one step of its project (sent to the processor as any edit), and group
// the changes of a drag into one step. The control panel provides it.
#pragma once

#include <QString>
#include <functional>

#include "editors/patcheditor.h"

class TProjectWindow;

class PatchEditing {
public:
    // The patch in the editor; nullptr when none is shown, or while comparing.
    virtual const orb8::PatchData* EditedPatch() const = 0;
    // "U23 CRUNCH (NoName1)".
    virtual QString EditedPatchTitle() const = 0;
    // The bank and patch index in the editor (nullptr: none).
    virtual TProjectWindow* EditedProject() const = 0;
    virtual int EditedIndex() const = 0;
    // The custom settings the edited patch plays through (its bank's).
    virtual const orb8::CustomSettingsBlock& EditedSettings() const = 0;
    // `tool` changes the patch through the editor; one step named `text`.
    virtual void PerformTool(const QString& text, const std::function<orb8::Edit(orb8::PatchEditor&)>& tool) = 0;
    virtual void BeginGesture() = 0;
    virtual void EndGesture() = 0;

protected:
    ~PatchEditing() = default;
};
