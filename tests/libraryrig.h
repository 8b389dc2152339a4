// What the library tests share: banks written to a folder, and a library
// over it with a clock the test moves.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "library/patchlibrary.h"
#include "patch/effecttables.h"
#include "patch/projectdocument.h"
#include "tests/testfiles.h"

namespace orb8::library {

// A bank file with patch `slot` named `name`, its Mod parameter 1 at `value`.
inline void WriteBank(const std::string& path, int slot, const std::string& name, int value, const std::string& comment = {}) {
    ProjectDocument bank;
    PatchData& patch = bank.patches[static_cast<std::size_t>(slot)];
    EncodeName(name, patch);
    patch[ModuleSwitches] |= ModOn;
    patch[ModParam1] = static_cast<std::uint8_t>(value);
    bank.comments[static_cast<std::size_t>(slot)] = comment;
    bank.fileName = path;
    ASSERT_TRUE(bank.Save().ok());
}

// Moves a file's time on, as a later save would: the scan looks at the time.
inline void Later(const std::string& path, int seconds) {
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(seconds));
}

inline std::vector<std::string> Names(const std::vector<Place>& places) {
    std::vector<std::string> names;
    for (const Place& p : places) names.push_back(p.name);
    return names;
}

struct LibraryRig {
    TempDir dir;
    std::int64_t now = 1'700'000'000;
    PatchLibrary lib{dir.Path("library.db"), [this] { return now; }};
    std::string banks = dir.Path("banks");
    LibraryRig() { std::filesystem::create_directories(banks); }
    std::string At(const std::string& name) const { return banks + "/" + name; }
};

}  // namespace orb8::library
