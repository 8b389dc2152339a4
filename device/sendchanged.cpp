// Send Changed: the patches of a bank that the processor does not hold yet.
#include <algorithm>
#include <string>

#include "device/devicelink.h"
#include "patch/differences.h"

namespace orb8 {

namespace {
constexpr const char* kDataFailure = "Data failure.";
}  // namespace

std::vector<int> DeviceLink::ChangedPatches(const ProjectDocument& project, const ProjectDocument& known) {
    std::vector<int> changed;
    for (int i = 0; i < kPatchCount; ++i)
        if (Pack(project.patches[static_cast<std::size_t>(i)]) != Pack(known.patches[static_cast<std::size_t>(i)]))
            changed.push_back(i);
    return changed;
}

TransferResult DeviceLink::SendChangedPatches(const ProjectDocument& document, const ProjectDocument& known, bool verify,
                                              ChangedReport& report) {
    ProjectDocument project = document;  // packed in a copy: the document stays as it is
    report = {};
    if (busy_) return TransferResult::Busy;
    const std::vector<int> changed = ChangedPatches(project, known);
    const bool settings = project.customSettings != areas.customSettings;
    if (!PortsOpen()) {
        host_.Inform("Not be OnLine.");
        return TransferResult::NotOnLine;
    }
    if (changed.empty() && !settings) {
        host_.Inform("The ORB-8 already holds every patch of this bank.");
        return TransferResult::Completed;
    }
    std::string names;
    for (const int i : changed) names += (names.empty() ? "" : ", ") + PatchLabel(i);
    std::string question = "Send " + std::to_string(changed.size()) + " changed patch" + (changed.size() == 1 ? "" : "es") +
                           " to ORB-8" + (names.empty() ? "" : " (" + names + ")") + ".";
    if (settings)
        question += "\nThe ORB-8's custom settings change too: " +
                    DifferingSlotsText(areas.customSettings, project.customSettings) + ".";
    TransferResult result = Begin("Send Changed", question + "\nExecute?");
    if (result != TransferResult::Completed) return result;
    Exchange exchange(*this);
    const int count = static_cast<int>(changed.size());
    const int steps = (settings ? 1 + kFilterCount + kSetCount + 2 : 0) + count + (verify ? count : 0);
    const int sendFrom = settings ? 1 + kFilterCount + kSetCount : 0;
    project.PackAll();
    host_.StartInput();
    if (settings)
        if (const auto end = ReadPageSources(steps)) {
            if (*end == TransferResult::Failed) host_.Inform(kDataFailure);
            return Finish(*end);
        }

    // A patch counts as sent once the processor acknowledges it: a dump it
    // refuses is not reported as sent.
    SendForAck(WriteOpen(deviceChannel));
    for (int n = 0; n < count; ++n) {
        if (const auto end = AwaitAck(false)) return Finish(*end);
        if (n > 0) report.sent.push_back(changed[static_cast<std::size_t>(n - 1)]);
        const int k = changed[static_cast<std::size_t>(n)];
        host_.SetProgressValue(sendFrom + n, steps);
        Status(NumberedStatus("Sending Patch", k));
        SendForAck(PatchDump(deviceChannel, k, FromSlot(project.packedSlots[static_cast<std::size_t>(k)])));
    }
    if (const auto end = AwaitAck(false)) return Finish(*end);
    if (count > 0) report.sent.push_back(changed.back());
    if (settings) {
        host_.SetProgressValue(sendFrom + count, steps);
        result = WriteSettingsPages(project.customSettings);
        if (result != TransferResult::Completed) return Finish(result);
        areas.customSettings = project.customSettings;
        report.settings = true;
    } else {
        Send(WriteClose(deviceChannel));
    }
    if (!verify) return Finish(TransferResult::Completed);

    // What was sent, read back.
    for (int n = 0; n < count; ++n) {
        const int k = changed[static_cast<std::size_t>(n)];
        host_.SetProgressValue(steps - count + n, steps);
        Status(NumberedStatus("Waiting Patch", k + 1));
        if (Request(PatchRequest(deviceChannel, k), kPatchReplyBytes) == Wait::Abort) return Finish(TransferResult::Aborted);
        if (replyState != ReplyPatchDump) {
            host_.Inform(kDataFailure);
            return Finish(TransferResult::Failed);
        }
        const PackedPatch sent = FromSlot(project.packedSlots[static_cast<std::size_t>(k)]);
        if (!std::equal(sent.begin(), sent.end(), areas.decodeArea.begin())) report.mismatched.push_back(k);
    }
    report.verified = true;
    return Finish(TransferResult::Completed);
}

}  // namespace orb8
