#include "patch/document.h"

#include <algorithm>

#include "patch/patchdata.h"

namespace orb8 {

bool SessionChange::Touches(int index) const {
    // A change of the block may change what any CUSTOM patch plays.
    if (all || !settings.empty()) return true;
    for (const auto& [patch, bytes] : patches)
        if (patch == index) return true;
    return std::find(comments.begin(), comments.end(), index) != comments.end();
}

std::vector<int> SessionChange::Rows() const {
    std::vector<int> rows;
    if (all) {
        for (int row = 1; row <= kPatchCount; ++row) rows.push_back(row);
        return rows;
    }
    for (const auto& [patch, bytes] : patches) rows.push_back(patch + 1);
    for (int index : comments) rows.push_back(index + 1);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void Document::SetUntitledName(std::string name) {
    untitled_ = std::move(name);
    Tell(SessionChange{});
}

int Document::Listen(Listener listener) {
    listeners_[++nextListener_] = std::move(listener);
    return nextListener_;
}

void Document::Unlisten(int id) { listeners_.erase(id); }

void Document::Tell(const SessionChange& change) {
    // A listener may stop listening while it hears.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners)
        if (listeners_.count(id)) listener(change);
}

}  // namespace orb8
