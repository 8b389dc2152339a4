#include "patch/patchclip.h"

#include <algorithm>
#include <string_view>

#include "patch/projectdocument.h"

namespace orb8 {

namespace {
constexpr std::string_view kHeader = "ORB-8 PATCH 1\n";
// Then the count (one byte), and for each: the packed patch, the comment's
// length (one byte) and its bytes.
constexpr std::string_view kListHeader = "ORB-8 PATCHES 1\n";
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

std::vector<std::uint8_t> EncodePatchClips(std::span<const PatchClip> clips) {
    if (clips.size() == 1) return EncodePatchClip(clips.front());
    const std::size_t count = std::min<std::size_t>(clips.size(), kPatchCount);
    std::vector<std::uint8_t> bytes(kListHeader.begin(), kListHeader.end());
    bytes.push_back(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const PackedPatch packed = Pack(clips[i].patch);
        bytes.insert(bytes.end(), packed.begin(), packed.end());
        const std::string comment = LimitComment(clips[i].comment);
        bytes.push_back(static_cast<std::uint8_t>(comment.size()));
        bytes.insert(bytes.end(), comment.begin(), comment.end());
    }
    return bytes;
}

std::vector<PatchClip> DecodePatchClips(std::span<const std::uint8_t> bytes) {
    if (const auto one = DecodePatchClip(bytes)) return {*one};
    if (bytes.size() < kListHeader.size() + 1 || !std::equal(kListHeader.begin(), kListHeader.end(), bytes.begin()))
        return {};
    std::size_t at = kListHeader.size();
    const std::size_t count = bytes[at++];
    if (count > static_cast<std::size_t>(kPatchCount)) return {};
    std::vector<PatchClip> clips;
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes.size() - at < static_cast<std::size_t>(kPackedBytes) + 1) return {};
        PackedPatch packed{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kPackedBytes, packed.begin());
        at += kPackedBytes;
        const std::size_t length = bytes[at++];
        if (bytes.size() - at < length) return {};
        PatchClip clip;
        clip.patch = Unpack(packed);
        clip.comment = LimitComment(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                                bytes.begin() + static_cast<std::ptrdiff_t>(at + length)));
        at += length;
        clips.push_back(std::move(clip));
    }
    return clips;
}

void PutClips(std::span<const PatchClip> clips, ProjectDocument& bank) {
    for (std::size_t i = 0; i < clips.size() && i < bank.patches.size(); ++i) {
        bank.patches[i] = clips[i].patch;
        bank.SetCommentOfRow(static_cast<int>(i) + 1, clips[i].comment);
    }
}

}  // namespace orb8
