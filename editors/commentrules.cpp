#include "editors/commentrules.h"

#include "patch/projectdocument.h"

namespace orb8 {

int Utf8Length(std::string_view text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

bool CommentFits(std::string_view utf8) {
    return Utf8Length(utf8) <= kCommentMaxCharacters && utf8.size() <= static_cast<std::size_t>(kCommentMaxBytes) &&
           utf8.find('\0') == std::string_view::npos;
}

std::string HandBackBytes(const std::string& original, const std::string& shownUtf8, const std::string& editedUtf8) {
    if (editedUtf8 == shownUtf8) return original;
    return editedUtf8;
}

}  // namespace orb8
