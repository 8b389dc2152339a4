// Any bytes as a bank, a SysEx file or a custom distortion file in a folder
// the library scans: read or skipped with a reason, never a crash, and what
// it keeps can be searched.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "library/patchlibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("orb8-fuzz-library-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    // The first byte chooses the kind, the rest is the file.
    static const char* kinds[] = {"bank.orb", "dump.syx", "sets.dst"};
    const char* name = kinds[size ? data[0] % 3 : 0];
    for (const char* other : kinds) fs::remove(folder / other);
    if (FILE* f = std::fopen((folder / name).c_str(), "wb")) {
        if (size > 1) std::fwrite(data + 1, 1, size - 1, f);
        std::fclose(f);
    }
    orb8::library::PatchLibrary library(":memory:");
    library.AddSource(folder.string());
    const auto report = library.Scan();
    if (report.files != 1 || report.read != 1) std::abort();
    const auto problems = library.Problems();
    for (const auto& p : problems)
        if (p.problem.empty()) std::abort();
    for (const auto& place : library.Search("", 100)) (void)library.PatchAt(place);
    return 0;
}
