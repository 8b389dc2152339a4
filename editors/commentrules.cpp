#include "editors/commentrules.h"

#include "patch/projectdocument.h"
#include "patch/utf8.h"

namespace orb8 {

int Utf8Length(std::string_view text) { return static_cast<int>(utf8::CodePoints(text)); }

bool CommentFits(std::string_view utf8) {
    return Utf8Length(utf8) <= kCommentMaxCharacters && utf8.size() <= static_cast<std::size_t>(kCommentMaxBytes) &&
           utf8.find('\0') == std::string_view::npos;
}

std::string FittingInsertion(std::string_view kept, std::string_view inserted) {
    if (const auto nul = inserted.find('\0'); nul != std::string_view::npos) inserted = inserted.substr(0, nul);
    const int roomCharacters = kCommentMaxCharacters - Utf8Length(kept);
    const long roomBytes = static_cast<long>(kCommentMaxBytes) - static_cast<long>(kept.size());
    if (roomCharacters <= 0 || roomBytes <= 0) return {};
    std::size_t end = 0;
    int characters = 0;
    while (end < inserted.size()) {
        const std::size_t next = utf8::NextCharacter(inserted, end);
        if (characters + 1 > roomCharacters || static_cast<long>(next) > roomBytes) break;
        ++characters;
        end = next;
    }
    return std::string(inserted.substr(0, end));
}

std::string HandBackBytes(const std::string& original, const std::string& shownUtf8, const std::string& editedUtf8) {
    if (editedUtf8 == shownUtf8) return original;
    return editedUtf8;
}

}  // namespace orb8
