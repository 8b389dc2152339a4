#include "library/sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "patch/effecttables.h"

namespace orb8::library {

bool IsSoundByte(int byte) {
    return byte != Unused17 && byte != Unused18 && (byte < Name0 || byte >= Name0 + kNameLength);
}

std::vector<std::uint8_t> SoundOf(const PatchData& patch) {
    std::vector<std::uint8_t> sound;
    sound.reserve(patch.size());
    for (int i = 0; i < kPatchBytes; ++i)
        if (IsSoundByte(i)) sound.push_back(patch[static_cast<std::size_t>(i)]);
    return sound;
}

PatchData PatchFrom(std::span<const std::uint8_t> sound, std::span<const std::uint8_t> nameCodes) {
    PatchData patch{};
    std::size_t next = 0;
    for (int i = 0; i < kPatchBytes; ++i)
        if (IsSoundByte(i) && next < sound.size()) patch[static_cast<std::size_t>(i)] = sound[next++];
    for (std::size_t i = 0; i < nameCodes.size() && i < static_cast<std::size_t>(kNameLength); ++i)
        patch[static_cast<std::size_t>(Name0) + i] = nameCodes[i];
    return patch;
}


namespace {

struct Keyword {
    std::string_view word;  // upper case, as names are written
    std::string_view tag;
};
// A name word that is, or (three letters or more) starts with, a keyword.
constexpr std::array<Keyword, 40> kKeywords = {{
    {"CLEAN", "clean"},    {"CLN", "clean"},     {"CRUNCH", "crunch"},   {"CRN", "crunch"},     {"DIST", "distortion"},
    {"DST", "distortion"}, {"OD", "overdrive"},  {"DRIVE", "overdrive"}, {"FUZZ", "fuzz"},      {"LEAD", "lead"},
    {"LD", "lead"},        {"SOLO", "solo"},     {"RHYTHM", "rhythm"},   {"RHY", "rhythm"},     {"METAL", "metal"},
    {"BLUES", "blues"},    {"JAZZ", "jazz"},     {"FUNK", "funk"},       {"DLY", "delay"},      {"DELAY", "delay"},
    {"ECHO", "delay"},     {"REV", "reverb"},    {"VERB", "reverb"},     {"HALL", "reverb"},    {"ROOM", "reverb"},
    {"CHO", "chorus"},     {"CHORUS", "chorus"}, {"FLG", "flanger"},     {"FLANGE", "flanger"}, {"PHASE", "phaser"},
    {"PHS", "phaser"},     {"WAH", "wah"},       {"TREM", "tremolo"},    {"OCT", "octave"},     {"PITCH", "pitch"},
    {"ACO", "acoustic"},   {"BASS", "bass"},     {"AMB", "ambient"},     {"SLAP", "slapback"},  {"COMP", "compressor"},
}};

// The parameter bytes of a module (the type byte not among them).
constexpr std::array<std::pair<int, int>, 4> kModuleBytes = {
    {{DriveParam1, DriveParam4}, {ModParam1, ModParam4}, {DlyParam1, DlyParam4}, {EqPresence, EqBassFreq}}};
constexpr std::array<int, 4> kTypeBytes = {DriveType, ModType, DlyType, -1};
constexpr std::array<std::uint8_t, 4> kBits = {DriveOn, ModOn, DlyOn, EqOn};
constexpr std::array<Module, 4> kModules = {Module::Drive, Module::Mod, Module::DlyRev, Module::Eq};

// ParameterMax of every byte under every type (index type + 1), looked up
// once: a search for similar patches compares hundreds of thousands.
int Max(int byte, int type) {
    static const auto kMax = [] {
        std::array<std::array<int, kDriveTypeCount + 1>, kPatchBytes> table{};
        for (int b = 0; b < kPatchBytes; ++b)
            for (int t = -1; t < kDriveTypeCount; ++t)
                table[static_cast<std::size_t>(b)][static_cast<std::size_t>(t + 1)] = ParameterMax(b, t);
        return table;
    }();
    if (type < -1 || type >= kDriveTypeCount) return -1;
    return kMax[static_cast<std::size_t>(byte)][static_cast<std::size_t>(type + 1)];
}

double ParameterDifference(int byte, int type, int a, int b) {
    const int max = Max(byte, type);
    if (max <= 0) return a == b ? 0 : 1;
    return std::min(1.0, std::abs(a - b) / static_cast<double>(max));
}

}  // namespace

std::vector<std::string> AutomaticTags(const std::string& name) {
    std::vector<std::string> tags;
    std::string word;
    const auto take = [&] {
        for (const Keyword& k : kKeywords)
            if (word == k.word || (k.word.size() >= 3 && word.size() > k.word.size() && word.rfind(k.word, 0) == 0))
                tags.emplace_back(k.tag);
        word.clear();
    };
    for (char c : name) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if ((upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9'))
            word += upper;
        else
            take();
    }
    take();
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    return tags;
}

double SoundDistance(const PatchData& a, const PatchData& b) {
    double distance = 0;
    for (std::size_t m = 0; m < kModules.size(); ++m) {
        const bool onA = a[ModuleSwitches] & kBits[m], onB = b[ModuleSwitches] & kBits[m];
        if (!onA && !onB) continue;
        if (onA != onB) {
            distance += 1;
            continue;
        }
        int type = -1;
        if (kTypeBytes[m] >= 0) {
            type = a[static_cast<std::size_t>(kTypeBytes[m])];
            if (type != b[static_cast<std::size_t>(kTypeBytes[m])]) {
                distance += 1;
                continue;
            }
        }
        double sum = 0;
        int count = 0;
        for (int byte = kModuleBytes[m].first; byte <= kModuleBytes[m].second; ++byte) {
            if (Max(byte, type) < 0) continue;
            sum +=
                ParameterDifference(byte, type, a[static_cast<std::size_t>(byte)], b[static_cast<std::size_t>(byte)]);
            ++count;
        }
        if (count) distance += sum / count;
    }
    distance += 0.25 * ParameterDifference(PatchLevel, -1, a[PatchLevel], b[PatchLevel]);
    distance += 0.25 * ParameterDifference(VnrLevel, -1, a[VnrLevel], b[VnrLevel]);
    return distance;
}

}  // namespace orb8::library
