// Any bytes dropped on a bank as the patch clip format (a drag from another
// program): refused, or a patch that encodes back to the same clip.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "patch/patchclip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto clip = orb8::DecodePatchClip(std::span<const std::uint8_t>(data, size));
    if (!clip) return 0;
    const auto again = orb8::DecodePatchClip(orb8::EncodePatchClip(*clip));
    if (!again || again->patch != clip->patch || again->comment != clip->comment) std::abort();
    return 0;
}
