// A simulated ORB-8: it answers the program's messages on its device channel
// as the processor does, keeps what is written to it, logs every message it
// receives, and injects faults on request. It has no clock of its own: the
// transport around it adds the MIDI wire time.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "device/messages.h"

namespace orb8 {

enum class SimFault {
    NoAnswer,         // the message is taken in, no reply goes out
    Unrecognised,     // a maker message with an unknown function
    WriteReject,      // the write is refused
    WriteStop,        // the processor stops the transfer
    Truncated,        // only the first half of the reply
    OtherMaker,       // a reply with another manufacturer
    OtherModel,       // a reply from another model of the same maker
    WrongDeviceByte,  // a reply naming another device number
};

std::string_view SimFaultName(SimFault fault);
bool SimFaultFromName(std::string_view name, SimFault& fault);
// The messages the simulator answers, and so the ones a fault can be put on.
std::span<const std::string_view> FaultableMessageNames();

// "PatchRequest:30:unrecognised" into its parts; false, with a sentence in
// error, for an unknown message or fault or an occurrence that is not 0 or more.
bool ParseFaultRule(std::string_view rule, std::string& message, int& occurrence, SimFault& fault, std::string& error);

class Orb8Simulator {
public:
    explicit Orb8Simulator(int channel = 0);

    // Takes one complete message (SysEx, or channel messages such as the
    // patch select) and returns the replies it causes, in order.
    std::vector<Message> Receive(std::span<const std::uint8_t> message);

    // Injects a fault at the occurrence-th (1-based) message of that name
    // ("PatchRequest", "IdentityRequest", ...); every occurrence when 0.
    void InjectFault(std::string_view messageName, int occurrence, SimFault fault);
    void ClearFaults() { faults_.clear(); }

    // The log: one line per received message, hex bytes then its name.
    const std::vector<std::string>& Log() const { return log_; }
    // When each logged message arrived, in milliseconds from the processor's
    // start (its last byte on the wire), or -1 where nobody said.
    const std::vector<double>& LogTimes() const { return logTimes_; }
    // The log as a file holds it: each line after its arrival time.
    std::string TimedLog() const;
    std::vector<std::string> ReceivedNames() const;
    void ClearLog() { log_.clear(); logTimes_.clear(); names_.clear(); counts_.clear(); }
    // The arrival time of the next message received, for the log.
    double arrivalMs = -1;

    int channel;
    std::uint8_t manufacturer = kMakerId;
    std::uint8_t family = kModelCode;

    std::array<PackedPatch, kPatchCount> bank;
    CustomSettingsBlock customSettings;
    SettingsPage systemPage{};                 // what SettingsPageRequest returns
    std::map<int, SettingsPage> writtenPages;  // SettingsPageWrite by page number
    std::array<FilterDeviceImage, kFilterCount> filters;
    std::array<ClipperBlock, kSetCount> clippers;
    std::array<CoefNibbleData, kFilterCount> designFilters{};
    std::array<ClipperBlock, kSetCount> designClippers{};
    PatchData editBuffer{};
    int program = 0;
    int bankMsb = 0, bankLsb = 0;
    bool writeOpen = false;

private:
    struct FaultRule {
        std::string name;
        int occurrence;
        SimFault fault;
    };
    Message Answer(std::span<const std::uint8_t> m, bool& refused);
    Message Ack(std::uint8_t function) const;
    void ChannelMessages(std::span<const std::uint8_t> m);

    std::vector<FaultRule> faults_;
    std::vector<std::string> log_;
    std::vector<double> logTimes_;
    std::vector<std::string> names_;
    std::map<std::string, int> counts_;
};

}  // namespace orb8
