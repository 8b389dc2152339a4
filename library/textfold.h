// Text as the library's word search compares it: lower case, accents taken
// off Latin letters, full-width Latin letters and digits as their ASCII
// twins. Anything else (Japanese text) is kept as it is.
#pragma once

#include <string>
#include <string_view>

namespace orb8::library {

std::string Fold(std::string_view utf8);

}  // namespace orb8::library
