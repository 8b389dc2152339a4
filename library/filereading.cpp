#include "library/filereading.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "customdist/customdistdata.h"
#include "device/sysexfile.h"
#include "library/sounds.h"
#include "library/textfold.h"
#include "patch/customplay.h"
#include "patch/fileio.h"
#include "patch/projectdocument.h"

namespace fs = std::filesystem;

namespace orb8::library {

namespace {

constexpr std::size_t kSysExLimit = 16u << 20;  // a SysEx file larger than this is no patch file

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::span<const std::uint8_t> NameCodes(const PatchData& patch) {
    return std::span<const std::uint8_t>(patch.data() + Name0, kNameLength);
}

// Why a file is skipped, without its path (the lists name it beside).
std::string Problem(const FileResult& r, const std::string& kind) {
    std::string line = FileMessageLine(r, kind);
    if (line.rfind(r.path, 0) == 0) line.erase(0, r.path.size());
    while (!line.empty() && line.front() == ' ') line.erase(line.begin());
    return line;
}

// 64-bit FNV-1a of a sound, as SQLite's signed integer.
std::int64_t Fingerprint(const std::vector<std::uint8_t>& sound) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t b : sound) hash = (hash ^ b) * 1099511628211ull;
    return static_cast<std::int64_t>(hash);
}

}  // namespace

std::string LibraryFileKind(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".orb" || ext == ".syx" || ext == ".dst") return ext.substr(1);
    return {};
}

FileContents ReadLibraryFile(const std::string& path) {
    FileContents contents;
    contents.kind = LibraryFileKind(path);
    if (contents.kind == "dst") {
        CustomDistDocument document;
        document.fileName = path;
        const FileResult r = document.Load();
        if (!r.loaded()) contents.problem = Problem(r, "custom distortion file");
        return contents;
    }
    std::vector<std::uint8_t> bytes;
    const std::size_t limit = contents.kind == "orb" ? static_cast<std::size_t>(kProjectFileBytes) : kSysExLimit;
    const FileResult r = ReadFileBytes(path, limit, bytes);
    if (!r.ok()) {
        contents.problem = Problem(r, contents.kind == "orb" ? "project file" : "SysEx file");
        return contents;
    }
    if (contents.kind == "orb") {
        ProjectDocument document;
        if (!document.FromFileImage(bytes)) {
            contents.problem = "not a project file: " + std::to_string(r.size) + " bytes, a project file has " +
                               std::to_string(kProjectFileBytes);
            return contents;
        }
        for (int i = 0; i < kPatchCount; ++i)
            contents.patches.push_back(
                {i, document.patches[static_cast<std::size_t>(i)], document.comments[static_cast<std::size_t>(i)]});
        contents.settings = document.customSettings;
        return contents;
    }
    if (bytes.size() > kSysExLimit) {
        contents.problem = "too large to hold ORB-8 patches: " + std::to_string(r.size) + " bytes (a SysEx file of " +
                           "patches has at most " + std::to_string(kSysExLimit) + ")";
        return contents;
    }
    const SysExContents sysex = ReadSysEx(bytes);
    if (!sysex.Usable()) {
        contents.problem = "no ORB-8 patches in it (" + sysex.Summary() + ")";
        return contents;
    }
    for (const auto& [number, packed] : sysex.dumps) contents.patches.push_back({number, Unpack(packed), {}});
    for (std::size_t i = 0; i < sysex.editBuffers.size(); ++i)
        contents.patches.push_back({-1 - static_cast<int>(i), sysex.editBuffers[i], {}});
    return contents;
}

PreparedFile PrepareFile(const std::string& path) {
    FileContents contents = ReadLibraryFile(path);
    PreparedFile file{std::move(contents.kind), std::move(contents.problem), {}, contents.settings, 0};
    file.patches.reserve(contents.patches.size());
    const CustomSettingsBlock& settings = contents.settings ? *contents.settings : DefaultCustomSettings();
    for (FilePatch& p : contents.patches) {
        PreparedPatch prepared;
        prepared.slot = p.slot;
        // A CUSTOM patch is kept as what it plays in its own bank.
        const PatchData played = PlayedPatch(p.patch, settings);
        if (!contents.settings && played != p.patch) ++file.builtInCustom;
        prepared.sound = SoundOf(played);
        prepared.fingerprint = Fingerprint(prepared.sound);
        const auto codes = NameCodes(p.patch);
        std::copy(codes.begin(), codes.end(), prepared.codes.begin());
        prepared.name = Trimmed(DecodeName(p.patch));
        prepared.searchName = Fold(prepared.name);
        prepared.searchComment = Fold(p.comment);
        prepared.tags = AutomaticTags(prepared.name);
        prepared.comment = std::move(p.comment);
        file.patches.push_back(std::move(prepared));
    }
    return file;
}

ReadAhead::ReadAhead(std::vector<std::string> paths) : paths_(std::move(paths)), thread_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
    ready_.Cancel();
    thread_.join();
}

PreparedFile ReadAhead::Next() { return ready_.Pop().value_or(PreparedFile{}); }

void ReadAhead::Run() {
    for (const std::string& path : paths_) {
        PreparedFile file;
        try {
            file = PrepareFile(path);
        } catch (const std::exception& e) {  // out of memory, say: the file is skipped with the reason
            file.problem = e.what();
        }
        if (!ready_.Push(std::move(file))) return;
    }
    ready_.Close();
}

}  // namespace orb8::library
