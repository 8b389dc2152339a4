#include "patch/patchdata.h"

#include "patch/utf8.h"

namespace orb8 {

const std::array<std::uint8_t, kPackedFieldCount> kPatchFieldWidths = {
    4, 5, 5, 4, 4, 5, 7, 7, 3, 5, 4, 4, 4, 4, 4, 4, 4, 0, 0, 5, 8, 7, 6,
    6, 7, 7, 3, 5, 5, 7, 7, 6, 6, 7, 7, 3, 5, 4, 5, 5, 5, 5, 5, 3, 3, 3,
    7, 7, 4, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 1, 3, 7, 7, 6, 6, 1};

const std::string_view kPatchNameCharset = " '()*+-/0123456789<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ\\";

int PatchByteBits(int byte) {
    if (byte < 0 || byte >= kPatchBytes) return 0;
    if (byte == DlyParam1) return 8;
    return kPatchFieldWidths[static_cast<std::size_t>(byte)];
}

// Fields are read and written bit by bit inside the 42 bytes: the 330-bit stream
// ends in the last byte, so a 16-bit access there would step past the record.
PatchData Unpack(const PackedPatch& packed) {
    PatchData patch{};
    int bit = 0;
    std::uint8_t fields[kPackedFieldCount] = {};
    for (int f = 0; f < kPackedFieldCount; ++f) {
        unsigned value = 0;
        for (int b = 0; b < kPatchFieldWidths[f]; ++b, ++bit) {
            if ((packed[static_cast<std::size_t>(bit >> 3)] >> (bit & 7)) & 1u) value |= 1u << b;
        }
        fields[f] = static_cast<std::uint8_t>(value);
    }
    for (int i = 0; i < kPatchBytes; ++i) patch[static_cast<std::size_t>(i)] = fields[i];
    if (fields[65]) patch[DlyParam1] |= 0x80;
    return patch;
}

PackedPatch Pack(const PatchData& patch) {
    PackedPatch packed{};
    int bit = 0;
    for (int f = 0; f < kPackedFieldCount; ++f) {
        const unsigned value = f < kPatchBytes ? patch[static_cast<std::size_t>(f)]
                                               : static_cast<unsigned>(patch[DlyParam1] >> 7);
        for (int b = 0; b < kPatchFieldWidths[f]; ++b, ++bit) {
            if ((value >> b) & 1u) packed[static_cast<std::size_t>(bit >> 3)] |= static_cast<std::uint8_t>(1u << (bit & 7));
        }
    }
    return packed;
}

PackedSlot ToSlot(const PackedPatch& packed) {
    PackedSlot slot{};
    for (int i = 0; i < kPackedBytes; ++i) slot[static_cast<std::size_t>(i)] = packed[static_cast<std::size_t>(i)];
    return slot;
}

PackedPatch FromSlot(const PackedSlot& slot) {
    PackedPatch packed{};
    for (int i = 0; i < kPackedBytes; ++i) packed[static_cast<std::size_t>(i)] = slot[static_cast<std::size_t>(i)];
    return packed;
}

const PatchData& InitialPatch() {
    static const PatchData initial = {
        0,  9, 24, 6, 5,  24, 100, 0, 0, 0,  0,   0,  0,  0,  0, 0, 0, 0, 0, 0, 35, 24,
        14, 33, 100, 0, 3, 0, 0, 9, 40, 5, 30, 100, 0, 3, 0, 8, 12, 12, 12, 12, 24, 5,
        5,  2, 100, 0, 4, 0, 39, 0, 0, 0, 0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0};
    return initial;
}

void EncodeName(std::string_view text, PatchData& patch) {
    for (int i = 0; i < kNameLength; ++i) {
        std::uint8_t code = 0;
        if (static_cast<std::size_t>(i) < text.size()) {
            const auto pos = kPatchNameCharset.find(text[static_cast<std::size_t>(i)]);
            if (pos != std::string_view::npos) code = static_cast<std::uint8_t>(pos);
        }
        patch[static_cast<std::size_t>(Name0 + i)] = code;
    }
}

std::string DecodeName(const PatchData& patch) {
    std::string name;
    for (int i = 0; i < kNameLength; ++i) {
        const std::uint8_t code = patch[static_cast<std::size_t>(Name0 + i)];
        if (code < kPatchNameCharset.size()) name += kPatchNameCharset[code];
        else name += code < 64 ? '_' : '#';
    }
    return name;
}

NameCheck CheckName(std::string_view text) {
    if (text.empty()) return NameCheck::Empty;
    if (utf8::CodePoints(text) > static_cast<std::size_t>(kNameLength)) return NameCheck::TooLong;
    for (char c : text) {
        if (kPatchNameCharset.find(c) == std::string_view::npos) return NameCheck::InvalidCharacter;
    }
    return NameCheck::Valid;
}

std::string PatchLabel(int index) {
    if (index < 0 || index >= kPatchCount) return "???";
    std::string label(3, ' ');
    label[0] = index < 40 ? 'U' : 'u';
    label[1] = static_cast<char>('0' + (index % 40) / 4);
    label[2] = static_cast<char>('1' + index % 4);
    return label;
}

int PatchIndexFromLabel(std::string_view label) {
    if (label.size() != 3 || (label[0] != 'U' && label[0] != 'u')) return -1;
    if (label[1] < '0' || label[1] > '9' || label[2] < '1' || label[2] > '4') return -1;
    return (label[0] == 'u' ? 40 : 0) + (label[1] - '0') * 4 + (label[2] - '1');
}

}  // namespace orb8
