#include "patch/projectdocument.h"

#include <algorithm>
#include <cstring>

#include "patch/utf8.h"

namespace orb8 {

std::string LimitComment(const std::string& text) {
    std::string out = text.substr(0, text.find('\0'));
    if (out.size() <= static_cast<std::size_t>(kCommentMaxBytes)) return out;
    std::size_t cut = kCommentMaxBytes;
    // Step back over UTF-8 continuation bytes so no character is cut in half.
    std::size_t back = cut;
    while (back > 0 && utf8::IsContinuation(out[back])) --back;
    if (cut - back < 4) cut = back;
    out.resize(cut);
    return out;
}

ProjectDocument::ProjectDocument() {
    const PackedSlot initial = ToSlot(Pack(InitialPatch()));
    packedSlots.fill(initial);
    UnpackAll();
}

void ProjectDocument::PackAll() {
    for (int i = 0; i < kPatchCount; ++i) packedSlots[static_cast<std::size_t>(i)] = ToSlot(Pack(patches[static_cast<std::size_t>(i)]));
}

void ProjectDocument::UnpackAll() {
    for (int i = 0; i < kPatchCount; ++i) patches[static_cast<std::size_t>(i)] = Unpack(FromSlot(packedSlots[static_cast<std::size_t>(i)]));
}

void ProjectDocument::SetCommentOfRow(int row, const std::string& text) {
    if (!ValidRow(row)) return;
    comments[static_cast<std::size_t>(row - 1)] = LimitComment(text);
}

std::vector<std::uint8_t> ProjectDocument::FileImage() {
    PackAll();
    std::vector<std::uint8_t> bytes(kProjectFileBytes, 0);
    for (int i = 0; i < kPatchCount; ++i) {
        std::uint8_t* record = bytes.data() + i * kPatchRecordBytes;
        std::memcpy(record, packedSlots[static_cast<std::size_t>(i)].data(), kPackedBytes);
        const std::string comment = LimitComment(comments[static_cast<std::size_t>(i)]);
        std::memcpy(record + kPackedBytes, comment.data(), comment.size());
    }
    std::memcpy(bytes.data() + kPatchCount * kPatchRecordBytes, customSettings.data(), kCustomSettingsBytes);
    return bytes;
}

bool ProjectDocument::FromFileImage(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != static_cast<std::size_t>(kProjectFileBytes)) return false;
    for (int i = 0; i < kPatchCount; ++i) {
        const std::uint8_t* record = bytes.data() + i * kPatchRecordBytes;
        PackedSlot slot{};
        std::memcpy(slot.data(), record, kPackedBytes);
        packedSlots[static_cast<std::size_t>(i)] = slot;
        const char* text = reinterpret_cast<const char*>(record + kPackedBytes);
        // A field without a zero byte gives its first 255 bytes.
        const std::size_t length = ::strnlen(text, kCommentMaxBytes);
        comments[static_cast<std::size_t>(i)].assign(text, length);
    }
    std::memcpy(customSettings.data(), bytes.data() + kPatchCount * kPatchRecordBytes, kCustomSettingsBytes);
    UnpackAll();
    return true;
}

FileResult ProjectDocument::Load() {
    std::vector<std::uint8_t> bytes;
    FileResult result = ReadFileBytes(fileName, kProjectFileBytes, bytes);
    if (!result.ok()) return result;
    if (!FromFileImage(bytes)) {
        result.problem = bytes.size() > static_cast<std::size_t>(kProjectFileBytes) ? FileProblem::TooLong
                                                                                   : FileProblem::WrongSize;
        result.expected = kProjectFileBytes;
        return result;
    }
    return result;
}

FileResult ProjectDocument::Save() {
    const std::vector<std::uint8_t> bytes = FileImage();
    return WriteFileAtomically(fileName, bytes);
}

bool ProjectDocument::MovePatch(int s, int t) {
    if (!ValidRow(s) || !ValidRow(t) || s == t) return false;
    const auto from = patches.begin() + (s - 1);
    const auto to = patches.begin() + (t - 1);
    const auto cfrom = comments.begin() + (s - 1);
    const auto cto = comments.begin() + (t - 1);
    if (s < t) {
        std::rotate(from, from + 1, to + 1);
        std::rotate(cfrom, cfrom + 1, cto + 1);
    } else {
        std::rotate(to, from, from + 1);
        std::rotate(cto, cfrom, cfrom + 1);
    }
    return true;
}

CopyBuffer CopyBuffer::Of(const PatchData& patch, const std::string& comment) {
    CopyBuffer buffer;
    buffer.rows.push_back({patch, ToSlot(Pack(patch)), comment});
    return buffer;
}

void CopyBuffer::CopyFrom(const ProjectDocument& document, int row) { CopyFrom(document, std::vector<int>{row}); }

void CopyBuffer::CopyFrom(const ProjectDocument& document, const std::vector<int>& chosen) {
    std::vector<Row> copied;
    for (const int row : chosen) {
        if (!ProjectDocument::ValidRow(row)) continue;
        const auto i = static_cast<std::size_t>(row - 1);
        copied.push_back({document.patches[i], document.packedSlots[i], document.comments[i]});
    }
    if (!copied.empty()) rows = std::move(copied);
}

int CopyBuffer::PasteInto(ProjectDocument& document, int row) const {
    if (rows.empty() || !ProjectDocument::ValidRow(row)) return 0;
    const int fit = std::min(static_cast<int>(rows.size()), kPatchCount - row + 1);
    for (int k = 0; k < fit; ++k) {
        const auto i = static_cast<std::size_t>(row - 1 + k);
        const Row& from = rows[static_cast<std::size_t>(k)];
        document.patches[i] = from.patch;
        document.packedSlots[i] = from.slot;
        document.comments[i] = from.comment;
    }
    return fit;
}

bool ProjectDocument::MoveRows(int first, int last, int to) {
    const int size = last - first + 1;
    if (!ValidRow(first) || !ValidRow(last) || size < 1 || to < 1 || to + size - 1 > kPatchCount || to == first)
        return false;
    const auto move = [&](auto& items) {
        const auto begin = items.begin() + (first - 1), end = items.begin() + last;
        if (to < first)
            std::rotate(items.begin() + (to - 1), begin, end);
        else
            std::rotate(begin, end, items.begin() + (to - 1 + size));
    };
    move(patches);
    move(comments);
    return true;
}

bool ProjectDocument::CopyPatchFrom(const ProjectDocument& other, int s, int t) {
    if (!ValidRow(s) || !ValidRow(t)) return false;
    patches[static_cast<std::size_t>(t - 1)] = other.patches[static_cast<std::size_t>(s - 1)];
    comments[static_cast<std::size_t>(t - 1)] = other.comments[static_cast<std::size_t>(s - 1)];
    return true;
}

}  // namespace orb8

namespace orb8 {

const std::array<const char*, kProjectColumns> kProjectHeadings = {"No", "NAME", "DRIVE", "MOD", "REV/DLY", "COMMENT"};

std::array<std::string, kProjectColumns> ProjectRowTexts(const ProjectDocument& document, int row) {
    if (!ProjectDocument::ValidRow(row)) return {};
    return ProjectRowTextsOf(document.patches[static_cast<std::size_t>(row - 1)], row, document.CommentOfRow(row));
}

std::array<std::string, kProjectColumns> ProjectRowTextsOf(const PatchData& p, int row, const std::string& comment) {
    std::array<std::string, kProjectColumns> texts;
    if (!ProjectDocument::ValidRow(row)) return texts;
    const std::uint8_t on = p[ModuleSwitches];
    texts[0] = PatchLabel(row - 1);
    texts[1] = DecodeName(p);
    texts[2] = (on & DriveOn) ? TypeNamePadded(Module::Drive, p[DriveType]) : "OFF";
    texts[3] = (on & ModOn) ? TypeNamePadded(Module::Mod, p[ModType]) : "OFF";
    texts[4] = (on & DlyOn) ? TypeNamePadded(Module::DlyRev, p[DlyType]) : "OFF";
    texts[5] = comment;
    return texts;
}

}  // namespace orb8
