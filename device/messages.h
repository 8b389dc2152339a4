// The ORB-8's SysEx message set: builders for everything the program sends,
// byte-exact, and the classification of what it receives. Every builder masks
// what it puts on the wire so that no data byte is ever 0x80 or above,
// whatever the documents hold.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "customdist/clipperpresets.h"
#include "customdist/customdistdata.h"
#include "patch/customsettings.h"
#include "patch/patchdata.h"

namespace orb8 {

using Message = std::vector<std::uint8_t>;

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr std::uint8_t kMakerId = 0x52;
constexpr std::uint8_t kModelCode = 0x21;
constexpr int kSettingsPageBytes = 128;
constexpr int kDeviceCustomDistBytes = 368;  // 16 filter images, then 2 clipper blocks
constexpr int kDeviceClipperOffset = kFilterCount * kFilterImageBytes;  // 320; 24 bytes per clipper

// The universal identity request and reply: F0 7E device 06 01 / 06 02.
constexpr std::uint8_t kUniversalNonRealTime = 0x7E;
constexpr std::uint8_t kGeneralInformation = 0x06;
constexpr std::uint8_t kIdentityRequestCode = 0x01;
constexpr std::uint8_t kIdentityReplyCode = 0x02;

// How Send All composes settings pages 27 and 30 from the processor's page,
// its custom distortion data and the custom settings block: runs of
// (source, first byte, length) laid one after another from page byte 0; what
// is left of a page is zero.
enum class PageSource { SettingsPage, CustomSettings, DeviceCustomDist };
struct PageRun {
    PageSource source;
    int first, length;
};
constexpr int kPage27 = 27, kPage30 = 30;
constexpr PageRun kPage27Runs[] = {
    {PageSource::SettingsPage, 76, 52}, {PageSource::CustomSettings, 20, 38}, {PageSource::DeviceCustomDist, 0, 38}};
constexpr PageRun kPage30Runs[] = {{PageSource::DeviceCustomDist, 294, 74}, {PageSource::CustomSettings, 58, 34}};
static_assert(kDeviceClipperOffset + 2 * kClipperBlockBytes == kDeviceCustomDistBytes);
constexpr int kIdentityRecordBytes = 10;
constexpr int kDecodeAreaBytes = 123;

enum Function : std::uint8_t {
    FnWriteOpen = 0x10,
    FnWriteAck = 0x11,
    FnWriteClose = 0x12,
    FnPatchRequest = 0x13,
    FnCustomSettingsRequest = 0x14,
    FnSettingsPageRequest = 0x15,
    FnFilterRequest = 0x16,
    FnClipperRequest = 0x17,
    FnWriteStop = 0x19,
    FnWriteReject = 0x1F,
    FnPatchDump = 0x23,
    FnCustomSettingsDump = 0x24,
    FnSettingsPageDump = 0x25,
    FnFilterDump = 0x26,
    FnClipperDump = 0x27,
    FnEditBufferWrite = 0x28,
    FnSettingsPageWrite = 0x29,
    FnParameterChange = 0x30,
    FnDesignFilterWrite = 0x31,
    FnDesignClipperWrite = 0x32,
};

// Receive buffer sizes, each for the one reply it is queued for.
constexpr int kAckReplyBytes = 7;
constexpr int kIdentityReplyBytes = 20;
constexpr int kFilterReplyBytes = 47;
constexpr int kClipperReplyBytes = 51;
constexpr int kPatchReplyBytes = 91;
constexpr int kCustomSettingsReplyBytes = 190;
constexpr int kSettingsPageReplyBytes = 263;

using SettingsPage = std::array<std::uint8_t, kSettingsPageBytes>;
using CoefNibbleData = std::array<std::uint8_t, kCoefNibbles>;

// A maker message: header, the index byte when index >= 0, the data
// nibble-coded (high nibble first), end. Dumps in both directions have this form.
Message NibbleMessage(int channel, Function function, int index, std::span<const std::uint8_t> data);

Message IdentityRequest(int channel);
Message WriteOpen(int channel);
Message WriteClose(int channel);
Message PatchRequest(int channel, int patch);
Message CustomSettingsRequest(int channel);
Message SettingsPageRequest(int channel);
Message FilterRequest(int channel, int filter);
Message ClipperRequest(int channel, int clipper);
Message PatchDump(int channel, int patch, const PackedPatch& packed);
// The 30 coefficient nibbles as they stand, then the 5 settings bytes nibble-coded.
Message FilterDump(int channel, int filter, std::span<const std::uint8_t, kFilterDumpDataBytes> data);
Message ClipperDump(int channel, int clipper, const ClipperBlock& block);
Message EditBufferWrite(int channel, const PatchData& patch);
Message SettingsPageWrite(int channel, int page, const SettingsPage& data);
Message ParameterChange(int channel, int parameter, int value);
Message DesignFilterWrite(int channel, int filter, const CoefNibbleData& nibbles);
Message DesignClipperWrite(int channel, int clipper, const ClipperBlock& block);
// Bank select 0 (MSB and LSB) and a program change, sent as one 8-byte message.
Message PatchSelect(int channel, int patch);

// What makes a ParameterChange pointless once a newer one waits behind it:
// its channel and parameter. None for any other message.
std::optional<int> ParameterChangeKey(std::span<const std::uint8_t> message);

// The name of a message by its bytes ("PatchRequest", "IdentityReply", ...).
std::string_view MessageName(std::span<const std::uint8_t> message);

// Classification of received messages.
enum ReplyState : std::int32_t {
    ReplyNone = 0,
    ReplyPatchDump = 1,
    ReplyWriteAck = 2,
    ReplyWriteStop = 3,
    ReplySettingsPage = 4,
    ReplyWriteReject = 5,
    ReplyIdentity = 6,
    ReplyCustomSettings = 7,
    ReplyFilterDump = 8,
    ReplyClipperDump = 9,
    ReplyUnrecognised = -1,
};

struct DeviceWorkAreas {
    // The reply's device byte, then manufacturer, family (2), member (2), version (4).
    std::array<std::uint8_t, kIdentityRecordBytes> identity{};
    std::array<std::uint8_t, kDecodeAreaBytes> decodeArea{};
    CustomSettingsBlock customSettings = DefaultCustomSettings();
    SettingsPage settingsPage{};
    std::array<std::uint8_t, kDeviceCustomDistBytes> deviceCustomDist{};
};

// Classifies one received buffer by the bytes it recorded and decodes its
// payload into the work areas. A buffer shorter than the positions its
// decoder reads is unrecognised and changes nothing.
ReplyState ClassifyReply(std::span<const std::uint8_t> recorded, DeviceWorkAreas& areas);

}  // namespace orb8
