#include "patch/patchclip.h"

#include <algorithm>
#include <string_view>

#include "patch/projectdocument.h"

namespace orb8 {

namespace {
constexpr std::string_view kHeader = "ORB-8 PATCH 1\n";
}

std::vector<std::uint8_t> EncodePatchClip(const PatchClip& clip) {
    std::vector<std::uint8_t> bytes(kHeader.begin(), kHeader.end());
    const PackedPatch packed = Pack(clip.patch);
    bytes.insert(bytes.end(), packed.begin(), packed.end());
    const std::string comment = LimitComment(clip.comment);
    bytes.insert(bytes.end(), comment.begin(), comment.end());
    return bytes;
}

std::optional<PatchClip> DecodePatchClip(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeader.size() + kPackedBytes || !std::equal(kHeader.begin(), kHeader.end(), bytes.begin()))
        return std::nullopt;
    PackedPatch packed{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(kHeader.size()), kPackedBytes, packed.begin());
    PatchClip clip;
    clip.patch = Unpack(packed);
    const auto rest = bytes.subspan(kHeader.size() + kPackedBytes);
    clip.comment = LimitComment(std::string(rest.begin(), rest.end()));
    return clip;
}

}  // namespace orb8
