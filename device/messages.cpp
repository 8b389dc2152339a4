#include "device/messages.h"

namespace orb8 {
namespace {

std::uint8_t Channel(int channel) { return static_cast<std::uint8_t>(channel & 0x0F); }
std::uint8_t Data7(int value) { return static_cast<std::uint8_t>(value & 0x7F); }

Message Header(int channel, Function function) {
    return {kSysExStart, kMakerId, Channel(channel), kModelCode, function};
}

void PutNibbles(Message& m, std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) {
        m.push_back(b >> 4);
        m.push_back(b & 0x0F);
    }
}

Message Simple(int channel, Function function) {
    Message m = Header(channel, function);
    m.push_back(kSysExEnd);
    return m;
}

Message Indexed(int channel, Function function, int index) {
    Message m = Header(channel, function);
    m.push_back(Data7(index));
    m.push_back(kSysExEnd);
    return m;
}

void Decode(std::span<const std::uint8_t> p, std::size_t from, std::span<std::uint8_t> out) {
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>(p[from + 2 * i] * 16 + p[from + 2 * i + 1]);
}

}  // namespace

Message NibbleMessage(int channel, Function function, int index, std::span<const std::uint8_t> data) {
    Message m = Header(channel, function);
    if (index >= 0) m.push_back(Data7(index));
    PutNibbles(m, data);
    m.push_back(kSysExEnd);
    return m;
}

Message IdentityRequest(int channel) {
    return {kSysExStart, kUniversalNonRealTime, Channel(channel), kGeneralInformation, kIdentityRequestCode, kSysExEnd};
}
Message WriteOpen(int channel) { return Simple(channel, FnWriteOpen); }
Message WriteClose(int channel) { return Simple(channel, FnWriteClose); }
Message PatchRequest(int channel, int patch) { return Indexed(channel, FnPatchRequest, patch); }
Message CustomSettingsRequest(int channel) { return Simple(channel, FnCustomSettingsRequest); }
Message SettingsPageRequest(int channel) { return Simple(channel, FnSettingsPageRequest); }
Message FilterRequest(int channel, int filter) { return Indexed(channel, FnFilterRequest, filter); }
Message ClipperRequest(int channel, int clipper) { return Indexed(channel, FnClipperRequest, clipper); }

Message PatchDump(int channel, int patch, const PackedPatch& packed) {
    return NibbleMessage(channel, FnPatchDump, patch, packed);
}

Message FilterDump(int channel, int filter, std::span<const std::uint8_t, kFilterDumpDataBytes> data) {
    Message m = Header(channel, FnFilterDump);
    m.push_back(Data7(filter));
    for (int i = 0; i < kCoefNibbles; ++i) m.push_back(data[static_cast<std::size_t>(i)] & 0x0F);
    PutNibbles(m, data.subspan(kCoefNibbles));
    m.push_back(kSysExEnd);
    return m;
}

Message ClipperDump(int channel, int clipper, const ClipperBlock& block) {
    return NibbleMessage(channel, FnClipperDump, clipper, block);
}

Message EditBufferWrite(int channel, const PatchData& patch) {
    return NibbleMessage(channel, FnEditBufferWrite, -1, patch);
}

Message SettingsPageWrite(int channel, int page, const SettingsPage& data) {
    return NibbleMessage(channel, FnSettingsPageWrite, page, data);
}

Message ParameterChange(int channel, int parameter, int value) {
    const std::uint8_t byte = static_cast<std::uint8_t>(value & 0xFF);
    return NibbleMessage(channel, FnParameterChange, parameter, std::span<const std::uint8_t>(&byte, 1));
}

std::optional<int> ParameterChangeKey(std::span<const std::uint8_t> message) {
    const Message sample = ParameterChange(0, 0, 0);
    if (message.size() != sample.size() || message[0] != kSysExStart || message[1] != sample[1] ||
        message[3] != sample[3] || message[4] != FnParameterChange || message.back() != kSysExEnd)
        return std::nullopt;
    return message[2] << 8 | message[5];
}

Message DesignFilterWrite(int channel, int filter, const CoefNibbleData& nibbles) {
    Message m = Header(channel, FnDesignFilterWrite);
    m.push_back(Data7(filter));
    for (std::uint8_t n : nibbles) m.push_back(n & 0x0F);
    m.insert(m.end(), 10, 0x00);
    m.push_back(kSysExEnd);
    return m;
}

Message DesignClipperWrite(int channel, int clipper, const ClipperBlock& block) {
    return NibbleMessage(channel, FnDesignClipperWrite, clipper, block);
}

Message PatchSelect(int channel, int patch) {
    const std::uint8_t ch = Channel(channel);
    return {static_cast<std::uint8_t>(0xB0 | ch), 0x00, 0x00, static_cast<std::uint8_t>(0xB0 | ch), 0x20, 0x00,
            static_cast<std::uint8_t>(0xC0 | ch), Data7(patch)};
}

std::string_view MessageName(std::span<const std::uint8_t> m) {
    if (m.empty()) return "Empty";
    if (m[0] >= 0x80 && m[0] < 0xF0) {
        if ((m[0] & 0xF0) == 0xB0 && m.size() == 8) return "PatchSelect";
        if ((m[0] & 0xF0) == 0xC0) return "ProgramChange";
        if ((m[0] & 0xF0) == 0xB0) return "ControlChange";
        return "ChannelMessage";
    }
    if (m[0] != kSysExStart) return "Unknown";
    if (m.size() >= 5 && m[1] == kUniversalNonRealTime && m[3] == kGeneralInformation)
        return m[4] == kIdentityRequestCode ? "IdentityRequest" : m[4] == kIdentityReplyCode ? "IdentityReply" : "Universal";
    if (m.size() < 5 || m[1] != kMakerId || m[3] != kModelCode) return "Foreign";
    switch (m[4]) {
        case FnWriteOpen: return "WriteOpen";
        case FnWriteAck: return "WriteAck";
        case FnWriteClose: return "WriteClose";
        case FnPatchRequest: return "PatchRequest";
        case FnCustomSettingsRequest: return "CustomSettingsRequest";
        case FnSettingsPageRequest: return "SettingsPageRequest";
        case FnFilterRequest: return "FilterRequest";
        case FnClipperRequest: return "ClipperRequest";
        case FnWriteStop: return "WriteStop";
        case FnWriteReject: return "WriteReject";
        case FnPatchDump: return "PatchDump";
        case FnCustomSettingsDump: return "CustomSettingsDump";
        case FnSettingsPageDump: return "SettingsPageDump";
        case FnFilterDump: return "FilterDump";
        case FnClipperDump: return "ClipperDump";
        case FnEditBufferWrite: return "EditBufferWrite";
        case FnSettingsPageWrite: return "SettingsPageWrite";
        case FnParameterChange: return "ParameterChange";
        case FnDesignFilterWrite: return "DesignFilterWrite";
        case FnDesignClipperWrite: return "DesignClipperWrite";
        default: return "UnknownFunction";
    }
}

ReplyState ClassifyReply(std::span<const std::uint8_t> p, DeviceWorkAreas& areas) {
    // Identity reply: reads bytes 2 and 5..13.
    if (p.size() >= 5 && p[0] == kSysExStart && p[1] == kUniversalNonRealTime && p[3] == kGeneralInformation &&
        p[4] == kIdentityReplyCode) {
        if (p.size() < 14) return ReplyUnrecognised;
        areas.identity[0] = p[2];
        for (int i = 0; i < 9; ++i) areas.identity[static_cast<std::size_t>(1 + i)] = p[static_cast<std::size_t>(5 + i)];
        return ReplyIdentity;
    }
    if (p.size() < 5 || p[0] != kSysExStart || p[1] != kMakerId || p[3] != kModelCode) return ReplyUnrecognised;
    // Length is checked before anything is written: a short dump changes nothing.
    auto decodeInto = [&](std::size_t from, std::span<std::uint8_t> out) {
        if (p.size() < from + 2 * out.size()) return false;
        Decode(p, from, out);
        return true;
    };
    std::span<std::uint8_t> decode(areas.decodeArea);
    switch (p[4]) {
        case FnWriteAck: return ReplyWriteAck;
        case FnWriteStop: return ReplyWriteStop;
        case FnWriteReject: return ReplyWriteReject;
        case FnPatchDump: return decodeInto(6, decode.first(kPackedBytes)) ? ReplyPatchDump : ReplyUnrecognised;
        case FnFilterDump: return decodeInto(6, decode.first(kFilterImageBytes)) ? ReplyFilterDump : ReplyUnrecognised;
        case FnClipperDump:
            return decodeInto(6, decode.first(kClipperStoredBytes)) ? ReplyClipperDump : ReplyUnrecognised;
        case FnCustomSettingsDump:
            return decodeInto(5, areas.customSettings) ? ReplyCustomSettings : ReplyUnrecognised;
        case FnSettingsPageDump:
            return decodeInto(5, areas.settingsPage) ? ReplySettingsPage : ReplyUnrecognised;
        default: return ReplyUnrecognised;
    }
}

}  // namespace orb8
