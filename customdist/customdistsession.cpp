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
    Tell();
    return true;
}

bool CustomDistSession::Undo() { return Walk(true); }
bool CustomDistSession::Redo() { return Walk(false); }

bool CustomDistSession::Walk(bool undo) {
    const auto* entry = undo ? history_.Undo() : history_.Redo();
    if (!entry) return false;
    document_.data = undo ? entry->step.before : entry->step.after;
    Tell();
    return true;
}

FileResult CustomDistSession::Load() {
    const FileResult r = document_.Load();
    if (r.loaded()) {
        file_.ReadOrWrote(document_.fileName);
        history_.Clear();
        Tell();
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
    return r;
}

int CustomDistSession::Listen(Listener listener) {
    listeners_[++nextListener_] = std::move(listener);
    return nextListener_;
}

void CustomDistSession::Unlisten(int id) { listeners_.erase(id); }

void CustomDistSession::Tell() {
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners)
        if (listeners_.count(id)) listener();
}

}  // namespace orb8
