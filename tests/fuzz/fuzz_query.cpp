// Any text typed into the library's search field: the parser refuses it with
// a sentence or makes SQL that a library runs without failing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "library/patchlibrary.h"
#include "library/query.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orb8::library::PatchLibrary library(":memory:");  // one for the whole run: made once
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)orb8::library::ParseQuery(text);
    } catch (const orb8::library::QueryError& e) {
        if (std::string_view(e.what()).empty()) std::abort();  // a refusal says why
        return 0;
    }
    try {
        (void)library.Search(text, 10);
    } catch (const orb8::library::QueryError&) {
        std::abort();  // the parser took it once: it takes it again
    }
    return 0;
}
