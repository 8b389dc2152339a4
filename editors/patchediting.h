// What a tool window may do to the patch in the editor: read it, change it
// as one step of its project (sent to the processor as any edit), and group
// the changes of a drag into one step. The control panel provides it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editors/patcheditor.h"

namespace orb8 {

class ProjectSession;

class PatchEditing {
public:
    // The patch in the editor; nullptr when none is shown, or while comparing.
    virtual const PatchData* EditedPatch() const = 0;
    // "U23 CRUNCH (NoName1)".
    virtual std::string EditedPatchTitle() const = 0;
    // The bank and patch index in the editor (nullptr: none).
    virtual const ProjectSession* EditedProject() const = 0;
    virtual int EditedIndex() const = 0;
    // The custom settings the edited patch plays through (its bank's).
    virtual const CustomSettingsBlock& EditedSettings() const = 0;
    // A module's real-time modulation as the editor shows it (the compared
    // patch's while comparing).
    virtual RtmView ShownRtm(Module module) const = 0;
    // `tool` changes the patch through the editor; one step named `text`.
    virtual void PerformTool(const std::string& text, const std::function<Edit(PatchEditor&)>& tool) = 0;
    virtual void BeginGesture() = 0;
    virtual void EndGesture() = 0;

protected:
    ~PatchEditing() = default;
};

// An open project as the pickers list it: its session and its caption.
struct OpenProject {
    std::weak_ptr<const ProjectSession> session;
    std::string caption;
};

// What a list keeps for an open project, and the project a kept key names
// among `projects` (nullptr when it has closed since).
std::uintptr_t ProjectKey(const ProjectSession* project);
std::shared_ptr<const ProjectSession> ProjectOfKey(const std::vector<OpenProject>& projects, std::uintptr_t key);

}  // namespace orb8
