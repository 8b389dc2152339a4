// Any bytes dropped on a bank as the patch clip format (a drag from another
// program): refused, or patches that encode back to the same clips.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "patch/patchclip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Several clips (a drag of several rows): at most a bank's worth, each whole.
    const auto clips = orb8::DecodePatchClips(std::span<const std::uint8_t>(data, size));
    if (clips.size() > static_cast<std::size_t>(orb8::kPatchCount)) std::abort();
    if (!clips.empty()) {
        const auto again = orb8::DecodePatchClips(orb8::EncodePatchClips(clips));
        if (again.size() != clips.size()) std::abort();
        for (std::size_t i = 0; i < clips.size(); ++i)
            if (again[i].patch != clips[i].patch || again[i].comment != clips[i].comment) std::abort();
    }
    const auto clip = orb8::DecodePatchClip(std::span<const std::uint8_t>(data, size));
    if (!clip) return 0;
    const auto again = orb8::DecodePatchClip(orb8::EncodePatchClip(*clip));
    if (!again || again->patch != clip->patch || again->comment != clip->comment) std::abort();
    return 0;
}
