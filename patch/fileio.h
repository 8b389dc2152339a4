// Reading and writing document files. A save goes to a temporary file in the
// same folder, is flushed to disk and then renamed over the old file, so a
// failure at any point leaves the previous file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orb8 {

enum class FileProblem { None, CannotOpen, ReadFailed, WrongSize, TooLong, Short, WriteFailed };

struct FileResult {
    FileProblem problem = FileProblem::None;
    std::string path;
    std::string reason;        // the system's reason, where there is one
    std::uintmax_t size = 0;   // bytes found (size problems)
    std::uintmax_t expected = 0;

    bool ok() const { return problem == FileProblem::None; }
    // A short file that was still loaded counts as loaded, with a notice.
    bool loaded() const { return problem == FileProblem::None || problem == FileProblem::Short; }
};

// Reads at most limit + 1 bytes, so an oversized file is seen without reading it all.
FileResult ReadFileBytes(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out);

FileResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The text shown to the user for a failed or short file operation.
// kindName names the file kind in a size message ("project file").
std::string FileMessage(const FileResult& result, bool japanese, const std::string& kindName);

}  // namespace orb8
