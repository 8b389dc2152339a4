#include <gtest/gtest.h>

#include "device/messages.h"

using namespace orb8;

namespace {

Message M(std::initializer_list<int> bytes) {
    Message m;
    for (int b : bytes) m.push_back(static_cast<std::uint8_t>(b));
    return m;
}

void ExpectSevenBitData(const Message& m) {
    ASSERT_GE(m.size(), 2u);
    if (m[0] != 0xF0) return;
    EXPECT_EQ(m.back(), 0xF7);
    for (std::size_t i = 1; i + 1 < m.size(); ++i) EXPECT_LT(m[i], 0x80) << "byte " << i << " of " << MessageName(m);
}

}  // namespace

TEST(Messages, ExactBytes) {
    EXPECT_EQ(ParameterChange(3, 29, 0xC5), M({0xF0, 0x52, 0x03, 0x21, 0x30, 0x1D, 0x0C, 0x05, 0xF7}));
    EXPECT_EQ(PatchRequest(3, 79), M({0xF0, 0x52, 0x03, 0x21, 0x13, 0x4F, 0xF7}));
    EXPECT_EQ(IdentityRequest(9), M({0xF0, 0x7E, 0x09, 0x06, 0x01, 0xF7}));
    EXPECT_EQ(WriteOpen(0), M({0xF0, 0x52, 0x00, 0x21, 0x10, 0xF7}));
    EXPECT_EQ(WriteClose(15), M({0xF0, 0x52, 0x0F, 0x21, 0x12, 0xF7}));
    EXPECT_EQ(CustomSettingsRequest(2), M({0xF0, 0x52, 0x02, 0x21, 0x14, 0xF7}));
    EXPECT_EQ(PatchSelect(4, 23), M({0xB4, 0x00, 0x00, 0xB4, 0x20, 0x00, 0xC4, 23}));
    const Message dump = PatchDump(1, 5, Pack(InitialPatch()));
    EXPECT_EQ(dump[5], 5);
    EXPECT_EQ(dump[6], 0x09);  // 0x90 high nibble first
    EXPECT_EQ(dump[7], 0x00);
}

TEST(Messages, LengthsAndSevenBitDataWhateverTheDocumentsHold) {
    PatchData patch;
    patch.fill(0xFF);
    PackedPatch packed;
    packed.fill(0xFF);
    ClipperBlock clip;
    clip.fill(0xFF);
    SettingsPage page;
    page.fill(0xFF);
    std::array<std::uint8_t, kFilterDumpDataBytes> filterData;
    filterData.fill(0xFF);
    CoefNibbleData nibbles;
    nibbles.fill(0xFF);
    const int ch = 200, n = 255;  // out of range on purpose
    const std::pair<Message, std::size_t> table[] = {
        {IdentityRequest(ch), 6},        {WriteOpen(ch), 6},
        {WriteClose(ch), 6},             {PatchRequest(ch, n), 7},
        {CustomSettingsRequest(ch), 6},  {SettingsPageRequest(ch), 6},
        {FilterRequest(ch, n), 7},       {ClipperRequest(ch, n), 7},
        {PatchDump(ch, n, packed), 91},  {FilterDump(ch, n, filterData), 47},
        {ClipperDump(ch, n, clip), 55},  {EditBufferWrite(ch, patch), 136},
        {SettingsPageWrite(ch, n, page), 263}, {ParameterChange(ch, n, 0x1FF), 9},
        {DesignFilterWrite(ch, n, nibbles), 47}, {DesignClipperWrite(ch, n, clip), 55},
        {PatchSelect(ch, n), 8},
    };
    for (const auto& [message, length] : table) {
        EXPECT_EQ(message.size(), length) << MessageName(message);
        ExpectSevenBitData(message);
    }
    const Message select = PatchSelect(ch, n);
    for (std::size_t i : {1u, 2u, 4u, 5u, 7u}) EXPECT_LT(select[i], 0x80);
    const Message design = DesignFilterWrite(0, 1, nibbles);
    for (int i = 36; i < 46; ++i) EXPECT_EQ(design[static_cast<std::size_t>(i)], 0);
}

TEST(ReplyClassifier, IdentityAndMakerMessages) {
    DeviceWorkAreas areas;
    const Message identity = M({0xF0, 0x7E, 0x04, 0x06, 0x02, 0x52, 0x21, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF7});
    EXPECT_EQ(ClassifyReply(identity, areas), ReplyIdentity);
    EXPECT_EQ(areas.identity[0], 4);
    EXPECT_EQ(areas.identity[1], 0x52);
    EXPECT_EQ(areas.identity[2], 0x21);
    // Byte 2 of a maker message is not looked at.
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x52, 0x0B, 0x21, 0x11, 0xF7}), areas), ReplyWriteAck);
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x52, 0x00, 0x21, 0x19, 0xF7}), areas), ReplyWriteStop);
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x52, 0x00, 0x21, 0x1F, 0xF7}), areas), ReplyWriteReject);
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x41, 0x00, 0x21, 0x11, 0xF7}), areas), ReplyUnrecognised);
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x52, 0x00, 0x22, 0x11, 0xF7}), areas), ReplyUnrecognised);
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x52, 0x00, 0x21, 0x7F, 0xF7}), areas), ReplyUnrecognised);
    EXPECT_EQ(ClassifyReply({}, areas), ReplyUnrecognised);
}

TEST(ReplyClassifier, DumpsDecodeIntoTheirAreas) {
    DeviceWorkAreas areas;
    areas.decodeArea.fill(0);
    const Message patch = PatchDump(0, 7, Pack(InitialPatch()));
    EXPECT_EQ(ClassifyReply(patch, areas), ReplyPatchDump);
    for (int i = 0; i < kPackedBytes; ++i) EXPECT_EQ(areas.decodeArea[static_cast<std::size_t>(i)], Pack(InitialPatch())[static_cast<std::size_t>(i)]);
    for (int i = 42; i < 58; ++i) EXPECT_EQ(areas.decodeArea[static_cast<std::size_t>(i)], 0);

    Message settings = {0xF0, 0x52, 0x00, 0x21, 0x24};
    for (int i = 0; i < 92; ++i) {
        settings.push_back(static_cast<std::uint8_t>(i >> 4));
        settings.push_back(static_cast<std::uint8_t>(i & 15));
    }
    settings.push_back(0xF7);
    EXPECT_EQ(settings.size(), 190u);
    EXPECT_EQ(ClassifyReply(settings, areas), ReplyCustomSettings);
    EXPECT_EQ(areas.customSettings[91], 91);

    Message page = {0xF0, 0x52, 0x00, 0x21, 0x25};
    for (int i = 0; i < 128; ++i) {
        page.push_back(0x0A);
        page.push_back(0x05);
    }
    page.push_back(0xF7);
    EXPECT_EQ(page.size(), 262u);  // in a 263-byte buffer
    EXPECT_EQ(ClassifyReply(page, areas), ReplySettingsPage);
    EXPECT_EQ(areas.settingsPage[127], 0xA5);
}

TEST(ReplyClassifier, ShortBuffersChangeNothing) {
    const Message full[] = {
        PatchDump(0, 1, Pack(InitialPatch())),
        M({0xF0, 0x7E, 0x04, 0x06, 0x02, 0x52, 0x21, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF7}),
    };
    for (const Message& m : full) {
        for (std::size_t cut = 0; cut < m.size() - 1; ++cut) {
            DeviceWorkAreas areas;
            areas.decodeArea.fill(0x33);
            areas.identity.fill(0x33);
            const DeviceWorkAreas before = areas;
            const Message part(m.begin(), m.begin() + static_cast<std::ptrdiff_t>(cut));
            const ReplyState state = ClassifyReply(part, areas);
            // A cut that still holds every byte the decoder reads is complete.
            if (state != ReplyUnrecognised) continue;
            EXPECT_EQ(areas.decodeArea, before.decodeArea) << cut;
            EXPECT_EQ(areas.identity, before.identity) << cut;
        }
    }
    DeviceWorkAreas areas;
    const CustomSettingsBlock before = areas.customSettings;
    Message settings(100, 0x01);
    settings[0] = 0xF0;
    settings[1] = 0x52;
    settings[3] = 0x21;
    settings[4] = 0x24;
    EXPECT_EQ(ClassifyReply(settings, areas), ReplyUnrecognised);
    EXPECT_EQ(areas.customSettings, before);
    EXPECT_EQ(ClassifyReply(M({0xF0, 0x52, 0x00, 0x21, 0x23, 0x00, 0x01}), areas), ReplyUnrecognised);
}
