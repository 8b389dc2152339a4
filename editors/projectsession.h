// A project as the window program edits it: the document, its history, the
// bank as it was last loaded, saved or received (what Compare shows), and the
// gesture that groups the changes of one drag. Every change goes through
// Perform, Undo or Redo: each applies the change, records (or walks) one step
// and returns what the processor must hear and which rows show something new;
// the windows that show the project hear the same through their listeners.
// "Modified" is where the history stands, never a flag set by hand.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editors/projecthistory.h"
#include "patch/document.h"
#include "patch/projectdocument.h"

namespace orb8 {

// What an operation reports: its step's name and what it sends itself. A
// step that brings patches from elsewhere (a paste, a drop, an import) lets
// the session send what it changed in the patch the processor plays.
struct StepReport {
    std::string text;
    std::vector<std::pair<int, int>> send;
    bool sendPlayed = false;
};

class ProjectSession : public HistorySession<ProjectStep> {
public:
    // A new bank, its CUSTOM types playing through `settings` (the
    // processor's block when on line, else the built-in one).
    explicit ProjectSession(const CustomSettingsBlock& settings = DefaultCustomSettings());

    DocumentKind Kind() const override { return DocumentKind::Project; }
    const std::string& FileName() const override { return document_.fileName; }
    const ProjectDocument& Document() const { return document_; }
    // The bank's custom settings block, as edited and as last loaded, saved
    // or received.
    const CustomSettingsBlock& Settings() const { return document_.customSettings; }
    const CustomSettingsBlock& StoredSettings() const { return storedSettings_; }

    // The one way to change the project: `operation` changes the document it
    // is given (and its custom settings) and names the step. A change of
    // nothing is no step.
    SessionChange Perform(const std::function<StepReport(ProjectDocument&)>& operation);
    // The changes between Begin and End (a knob drag from press to release)
    // are one step.
    void BeginGesture();
    void EndGesture();

    SessionChange Undo() override;
    SessionChange Redo() override;
    bool Modified() const override;

    FileResult Load() override;
    FileResult Save() override;
    void SetFileName(const std::string& path) override;
    // Unsaved work kept for recovery: the document belongs at `fileName`
    // (empty: it was never saved); the file as it is there now, if it
    // loads, is the saved state, and `image` is one step named `text` over
    // it, so the document shows modified and an undo gives the file back.
    // False (nothing changed) when `image` is no project file image.
    bool Recover(const std::string& fileName, const std::string& text, std::span<const std::uint8_t> image) override;
    // The file image a save would write now, for the recovery record. While
    // a Receive All waits for the processor (the document half changed), the
    // image of the document as it was before it.
    std::vector<std::uint8_t> FileImage() const override;

    // The bank takes another custom settings block (the processor's): one step.
    SessionChange UseSettings(const CustomSettingsBlock& settings, const std::string& text);

    // A whole bank from the processor (`receive` fills the document and says
    // whether anything came): one step, and the bank it brought is the one
    // Compare shows from now on.
    SessionChange Receive(const std::string& text, const std::function<bool(ProjectDocument&)>& receive);

    // The bank as last loaded, saved or received.
    const PatchData& Stored(int index) const { return stored_[static_cast<std::size_t>(index)]; }

    // The patch the processor plays (-1: none): undo and redo send its bytes.
    void SetPlaying(int index) { playing_ = index; }

    // Input still being typed somewhere (a comment) goes into the document
    // before any step, undo, redo, save or question about the document.
    void SetPendingInput(std::function<void()> handBack) { pendingInput_ = std::move(handBack); }
    void ClearPendingInput() {
        pendingInput_ = nullptr;
        typing_.reset();
    }
    void Settle() override;
    // The comment of patch `index` as it is being typed, before it becomes a
    // step: the project shows as unsaved and its recovery image holds it.
    void NoteTyping(int index, std::string comment);

private:
    SessionChange Record(const std::function<StepReport(ProjectDocument&)>& operation);
    SessionChange Walk(bool undo);
    // The patch the processor plays as it hears it (a CUSTOM type with its
    // slot's values) in a bank of these patches and settings, if one plays.
    std::optional<PatchData> Played(const std::array<PatchData, kPatchCount>& patches,
                                    const CustomSettingsBlock& settings) const;
    // What the processor must hear so that it holds the played patch as it
    // now is, having held `before`: the bytes that differ, in order.
    void SendPlayed(SessionChange& change, const std::optional<PatchData>& before) const;

    ProjectDocument document_;
    CustomSettingsBlock storedSettings_{};
    std::array<PatchData, kPatchCount> stored_{};
    int gesture_ = 0, nextGesture_ = 0;
    int playing_ = -1;
    bool settling_ = false;
    std::vector<std::uint8_t> imageBefore_;  // during a Receive All
    std::function<void()> pendingInput_;
    std::optional<std::pair<int, std::string>> typing_;
};

}  // namespace orb8
