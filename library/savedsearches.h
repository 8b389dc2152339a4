// Searches the user keeps by name, to run again from the Library window:
// listed by name, a name saved again takes the new query.
#pragma once

#include <string>
#include <vector>

namespace orb8::library {

struct SavedSearch {
    std::string name, query;
    bool operator==(const SavedSearch&) const = default;
};

class SavedSearches {
public:
    SavedSearches() = default;
    explicit SavedSearches(std::vector<SavedSearch> searches);

    // False when the name is blank or the query empty (nothing to keep).
    bool Save(const std::string& name, const std::string& query);
    bool Remove(const std::string& name);
    const SavedSearch* Find(const std::string& name) const;
    // In the order of their names.
    const std::vector<SavedSearch>& All() const { return searches_; }

private:
    std::vector<SavedSearch> searches_;
};

}  // namespace orb8::library
