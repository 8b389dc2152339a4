// One patch with its comment as it travels between windows and programs (a
// library result dragged onto a bank's row): a header line, the 42 bytes of
// the packed patch, and the comment's bytes. The packed form keeps every
// value inside its field, so what a foreign drop carries can't put a byte
// out of range into a bank.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "patch/patchdata.h"

namespace orb8 {

// The clipboard and drag-and-drop type of such bytes.
inline constexpr const char* kPatchClipMimeType = "application/x-orb8-patch";

struct PatchClip {
    PatchData patch{};
    std::string comment;  // the comment's bytes, at most 255
};

std::vector<std::uint8_t> EncodePatchClip(const PatchClip& clip);
// None for bytes that are not a clip (another header, too short).
std::optional<PatchClip> DecodePatchClip(std::span<const std::uint8_t> bytes);

// Several clips at once (a drag of several rows), at most kPatchCount; one
// clip is written as EncodePatchClip writes it.
std::vector<std::uint8_t> EncodePatchClips(std::span<const PatchClip> clips);
// The clips of either form; none for anything else, or for a list that is
// cut short or says more than it holds.
std::vector<PatchClip> DecodePatchClips(std::span<const std::uint8_t> bytes);

class ProjectDocument;
// The clips, in order from the bank's first patch on, with their comments
// (those beyond the bank's patches are left out).
void PutClips(std::span<const PatchClip> clips, ProjectDocument& bank);

}  // namespace orb8
