#include "editors/projectsession.h"

#include <algorithm>

#include "editors/patcheditor.h"

namespace orb8 {

ProjectSession::ProjectSession(const CustomSettingsBlock& settings) {
    document_.customSettings = settings;
    stored_ = document_.patches;
    storedSettings_ = settings;
}

void ProjectSession::Settle() {
    if (settling_ || !pendingInput_) return;
    settling_ = true;
    pendingInput_();
    settling_ = false;
    typing_.reset();
}

SessionChange ProjectSession::Perform(const std::function<StepReport(ProjectDocument&)>& operation) {
    const SessionChange change = Record(operation);
    if (change.stepped) Tell(change);
    return change;
}

SessionChange ProjectSession::Record(const std::function<StepReport(ProjectDocument&)>& operation) {
    Settle();
    const ProjectState before = Capture(document_);
    StepReport report = operation(document_);
    ProjectStep step = ProjectStep::Between(before, document_);
    SessionChange change;
    change.send = std::move(report.send);
    if (step.Empty()) return change;
    change.patches = step.ChangedBytes();
    change.comments = step.Comments();
    change.settings = step.SettingsBytes();
    change.stepped = true;
    if (report.sendPlayed) SendPlayed(change, Played(before.patches, before.settings));
    history_.Push(std::move(step), std::move(report.text), gesture_);
    return change;
}

void ProjectSession::BeginGesture() { gesture_ = ++nextGesture_; }
void ProjectSession::EndGesture() {
    // A gesture that came back to where it began (a drag let go where it
    // started, a morph cancelled) is no step.
    const auto* current = history_.CurrentOfGesture(gesture_);
    gesture_ = 0;
    if (!current || !current->step.Unchanged()) return;
    history_.DropCurrent();
    Tell(SessionChange{});
}

SessionChange ProjectSession::Undo() { return Walk(true); }
SessionChange ProjectSession::Redo() { return Walk(false); }

SessionChange ProjectSession::Walk(bool undo) {
    Settle();
    gesture_ = 0;
    SessionChange change;
    const auto* entry = undo ? history_.Undo() : history_.Redo();
    if (!entry) return change;
    const std::optional<PatchData> played = Played(document_.patches, document_.customSettings);
    change.patches = entry->step.Apply(document_, undo);
    change.comments = entry->step.Comments();
    change.settings = entry->step.SettingsBytes();
    change.stepped = true;
    SendPlayed(change, played);
    Tell(change);
    return change;
}

std::optional<PatchData> ProjectSession::Played(const std::array<PatchData, kPatchCount>& patches,
                                                const CustomSettingsBlock& settings) const {
    if (!ProjectDocument::ValidRow(playing_ + 1)) return std::nullopt;
    return ShownPatch(patches[static_cast<std::size_t>(playing_)], settings);
}

void ProjectSession::SendPlayed(SessionChange& change, const std::optional<PatchData>& before) const {
    const std::optional<PatchData> after = Played(document_.patches, document_.customSettings);
    if (!before || !after) return;
    for (std::size_t byte = 0; byte < after->size(); ++byte)
        if ((*after)[byte] != (*before)[byte]) change.send.emplace_back(static_cast<int>(byte), (*after)[byte]);
}

bool ProjectSession::Modified() const {
    const bool typing = typing_ && typing_->second != document_.comments[static_cast<std::size_t>(typing_->first)];
    return !history_.AtSavedState() || typing;
}

void ProjectSession::NoteTyping(int index, std::string comment) {
    if (index < 0 || index >= kPatchCount) return;
    typing_.emplace(index, std::move(comment));
    SessionChange change;
    change.typing = true;
    Tell(change);
}

FileResult ProjectSession::Load() {
    const FileResult r = document_.Load();
    if (r.ok()) {
        file_.ReadOrWrote(document_.fileName);
        history_.Clear();
        gesture_ = 0;
        stored_ = document_.patches;
        storedSettings_ = document_.customSettings;
        SessionChange change;
        change.all = true;
        Tell(change);
    }
    return r;
}

void ProjectSession::SetFileName(const std::string& path) {
    document_.fileName = path;
    Tell(SessionChange{});
}

bool ProjectSession::Recover(const std::string& fileName, const std::string& text, std::span<const std::uint8_t> image) {
    if (image.size() != static_cast<std::size_t>(kProjectFileBytes)) return false;
    document_.fileName = fileName;
    if (!fileName.empty() && !Load().ok()) file_.RecoveredFor(fileName);
    Perform([&](ProjectDocument& document) {
        document.FromFileImage(std::vector<std::uint8_t>(image.begin(), image.end()));
        return StepReport{text, {}};
    });
    return true;
}

std::vector<std::uint8_t> ProjectSession::FileImage() const {
    if (!imageBefore_.empty()) return imageBefore_;
    ProjectDocument copy = document_;
    if (typing_) copy.SetCommentOfRow(typing_->first + 1, typing_->second);
    return copy.FileImage();
}

FileResult ProjectSession::Save() {
    Settle();
    const FileResult r = document_.Save();
    if (r.ok()) {
        file_.ReadOrWrote(document_.fileName);
        history_.MarkSaved();
        gesture_ = 0;
        stored_ = document_.patches;
        storedSettings_ = document_.customSettings;
    }
    Tell(SessionChange{});  // the caption: saved, or a new name
    return r;
}

SessionChange ProjectSession::UseSettings(const CustomSettingsBlock& settings, const std::string& text) {
    return Perform([&](ProjectDocument& document) {
        document.customSettings = settings;
        return StepReport{text, {}};
    });
}

SessionChange ProjectSession::Receive(const std::string& text, const std::function<bool(ProjectDocument&)>& receive) {
    bool received = false;
    imageBefore_ = FileImage();
    struct Forget {
        std::vector<std::uint8_t>& image;
        ~Forget() { image.clear(); }
    } forget{imageBefore_};
    SessionChange change = Record([&](ProjectDocument& document) {
        received = receive(document);
        return StepReport{text, {}};
    });
    if (!received) {
        if (change.stepped) Tell(change);
        return change;
    }
    stored_ = document_.patches;
    storedSettings_ = document_.customSettings;
    change.all = true;
    Tell(change);
    return change;
}

}  // namespace orb8
