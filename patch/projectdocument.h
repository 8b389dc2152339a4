// A project: a bank of 80 patches in both forms, a comment per patch, the
// custom settings block its CUSTOM patches play through, the file name, and
// the .orb project file. Whether it is modified is its session's to say.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "patch/customsettings.h"
#include "patch/effecttables.h"
#include "patch/fileio.h"
#include "patch/patchdata.h"

namespace orb8 {

constexpr int kCommentFieldBytes = 256;
constexpr int kCommentMaxBytes = 255;
constexpr int kPatchRecordBytes = kPackedBytes + kCommentFieldBytes;                      // 298
constexpr int kProjectFileBytes = kPatchCount * kPatchRecordBytes + kCustomSettingsBytes;  // 23932

class ProjectDocument {
public:
    // A new project: every patch is the initial patch, every comment empty.
    ProjectDocument();

    // The patches are the truth while the project is open; the packed slots are
    // refreshed from them before a save or Send All and the patches from the
    // slots after a load or Receive All.
    std::array<PackedSlot, kPatchCount> packedSlots{};
    std::array<PatchData, kPatchCount> patches{};
    std::array<std::string, kPatchCount> comments{};  // the file's bytes, at most 255
    // The bank's own custom settings: read with the file and written back as
    // they are, so that its CUSTOM patches keep their sound.
    CustomSettingsBlock customSettings = DefaultCustomSettings();
    std::string fileName;

    void PackAll();
    void UnpackAll();

    // Rows are 1..80 (row 0 is the list heading).
    static bool ValidRow(int row) { return row >= 1 && row <= kPatchCount; }
    PatchData& PatchOfRow(int row) { return patches[static_cast<std::size_t>(row - 1)]; }
    const std::string& CommentOfRow(int row) const { return comments[static_cast<std::size_t>(row - 1)]; }
    // Stores at most 255 bytes, up to a zero byte, without splitting a UTF-8 character.
    void SetCommentOfRow(int row, const std::string& text);

    // Reads fileName, its custom settings block too. A file of the wrong size
    // is refused and nothing changes.
    FileResult Load();
    // Writes fileName with the bank's custom settings block at its end; on
    // failure the old file stays.
    FileResult Save();

    // The file's 23932 bytes after a pack-all.
    std::vector<std::uint8_t> FileImage();
    // Fills the document from a file's bytes, its block too; false (and
    // nothing changed) when the size is wrong.
    bool FromFileImage(const std::vector<std::uint8_t>& bytes);

    // Moves the patch and comment of row s to row t, shifting those between.
    // False for rows out of range or s == t.
    bool MovePatch(int s, int t);
    // Moves the rows first..last so that the first of them lands on row `to`
    // (the others follow in order; the rows between close up). False when
    // the rows are no block of the bank or it would not move.
    bool MoveRows(int first, int last, int to);
    // Row s of another project onto row t of this one.
    bool CopyPatchFrom(const ProjectDocument& other, int s, int t);
};

// The one patch that Copy keeps: its editing form, its bank slot and its comment.
// Edit > Copy's buffer: the patches of one row or of several, with their
// slots and comments, in the order they were chosen.
struct CopyBuffer {
    struct Row {
        PatchData patch{};
        PackedSlot slot{};
        std::string comment;
    };
    std::vector<Row> rows;  // empty: nothing copied

    bool Filled() const { return !rows.empty(); }
    static CopyBuffer Of(const PatchData& patch, const std::string& comment);
    void CopyFrom(const ProjectDocument& document, int row);
    // Rows that are no patch rows are left out; none: the buffer stays as it is.
    void CopyFrom(const ProjectDocument& document, const std::vector<int>& rows);
    // Writes the patches, slots and comments over the rows from `row` on, as
    // many as fit before the bank ends; how many. 0 (and nothing changed)
    // when nothing was copied or the row is not a patch.
    int PasteInto(ProjectDocument& document, int row) const;
};

std::string LimitComment(const std::string& text);

// The six texts of a patch's row in the project list: label, name, drive, Mod
// and Dly/Rev (type name padded to 8 characters, or "OFF") and comment.
constexpr int kProjectColumns = 6;
extern const std::array<const char*, kProjectColumns> kProjectHeadings;
std::array<std::string, kProjectColumns> ProjectRowTexts(const ProjectDocument& document, int row);
// The same for a patch of that row that the document does not hold (a stored one, compared).
std::array<std::string, kProjectColumns> ProjectRowTextsOf(const PatchData& patch, int row, const std::string& comment);

}  // namespace orb8
