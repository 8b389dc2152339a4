#include "library/savedsearches.h"

#include <algorithm>

#include "library/textfold.h"

namespace orb8::library {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool SameName(const std::string& a, const std::string& b) { return Fold(a) == Fold(b); }

}  // namespace

SavedSearches::SavedSearches(std::vector<SavedSearch> searches) {
    // What the settings held: blanks and repeats left out (the later name wins).
    for (const SavedSearch& search : searches) Save(search.name, search.query);
}

bool SavedSearches::Save(const std::string& name, const std::string& query) {
    const std::string kept = Trimmed(name), text = Trimmed(query);
    if (kept.empty() || text.empty()) return false;
    Remove(kept);
    const auto at = std::lower_bound(searches_.begin(), searches_.end(), kept, [](const SavedSearch& s, const std::string& n) {
        return Fold(s.name) < Fold(n);
    });
    searches_.insert(at, {kept, text});
    return true;
}

bool SavedSearches::Remove(const std::string& name) {
    return std::erase_if(searches_, [&](const SavedSearch& s) { return SameName(s.name, Trimmed(name)); }) > 0;
}

const SavedSearch* SavedSearches::Find(const std::string& name) const {
    for (const SavedSearch& s : searches_)
        if (SameName(s.name, Trimmed(name))) return &s;
    return nullptr;
}

}  // namespace orb8::library
