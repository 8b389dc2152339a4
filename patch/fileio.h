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

enum class FileProblem {
    None,
    CannotOpen,
    ReadFailed,
    WrongSize,
    TooLong,
    Short,
    WriteFailed,
    NotAFile,  // a save refused: the path is a directory, device, FIFO, socket or a broken link
};

struct FileResult {
    FileProblem problem = FileProblem::None;
    std::string path;
    std::string reason;        // the system's reason, where there is one
    std::uintmax_t size = 0;   // bytes found (size problems)
    std::uintmax_t expected = 0;
    bool previousKept = false;  // a failed save left an existing file as it was

    bool ok() const { return problem == FileProblem::None; }
    // A short file that was still loaded counts as loaded, with a notice.
    bool loaded() const { return problem == FileProblem::None || problem == FileProblem::Short; }
};

// Reads at most limit + 1 bytes, so an oversized file is seen without reading
// it all; the result's size is the file's true size.
FileResult ReadFileBytes(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out);

// Only a regular file is ever replaced, directly or at the end of its links;
// anything else is refused before a byte is written. The old file's mode,
// owner and group are kept where the system allows it.
FileResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Where a save to path would go: a new file, or an existing regular file
// (the end of its links). NotAFile, with the reason, for anything else.
FileResult SaveTarget(const std::string& path, std::string& target, bool& exists);

// Why a file could not be written at path before anything is tried: not a
// file (see SaveTarget), a missing folder, or an existing file that may not be
// replaced. Empty when it can be written.
std::string WhyNotWritable(const std::string& path, bool replaceExisting);

// A message as a form with "%1".."%9" and what fills them: the windows
// translate the form (`variant` tells two forms of one text apart).
struct MessageForm {
    const char* text = "";
    const char* variant = nullptr;
    std::vector<std::string> args;
};
// "%1".."%9" of `text` replaced by `args`, in one pass (an argument holding
// "%2" stays as it is).
std::string FillForm(const std::string& text, const std::vector<std::string>& args);

// The message shown to the user for a failed or short file operation.
// kindName names the file kind in a size message ("project file").
MessageForm FileMessageForm(const FileResult& result, const std::string& kindName);
// The same in English.
std::string FileMessage(const FileResult& result, const std::string& kindName);
// The same for the command line: a space before "can't be opened" and the
// system's reason, on one line.
std::string FileMessageLine(const FileResult& result, const std::string& kindName);

}  // namespace orb8
