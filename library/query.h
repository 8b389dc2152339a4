// The library's query syntax, the same in the window and in orb8tool:
//
//   crunch "slap back"      words and phrases in the name or comment (any
//                           part of a word, any case, accents ignored)
//   drive:fuzz  mod:chorus  a module's effect type by name (a part of the
//   dly:"bpm dly"           name when no type has exactly that name)
//   mod:on  eq:off          a module switched on or off
//   gain>=20  time<1.5      a parameter by its name on the processor, against
//   level=80  ratio!=oF     the value it shows (=, !=, <, <=, >, >=; spaces
//                           around the operator are allowed)
//   fav                     favourites only
//   tag:crunch              a tag, set by hand or automatic
//   rating>=3               the user's rating, 1..5
//   in:backups              a part of the file's path
//
// Everything given must hold. A word the syntax does not know is a word.
#pragma once

#include <string>
#include <string_view>
#include <cstdint>
#include <variant>
#include <vector>

#include "library/libraryerror.h"

namespace orb8::library {

// A query the syntax refuses, with a sentence saying why.
class QueryError : public LibraryError {
public:
    using LibraryError::LibraryError;
};

// A query as SQL: a WHERE condition over occurrences o, files f and patches p
// (a byte of the patch as patch_byte(p.sound, byte)) with the values to bind
// to it in order, and an FTS5 MATCH expression when words went to the index.
struct QuerySql {
    std::string match;  // empty: no indexed words
    std::string where = "1";
    std::vector<std::variant<std::string, std::int64_t>> binds;
};

QuerySql ParseQuery(std::string_view text);

}  // namespace orb8::library
