// One ORB-8 patch in its two forms: PatchData (65 bytes, one value per byte,
// the editing form) and PackedPatch (42 bytes, the processor's bit-packed form),
// plus patch names and the labels U01..u94.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orb8 {

constexpr int kPatchBytes = 65;
constexpr int kPackedBytes = 42;
constexpr int kPackedSlotBytes = 58;
constexpr int kPatchCount = 80;
constexpr int kNameLength = 8;

using PatchData = std::array<std::uint8_t, kPatchBytes>;
using PackedPatch = std::array<std::uint8_t, kPackedBytes>;
// A bank slot: the packed patch in its first 42 bytes, 16 bytes that carry nothing.
using PackedSlot = std::array<std::uint8_t, kPackedSlotBytes>;

// Byte indexes of PatchData; each is also the processor's parameter number.
enum PatchByte : int {
    ModuleSwitches = 0,
    DriveType = 1,
    DriveParam1 = 2,
    DriveParam2 = 3,
    DriveParam3 = 4,
    DriveParam4 = 5,
    DriveRtmMax = 6,
    DriveRtmMin = 7,
    DriveRtmDest = 8,
    DriveRtmSource = 9,
    CustomCharSel = 10,
    CustomHighSel = 11,
    CustomMidSel = 12,
    CustomLowSel = 13,
    CustomDriveAux1 = 14,
    CustomDriveAux2 = 15,
    CustomDriveAux3 = 16,
    Unused17 = 17,
    Unused18 = 18,
    ModType = 19,
    ModParam1 = 20,
    ModParam2 = 21,
    ModParam3 = 22,
    ModParam4 = 23,
    ModRtmMax = 24,
    ModRtmMin = 25,
    ModRtmDest = 26,
    ModRtmSource = 27,
    DlyType = 28,
    DlyParam1 = 29,
    DlyParam2 = 30,
    DlyParam3 = 31,
    DlyParam4 = 32,
    DlyRtmMax = 33,
    DlyRtmMin = 34,
    DlyRtmDest = 35,
    DlyRtmSource = 36,
    VnrLevel = 37,
    EqPresence = 38,
    EqTreble = 39,
    EqMiddle = 40,
    EqBass = 41,
    EqLevel = 42,
    EqTrebleFreq = 43,
    EqMidFreq = 44,
    EqBassFreq = 45,
    EqRtmMax = 46,
    EqRtmMin = 47,
    EqRtmDest = 48,
    EqRtmSource = 49,
    PatchLevel = 50,
    Name0 = 51,
    VolRtm = 59,
    CtrlTarget = 60,
    Ctrl1Value = 61,
    Ctrl2Value = 62,
    Ctrl1Number = 63,
    Ctrl2Number = 64,
};

// Module switch bits of byte 0.
enum ModuleBit : std::uint8_t { DriveOn = 1, ModOn = 2, DlyOn = 4, EqOn = 8 };

// Packed field widths in field order; field 65 is bit 7 of DlyParam1.
constexpr int kPackedFieldCount = 66;
extern const std::array<std::uint8_t, kPackedFieldCount> kPatchFieldWidths;

// Width of byte i's packed field (0 for bytes 17 and 18; 8 for byte 29, whose
// bit 7 travels in field 65).
int PatchByteBits(int byte);

PatchData Unpack(const PackedPatch& packed);
PackedPatch Pack(const PatchData& patch);
PackedSlot ToSlot(const PackedPatch& packed);
PackedPatch FromSlot(const PackedSlot& slot);

const PatchData& InitialPatch();

// The 50 characters a name may use, code 0 first.
extern const std::string_view kPatchNameCharset;

// Text to the 8 codes of bytes 51..58; characters outside the set become spaces.
void EncodeName(std::string_view text, PatchData& patch);
// The 8 codes to 8 characters; a code with no character (50..63 fit the field)
// shows as '_' and anything larger as '#'.
std::string DecodeName(const PatchData& patch);

enum class NameCheck { Valid = 0, TooLong = 1, InvalidCharacter = 2, Empty = 3 };
// Characters are counted as UTF-8 code points.
NameCheck CheckName(std::string_view text);

// "U01".."U94" for 0..39, "u01".."u94" for 40..79; "???" outside.
std::string PatchLabel(int index);
// The index of a label ("U23" -> 9), or -1.
int PatchIndexFromLabel(std::string_view label);

}  // namespace orb8
