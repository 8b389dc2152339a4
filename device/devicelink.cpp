#include "device/devicelink.h"

#include <algorithm>

#include "patch/differences.h"

namespace orb8 {

using namespace std::chrono_literals;

namespace {

constexpr auto kIdentityTimeLimit = 300ms;
constexpr auto kShortPause = 2ms;
constexpr const char* kDataFailure = "Data failure.";
constexpr const char* kWaitReply = "Wait reply from ORB-8...";

std::string OpenErrorText(int result, const char* direction) {
    switch (result) {
        case 2: return std::string("Invalid Midi ") + direction + " Device.";
        case 4: return std::string("Midi ") + direction + " device is already occupied.";
        case 7: return "Not enough Memory.";
        default: return std::string("Midi ") + direction + " error.";
    }
}

}  // namespace


std::string_view TransferResultText(TransferResult result) {
    switch (result) {
        case TransferResult::Completed: return "completed";
        case TransferResult::Declined: return "declined";
        case TransferResult::NotOnLine: return "not on line";
        case TransferResult::Aborted: return "aborted";
        case TransferResult::Failed: return "data failure";
        case TransferResult::Rejected: return "rejected by the ORB-8";
        case TransferResult::Stopped: return "stopped by the ORB-8";
        case TransferResult::Busy: return "not started: another exchange is running";
    }
    return "";
}

std::string NumberedStatus(std::string_view word, int number) {
    const int n = number < 0 ? 0 : number;
    return std::string(word) + (n < 10 ? "0" : "") + std::to_string(n) + "...";
}

DeviceLink::Wait DeviceLink::WaitReply(std::optional<std::chrono::milliseconds> limit) {
    const WaitEnd end = host_.WaitForReply(replyState, limit);
    if (end == WaitEnd::Abort || host_.AbortRequested()) return Wait::Abort;
    return end == WaitEnd::TimeLimit ? Wait::TimeLimit : Wait::Reply;
}

DeviceLink::Wait DeviceLink::Request(const Message& message, int replyBytes,
                                     std::optional<std::chrono::milliseconds> limit) {
    host_.QueueReceive(replyBytes);
    replyState = ReplyNone;
    Send(message);
    return WaitReply(limit);
}

void DeviceLink::SendForAck(const Message& message) {
    host_.QueueReceive(kAckReplyBytes);
    replyState = ReplyNone;
    Send(message);
}

std::optional<TransferResult> DeviceLink::AwaitAck(bool stopIsFailure) {
    if (host_.AbortRequested()) return TransferResult::Aborted;  // before waiting: no WriteClose
    Status(kWaitReply);
    if (WaitReply() == Wait::Abort) {
        Send(WriteClose(deviceChannel));
        return TransferResult::Aborted;
    }
    if (replyState == ReplyWriteAck) return std::nullopt;
    if (replyState == ReplyWriteStop && !stopIsFailure) return TransferResult::Stopped;  // silent, no close
    if (replyState == ReplyWriteReject) return TransferResult::Rejected;                 // silent, no close
    host_.Inform(kDataFailure);
    Send(WriteClose(deviceChannel));
    return TransferResult::Failed;
}

void DeviceLink::Status(const std::string& text) {
    host_.SetProgressText(text);
    host_.ProcessPending();
}

void DeviceLink::ChannelItem(int channel, const std::string& caption, bool enabled, bool checked) {
    host_.SetChannelItem(channel, caption, enabled, checked);
}

bool DeviceLink::OnLine(int only) {
    if (busy_) return false;
    isOnLine = false;
    int result = host_.OpenOutput();
    if (result != 0) {
        host_.ShowError("Couldn't Open Midi.", OpenErrorText(result, "out"));
        return false;
    }
    result = host_.OpenInput();
    if (result != 0) {
        host_.ShowError("Couldn't Open Midi.", OpenErrorText(result, "in"));
        host_.CloseOutput();
        return false;
    }
    const int found = CheckOnLine(only);
    if (found < 0) {
        host_.Inform("There are no ORB-8 found.");
        host_.CloseOutput();
        host_.CloseInput();
        return false;
    }
    deviceChannel = found;
    isOnLine = true;
    return true;
}

void DeviceLink::OffLine() {
    if (busy_) return;
    host_.CloseOutput();
    host_.CloseInput();
    isOnLine = false;
}

int DeviceLink::CheckOnLine(int only) {
    if (busy_) return -1;
    Exchange exchange(*this);
    int found = -1;
    // Each ORB-8 found sends its block; the one chosen keeps its own.
    CustomSettingsBlock foundBlock = areas.customSettings;
    auto foundIdentity = areas.identity;
    host_.ClearAbort();
    host_.ShowProgress("OnLine Check", "Searching ORB-8..");
    host_.StartInput();
    const int first = only >= 0 && only < 16 ? only : 0;
    const int last = only >= 0 && only < 16 ? only : 15;
    for (int c = first; c <= last; ++c) {
        if (host_.AbortRequested()) break;
        host_.SetProgressValue(c - first, last - first + 1);
        Status("Searching ORB-8 at channel " + std::to_string(c + 1) + "..");
        // A fresh buffer for each identity request, unless the last one is
        // still waiting: an early answer must not leave later channels without
        // one, and a stale small buffer must not catch the settings dump.
        if (host_.QueuedReceives() == 0) host_.QueueReceive(kIdentityReplyBytes);
        replyState = ReplyNone;
        Send(IdentityRequest(c));
        const Wait wait = WaitReply(kIdentityTimeLimit);
        if (wait == Wait::TimeLimit) areas.identity[0] = 0xFF;
        if (wait == Wait::Abort) break;

        const std::string number = std::to_string(c + 1);
        const auto& id = areas.identity;
        if (replyState != ReplyIdentity || id[0] == 0xFF || id[0] != c) {
            ChannelItem(c, number, false, false);
        } else if (id[1] != kMakerId) {
            ChannelItem(c, number + ":Other Manufacuturer's", false, false);
        } else if (id[2] != kModelCode) {
            ChannelItem(c, number + ":VESK", false, false);
        } else {
            host_.Pause(kShortPause);
            if (found < 0) {
                found = c;
                foundIdentity = areas.identity;
            }
            ChannelItem(c, number + ":VESK ORB-8", true, found == c);
            const Wait settings = Request(CustomSettingsRequest(c), kCustomSettingsReplyBytes);
            if (settings == Wait::Abort) break;
            if (replyState != ReplyCustomSettings) {
                host_.Inform(kDataFailure);
                break;
            }
            if (found == c) foundBlock = areas.customSettings;
        }
    }
    // The chosen one's block and identity stand, not those of the channels scanned after it.
    if (found >= 0) {
        areas.customSettings = foundBlock;
        areas.identity = foundIdentity;
    }
    host_.ResetInput();
    host_.HideProgress();
    return found;
}

TransferResult DeviceLink::Begin(std::string_view caption, std::string_view question) {
    if (busy_) return TransferResult::Busy;
    if (!PortsOpen()) {
        host_.Inform("Not be OnLine.");
        return TransferResult::NotOnLine;
    }
    if (!host_.Ask(caption, question)) return TransferResult::Declined;
    host_.ClearAbort();
    host_.ShowProgress(caption, "Preparing to " + std::string(caption) + "..");
    return TransferResult::Completed;
}

TransferResult DeviceLink::ReceiveEach(const ReceiveLoop& loop, const std::function<Message(int)>& request,
                                       const std::function<void(int)>& take) {
    for (int i = 0; i < loop.count; ++i) {
        host_.SetProgressValue(loop.progressFrom + i, loop.progressTotal);
        Status(NumberedStatus(loop.word, i + 1));
        if (Request(request(i), loop.replyBytes) == Wait::Abort) return TransferResult::Aborted;
        if (replyState != loop.expected) {
            host_.Inform(kDataFailure);
            return TransferResult::Failed;
        }
        take(i);
        ++lastReceived;
        if (loop.pauseAfterEach) host_.Pause(kShortPause);
    }
    return TransferResult::Completed;
}

TransferResult DeviceLink::ReceiveAllPatches(ProjectDocument& project) {
    if (busy_) return TransferResult::Busy;
    lastReceived = 0;
    TransferResult result =
        Begin("RecvAll", "Get Patches from ORB-8.\nThis takes little while.\nExecute?");
    if (result != TransferResult::Completed) return result;
    Exchange exchange(*this);
    // The slots take the current patches first, so a patch that is not
    // received keeps the user's edits when the bank is rebuilt below.
    project.PackAll();
    host_.StartInput();
    replyState = ReplyNone;
    result = ReceiveEach({kPatchCount, 0, kPatchCount, "Waiting Patch", kPatchReplyBytes, ReplyPatchDump},
                         [this](int i) { return PatchRequest(deviceChannel, i); },
                         [&](int i) {
                             PackedSlot slot{};
                             std::copy_n(areas.decodeArea.begin(), kPackedBytes, slot.begin());
                             project.packedSlots[static_cast<std::size_t>(i)] = slot;
                         });
    project.UnpackAll();
    if (lastReceived > 0) project.customSettings = areas.customSettings;
    host_.ResetInput();
    host_.HideProgress();
    return result;
}

SettingsPage ComposeSettingsPage(std::span<const PageRun> runs, const DeviceWorkAreas& areas,
                                 const CustomSettingsBlock& settings) {
    SettingsPage page{};
    std::size_t at = 0;
    for (const PageRun& run : runs) {
        const std::uint8_t* source = run.source == PageSource::SettingsPage     ? areas.settingsPage.data()
                                     : run.source == PageSource::CustomSettings ? settings.data()
                                                                                : areas.deviceCustomDist.data();
        std::copy_n(source + run.first, run.length, page.begin() + static_cast<std::ptrdiff_t>(at));
        at += static_cast<std::size_t>(run.length);
    }
    return page;
}

SettingsPage DeviceLink::ComposePage27(const CustomSettingsBlock& settings) const {
    return ComposeSettingsPage(kPage27Runs, areas, settings);
}
SettingsPage DeviceLink::ComposePage30(const CustomSettingsBlock& settings) const {
    return ComposeSettingsPage(kPage30Runs, areas, settings);
}

TransferResult DeviceLink::WriteSettingsPages(const CustomSettingsBlock& settings) {
    TransferResult result = TransferResult::Completed;
    SendForAck(SettingsPageWrite(deviceChannel, kPage27, ComposePage27(settings)));
    if (WaitReply() == Wait::Abort) {
        result = TransferResult::Aborted;
    } else if (replyState != ReplyWriteAck) {
        host_.Inform(kDataFailure);
        result = TransferResult::Failed;
    } else {
        SendForAck(SettingsPageWrite(deviceChannel, kPage30, ComposePage30(settings)));
        if (WaitReply() == Wait::Abort) {
            result = TransferResult::Aborted;
        } else if (replyState != ReplyWriteAck) {
            host_.Inform(kDataFailure);
            result = TransferResult::Failed;
        }
    }
    Send(WriteClose(deviceChannel));
    return result;
}

std::optional<TransferResult> DeviceLink::ReadPageSources(int steps) {
    // What the processor holds, to compose the settings pages from.
    if (Request(SettingsPageRequest(deviceChannel), kSettingsPageReplyBytes) == Wait::Abort) return TransferResult::Aborted;
    if (replyState != ReplySettingsPage) return TransferResult::Failed;
    for (int i = 0; i < kFilterCount; ++i) {
        host_.SetProgressValue(1 + i, steps);
        host_.ProcessPending();
        if (Request(FilterRequest(deviceChannel, i), kFilterReplyBytes) == Wait::Abort) return TransferResult::Aborted;
        if (replyState != ReplyFilterDump) return TransferResult::Failed;
        std::copy_n(areas.decodeArea.begin(), kFilterImageBytes, areas.deviceCustomDist.begin() + i * kFilterImageBytes);
    }
    for (int j = 0; j < kSetCount; ++j) {
        if (Request(ClipperRequest(deviceChannel, j), kClipperReplyBytes) == Wait::Abort) return TransferResult::Aborted;
        if (replyState != ReplyClipperDump) return TransferResult::Failed;
        std::copy_n(areas.decodeArea.begin(), kClipperStoredBytes,
                    areas.deviceCustomDist.begin() + kDeviceClipperOffset + j * kClipperBlockBytes);
        host_.Pause(kShortPause);
    }
    return std::nullopt;
}

TransferResult DeviceLink::SendAllPatches(const ProjectDocument& document) {
    // What is sent is packed from a copy: the document stays as it is.
    ProjectDocument project = document;
    // The question names what the bank's custom settings change on the processor.
    std::string question = "Send Patches to ORB-8.\nThis takes little while.\nExecute?";
    if (project.customSettings != areas.customSettings)
        question = "Send Patches to ORB-8.\nThe ORB-8's custom settings change too: " +
                   DifferingSlotsText(areas.customSettings, project.customSettings) +
                   ".\nThis takes little while.\nExecute?";
    TransferResult result = Begin("SendAll", question);
    if (result != TransferResult::Completed) return result;
    Exchange exchange(*this);
    // Steps: the settings page, 16 filters and 2 clippers read, 80 patches, 2 pages.
    constexpr int kSteps = 1 + kFilterCount + kSetCount + kPatchCount + 2;
    project.PackAll();
    host_.StartInput();
    auto failed = [&] {
        host_.Inform(kDataFailure);
        return Finish(TransferResult::Failed);
    };

    if (const auto end = ReadPageSources(kSteps)) {
        if (*end == TransferResult::Failed) return failed();
        return Finish(*end);
    }

    SendForAck(WriteOpen(deviceChannel));
    for (int k = 0; k < kPatchCount; ++k) {
        if (const auto end = AwaitAck(false)) return Finish(*end);
        host_.SetProgressValue(1 + kFilterCount + kSetCount + k, kSteps);
        Status(NumberedStatus("Sending Patch", k));
        SendForAck(PatchDump(deviceChannel, k, FromSlot(project.packedSlots[static_cast<std::size_t>(k)])));
    }
    if (const auto end = AwaitAck(false)) return Finish(*end);
    host_.SetProgressValue(kSteps - 2, kSteps);
    result = WriteSettingsPages(project.customSettings);
    // The processor now plays the bank's block.
    if (result == TransferResult::Completed) areas.customSettings = project.customSettings;
    return Finish(result);
}

TransferResult DeviceLink::ReceiveAllCustomDists(CustomDistDocument& document) {
    if (busy_) return TransferResult::Busy;
    lastReceived = 0;
    TransferResult result = Begin("RecvAll", "Get CustomDists from ORB-8.\nThis takes little while.\nExecute?");
    if (result != TransferResult::Completed) return result;
    Exchange exchange(*this);
    host_.StartInput();
    std::array<bool, kFilterCount> received{};
    const auto filterImage = [this] {
        return std::span<const std::uint8_t, kFilterImageBytes>(areas.decodeArea.data(), kFilterImageBytes);
    };
    result = ReceiveEach({kFilterCount, 0, kFilterCount + kSetCount, "Waiting Filter", kFilterReplyBytes, ReplyFilterDump},
                         [this](int i) { return FilterRequest(deviceChannel, i); },
                         [&](int i) {
                             document.data.TakeFilterImage(i, filterImage());
                             received[static_cast<std::size_t>(i)] = true;
                         });
    // After a filter that failed, on with the clippers; after an abort, nothing more.
    if (result != TransferResult::Aborted) {
        const TransferResult clippers = ReceiveEach(
            {kSetCount, kFilterCount, kFilterCount + kSetCount, "Waiting Clipper", kClipperReplyBytes, ReplyClipperDump, true},
            [this](int j) { return ClipperRequest(deviceChannel, j); },
            [&](int j) {
                document.data.TakeClipperBytes(
                    j, std::span<const std::uint8_t, kClipperStoredBytes>(areas.decodeArea.data(), kClipperStoredBytes));
            });
        if (clippers != TransferResult::Completed) result = clippers;
    }
    // Only what arrived is decoded: an image that was not received would turn
    // the filter's settings into whatever the image last held.
    for (int n = 0; n < kFilterCount; ++n) {
        if (!received[static_cast<std::size_t>(n)]) continue;
        FilterSettingsCode code;
        std::copy_n(document.data.images[static_cast<std::size_t>(n)].begin() + kSettingsCodeOffset, kSettingsCodeBytes,
                    code.begin());
        DecodeSettings(code, document.data.filters[static_cast<std::size_t>(n)]);
        // Its coefficients too, so that what Store sends back agrees with its settings.
        document.data.TakeImageCoefficients(n);
    }
    host_.ResetInput();
    host_.HideProgress();
    return result;
}

TransferResult DeviceLink::SendAllCustomDists(const CustomDistDocument& set) {
    CustomDistDocument document = set;  // encoded in a copy: the document stays as it is
    TransferResult result = Begin("SendAll", "Send Filters to ORB-8.\nThis takes little while.\nExecute?");
    if (result != TransferResult::Completed) return result;
    Exchange exchange(*this);
    document.data.EncodeAll();
    host_.StartInput();
    // Each write waits for the acknowledgement of the one before: WriteOpen,
    // 16 filters, 2 clippers, then the close.
    SendForAck(WriteOpen(deviceChannel));
    for (int n = 0; n < kFilterCount + kSetCount; ++n) {
        if (const auto end = AwaitAck(false)) {
            result = *end;
            break;
        }
        const bool filter = n < kFilterCount;
        const int index = filter ? n : n - kFilterCount;
        host_.SetProgressValue(n, kFilterCount + kSetCount);
        Status(NumberedStatus(filter ? "Sending Filter" : "Sending Clipper", index));
        if (filter) {
            const auto data = document.data.FilterDumpData(index);
            SendForAck(FilterDump(deviceChannel, index, data));
        } else {
            SendForAck(ClipperDump(deviceChannel, index, document.data.clippers[static_cast<std::size_t>(index)]));
        }
    }
    if (result == TransferResult::Completed) {
        if (const auto end = AwaitAck(false)) result = *end;
        else Send(WriteClose(deviceChannel));
    }
    host_.ResetInput();
    host_.HideProgress();
    return result;
}

TransferResult DeviceLink::PatchChange(int patch, const PatchData& data) { return WriteEditBuffer(patch, data); }

TransferResult DeviceLink::LoadEditBuffer(const PatchData& data) { return WriteEditBuffer(std::nullopt, data); }

TransferResult DeviceLink::WriteEditBuffer(std::optional<int> select, const PatchData& data) {
    if (busy_) return TransferResult::Busy;
    if (!host_.OutputOpen()) return TransferResult::NotOnLine;
    Exchange exchange(*this);
    host_.ClearAbort();
    host_.ShowProgress("PatchChange", "PatchChange..");
    const Message edit = EditBufferWrite(deviceChannel, data);
    const int patch = select.value_or(0);
    if (select) Send(PatchSelect(deviceChannel, patch));
    host_.StartInput();
    // A WriteStop here is a failure like any other unexpected answer.
    SendForAck(WriteOpen(deviceChannel));
    TransferResult result = TransferResult::Completed;
    if (const auto end = AwaitAck(true)) {
        result = *end;
    } else {
        Status(NumberedStatus("Sending Patch", patch));
        SendForAck(edit);
        if (const auto second = AwaitAck(true)) result = *second;
        else Send(WriteClose(deviceChannel));
    }
    host_.ResetInput();
    host_.HideProgress();
    return result;
}

void DeviceLink::SendSingle(Message message) {
    std::lock_guard lock(singleMutex_);
    if (busy_) waiting_.push_back(std::move(message));
    else Send(message);
}

// Under the lock: a single message sent meanwhile goes after those that waited.
void DeviceLink::EndExchange() {
    std::lock_guard lock(singleMutex_);
    busy_ = false;
    if (host_.OutputOpen())
        for (const Message& message : waiting_) Send(message);
    waiting_.clear();
}

void DeviceLink::SendParameterChange(int parameter, int value) {
    if (host_.OutputOpen()) SendSingle(ParameterChange(deviceChannel, parameter, value));
}

void DeviceLink::SendDesignCharacter(const CustomDistData& data, int set, bool designMode) {
    if (!host_.OutputOpen() || set < 0 || set >= kSetCount) return;
    const int target = designMode ? 0 : set;
    for (int i = 0; i < 5; ++i) {
        const FilterRecord& f = data.filters[static_cast<std::size_t>(FilterNumber(set, i))];
        SendSingle(DesignFilterWrite(deviceChannel, FilterNumber(target, i), f.coefNibbles));
    }
    SendSingle(DesignClipperWrite(deviceChannel, target, data.clippers[static_cast<std::size_t>(set)]));
}

void DeviceLink::SendDesignToneFilter(const CustomDistData& data, int set, int slot, bool designMode) {
    if (!host_.OutputOpen() || set < 0 || set >= kSetCount || slot < SlotHigh || slot > SlotLow) return;
    const int number = designMode ? slot : FilterNumber(set, slot);
    SendSingle(
        DesignFilterWrite(deviceChannel, number, data.filters[static_cast<std::size_t>(FilterNumber(set, slot))].coefNibbles));
}

}  // namespace orb8
