// Any bytes as a SysEx file: read, counted, taken into a bank, never a crash,
// and whatever is taken fits its fields.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/sysexfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orb8::SysExContents c = orb8::ReadSysEx(std::span<const std::uint8_t>(data, size));
    if (c.Usable() && c.Summary().empty()) std::abort();
    orb8::ProjectDocument doc;
    orb8::TakeSysEx(doc, c, 1);
    for (const auto& p : doc.patches)
        if (orb8::Unpack(orb8::Pack(p)) != p) std::abort();
    return 0;
}
