// Temporary folders and whole-file helpers for tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "patch/projectdocument.h"

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orb8test.XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string Path(const std::string& name) const { return (path / name).string(); }
};

inline std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a new project's file.
inline std::vector<std::uint8_t> ReadAllOfNew(const TempDir&) {
    orb8::ProjectDocument doc;
    return doc.FileImage();
}

// A bank file of initial patches but one: slot `slot` named `name`, its Drive
// on (at GAIN `gain` when one is given), with a comment. False when it can't be written.
inline bool WriteOnePatchBank(const std::string& path, int slot, const std::string& name, const std::string& comment,
                              int gain = -1) {
    orb8::ProjectDocument bank;
    orb8::PatchData& patch = bank.patches[static_cast<std::size_t>(slot)];
    orb8::EncodeName(name, patch);
    patch[orb8::ModuleSwitches] = orb8::DriveOn;
    if (gain >= 0) patch[orb8::DriveParam1] = static_cast<std::uint8_t>(gain);
    bank.comments[static_cast<std::size_t>(slot)] = comment;
    bank.fileName = path;
    return bank.Save().ok();
}
