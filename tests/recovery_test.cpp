// Records of unsaved work: what survives a damaged file, whose records a
// program may take, and recovery of a session over the file as saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "customdist/customdistsession.h"
#include "editors/projectsession.h"
#include "tests/testfiles.h"
#include "workspace/recovery.h"

using namespace orb8;

namespace {

RecoveryRecord SampleRecord() {
    RecoveryRecord record;
    record.kind = DocumentKind::Project;
    record.fileName = "/home/someone/バンク.orb";
    record.title = "バンク.orb";
    record.changedAtMs = 1'765'000'000'123;
    for (int i = 0; i < kProjectFileBytes; ++i) record.bytes.push_back(static_cast<std::uint8_t>(i * 7));
    return record;
}

int CountFiles(const TempDir& dir) {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir.path), {}));
}

}  // namespace

TEST(RecoveryRecord, SurvivesItsRoundTripAndRefusesEveryDamage) {
    const RecoveryRecord record = SampleRecord();
    const std::vector<std::uint8_t> bytes = EncodeRecoveryRecord(record);
    std::string why;
    const auto back = DecodeRecoveryRecord(bytes, why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->kind, record.kind);
    EXPECT_EQ(back->fileName, record.fileName);
    EXPECT_EQ(back->title, record.title);
    EXPECT_EQ(back->changedAtMs, record.changedAtMs);
    EXPECT_EQ(back->bytes, record.bytes);

    // Cut anywhere, or any byte changed: refused with a reason, never read wrong.
    for (std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{30}, bytes.size() / 2, bytes.size() - 1}) {
        why.clear();
        EXPECT_FALSE(DecodeRecoveryRecord(std::span(bytes).first(size), why)) << size;
        EXPECT_FALSE(why.empty());
    }
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::uint8_t> damaged = bytes;
        damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        EXPECT_FALSE(DecodeRecoveryRecord(damaged, why));
    }
    // An empty record of the other kind reads back.
    RecoveryRecord empty;
    empty.kind = DocumentKind::CustomDist;
    EXPECT_TRUE(DecodeRecoveryRecord(EncodeRecoveryRecord(empty), why));

    // Field lengths that point past the end, under a checksum that matches
    // them (the standard CRC-32, worked out bit by bit here).
    const auto crc32 = [](std::span<const std::uint8_t> data) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::uint8_t b : data) {
            crc ^= b;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return crc ^ 0xFFFFFFFFu;
    };
    const std::string check = "123456789";
    ASSERT_EQ(crc32({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
    std::vector<std::uint8_t> lying = EncodeRecoveryRecord(empty);
    lying.resize(lying.size() - 4);
    lying[lying.size() - 4] = 0xFF;  // the image's length: far more than there is
    lying[lying.size() - 1] = 0x00;
    const std::uint32_t sum = crc32(lying);
    for (int i = 0; i < 4; ++i) lying.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
    why.clear();
    EXPECT_FALSE(DecodeRecoveryRecord(lying, why));
    EXPECT_NE(why.find("fields"), std::string::npos) << why;
}

// Two programs share the folder: neither takes the other's records while it
// runs; once one is gone without ending normally, its records are offered,
// and its leftovers (an unfinished write, its lock) are cleared.
TEST(RecoveryFolder, OffersOnlyTheRecordsOfProgramsThatAreGone) {
    TempDir dir;
    const RecoveryRecord record = SampleRecord();
    RecoveryFolder second(dir.path.string());
    ASSERT_TRUE(second.Usable()) << second.Problem();
    std::string crashedRecord;
    {
        RecoveryFolder first(dir.path.string());
        ASSERT_TRUE(first.Usable()) << first.Problem();
        ASSERT_TRUE(first.Write(1, record));
        ASSERT_TRUE(first.Write(2, record));
        first.Remove(2);
        crashedRecord = first.RecordPath(1);
        WriteAll(crashedRecord + ".tmp", {1, 2, 3});  // killed during a write
        EXPECT_TRUE(second.LeftBehind().empty());
        ASSERT_TRUE(second.Write(1, record));
        EXPECT_TRUE(first.LeftBehind().empty());
        // first dies here: its lock goes with the process, its records stay.
    }
    const std::vector<LeftRecord> left = second.LeftBehind();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, crashedRecord);
    ASSERT_TRUE(left[0].record);
    EXPECT_EQ(left[0].record->bytes, record.bytes);
    EXPECT_FALSE(std::filesystem::exists(crashedRecord + ".tmp"));

    // A damaged record is listed with its reason; a third program sees both.
    WriteAll(crashedRecord, {'O', 'R', 'B'});
    RecoveryFolder third(dir.path.string());
    const std::vector<LeftRecord> again = third.LeftBehind();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(again[0].record);
    EXPECT_FALSE(again[0].problem.empty());

    // Discarded, the crashed program leaves nothing; the running ones keep theirs.
    RecoveryFolder::Discard(crashedRecord);
    EXPECT_TRUE(third.LeftBehind().empty());
    EXPECT_EQ(CountFiles(dir), 3);  // second's record and lock, third's lock
    second.EndNormally();
    third.EndNormally();
    EXPECT_EQ(CountFiles(dir), 0);
}

TEST(RecoveryFolder, WithoutAFolderKeepsNothingAndSaysWhy) {
    TempDir dir;
    WriteAll(dir.Path("file"), {1});
    RecoveryFolder folder(dir.Path("file") + "/recovery");
    EXPECT_FALSE(folder.Usable());
    EXPECT_FALSE(folder.Problem().empty());
    EXPECT_FALSE(folder.Write(1, SampleRecord()));
    EXPECT_TRUE(folder.LeftBehind().empty());
}

// The writer keeps each document's last word: a newer record replaces one
// still waiting, and a removal after a write leaves nothing.
TEST(RecoveryWriter, KeepsTheLastWordOfEachDocument) {
    TempDir dir;
    RecoveryFolder folder(dir.path.string());
    RecoveryRecord record = SampleRecord();
    {
        RecoveryWriter writer(folder);
        for (int i = 0; i < 50; ++i) {
            record.changedAtMs = i;
            writer.Write(1, record);
            writer.Write(2, record);
        }
        writer.Remove(2);
        writer.Flush();
        EXPECT_GE(writer.Written(), 1);
    }
    std::string why;
    const auto back = DecodeRecoveryRecord(ReadAll(folder.RecordPath(1)), why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->changedAtMs, 49);
    EXPECT_FALSE(std::filesystem::exists(folder.RecordPath(2)));
}

// A recovered project stands one step over its file: modified, the file name
// kept, and an undo gives the file as saved.
TEST(RecoverySession, ProjectRecoversOverItsFileAsOneStep) {
    TempDir dir;
    CustomSettingsBlock settings{};
    const std::string path = dir.Path("bank.orb");
    std::vector<std::uint8_t> saved, recovered;
    {
        ProjectSession session(settings);
        session.SetFileName(path);
        session.Perform([&](ProjectDocument& d) {
            d.comments[0] = "saved";
            return StepReport{"a", {}};
        });
        ASSERT_TRUE(session.Save().ok());
        saved = session.FileImage();
        session.Perform([&](ProjectDocument& d) {
            d.comments[0] = "unsaved";
            d.patches[3][20] = 9;
            return StepReport{"b", {}};
        });
        recovered = session.FileImage();
    }
    ProjectSession session(settings);
    EXPECT_FALSE(session.Recover(path, "Recovery", std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(session.Modified());
    EXPECT_TRUE(session.Document().fileName.empty());
    ASSERT_TRUE(session.Recover(path, "Recovery", recovered));
    EXPECT_EQ(session.FileImage(), recovered);
    EXPECT_TRUE(session.Modified());
    EXPECT_EQ(session.Document().fileName, path);
    EXPECT_EQ(session.UndoText(), "Recovery");
    session.Undo();
    EXPECT_EQ(session.FileImage(), saved);
    EXPECT_FALSE(session.Modified());

    // Never saved: over a new project; a file gone since: the same.
    ProjectSession untitled(settings);
    ASSERT_TRUE(untitled.Recover("", "Recovery", recovered));
    EXPECT_TRUE(untitled.Modified());
    EXPECT_EQ(untitled.FileImage(), recovered);
}

TEST(RecoverySession, CustomDistRecoversAndTellsItsImageBeforeAnOperation) {
    CustomDistSession session;
    session.Perform("x", [](CustomDistData& data) { data.ReadFileImage(std::vector<std::uint8_t>(40, 3)); });
    const std::vector<std::uint8_t> image = session.FileImage();
    // While an operation is under way, the image is the data before it.
    session.Perform("y", [&](CustomDistData& data) {
        data.ReadFileImage(std::vector<std::uint8_t>(40, 5));
        EXPECT_EQ(session.FileImage(), image);
    });
    EXPECT_NE(session.FileImage(), image);

    CustomDistSession other;
    EXPECT_FALSE(other.Recover("", "Recovery", std::vector<std::uint8_t>(10)));
    ASSERT_TRUE(other.Recover("", "Recovery", image));
    EXPECT_EQ(other.FileImage(), image);
    EXPECT_TRUE(other.Modified());
}
