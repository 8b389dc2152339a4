// Any bytes as a returned receive buffer: the classifier never reads past
// them, and a state that is not a dump leaves the work areas alone.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orb8::DeviceWorkAreas areas;
    const orb8::DeviceWorkAreas before = areas;
    const orb8::ReplyState state = orb8::ClassifyReply(std::span<const std::uint8_t>(data, size), areas);
    const bool wrote = state == orb8::ReplyIdentity || state == orb8::ReplyPatchDump || state == orb8::ReplyFilterDump ||
                       state == orb8::ReplyClipperDump || state == orb8::ReplyCustomSettings ||
                       state == orb8::ReplySettingsPage;
    if (!wrote && (areas.decodeArea != before.decodeArea || areas.identity != before.identity ||
                   areas.customSettings != before.customSettings || areas.settingsPage != before.settingsPage))
        std::abort();
    return 0;
}
