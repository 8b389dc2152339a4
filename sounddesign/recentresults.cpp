#include "sounddesign/recentresults.h"

#include <algorithm>

#include "patch/customplay.h"

namespace orb8::design {

namespace {

// The patch's sound: everything but its name.
bool SameSound(const Result& a, const Result& b) {
    for (int i = 0; i < kPatchBytes; ++i) {
        if (i >= Name0 && i < Name0 + kNameLength) continue;
        if (a.patch[static_cast<std::size_t>(i)] != b.patch[static_cast<std::size_t>(i)]) return false;
    }
    return a.settings == b.settings;
}

}  // namespace

void RecentResults::Add(Result result) {
    const auto same = std::find_if(items_.begin(), items_.end(), [&](const Result& r) { return SameSound(r, result); });
    if (same != items_.end()) items_.erase(same);
    items_.push_front(std::move(result));
    while (items_.size() > kRecentResults) items_.pop_back();
}

Edit Recall(PatchEditor& editor, const Result& result, const Locks& locks) {
    Locks only;
    only.Set(Part::Custom, locks.Has(Part::Custom));
    return TakeSound(editor, CarriedPatch(result.patch, result.settings, editor.Settings()), only);
}

}  // namespace orb8::design
