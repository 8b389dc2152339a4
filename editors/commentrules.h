// A patch comment as the comment window edits it. The file keeps the bytes;
// bytes that are UTF-8 are shown as such, others (from older programs) in
// the legacy code page of the interface language. A comment handed back
// unchanged keeps its bytes exactly; an edited one is stored as UTF-8 and
// always fits the 255-byte field, because the window refuses what would not.
#pragma once

#include <string>
#include <string_view>

namespace orb8 {

constexpr int kCommentMaxCharacters = 250;

// Characters (code points) of a UTF-8 text.
int Utf8Length(std::string_view text);
// At most 250 characters and 255 bytes.
bool CommentFits(std::string_view utf8);

// The longest start of `inserted` (whole characters, no NUL) that still
// fits when it is put into `kept`, the comment's text around the insertion.
std::string FittingInsertion(std::string_view kept, std::string_view inserted);

// What the comment window hands back: the original bytes when the text
// shown was not changed, else the edited text's UTF-8 bytes.
std::string HandBackBytes(const std::string& original, const std::string& shownUtf8, const std::string& editedUtf8);

}  // namespace orb8
