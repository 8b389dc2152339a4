// A custom distortion document: both sets "Special1" and "Special2", each of
// eight filters and a clipper block, with their processor images, and the
// .dst file that stores them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "customdist/clipperpresets.h"
#include "customdist/filterrecord.h"
#include "patch/fileio.h"

namespace orb8 {

constexpr int kSetCount = 2;
constexpr int kSlotsPerSet = 8;
constexpr int kFilterCount = kSetCount * kSlotsPerSet;
constexpr int kFilterImageBytes = 20;
constexpr int kDstSetBytes = kSlotsPerSet * kFilterRecordBytes + kClipperStoredBytes;  // 918
constexpr int kDstFileBytes = kSetCount * kDstSetBytes;                                  // 1836
constexpr int kSettingsCodeBytes = 5;
constexpr int kSettingsCodeOffset = 15;  // where a filter's device image holds its settings code
constexpr int kFilterDumpDataBytes = kCoefNibbles + kSettingsCodeBytes;  // 30 nibbles, then the settings code

// The slots of a set: the distortion character (Bottom, Pre, Edge and the two
// clip filters of its clipper preset) and the three tone characters.
enum SetSlot { SlotBottom = 0, SlotPre, SlotEdge, SlotClip1, SlotClip2, SlotHigh, SlotMid, SlotLow };

// Bytes 0..14: the five coefficient codes as received (nothing reads them);
// bytes 15..19: the filter's settings code.
using FilterDeviceImage = std::array<std::uint8_t, kFilterImageBytes>;

std::string_view SetName(int set);        // "Special1", "Special2"
std::string_view SlotRoleName(int slot);  // "BOTTOM", "PRE CHAR", "EDGE", "CLIP 1", ...
inline int FilterNumber(int set, int slot) { return set * kSlotsPerSet + slot; }

struct CustomDistData {
    std::array<FilterRecord, kFilterCount> filters{};
    std::array<FilterDeviceImage, kFilterCount> images{};
    std::array<ClipperBlock, kSetCount> clippers{};

    // Default settings with coefficients, clipper preset 0 in both sets, zero images.
    static CustomDistData NewDocument();

    // Copies a preset's clip filters into slots 3 and 4 with their
    // coefficients, and its 24 bytes into the set's clipper block.
    void ApplyClipperPreset(int set, int preset);

    void EncodeAll();    // settings codes into images bytes 15..19
    void DecodeAll();    // settings from the images; coefficients stay
    void QuantiseAll();  // both: every setting snaps to its device step

    // What Store sends for filter n: its 30 coefficient nibbles and the
    // settings code of its image. Every byte is 0..15 or a settings byte.
    std::array<std::uint8_t, kFilterDumpDataBytes> FilterDumpData(int n) const;
    // What Recv brings: a filter's 20-byte image, or a clipper's 22 bytes
    // (bytes 22 and 23 keep their value).
    void TakeFilterImage(int n, std::span<const std::uint8_t, kFilterImageBytes> image);
    void TakeClipperBytes(int set, std::span<const std::uint8_t, kClipperStoredBytes> bytes);
    // A received filter: its coefficients are the processor's own, from
    // bytes 0..14 of its image, so that they and its settings agree.
    void TakeImageCoefficients(int n);

    std::vector<std::uint8_t> FileImage() const;
    // Overlays a file's bytes on this data as far as they go.
    void ReadFileImage(std::span<const std::uint8_t> bytes);
};

// The document: its data and file name.
struct CustomDistDocument {
    CustomDistData data = CustomDistData::NewDocument();
    std::string fileName;

    // A short file loads as far as it goes and reports Short (loaded() is
    // true); a longer one is refused and nothing changes.
    FileResult Load();
    // Atomic: on failure the old file stays.
    FileResult Save();
};

}  // namespace orb8
