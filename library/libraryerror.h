// A failure of the patch library that the user is told about in a sentence
// (a database of a newer program, a file that is no database).
#pragma once

#include <stdexcept>
#include <string>

namespace orb8::library {

class LibraryError : public std::runtime_error {
public:
    explicit LibraryError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace orb8::library
