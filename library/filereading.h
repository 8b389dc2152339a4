// What a scan reads: the files of the library's kinds turned into what the
// database keeps of each patch, on a thread of its own ahead of the writer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "patch/customsettings.h"
#include "patch/patchdata.h"
#include "patch/workqueue.h"

namespace orb8::library {

// What a file holds for the library.
struct FilePatch {
    int slot = 0;  // 0..79, or -1, -2, .. for the edit buffers of a SysEx file in order
    PatchData patch{};
    std::string comment;
};
struct FileContents {
    std::string kind;  // "orb", "syx", "dst"
    std::vector<FilePatch> patches;
    std::string problem;  // why the file is skipped; empty when it was read
    // A bank's custom settings; none for a SysEx file (its CUSTOM patches
    // are taken as the built-in block plays them).
    std::optional<CustomSettingsBlock> settings;
};
// How a file's sounds are made; a file read by an older rule is read again.
// 1: a CUSTOM patch's sound is what it plays through its file's block.
inline constexpr int kSoundRule = 1;
// The kind of a file by its extension, any case; empty for one the library does not read.
std::string LibraryFileKind(const std::string& path);
// Reads a file of one of the library's kinds.
FileContents ReadLibraryFile(const std::string& path);

// A patch of a file with everything the database needs of it, worked out
// away from the writing thread.
struct PreparedPatch {
    int slot = 0;
    std::vector<std::uint8_t> sound;
    std::int64_t fingerprint = 0;
    std::array<std::uint8_t, kNameLength> codes{};
    std::string name, comment, searchName, searchComment;
    std::vector<std::string> tags;
};
struct PreparedFile {
    std::string kind, problem;
    std::vector<PreparedPatch> patches;
    std::optional<CustomSettingsBlock> settings;
    int builtInCustom = 0;  // patches of CUSTOM types taken with the built-in block (no block in the file)
};

// Reads a file and prepares its patches; a damaged file has its problem set.
PreparedFile PrepareFile(const std::string& path);

// Reads and prepares files on a thread of its own, a few ahead of the
// writer, in the order the writer asks for them.
class ReadAhead {
public:
    explicit ReadAhead(std::vector<std::string> paths);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    // The next file, in order.
    PreparedFile Next();

private:
    static constexpr std::size_t kAhead = 32;
    void Run();

    std::vector<std::string> paths_;
    WorkQueue<PreparedFile> ready_{kAhead};
    std::thread thread_;  // last: starts when the rest is ready
};

}  // namespace orb8::library
