// The processor's history: snapshot names carry the moment and the processor
// and read back; a partial receive is filled from what the processor held
// before; a slot's history says when it changed.
#include <gtest/gtest.h>

#include <filesystem>

#include "library/processorhistory.h"
#include "sim/factorybank.h"
#include "tests/testfiles.h"

using namespace orb8;
using namespace orb8::library;

namespace {

ProjectDocument FactoryDocument() {
    ProjectDocument bank;
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i) bank.patches[static_cast<std::size_t>(i)] = Unpack(factory[static_cast<std::size_t>(i)]);
    bank.customSettings = FactoryCustomSettings();
    return bank;
}

}  // namespace

TEST(ProcessorHistory, NamesReadBackAndOtherFilesAreNotSnapshots) {
    std::array<std::uint8_t, 10> identity{0, 0x41, 0x10, 0x00, 0x20, 0x00, 1, 2, 0, 3};
    EXPECT_EQ(ProcessorName(identity, 0), "ORB-8-ch01-v1.2.0.3");
    Snapshot s;
    s.processor = "ORB-8-ch01-v1.2.0.3";
    s.time = 1796851805;  // 2026-12-09 21:30:05 UTC
    s.received = 23;
    EXPECT_EQ(SnapshotFileName(s), "2026-12-09_21-30-05_ORB-8-ch01-v1.2.0.3_received23.orb");
    const auto back = SnapshotOfFileName(SnapshotFileName(s));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->time, s.time);
    EXPECT_EQ(back->processor, s.processor);
    EXPECT_EQ(back->received, 23);
    EXPECT_TRUE(back->Partial());
    s.kind = SnapshotKind::Sent;
    s.received = kPatchCount;
    EXPECT_EQ(SnapshotOfFileName(SnapshotFileName(s))->kind, SnapshotKind::Sent);
    for (const char* other : {"bank.orb", "2026-12-09_21-30-05_X_received80.syx", "2026-13-09_21-30-05_X_received80.orb",
                              "2026-12-09_21-30-05__received80.orb", "2026-12-09_21-30-05_X_received81.orb",
                              "2026-12-09_21-30-05_X_kept80.orb", "2026-12-09_21-30-05_X_received.orb"})
        EXPECT_FALSE(SnapshotOfFileName(other)) << other;
}

TEST(ProcessorHistory, PartialReceivesKeepWhatTheProcessorHeldAndSlotsTellTheirHistory) {
    TempDir dir;
    const ProcessorHistory history(dir.Path("history"));
    EXPECT_TRUE(history.List().empty());  // no folder yet
    const std::string orb = "ORB-8-ch01-v1.0.0.0", other = "ORB-8-ch02-v1.0.0.0";
    ProjectDocument bank = FactoryDocument();
    bank.comments[0] = "a comment stays with the bank";
    Snapshot s{"", orb, 1796850000, SnapshotKind::Received, kPatchCount};
    ASSERT_TRUE(history.Keep(s, bank).ok());

    // U11 changes; then a receive that ended after 10 patches, its other
    // slots as the bank it went into held them.
    ProjectDocument second = bank;
    EncodeName("CHANGED", second.patches[4]);
    ProjectDocument into = second;
    for (int i = 10; i < kPatchCount; ++i) into.patches[static_cast<std::size_t>(i)] = InitialPatch();
    s.time += 60;
    s.received = 10;
    const FileResult kept = history.Keep(s, into);
    ASSERT_TRUE(kept.ok());
    ProjectDocument read;
    read.fileName = kept.path;
    ASSERT_TRUE(read.Load().ok());
    EXPECT_EQ(read.patches[4], second.patches[4]);
    EXPECT_EQ(read.patches[50], bank.patches[50]);  // from the snapshot before, not the bank's empty slot
    EXPECT_TRUE(read.comments[0].empty());
    EXPECT_EQ(read.customSettings, FactoryCustomSettings());

    // Another processor, and the same snapshot name twice in one second: none is lost.
    ASSERT_TRUE(history.Keep({"", other, s.time, SnapshotKind::Received, kPatchCount}, bank).ok());
    ASSERT_TRUE(history.Keep(s, into).ok());
    const auto all = history.List();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(history.Latest(other)->processor, other);
    EXPECT_EQ(history.Latest(orb)->time, s.time + 1);

    const auto u11 = history.SlotHistory(orb, 4);
    ASSERT_EQ(u11.size(), 3u);
    EXPECT_TRUE(u11[0].changed);
    EXPECT_TRUE(u11[1].changed);
    EXPECT_FALSE(u11[2].changed);
    EXPECT_EQ(DecodeName(u11[1].patch), "CHANGED ");
    const auto u94 = history.SlotHistory(orb, 79);
    ASSERT_EQ(u94.size(), 3u);
    EXPECT_TRUE(u94[1].known);  // filled from the first
    EXPECT_FALSE(u94[1].changed);
    EXPECT_TRUE(history.SlotHistory(orb, 80).empty());

    // Custom distortions received are kept beside the banks, and are not what a bank is compared with.
    CustomDistDocument sets;
    sets.data.filters[3].on = true;
    const FileResult keptSets = history.Keep({"", orb, s.time + 100, SnapshotKind::Received, kFilterCount + kSetCount}, sets);
    ASSERT_TRUE(keptSets.ok());
    EXPECT_TRUE(keptSets.path.ends_with("_received18.dst")) << keptSets.path;
    const auto withSets = history.List();
    ASSERT_EQ(withSets.size(), 5u);
    EXPECT_TRUE(withSets.back().customDists);
    EXPECT_FALSE(withSets.back().Partial());
    EXPECT_FALSE(history.Latest(orb)->customDists);
    EXPECT_EQ(history.SlotHistory(orb, 4).size(), 3u);
    CustomDistDocument readSets;
    readSets.fileName = keptSets.path;
    ASSERT_TRUE(readSets.Load().ok());
    EXPECT_TRUE(readSets.data.filters[3].on);

    // The first receive of a processor that ended early: the slots it did not reach are not known.
    const ProcessorHistory fresh(dir.Path("fresh"));
    ASSERT_TRUE(fresh.Keep({"", orb, 1796850000, SnapshotKind::Received, 5}, bank).ok());
    EXPECT_FALSE(fresh.SlotHistory(orb, 6)[0].known);
    EXPECT_TRUE(fresh.SlotHistory(orb, 4)[0].known);
}
