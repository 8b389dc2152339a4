#include "customdist/customdistdata.h"

#include <algorithm>
#include <cstring>

namespace orb8 {
namespace {

// Defaults of slots 0, 1, 2 and 5, 6, 7: PEQ, off, 0 dB, Q 0.71, trim 0.
constexpr double kDefaultFreq[kSlotsPerSet] = {120, 630, 1200, 0, 0, 2500, 800, 80};

FilterRecord DefaultFilter(int slot) {
    FilterRecord r;
    r.freq = kDefaultFreq[slot];
    r.q = 0.71;
    ComputeCoefficients(r);
    return r;
}

}  // namespace

std::string_view SetName(int set) { return set == 0 ? "Special1" : set == 1 ? "Special2" : "?"; }

std::string_view SlotRoleName(int slot) {
    static constexpr std::string_view names[kSlotsPerSet] = {"BOTTOM", "PRE CHAR", "EDGE", "CLIP 1",
                                                             "CLIP 2", "HIGH",     "MID",  "LOW"};
    return slot >= 0 && slot < kSlotsPerSet ? names[slot] : std::string_view("?");
}

CustomDistData CustomDistData::NewDocument() {
    CustomDistData d;
    for (int set = 0; set < kSetCount; ++set) {
        for (int slot : {SlotBottom, SlotPre, SlotEdge, SlotHigh, SlotMid, SlotLow})
            d.filters[static_cast<std::size_t>(FilterNumber(set, slot))] = DefaultFilter(slot);
        d.ApplyClipperPreset(set, 0);
    }
    return d;
}

void CustomDistData::ApplyClipperPreset(int set, int preset) {
    if (set < 0 || set >= kSetCount || preset < 0 || preset >= kClipperPresetCount) return;
    const ClipperPreset& p = ClipperPresets()[static_cast<std::size_t>(preset)];
    for (int k = 0; k < 2; ++k) {
        FilterRecord& r = filters[static_cast<std::size_t>(FilterNumber(set, SlotClip1 + k))];
        const ClipFilterSettings& s = p.filters[k];
        r.on = s.on;
        r.type = s.type;
        r.reserved = {};
        r.freq = s.freq;
        r.gain = s.gain;
        r.q = s.q;
        r.trim = s.trim;
        ComputeCoefficients(r);
    }
    clippers[static_cast<std::size_t>(set)] = p.block;
}

void CustomDistData::EncodeAll() {
    for (int n = 0; n < kFilterCount; ++n) {
        const FilterSettingsCode code = EncodeSettings(filters[static_cast<std::size_t>(n)]);
        std::copy(code.begin(), code.end(), images[static_cast<std::size_t>(n)].begin() + kSettingsCodeOffset);
    }
}

void CustomDistData::DecodeAll() {
    for (int n = 0; n < kFilterCount; ++n) {
        FilterSettingsCode code;
        std::copy_n(images[static_cast<std::size_t>(n)].begin() + kSettingsCodeOffset, kSettingsCodeBytes, code.begin());
        DecodeSettings(code, filters[static_cast<std::size_t>(n)]);
    }
}

void CustomDistData::TakeImageCoefficients(int n) {
    if (n < 0 || n >= kFilterCount) return;
    const FilterDeviceImage& image = images[static_cast<std::size_t>(n)];
    FilterRecord& r = filters[static_cast<std::size_t>(n)];
    for (int k = 0; k < kCoefCount; ++k) {
        const auto at = static_cast<std::size_t>(3 * k);
        const std::uint32_t bits = (std::uint32_t{image[at]} << 16) | (std::uint32_t{image[at + 1]} << 8) | image[at + 2];
        const std::int32_t code = static_cast<std::int32_t>(bits << 8) >> 8;  // 24-bit two's complement
        r.coef[static_cast<std::size_t>(k)] = code / kCoefScale;
        for (int d = 0; d < 6; ++d)
            r.coefNibbles[static_cast<std::size_t>(6 * k + d)] = static_cast<std::uint8_t>((bits >> (20 - 4 * d)) & 0x0F);
    }
}

void CustomDistData::QuantiseAll() {
    EncodeAll();
    DecodeAll();
}

std::array<std::uint8_t, kFilterDumpDataBytes> CustomDistData::FilterDumpData(int n) const {
    std::array<std::uint8_t, kFilterDumpDataBytes> data{};
    if (n < 0 || n >= kFilterCount) return data;
    const FilterRecord& r = filters[static_cast<std::size_t>(n)];
    for (int i = 0; i < kCoefNibbles; ++i) data[static_cast<std::size_t>(i)] = r.coefNibbles[static_cast<std::size_t>(i)] & 0x0F;
    std::copy_n(images[static_cast<std::size_t>(n)].begin() + kSettingsCodeOffset, kSettingsCodeBytes, data.begin() + kCoefNibbles);
    return data;
}

void CustomDistData::TakeFilterImage(int n, std::span<const std::uint8_t, kFilterImageBytes> image) {
    if (n < 0 || n >= kFilterCount) return;
    std::copy(image.begin(), image.end(), images[static_cast<std::size_t>(n)].begin());
}

void CustomDistData::TakeClipperBytes(int set, std::span<const std::uint8_t, kClipperStoredBytes> bytes) {
    if (set < 0 || set >= kSetCount) return;
    std::copy(bytes.begin(), bytes.end(), clippers[static_cast<std::size_t>(set)].begin());
}

std::vector<std::uint8_t> CustomDistData::FileImage() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kDstFileBytes);
    for (int set = 0; set < kSetCount; ++set) {
        for (int slot = 0; slot < kSlotsPerSet; ++slot) {
            const FilterRecordImage image = ToImage(filters[static_cast<std::size_t>(FilterNumber(set, slot))]);
            bytes.insert(bytes.end(), image.begin(), image.end());
        }
        const ClipperBlock& c = clippers[static_cast<std::size_t>(set)];
        bytes.insert(bytes.end(), c.begin(), c.begin() + kClipperStoredBytes);
    }
    return bytes;
}

void CustomDistData::ReadFileImage(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> image = FileImage();
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    const std::uint8_t* at = image.data();
    for (int set = 0; set < kSetCount; ++set) {
        for (int slot = 0; slot < kSlotsPerSet; ++slot, at += kFilterRecordBytes)
            filters[static_cast<std::size_t>(FilterNumber(set, slot))] = FromImage(std::span<const std::uint8_t, kFilterRecordBytes>(at, kFilterRecordBytes));
        std::copy_n(at, kClipperStoredBytes, clippers[static_cast<std::size_t>(set)].begin());
        at += kClipperStoredBytes;
    }
}

FileResult CustomDistDocument::Load() {
    std::vector<std::uint8_t> bytes;
    FileResult result = ReadFileBytes(fileName, kDstFileBytes, bytes);
    if (!result.ok()) return result;
    result.expected = kDstFileBytes;
    if (bytes.size() > static_cast<std::size_t>(kDstFileBytes)) {
        result.problem = FileProblem::TooLong;
        return result;
    }
    data.ReadFileImage(bytes);
    if (bytes.size() < static_cast<std::size_t>(kDstFileBytes)) result.problem = FileProblem::Short;
    return result;
}

FileResult CustomDistDocument::Save() {
    const std::vector<std::uint8_t> bytes = data.FileImage();
    return WriteFileAtomically(fileName, bytes);
}

}  // namespace orb8
