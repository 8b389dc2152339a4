#include "sim/orb8simulator.h"

#include <cstdio>

#include <algorithm>

#include "sim/factorybank.h"

namespace orb8 {
namespace {

constexpr std::pair<SimFault, std::string_view> kFaultNames[] = {
    {SimFault::NoAnswer, "no-answer"},       {SimFault::Unrecognised, "unrecognised"},
    {SimFault::WriteReject, "reject"},       {SimFault::WriteStop, "stop"},
    {SimFault::Truncated, "truncated"},      {SimFault::OtherMaker, "other-maker"},
    {SimFault::OtherModel, "other-model"},   {SimFault::WrongDeviceByte, "wrong-device"},
};

std::string Hex(std::span<const std::uint8_t> m) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (i) s += ' ';
        s += digits[m[i] >> 4];
        s += digits[m[i] & 15];
    }
    return s;
}

// Nibble pairs from position `from` into out; false when the message is too short.
bool TakeNibbles(std::span<const std::uint8_t> m, std::size_t from, std::span<std::uint8_t> out) {
    if (m.size() < from + 2 * out.size() + 1) return false;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>(((m[from + 2 * i] & 0x0F) << 4) | (m[from + 2 * i + 1] & 0x0F));
    return true;
}


}  // namespace

std::string_view SimFaultName(SimFault fault) {
    for (const auto& [f, name] : kFaultNames) {
        if (f == fault) return name;
    }
    return "?";
}

bool SimFaultFromName(std::string_view name, SimFault& fault) {
    for (const auto& [f, n] : kFaultNames) {
        if (n == name) {
            fault = f;
            return true;
        }
    }
    return false;
}

std::span<const std::string_view> FaultableMessageNames() {
    static constexpr std::string_view names[] = {
        "IdentityRequest", "CustomSettingsRequest", "PatchRequest",    "SettingsPageRequest",
        "FilterRequest",   "ClipperRequest",        "WriteOpen",       "PatchDump",
        "FilterDump",      "ClipperDump",           "EditBufferWrite", "SettingsPageWrite",
    };
    return names;
}

bool ParseFaultRule(std::string_view rule, std::string& message, int& occurrence, SimFault& fault, std::string& error) {
    const auto a = rule.find(':'), b = rule.rfind(':');
    if (a == std::string_view::npos || a == b) {
        error = "is not MESSAGE:OCCURRENCE:FAULT";
        return false;
    }
    message = std::string(rule.substr(0, a));
    const auto names = FaultableMessageNames();
    if (std::find(names.begin(), names.end(), message) == names.end()) {
        error = "\"" + message + "\" is not a message the ORB-8 answers (";
        for (std::size_t i = 0; i < names.size(); ++i) error += (i ? ", " : "") + std::string(names[i]);
        error += ")";
        return false;
    }
    const std::string_view count = rule.substr(a + 1, b - a - 1);
    if (count.empty() || count.size() > 6 || count.find_first_not_of("0123456789") != std::string_view::npos) {
        error = "the occurrence \"" + std::string(count) + "\" is not a number of 0 or more";
        return false;
    }
    occurrence = std::stoi(std::string(count));
    if (!SimFaultFromName(rule.substr(b + 1), fault)) {
        error = "\"" + std::string(rule.substr(b + 1)) + "\" is not a fault (";
        bool first = true;
        for (const auto& [f, name] : kFaultNames) {
            error += (first ? "" : ", ") + std::string(name);
            first = false;
        }
        error += ")";
        return false;
    }
    return true;
}

Orb8Simulator::Orb8Simulator(int ch)
    : channel(ch & 0x0F),
      bank(FactoryBank()),
      customSettings(FactoryCustomSettings()),
      filters(FactoryFilterImages()),
      clippers(FactoryClippers()) {
    for (int i = 0; i < kSettingsPageBytes; ++i) systemPage[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 37 + 11) & 0xFF);
    editBuffer = Unpack(bank[0]);
}

void Orb8Simulator::InjectFault(std::string_view messageName, int occurrence, SimFault fault) {
    faults_.push_back({std::string(messageName), occurrence, fault});
}

std::vector<std::string> Orb8Simulator::ReceivedNames() const { return names_; }

std::string Orb8Simulator::TimedLog() const {
    std::string text;
    for (std::size_t i = 0; i < log_.size(); ++i) {
        char time[32] = "";
        if (logTimes_[i] >= 0) std::snprintf(time, sizeof time, "%12.3f ms  ", logTimes_[i]);
        else std::snprintf(time, sizeof time, "%17s", "");
        text += time + log_[i] + "\n";
    }
    return text;
}

Message Orb8Simulator::Ack(std::uint8_t function) const {
    return {kSysExStart, kMakerId, static_cast<std::uint8_t>(channel), kModelCode, function, kSysExEnd};
}

void Orb8Simulator::ChannelMessages(std::span<const std::uint8_t> m) {
    // Running status is not used by the program; each message carries its status byte.
    std::size_t i = 0;
    while (i < m.size()) {
        const std::uint8_t status = m[i];
        if (status < 0x80 || status >= 0xF0) break;
        const int kind = status & 0xF0;
        const std::size_t length = (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
        if (i + length > m.size()) break;
        if ((status & 0x0F) == channel) {
            if (kind == 0xB0 && m[i + 1] == 0x00) bankMsb = m[i + 2];
            if (kind == 0xB0 && m[i + 1] == 0x20) bankLsb = m[i + 2];
            if (kind == 0xC0 && m[i + 1] < kPatchCount) {
                program = m[i + 1];
                editBuffer = Unpack(bank[static_cast<std::size_t>(program)]);
            }
        }
        i += length;
    }
}

Message Orb8Simulator::Answer(std::span<const std::uint8_t> m, bool& refused) {
    if (m.size() >= 6 && m[1] == kUniversalNonRealTime && m[3] == kGeneralInformation && m[4] == kIdentityRequestCode) {
        if (m[2] != channel && m[2] != 0x7F) return {};
        return {kSysExStart, kUniversalNonRealTime, static_cast<std::uint8_t>(channel), kGeneralInformation,
                kIdentityReplyCode, manufacturer, family, 0x00,
                0x00,        0x00, 0x01, 0x00, 0x00, 0x00, kSysExEnd};
    }
    if (m.size() < 6 || m[1] != kMakerId || m[3] != kModelCode || m[2] != channel) return {};
    const std::uint8_t fn = m[4];
    const bool isWrite = fn == FnPatchDump || fn == FnFilterDump || fn == FnClipperDump || fn == FnEditBufferWrite ||
                         fn == FnSettingsPageWrite;
    if (isWrite && !writeOpen) refused = true;
    auto ack = [&] { return refused ? Ack(FnWriteReject) : Ack(FnWriteAck); };
    const int index = m[5];
    switch (fn) {
        case FnWriteOpen:
            if (!refused) writeOpen = true;
            return Ack(FnWriteAck);
        case FnWriteClose:
            writeOpen = false;
            return {};
        case FnPatchRequest:
            if (index >= kPatchCount) return {};
            return NibbleMessage(channel, FnPatchDump, index, bank[static_cast<std::size_t>(index)]);
        case FnCustomSettingsRequest: return NibbleMessage(channel, FnCustomSettingsDump, -1, customSettings);
        case FnSettingsPageRequest: return NibbleMessage(channel, FnSettingsPageDump, -1, systemPage);
        case FnFilterRequest:
            if (index >= kFilterCount) return {};
            return NibbleMessage(channel, FnFilterDump, index, filters[static_cast<std::size_t>(index)]);
        case FnClipperRequest:
            if (index >= kSetCount) return {};
            return NibbleMessage(channel, FnClipperDump, index,
                        std::span<const std::uint8_t>(clippers[static_cast<std::size_t>(index)].data(), kClipperStoredBytes));
        case FnPatchDump: {
            PackedPatch packed;
            if (index >= kPatchCount || !TakeNibbles(m, 6, packed)) return {};
            if (!refused) bank[static_cast<std::size_t>(index)] = packed;
            return ack();
        }
        case FnFilterDump: {
            if (index >= kFilterCount || m.size() != 47) return {};
            std::array<std::uint8_t, kCoefNibbles> nibbles;
            std::copy_n(m.begin() + 6, kCoefNibbles, nibbles.begin());
            FilterDeviceImage settings{};
            if (!TakeNibbles(m, 36, std::span<std::uint8_t>(settings.data() + kSettingsCodeOffset, kSettingsCodeBytes))) return {};
            if (!refused) filters[static_cast<std::size_t>(index)] = FilterImageFromDump(nibbles, settings);
            return ack();
        }
        case FnClipperDump: {
            ClipperBlock block;
            if (index >= kSetCount || !TakeNibbles(m, 6, block)) return {};
            if (!refused) clippers[static_cast<std::size_t>(index)] = block;
            return ack();
        }
        case FnEditBufferWrite: {
            PatchData patch;
            if (!TakeNibbles(m, 5, patch)) return {};
            if (!refused) editBuffer = patch;
            return ack();
        }
        case FnSettingsPageWrite: {
            SettingsPage page;
            if (!TakeNibbles(m, 6, page)) return {};
            if (!refused) {
                writtenPages[index] = page;
                // The custom settings a page carries become the processor's own.
                const std::span<const PageRun> runs =
                    index == kPage27 ? std::span<const PageRun>(kPage27Runs)
                                     : index == kPage30 ? std::span<const PageRun>(kPage30Runs) : std::span<const PageRun>();
                std::size_t at = 0;
                for (const PageRun& run : runs) {
                    if (run.source == PageSource::CustomSettings)
                        std::copy_n(page.begin() + static_cast<std::ptrdiff_t>(at), run.length,
                                    customSettings.begin() + run.first);
                    at += static_cast<std::size_t>(run.length);
                }
            }
            return ack();
        }
        case FnParameterChange: {
            std::uint8_t value;
            if (index < kPatchBytes && TakeNibbles(m, 6, std::span<std::uint8_t>(&value, 1)))
                editBuffer[static_cast<std::size_t>(index)] = value;
            return {};
        }
        case FnDesignFilterWrite:
            if (index < kFilterCount && m.size() == 47)
                std::copy_n(m.begin() + 6, kCoefNibbles, designFilters[static_cast<std::size_t>(index)].begin());
            return {};
        case FnDesignClipperWrite:
            if (index < kSetCount) TakeNibbles(m, 6, designClippers[static_cast<std::size_t>(index)]);
            return {};
        default: return {};
    }
}

std::vector<Message> Orb8Simulator::Receive(std::span<const std::uint8_t> m) {
    const std::string name(MessageName(m));
    log_.push_back(Hex(m) + "  " + name);
    logTimes_.push_back(arrivalMs);
    arrivalMs = -1;
    names_.push_back(name);
    const int count = ++counts_[name];

    const FaultRule* fault = nullptr;
    for (const FaultRule& rule : faults_) {
        if (rule.name == name && (rule.occurrence == 0 || rule.occurrence == count)) fault = &rule;
    }

    if (!m.empty() && m[0] >= 0x80 && m[0] < 0xF0) {
        ChannelMessages(m);
        return {};
    }
    if (m.size() < 6 || m[0] != kSysExStart || m.back() != kSysExEnd) return {};

    bool refused = fault && (fault->fault == SimFault::WriteReject || fault->fault == SimFault::WriteStop);
    Message reply = Answer(m, refused);
    if (!fault || reply.empty()) return reply.empty() ? std::vector<Message>{} : std::vector<Message>{reply};

    const bool identity = reply.size() > 1 && reply[1] == kUniversalNonRealTime;
    switch (fault->fault) {
        case SimFault::NoAnswer: return {};
        case SimFault::Unrecognised: return {{kSysExStart, kMakerId, static_cast<std::uint8_t>(channel), kModelCode, 0x7F, kSysExEnd}};
        case SimFault::WriteReject: return {Ack(FnWriteReject)};
        case SimFault::WriteStop: return {Ack(FnWriteStop)};
        case SimFault::Truncated: reply.resize(reply.size() / 2); break;
        case SimFault::OtherMaker: reply[identity ? 5 : 1] = 0x41; break;
        case SimFault::OtherModel: reply[identity ? 6 : 3] = 0x22; break;
        case SimFault::WrongDeviceByte: reply[2] = static_cast<std::uint8_t>((channel + 1) & 0x0F); break;
    }
    return {reply};
}

}  // namespace orb8
