#include <gtest/gtest.h>

#include <random>

#include "patch/patchdata.h"
#include "patch/utf8.h"

using namespace orb8;

namespace {

PackedPatch Hex(const char* text) {
    PackedPatch p{};
    for (int i = 0; i < kPackedBytes; ++i) p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::stoi(std::string(text + 3 * i, 2), nullptr, 16));
    return p;
}

}  // namespace

TEST(PatchRecord, InitialPatchPacksToItsKnownBytesAndBack) {
    const PackedPatch expected = Hex(
        "90 b0 15 26 03 00 00 00 00 00 8c 60 9c 90 0c 18 00 09 54 e1 91 01 03 c8 18 63 b8 15 19 40 e0 04 00 00 00 00 00 "
        "00 00 00 00 00");
    EXPECT_EQ(Pack(InitialPatch()), expected);
    EXPECT_EQ(Unpack(expected), InitialPatch());
}

TEST(PatchRecord, WidthsSumTo330Bits) {
    int sum = 0;
    for (auto w : kPatchFieldWidths) sum += w;
    EXPECT_EQ(sum, 330);
}

TEST(PatchRecord, DlyParam1Bit7TravelsInTheLastField) {
    PatchData p = InitialPatch();
    p[DlyParam1] = 149;
    const PackedPatch packed = Pack(p);
    // Field 29 starts at bit 136 (byte 17), field 65 is bit 329 (byte 41, bit 1).
    EXPECT_EQ(packed[17] & 0x7F, 21);
    EXPECT_EQ((packed[41] >> 1) & 1, 1);
    EXPECT_EQ(Unpack(packed)[DlyParam1], 149);
}

TEST(PatchRecord, BitsAboveAFieldAndTheUncarriedBytesAreLost) {
    PatchData p = InitialPatch();
    p[17] = 0xAA;
    p[18] = 0x55;
    p[ModParam1] = 210;
    p[ModParam2] = 200;
    const PatchData back = Unpack(Pack(p));
    EXPECT_EQ(back[17], 0);
    EXPECT_EQ(back[18], 0);
    EXPECT_EQ(back[ModParam1], 210);
    EXPECT_EQ(back[ModParam2], 72);
}

TEST(PatchRecord, EveryFittingPatchSurvivesPackingAndAllOnesStayInside42Bytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        PatchData p{};
        for (int b = 0; b < kPatchBytes; ++b) {
            const int bits = PatchByteBits(b);
            p[static_cast<std::size_t>(b)] = bits ? static_cast<std::uint8_t>(rng() & ((1u << bits) - 1)) : 0;
        }
        ASSERT_EQ(Unpack(Pack(p)), p) << "round " << round;
    }
    PatchData ones;
    ones.fill(0xFF);
    const PackedPatch packed = Pack(ones);
    EXPECT_EQ(packed[41], 0x03);  // the 6 pad bits stay clear
    PackedPatch allSet;
    allSet.fill(0xFF);
    const PatchData unpacked = Unpack(allSet);
    EXPECT_EQ(unpacked[Ctrl2Number], 63);
    EXPECT_EQ(unpacked[DlyParam1], 0xFF);
}

TEST(PatchRecord, SlotsCarryThePackedPatchAndZeros) {
    const PackedSlot slot = ToSlot(Pack(InitialPatch()));
    for (int i = kPackedBytes; i < kPackedSlotBytes; ++i) EXPECT_EQ(slot[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(FromSlot(slot), Pack(InitialPatch()));
}

TEST(PatchNames, CheckRules) {
    EXPECT_EQ(CheckName("ab"), NameCheck::InvalidCharacter);
    EXPECT_EQ(CheckName("ABCDEFGHI"), NameCheck::TooLong);
    EXPECT_EQ(CheckName(""), NameCheck::Empty);
    EXPECT_EQ(CheckName("A-1 (X)"), NameCheck::Valid);
    EXPECT_EQ(CheckName("\\@<=>?*+"), NameCheck::Valid);
    // Eight characters, one of them two bytes long: counted as characters.
    EXPECT_EQ(CheckName("ABCDEFG\xC3\xA9"), NameCheck::InvalidCharacter);
}

TEST(PatchNames, EncodeAndDecode) {
    PatchData p = InitialPatch();
    EncodeName("A-1 (X)", p);
    EXPECT_EQ(DecodeName(p), "A-1 (X) ");
    EXPECT_EQ(p[Name0], 23);
    EXPECT_EQ(p[Name0 + 1], 6);
    EXPECT_EQ(p[Name0 + 7], 0);
    EncodeName("abcDEFGHIJ", p);  // unknown characters become spaces, extra ones are dropped
    EXPECT_EQ(DecodeName(p), "   DEFGH");
    p[Name0] = 50;
    p[Name0 + 1] = 63;
    p[Name0 + 2] = 200;
    EXPECT_EQ(DecodeName(p).substr(0, 3), "__#");
}

TEST(PatchLabels, AllEightyAndBack) {
    EXPECT_EQ(PatchLabel(0), "U01");
    EXPECT_EQ(PatchLabel(3), "U04");
    EXPECT_EQ(PatchLabel(4), "U11");
    EXPECT_EQ(PatchLabel(7), "U14");
    EXPECT_EQ(PatchLabel(39), "U94");
    EXPECT_EQ(PatchLabel(40), "u01");
    EXPECT_EQ(PatchLabel(44), "u11");
    EXPECT_EQ(PatchLabel(79), "u94");
    EXPECT_EQ(PatchLabel(80), "???");
    EXPECT_EQ(PatchLabel(-1), "???");
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(PatchIndexFromLabel(PatchLabel(i)), i);
    EXPECT_EQ(PatchIndexFromLabel("U05"), -1);
    EXPECT_EQ(PatchIndexFromLabel("X01"), -1);
    EXPECT_EQ(PatchIndexFromLabel("U1"), -1);
}

// The one UTF-8 reader: whole characters only; overlong forms, surrogates,
// code points beyond U+10FFFF and cut sequences are single invalid bytes.
TEST(Utf8, DecodesWholeCharactersOnly) {
    std::size_t length = 0;
    EXPECT_EQ(orb8::utf8::Decode("\xE3\x81\x82", 0, length), 0x3042u);  // あ
    EXPECT_EQ(length, 3u);
    for (const std::string bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81", "\x81"}) {
        EXPECT_EQ(orb8::utf8::Decode(bad, 0, length), orb8::utf8::kInvalid) << bad.size();
        EXPECT_EQ(length, 1u);
        EXPECT_FALSE(orb8::utf8::Valid(bad));
    }
    std::string out;
    for (std::uint32_t c : {0x41u, 0xE9u, 0x3042u, 0x1F3B8u}) orb8::utf8::Append(out, c);
    EXPECT_TRUE(orb8::utf8::Valid(out));
    EXPECT_EQ(orb8::utf8::CodePoints(out), 4u);
    EXPECT_EQ(orb8::utf8::NextCharacter(out, 1), 3u);  // past é
}
