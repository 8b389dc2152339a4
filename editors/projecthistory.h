// The history of a project: each change is one step that keeps what it
// changed, before and after (the patches, the comments and the bytes of the
// bank's custom settings block it touched), so that undo and redo restore
// exactly that and say which bytes of a patch changed.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "patch/projectdocument.h"

namespace orb8 {

// What a project holds that its steps change.
struct ProjectState {
    std::array<PatchData, kPatchCount> patches;
    std::array<std::string, kPatchCount> comments;
    CustomSettingsBlock settings;
};
ProjectState Capture(const ProjectDocument& document);

class ProjectStep {
public:
    // What changed from before to the document as it is now.
    static ProjectStep Between(const ProjectState& before, const ProjectDocument& after);
    bool Empty() const { return patches_.empty() && comments_.empty() && settings_.empty(); }
    // Whether, all merged, it ends where it began.
    bool Unchanged() const;

    // Puts the document back as it was before the step (undo) or after it
    // (redo). Returns, per patch index, the bytes that changed, in byte order.
    std::vector<std::pair<int, std::vector<int>>> Apply(ProjectDocument& document, bool undo) const;
    // Another step of the same gesture (a knob drag): one step from the
    // first state to the last, when they touch the same patches.
    bool Merge(const ProjectStep& next);
    // Per patch index, the bytes that differ between before and after, in byte order.
    std::vector<std::pair<int, std::vector<int>>> ChangedBytes() const;
    std::vector<int> Patches() const;
    std::vector<int> Comments() const;
    // The offsets in the custom settings block that the step changes.
    std::vector<int> SettingsBytes() const;
    std::size_t MemoryBytes() const;

private:
    struct PatchPair {
        int index;
        PatchData before, after;
    };
    struct CommentPair {
        int index;
        std::string before, after;
    };
    std::vector<PatchPair> patches_;
    std::vector<CommentPair> comments_;
    struct SettingsByte {
        int offset;
        std::uint8_t before, after;
    };
    std::vector<SettingsByte> settings_;  // only the bytes that changed, in offset order
};

// The words the steps' menu texts are made of, in the user's language: the
// windows give them (English here); %1, %2, %3 stand for what the text names.
// A parameter keeps the name the processor shows for it.
struct StepWords {
    std::array<std::string, 4> modules{"Drive", "Mod", "Dly/Rev", "EQ"};
    std::string type = "type", name = "name", moduleSwitch = "module switch";
    std::string on = "%1 on", off = "%1 off";  // %1: a module
    std::string parameter = "%1 %2";           // %1: a module, %2: its parameter
    std::string move = "Move %1 to %2", moveRows = "Move %1-%2 to %3";
};

// The menu texts of the steps: "Mod RATE", "Move U03 to U07".
std::string EditStepText(const PatchData& patch, const CustomSettingsBlock& settings, int firstByte,
                         int switchesBefore = -1, const StepWords& words = {});
std::string MoveStepText(int fromRow, int toRow, const StepWords& words = {});
// "Move U01-U03 to U10": rows first..last moved to begin at row `to`.
std::string MoveRowsStepText(int first, int last, int to, const StepWords& words = {});

}  // namespace orb8
