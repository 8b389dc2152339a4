#include "customdist/customdistsession.h"

namespace orb8 {

bool SameDeviceData(const CustomDistData& a, const CustomDistData& b) {
    if (a.clippers != b.clippers || a.images != b.images) return false;
    for (int n = 0; n < kFilterCount; ++n)
        if (ToImage(a.filters[static_cast<std::size_t>(n)]) != ToImage(b.filters[static_cast<std::size_t>(n)])) return false;
    return true;
}

bool CustomDistSession::Perform(const std::string& text, const std::function<void(CustomDistData&)>& operation,
                                bool always) {
    Step step{document_.data, {}};
    before_ = &step.before;
    try {
        operation(document_.data);
    } catch (...) {
        before_ = nullptr;
        throw;
    }
    before_ = nullptr;
    step.after = document_.data;
    if (!always && SameDeviceData(step.before, step.after)) return false;
    history_.Push(std::move(step), text, 0);
    TellAll(true);
    return true;
}

SessionChange CustomDistSession::Undo() { return Walk(true); }
SessionChange CustomDistSession::Redo() { return Walk(false); }

SessionChange CustomDistSession::Walk(bool undo) {
    const auto* entry = undo ? history_.Undo() : history_.Redo();
    if (!entry) return {};
    document_.data = undo ? entry->step.before : entry->step.after;
    TellAll(true);
    SessionChange change;
    change.all = change.stepped = true;
    return change;
}

void CustomDistSession::TellAll(bool stepped) {
    SessionChange change;
    change.all = true;
    change.stepped = stepped;
    Tell(change);
}

void CustomDistSession::SetFileName(const std::string& path) {
    document_.fileName = path;
    Tell(SessionChange{});
}

FileResult CustomDistSession::Load() {
    const FileResult r = document_.Load();
    if (r.loaded()) {
        file_.ReadOrWrote(document_.fileName);
        history_.Clear();
        TellAll(false);
    }
    return r;
}

std::vector<std::uint8_t> CustomDistSession::FileImage() const {
    return before_ ? before_->FileImage() : document_.data.FileImage();
}

bool CustomDistSession::Recover(const std::string& fileName, const std::string& text,
                                std::span<const std::uint8_t> image) {
    if (image.size() != static_cast<std::size_t>(kDstFileBytes)) return false;
    document_.fileName = fileName;
    if (!fileName.empty() && !Load().loaded()) file_.RecoveredFor(fileName);
    Perform(text, [&](CustomDistData& data) { data.ReadFileImage(image); });
    return true;
}

FileResult CustomDistSession::Save() {
    const FileResult r = document_.Save();
    if (r.ok()) {
        file_.ReadOrWrote(document_.fileName);
        history_.MarkSaved();
    }
    Tell(SessionChange{});  // the caption: saved, or a new name
    return r;
}

}  // namespace orb8
