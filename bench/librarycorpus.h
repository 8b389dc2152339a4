// The generated corpus of the library benchmarks: banks that are mutations
// of the factory bank (a few parameters changed, names from random letters,
// comments from a word list, a fifth of the patches copies of others).
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "patch/projectdocument.h"
#include "sim/factorybank.h"

namespace librarybench {

namespace fs = std::filesystem;

inline constexpr const char* kWords[] = {
    "warm",   "crunch", "lead",     "clean",    "slap",    "back",   "delay",  "chorus", "shimmer",   "fat",
    "tight",  "solo",   "rhythm",   "verse",    "chorus",  "bridge", "intro",  "outro",  "live",      "studio",
    "blues",  "metal",  "funk",     "jazz",     "ambient", "swell",  "octave", "wah",    "vintage",   "modern",
    "bright", "dark",   "smooth",   "gritty",   "spacey",  "ballad", "encore", "gig",    "rehearsal", "backup",
    "ライブ", "歪み",   "クリーン", "ディレイ", "リード",  "ソロ"};
inline constexpr const char kNameChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 +-";

inline std::uintmax_t FolderBytes(const std::string& folder) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) bytes += entry.file_size();
    return bytes;
}

inline long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes `banks` bank files under folder/NNN/, 100 to a folder.
inline std::uintmax_t Generate(const std::string& folder, int banks, std::mt19937& random) {
    const auto factory = orb8::FactoryBank();
    std::vector<orb8::PatchData> made;  // earlier patches, for the copies
    made.reserve(static_cast<std::size_t>(banks) * orb8::kPatchCount / 10);
    const auto word = [&] { return std::string(kWords[random() % std::size(kWords)]); };
    std::uintmax_t bytes = 0;
    for (int b = 0; b < banks; ++b) {
        orb8::ProjectDocument bank;
        for (int i = 0; i < orb8::kPatchCount; ++i) {
            orb8::PatchData& p = bank.patches[static_cast<std::size_t>(i)];
            if (!made.empty() && random() % 5 == 0) {
                p = made[random() % made.size()];  // a copy, perhaps under another name
                if (random() % 2) {
                    std::string name;
                    for (int c = 0; c < 8; ++c) name += kNameChars[random() % (sizeof kNameChars - 1)];
                    orb8::EncodeName(name, p);
                }
            } else {
                p = orb8::Unpack(factory[random() % factory.size()]);
                for (int k = 0, changes = 1 + static_cast<int>(random() % 4); k < changes; ++k) {
                    const int byte = orb8::DriveParam1 + static_cast<int>(random() % 4);
                    const int other = orb8::ModParam1 + static_cast<int>(random() % 4);
                    p[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(random() % 30);
                    p[static_cast<std::size_t>(other)] = static_cast<std::uint8_t>(random() % 30);
                }
                p[orb8::PatchLevel] = static_cast<std::uint8_t>(random() % 100);
                std::string name;
                for (int c = 0; c < 8; ++c) name += kNameChars[random() % (sizeof kNameChars - 1)];
                orb8::EncodeName(name, p);
                if (made.size() < made.capacity()) made.push_back(p);
            }
            if (random() % 3 == 0) bank.comments[static_cast<std::size_t>(i)] = word() + " " + word() + " " + word();
        }
        const std::string sub = folder + "/" + std::to_string(b / 100);
        if (b % 100 == 0) fs::create_directories(sub);
        const auto image = bank.FileImage();
        std::ofstream out(sub + "/bank" + std::to_string(b) + ".orb", std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        bytes += image.size();
    }
    return bytes;
}

}  // namespace librarybench
