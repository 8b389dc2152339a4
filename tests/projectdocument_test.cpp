#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "patch/patchclip.h"
#include "patch/projectdocument.h"
#include "tests/testfiles.h"

using namespace orb8;

TEST(ProjectDocument, NewProjectFile) {
    TempDir dir;
    ProjectDocument doc;
    doc.fileName = dir.Path("new.orb");
    ASSERT_TRUE(doc.Save().ok());
    const auto bytes = ReadAll(doc.fileName);
    ASSERT_EQ(bytes.size(), 23932u);
    const PackedPatch initial = Pack(InitialPatch());
    for (int i = 0; i < kPatchCount; ++i) {
        const std::uint8_t* record = bytes.data() + i * 298;
        ASSERT_EQ(std::memcmp(record, initial.data(), 42), 0) << i;
        for (int k = 42; k < 298; ++k) ASSERT_EQ(record[k], 0) << i;
    }
    EXPECT_EQ(std::memcmp(bytes.data() + 23840, DefaultCustomSettings().data(), 92), 0);
}

TEST(ProjectDocument, RoundTripKeepsPatchesCommentsAndBytes) {
    TempDir dir;
    ProjectDocument doc;
    doc.patches[0][ModuleSwitches] = DriveOn | DlyOn;
    doc.patches[0][17] = 9;  // not stored: comes back as 0
    doc.patches[79][DlyParam1] = 149;
    doc.patches[5][Ctrl2Value] = 127;
    doc.comments[0] = "%d %s %n";
    doc.comments[1] = std::string(250, 'x');
    doc.comments[2] = "line one\r\nline two";
    doc.fileName = dir.Path("a.orb");
    ASSERT_TRUE(doc.Save().ok());

    const auto raw = ReadAll(doc.fileName);
    EXPECT_EQ(raw[298 + 42 + 249], 'x');
    for (int k = 250; k < 256; ++k) EXPECT_EQ(raw[298 + 42 + k], 0);

    ProjectDocument back;
    back.fileName = doc.fileName;
    ASSERT_TRUE(back.Load().ok());
    PatchData expected0 = doc.patches[0];
    expected0[17] = 0;
    EXPECT_EQ(back.patches[0], expected0);
    EXPECT_EQ(back.patches[79][DlyParam1], 149);
    EXPECT_EQ(back.patches[5], doc.patches[5]);
    EXPECT_EQ(back.comments[0], "%d %s %n");
    EXPECT_EQ(back.comments[1].size(), 250u);
    EXPECT_EQ(back.comments[2], "line one\r\nline two");

    // Loaded and saved again without edits: the same bytes.
    back.fileName = dir.Path("b.orb");
    ASSERT_TRUE(back.Save().ok());
    EXPECT_EQ(ReadAll(back.fileName), raw);
}

TEST(ProjectDocument, CommentsAreBytesLimitedTo255) {
    TempDir dir;
    std::vector<std::uint8_t> bytes = ReadAllOfNew(dir);
    // A field with no zero byte gives its first 255 bytes; non-UTF-8 bytes stay.
    std::memset(bytes.data() + 42, 0xE9, 256);
    WriteAll(dir.Path("c.orb"), bytes);
    ProjectDocument doc;
    doc.fileName = dir.Path("c.orb");
    ASSERT_TRUE(doc.Load().ok());
    EXPECT_EQ(doc.comments[0], std::string(255, '\xE9'));

    doc.SetCommentOfRow(2, std::string(300, 'a'));
    EXPECT_EQ(doc.CommentOfRow(2).size(), 255u);
    std::string cut(254, 'a');
    cut += "\xC3\xA9";
    doc.SetCommentOfRow(3, cut);  // no half character at the end
    EXPECT_EQ(doc.CommentOfRow(3), std::string(254, 'a'));
    doc.SetCommentOfRow(4, std::string("ab\0cd", 5));
    EXPECT_EQ(doc.CommentOfRow(4), "ab");
}

TEST(ProjectDocument, EachBankKeepsItsOwnCustomSettings) {
    // A bank's CUSTOM patches play through the block at the end of its file:
    // it is read with the bank and written back as the bank holds it.
    TempDir dir;
    ProjectDocument doc;
    EXPECT_EQ(doc.customSettings, DefaultCustomSettings());
    doc.customSettings[0] = 77;
    doc.customSettings[kModCustom1Slot] = 5;
    doc.fileName = dir.Path("s.orb");
    ASSERT_TRUE(doc.Save().ok());
    ProjectDocument back;
    back.fileName = doc.fileName;
    ASSERT_TRUE(back.Load().ok());
    EXPECT_EQ(back.customSettings, doc.customSettings);
    back.comments[3] = "one comment changed";
    ASSERT_TRUE(back.Save().ok());
    const auto bytes = ReadAll(back.fileName);
    EXPECT_TRUE(std::equal(doc.customSettings.begin(), doc.customSettings.end(), bytes.begin() + 23840));
}

TEST(ProjectDocument, WrongSizesAreRefusedAndNothingIsLoaded) {
    TempDir dir;
    auto bytes = ReadAllOfNew(dir);
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{23840}, std::size_t{23931},
                             std::size_t{23933}, std::size_t{50000}}) {
        std::vector<std::uint8_t> cut(size, 0x5A);
        WriteAll(dir.Path("w.orb"), cut);
        ProjectDocument doc;
        doc.comments[0] = "kept";
        doc.fileName = dir.Path("w.orb");
        const FileResult r = doc.Load();
        EXPECT_FALSE(r.ok()) << size;
        EXPECT_EQ(doc.patches[0], InitialPatch()) << size;
        EXPECT_EQ(doc.comments[0], "kept");
        const std::string message = FileMessage(r, "project file");
        EXPECT_NE(message.find(doc.fileName), std::string::npos);
        EXPECT_NE(message.find("23932"), std::string::npos) << message;
    }
}

TEST(ProjectDocument, MissingFileReportsCantBeOpened) {
    ProjectDocument doc;
    doc.fileName = "/nonexistent/folder/x.orb";
    const FileResult r = doc.Load();
    EXPECT_EQ(r.problem, FileProblem::CannotOpen);
    EXPECT_EQ(FileMessage(r, "project file"), "/nonexistent/folder/x.orbcan't be opened.\nNo such file or directory.");
    // The form is filled in one pass: an argument holding "%2" stays as it is, a number beyond them too.
    EXPECT_EQ(FillForm("%1 of %2%3", {"50%2", "x"}), "50%2 of x%3");
    EXPECT_EQ(doc.fileName, "/nonexistent/folder/x.orb");
    EXPECT_EQ(doc.patches[7], InitialPatch());
}

TEST(ProjectDocument, FailingSaveLeavesTheOldFileAndTheModifiedFlag) {
    TempDir dir;
    const std::string path = dir.Path("keep.orb");
    ProjectDocument doc;
    doc.comments[0] = "old";
    doc.fileName = path;
    ASSERT_TRUE(doc.Save().ok());
    const auto before = ReadAll(path);

    // A file size limit makes the write fail part way, as a full disk would;
    // the limit's signal is left at its default, which would end the program.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &limit);
        doc.comments[0] = "new";
        const FileResult r = doc.Save();
        const bool reported = !r.ok() && r.problem == FileProblem::WriteFailed && !r.reason.empty() &&
                              r.previousKept &&
                              FileMessage(r, "project file").find("The previous file is unchanged.") !=
                                  std::string::npos;
        _exit(reported ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadAll(path), before);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) files += entry.is_regular_file();
    EXPECT_EQ(files, 1);

    // A folder that does not exist: reported.
    doc.fileName = dir.Path("no/such/folder.orb");
    const FileResult missing = doc.Save();
    EXPECT_EQ(missing.problem, FileProblem::WriteFailed);
    EXPECT_NE(FileMessage(missing, "project file").find("No such file or directory.\nNothing was written."),
              std::string::npos);
}

TEST(ProjectDocument, SaveReplacesOnlyARegularFile) {
    TempDir dir;
    ProjectDocument doc;
    auto refused = [&](const std::string& path) {
        doc.fileName = path;
        const FileResult r = doc.Save();
        return r.problem == FileProblem::NotAFile &&
               FileMessage(r, "project file").find(path + " couldn't be saved: it is") == 0;
    };
    const std::string fifo = dir.Path("pipe.orb");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_TRUE(refused(fifo));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    const std::string toDevice = dir.Path("null.orb");
    std::filesystem::create_symlink("/dev/null", toDevice);
    EXPECT_TRUE(refused(toDevice));
    EXPECT_TRUE(std::filesystem::is_symlink(toDevice));

    EXPECT_TRUE(refused(dir.path.string()));

    const std::string dangling = dir.Path("dangling.orb");
    std::filesystem::create_symlink(dir.Path("missing/x.orb"), dangling);
    EXPECT_TRUE(refused(dangling));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));

    const std::string loopA = dir.Path("a.orb"), loopB = dir.Path("b.orb");
    std::filesystem::create_symlink(loopB, loopA);
    std::filesystem::create_symlink(loopA, loopB);
    EXPECT_TRUE(refused(loopA));

    // Nothing else appeared in the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path)) ++entries;
    EXPECT_EQ(entries, 5);
}

TEST(ProjectDocument, SaveKeepsTheOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    TempDir dir;
    ProjectDocument doc;
    doc.fileName = dir.Path("theirs.orb");
    ASSERT_TRUE(doc.Save().ok());
    ASSERT_EQ(chown(doc.fileName.c_str(), 4321, 4322), 0);
    ASSERT_EQ(chmod(doc.fileName.c_str(), 0640), 0);
    doc.comments[0] = "saved by root";
    ASSERT_TRUE(doc.Save().ok());
    struct stat st {};
    ASSERT_EQ(stat(doc.fileName.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ProjectDocument, MoveInBothDirections) {
    ProjectDocument doc;
    for (int r = 1; r <= kPatchCount; ++r) {
        doc.PatchOfRow(r)[PatchLevel] = static_cast<std::uint8_t>(r);
        doc.SetCommentOfRow(r, "c" + std::to_string(r));
    }
    auto levels = [&](int from, int to) {
        std::vector<int> v;
        for (int r = from; r <= to; ++r) v.push_back(doc.PatchOfRow(r)[PatchLevel]);
        return v;
    };
    ASSERT_TRUE(doc.MovePatch(5, 2));
    EXPECT_EQ(levels(1, 6), (std::vector<int>{1, 5, 2, 3, 4, 6}));
    EXPECT_EQ(doc.CommentOfRow(2), "c5");

    ProjectDocument fresh;
    doc = fresh;
    for (int r = 1; r <= kPatchCount; ++r) doc.PatchOfRow(r)[PatchLevel] = static_cast<std::uint8_t>(r);
    ASSERT_TRUE(doc.MovePatch(2, 5));
    EXPECT_EQ(levels(1, 6), (std::vector<int>{1, 3, 4, 5, 2, 6}));
    ASSERT_TRUE(doc.MovePatch(1, 80));
    EXPECT_EQ(doc.PatchOfRow(80)[PatchLevel], 1);
    EXPECT_EQ(doc.PatchOfRow(1)[PatchLevel], 3);

    EXPECT_FALSE(doc.MovePatch(3, 3));
    EXPECT_FALSE(doc.MovePatch(0, 3));
    EXPECT_FALSE(doc.MovePatch(3, 81));
}

// A block of rows moves as one (the rows between close up), and the copy
// buffer takes several rows and pastes as many as fit before the bank ends.
TEST(ProjectDocument, BlocksMoveAndSeveralRowsCopyAndPaste) {
    ProjectDocument doc;
    for (int r = 1; r <= kPatchCount; ++r) {
        doc.PatchOfRow(r)[PatchLevel] = static_cast<std::uint8_t>(r);
        doc.SetCommentOfRow(r, "c" + std::to_string(r));
    }
    const ProjectDocument numbered = doc;
    auto levels = [&](int from, int to) {
        std::vector<int> v;
        for (int r = from; r <= to; ++r) v.push_back(doc.PatchOfRow(r)[PatchLevel]);
        return v;
    };
    ASSERT_TRUE(doc.MoveRows(2, 4, 6));
    EXPECT_EQ(levels(1, 9), (std::vector<int>{1, 5, 6, 7, 8, 2, 3, 4, 9}));
    EXPECT_EQ(doc.CommentOfRow(6), "c2");
    ASSERT_TRUE(doc.MoveRows(6, 8, 2));  // and back
    EXPECT_EQ(doc.patches, numbered.patches);
    EXPECT_EQ(doc.comments, numbered.comments);
    ASSERT_TRUE(doc.MoveRows(1, 3, 78));  // to the very end
    EXPECT_EQ(levels(77, 80), (std::vector<int>{80, 1, 2, 3}));
    EXPECT_FALSE(doc.MoveRows(1, 3, 79));  // would run past the end
    EXPECT_FALSE(doc.MoveRows(4, 2, 1));
    EXPECT_FALSE(doc.MoveRows(0, 2, 5));
    EXPECT_FALSE(doc.MoveRows(5, 7, 5));

    doc = numbered;
    CopyBuffer buffer;
    EXPECT_EQ(buffer.PasteInto(doc, 1), 0);
    buffer.CopyFrom(doc, std::vector<int>{3, 0, 5, 9, 81});  // rows that are no patch rows are left out
    ASSERT_EQ(buffer.rows.size(), 3u);
    EXPECT_EQ(buffer.PasteInto(doc, 79), 2);
    EXPECT_EQ(levels(78, 80), (std::vector<int>{78, 3, 5}));
    EXPECT_EQ(doc.CommentOfRow(80), "c5");
    EXPECT_EQ(buffer.PasteInto(doc, 10), 3);
    EXPECT_EQ(levels(9, 13), (std::vector<int>{9, 3, 5, 9, 13}));
    buffer.CopyFrom(doc, std::vector<int>{0});  // nothing: the buffer stays
    EXPECT_EQ(buffer.rows.size(), 3u);
}

TEST(ProjectDocument, CopyFromAnotherProjectLeavesModifiedAlone) {
    ProjectDocument a, b;
    b.PatchOfRow(10)[DriveType] = 12;
    b.SetCommentOfRow(10, "fuzz");
    ASSERT_TRUE(a.CopyPatchFrom(b, 10, 3));
    EXPECT_EQ(a.PatchOfRow(3)[DriveType], 12);
    EXPECT_EQ(a.CommentOfRow(3), "fuzz");
    EXPECT_FALSE(a.CopyPatchFrom(b, 81, 3));
}

TEST(ProjectDocument, RowTexts) {
    ProjectDocument doc;
    auto row = ProjectRowTexts(doc, 1);
    EXPECT_EQ(row[0], "U01");
    EXPECT_EQ(row[1], "        ");
    EXPECT_EQ(row[2], "OFF");
    doc.PatchOfRow(1)[ModuleSwitches] = DriveOn | ModOn | DlyOn;
    doc.PatchOfRow(1)[ModType] = 20;
    row = ProjectRowTexts(doc, 1);
    EXPECT_EQ(row[2], "OVER DRV");
    EXPECT_EQ(row[3], "CUSTOM1 ");
    EXPECT_EQ(row[4], "REV HALL");
    EXPECT_EQ(ProjectRowTexts(doc, 80)[0], "u94");
}

TEST(ProjectDocument, SavingThroughALinkKeepsTheLink) {
    TempDir dir;
    const std::string real = dir.Path("banks-real.orb"), link = dir.Path("bank.orb");
    ProjectDocument doc;
    doc.fileName = real;
    ASSERT_TRUE(doc.Save().ok());
    std::filesystem::create_symlink(real, link);
    doc.comments[0] = "through the link";
    doc.fileName = link;
    ASSERT_TRUE(doc.Save().ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    ProjectDocument back;
    back.fileName = real;
    ASSERT_TRUE(back.Load().ok());
    EXPECT_EQ(back.comments[0], "through the link");

}

// A patch dragged between windows or programs: what arrives is what left, and
// bytes from elsewhere can't put a value out of its field or a comment over its limit.
TEST(PatchClip, TravelsWholeAndForeignBytesStayInRange) {
    PatchClip clip;
    clip.patch = InitialPatch();
    EncodeName("CRUNCH", clip.patch);
    clip.patch[DriveParam1] = 17;
    clip.patch[DlyParam1] = 200;  // bit 7 travels in a field of its own
    clip.comment = "slap-back, \xe3\x81\x82";
    auto bytes = EncodePatchClip(clip);
    const auto back = DecodePatchClip(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->patch, clip.patch);
    EXPECT_EQ(back->comment, clip.comment);

    EXPECT_FALSE(DecodePatchClip(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 30)));
    auto foreign = bytes;
    foreign[0] = 'X';
    EXPECT_FALSE(DecodePatchClip(foreign));

    // Every packed byte 0xFF and a long comment: each value within its field's bits.
    auto wild = bytes;
    const std::size_t header = bytes.size() - kPackedBytes - clip.comment.size();
    std::fill(wild.begin() + static_cast<std::ptrdiff_t>(header), wild.begin() + static_cast<std::ptrdiff_t>(header) + kPackedBytes, 0xFF);
    wild.resize(header + kPackedBytes);
    wild.insert(wild.end(), 400, 'x');
    const auto limited = DecodePatchClip(wild);
    ASSERT_TRUE(limited);
    EXPECT_EQ(limited->comment.size(), static_cast<std::size_t>(kCommentMaxBytes));
    for (int i = 0; i < kPatchBytes; ++i) {
        if (PatchByteBits(i) < 8) {
            EXPECT_LT(limited->patch[static_cast<std::size_t>(i)], 1 << PatchByteBits(i)) << i;
        }
    }
    EXPECT_EQ(Unpack(Pack(limited->patch)), limited->patch);
}

// Several patches in one drag: in order, with their comments; one is written
// as a single clip; a list cut short, or saying more than it holds, is refused.
TEST(PatchClip, SeveralTravelInOrderAndDamagedListsAreRefused) {
    std::vector<PatchClip> clips(3);
    for (std::size_t i = 0; i < clips.size(); ++i) {
        clips[i].patch = InitialPatch();
        clips[i].patch[PatchLevel] = static_cast<std::uint8_t>(10 + i);
        clips[i].comment = std::string(i * 100, 'c');
    }
    const auto bytes = EncodePatchClips(clips);
    const auto back = DecodePatchClips(bytes);
    ASSERT_EQ(back.size(), 3u);
    for (std::size_t i = 0; i < clips.size(); ++i) {
        EXPECT_EQ(back[i].patch, clips[i].patch);
        EXPECT_EQ(back[i].comment, clips[i].comment);
    }
    EXPECT_EQ(EncodePatchClips(std::span(clips).first(1)), EncodePatchClip(clips[0]));
    EXPECT_EQ(DecodePatchClips(EncodePatchClip(clips[1])).size(), 1u);
    for (std::size_t cut = 1; cut < bytes.size(); cut += 7)
        EXPECT_TRUE(DecodePatchClips(std::span(bytes).first(cut)).empty()) << cut;
    auto more = bytes;
    more[16] = 4;  // says four, holds three
    EXPECT_TRUE(DecodePatchClips(more).empty());
    std::vector<PatchClip> many(100, clips[0]);
    EXPECT_EQ(DecodePatchClips(EncodePatchClips(many)).size(), static_cast<std::size_t>(kPatchCount));
}
