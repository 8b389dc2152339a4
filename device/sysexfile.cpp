#include "device/sysexfile.h"

#include "device/messages.h"

namespace orb8 {
namespace {

constexpr std::size_t kPatchDumpBytes = 7 + 2 * kPackedBytes;    // 91
constexpr std::size_t kEditBufferBytes = 6 + 2 * kPatchBytes;    // 136

void Append(std::vector<std::uint8_t>& out, const Message& m) { out.insert(out.end(), m.begin(), m.end()); }

bool DataBytesClean(std::span<const std::uint8_t> m) {
    for (std::size_t i = 1; i + 1 < m.size(); ++i)
        if (m[i] & 0x80) return false;
    return true;
}

std::vector<std::uint8_t> Nibbles(std::span<const std::uint8_t> m, std::size_t from, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>((m[from + 2 * i] << 4) | m[from + 2 * i + 1]);
    return out;
}

bool NibblesClean(std::span<const std::uint8_t> m, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + 2 * count; ++i)
        if (m[i] > 0x0F) return false;
    return true;
}

std::string Count(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

}  // namespace

std::vector<std::uint8_t> PatchesAsSysEx(const ProjectDocument& document, int channel, std::optional<int> onlyPatch) {
    ProjectDocument packed = document;  // the patches packed as the processor stores them
    packed.PackAll();
    std::vector<std::uint8_t> out;
    Append(out, WriteOpen(channel));
    for (int i = 0; i < kPatchCount; ++i) {
        if (onlyPatch && *onlyPatch != i) continue;
        Append(out, PatchDump(channel, i, FromSlot(packed.packedSlots[static_cast<std::size_t>(i)])));
    }
    Append(out, WriteClose(channel));
    return out;
}

SysExContents ReadSysEx(std::span<const std::uint8_t> bytes) {
    SysExContents c;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] != kSysExStart) {
            ++c.strayBytes;
            ++i;
            continue;
        }
        // A message runs to its F7; a status byte before that cuts it short.
        std::size_t end = i + 1;
        while (end < bytes.size() && bytes[end] != kSysExEnd && !(bytes[end] & 0x80)) ++end;
        if (end >= bytes.size() || bytes[end] != kSysExEnd) {
            ++c.damaged;
            i = end;
            continue;
        }
        const std::span<const std::uint8_t> m = bytes.subspan(i, end - i + 1);
        i = end + 1;
        ++c.messages;
        if (m.size() < 6 || m[1] != kMakerId || m[3] != kModelCode) {
            ++c.foreign;
            continue;
        }
        if (!DataBytesClean(m)) {
            ++c.damaged;
            continue;
        }
        if (m[4] == FnPatchDump) {
            if (m.size() != kPatchDumpBytes || m[5] >= kPatchCount || !NibblesClean(m, 6, kPackedBytes)) {
                ++c.damaged;
                continue;
            }
            const auto data = Nibbles(m, 6, kPackedBytes);
            PackedPatch packed{};
            std::copy(data.begin(), data.end(), packed.begin());
            c.dumps[m[5]] = packed;
        } else if (m[4] == FnEditBufferWrite) {
            if (m.size() != kEditBufferBytes || !NibblesClean(m, 5, kPatchBytes)) {
                ++c.damaged;
                continue;
            }
            const auto data = Nibbles(m, 5, kPatchBytes);
            PatchData patch{};
            std::copy(data.begin(), data.end(), patch.begin());
            // What the packed form can carry: the bank file could not keep more.
            c.editBuffers.push_back(Unpack(Pack(patch)));
        } else if (m[4] != FnWriteOpen && m[4] != FnWriteClose) {  // these two frame a bank
            ++c.notPatches;
        }
    }
    return c;
}

std::string SysExContents::Summary(bool editBufferHasRow) const {
    std::string taken = Count(static_cast<int>(dumps.size()), "patch", "patches");
    std::vector<std::string> skipped;
    const int buffers = static_cast<int>(editBuffers.size());
    if (buffers > 0 && editBufferHasRow) {
        taken += " and 1 edit buffer";
        if (buffers > 1) skipped.push_back(Count(buffers - 1, "earlier edit buffer", "earlier edit buffers"));
    } else if (buffers > 0) {
        skipped.push_back(Count(buffers, "edit buffer", "edit buffers"));
    }
    if (foreign) skipped.push_back(Count(foreign, "message of another device", "messages of other devices"));
    if (notPatches) skipped.push_back(Count(notPatches, "ORB-8 message that holds no patch", "ORB-8 messages that hold no patch"));
    if (damaged) skipped.push_back(Count(damaged, "damaged message", "damaged messages"));
    if (strayBytes) skipped.push_back(Count(strayBytes, "byte outside any message", "bytes outside any message"));
    std::string text = taken;
    for (std::size_t k = 0; k < skipped.size(); ++k) text += (k == 0 ? "; not used: " : ", ") + skipped[k];
    return text;
}

std::vector<int> TakeSysEx(ProjectDocument& document, const SysExContents& contents, int editBufferRow) {
    std::vector<int> rows;
    for (const auto& [index, packed] : contents.dumps) {
        document.packedSlots[static_cast<std::size_t>(index)] = ToSlot(packed);
        document.patches[static_cast<std::size_t>(index)] = Unpack(packed);
        rows.push_back(index + 1);
    }
    if (!contents.editBuffers.empty() && ProjectDocument::ValidRow(editBufferRow)) {
        document.PatchOfRow(editBufferRow) = contents.editBuffers.back();
        rows.push_back(editBufferRow);
    }
    return rows;
}

}  // namespace orb8
