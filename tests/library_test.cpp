// The patch library over a folder of real files: what a scan reads, skips,
// keeps and forgets as the files change, duplicates by sound, the history of
// a slot, word search in any case and script, and the schema's versions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <nlohmann/json.hpp>

#include "device/sysexfile.h"
#include "library/patchlibrary.h"
#include "library/schema.h"
#include "library/sqlite.h"
#include "library/query.h"
#include "library/sounds.h"
#include "library/textfold.h"
#include "patch/effecttables.h"
#include "tests/toolrun.h"
#include "tests/testfiles.h"
#include "tests/libraryrig.h"

using namespace orb8;
using namespace orb8::library;
namespace fs = std::filesystem;

TEST(PatchLibrary, ScansKeepsUpWithTheFilesAndRemembersWhatSlotsHeld) {
    LibraryRig rig;
    fs::create_directories(rig.At("old"));
    WriteBank(rig.At("live.orb"), 0, "CRUNCH", 10, "slap-back delay");
    WriteBank(rig.At("old/backup.ORB"), 4, "LEAD 2", 10);  // the same sound under another name and slot
    {
        ProjectDocument bank;
        EncodeName("CRUNCH", bank.patches[2]);
        bank.patches[2][ModuleSwitches] |= ModOn;
        bank.patches[2][ModParam1] = 10;
        WriteAll(rig.At("dump.syx"), PatchesAsSysEx(bank, 0, 2));
    }
    WriteAll(rig.At("cut.orb"), std::vector<std::uint8_t>(100, 0));
    WriteAll(rig.At("other.syx"), {0xF0, 0x43, 0x10, 0x01, 0xF7});
    WriteAll(rig.At("notes.txt"), {'x'});
    rig.lib.AddSource(rig.banks);

    ScanReport r = rig.lib.Scan();
    EXPECT_EQ(r.files, 5);
    EXPECT_EQ(r.read, 5);
    EXPECT_EQ(r.skipped, 2);
    const auto problems = rig.lib.Problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].path, rig.At("cut.orb"));
    EXPECT_NE(problems[1].problem.find("no ORB-8 patches"), std::string::npos) << problems[1].problem;
    EXPECT_EQ(rig.lib.Stats().places, 80 + 80 + 1);

    // The sound of CRUNCH in three places, whatever its name there.
    const auto dups = rig.lib.Duplicates();
    ASSERT_GE(dups.size(), 2u);  // the initial patch fills the other slots of both banks
    bool found = false;
    for (const auto& group : dups)
        if (group.size() == 3) {
            found = true;
            EXPECT_EQ(Names(group), (std::vector<std::string>{"CRUNCH", "CRUNCH", "LEAD 2"}));
            EXPECT_EQ(group[0].path, rig.At("dump.syx"));
            EXPECT_EQ(SlotLabel(group[0].slot), "U03");
            EXPECT_EQ(rig.lib.PatchAt(group[2])[ModParam1], 10);
        }
    EXPECT_TRUE(found);

    // Nothing changed: nothing is read.
    rig.now += 60;
    r = rig.lib.Scan();
    EXPECT_EQ(r.unchanged, 5);
    EXPECT_EQ(r.read, 0);

    // The bank changes twice: the slot's history keeps both earlier states.
    rig.now += 60;
    WriteBank(rig.At("live.orb"), 0, "CRUNCH", 20, "slap-back delay");
    Later(rig.At("live.orb"), 10);
    r = rig.lib.Scan();
    EXPECT_EQ(r.read, 1);
    EXPECT_EQ(r.newPatches, 1);
    rig.now += 60;
    WriteBank(rig.At("live.orb"), 0, "CRUNCH 2", 20, "brighter");
    Later(rig.At("live.orb"), 20);
    rig.lib.Scan();
    auto history = rig.lib.History(rig.At("live.orb"), 0);
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].name, "CRUNCH 2");
    EXPECT_EQ(history[0].until, 0);
    EXPECT_EQ(history[1].comment, "slap-back delay");
    EXPECT_EQ(history[1].until, rig.now);
    EXPECT_EQ(history[2].from, 1'700'000'000);
    EXPECT_NE(history[1].patch, history[2].patch);
    // Each entry carries its patch under the name it had, to compare or take back.
    EXPECT_EQ(DecodeName(history[1].data), "CRUNCH  ");
    EXPECT_EQ(history[1].data[ModParam1], 20);
    EXPECT_EQ(history[2].data[ModParam1], 10);
    EXPECT_EQ(DecodeName(history[0].data), "CRUNCH 2");
    EXPECT_EQ(rig.lib.History(rig.At("live.orb"), 1).size(), 1u);  // untouched slots have no past

    // A renamed bank: its places move, the old name keeps its history; a
    // file replaced by a folder holding a bank.
    fs::rename(rig.At("live.orb"), rig.At("renamed.orb"));
    fs::remove(rig.At("cut.orb"));
    fs::create_directories(rig.At("cut.orb"));
    WriteBank(rig.At("cut.orb/inner.orb"), 7, "INNER", 3);
    rig.now += 60;
    r = rig.lib.Scan();
    EXPECT_EQ(r.removed, 2);
    EXPECT_EQ(rig.lib.History(rig.At("live.orb"), 0).size(), 3u);
    EXPECT_EQ(rig.lib.History(rig.At("renamed.orb"), 0).size(), 1u);
    EXPECT_EQ(Names(rig.lib.Search("inner")), std::vector<std::string>{"INNER"});
    EXPECT_EQ(rig.lib.Problems().size(), 1u);

    // An unplugged disk loses nothing; forgetting the source does.
    const auto before = rig.lib.Stats();
    fs::rename(rig.banks, rig.dir.Path("elsewhere"));
    r = rig.lib.Scan();
    EXPECT_EQ(r.missingSources, std::vector<std::string>{rig.banks});
    EXPECT_EQ(r.removed, 0);
    EXPECT_EQ(rig.lib.Stats().places, before.places);
    EXPECT_TRUE(rig.lib.RemoveSource(rig.banks));
    EXPECT_FALSE(rig.lib.RemoveSource(rig.banks));
    EXPECT_EQ(rig.lib.Stats().files, 0);
    EXPECT_EQ(rig.lib.Stats().places, 0);
    EXPECT_TRUE(rig.lib.History(rig.At("live.orb"), 0).empty());
    EXPECT_THROW(rig.lib.AddSource(rig.dir.Path("no such folder")), LibraryError);
}

TEST(PatchLibrary, SearchFindsWordsInAnyCaseAccentAndScript) {
    LibraryRig rig;
    WriteBank(rig.At("a.orb"), 0, "CRUNCH", 1, "Crème brûlée with slap-back");
    WriteBank(rig.At("b.orb"), 1, "CLEAN", 2, "歪みの少ないディレイ、50% wet");
    WriteBank(rig.At("c.orb"), 2, "CRUNCH", 3, "");  // the same name, another sound
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    EXPECT_EQ(Names(rig.lib.Search("runc")), (std::vector<std::string>{"CRUNCH", "CRUNCH"}));  // inside a word
    EXPECT_EQ(Names(rig.lib.Search("creme BRULEE")), std::vector<std::string>{"CRUNCH"});
    EXPECT_EQ(Names(rig.lib.Search("ＣＬＥＡＮ")), std::vector<std::string>{"CLEAN"});  // full-width letters
    EXPECT_EQ(Names(rig.lib.Search("ディレイ")), std::vector<std::string>{"CLEAN"});
    EXPECT_EQ(Names(rig.lib.Search("歪み")), std::vector<std::string>{"CLEAN"});  // shorter than the index's three
    EXPECT_EQ(Names(rig.lib.Search("0%")), std::vector<std::string>{"CLEAN"});    // % is a character, not a wildcard
    EXPECT_TRUE(rig.lib.Search("crunch wet").empty());                            // every word must be there
    EXPECT_TRUE(rig.lib.Search("x\"y").empty());  // a quote inside a word is a character
    EXPECT_EQ(rig.lib.Search("", 1000).size(), 240u);
    EXPECT_EQ(rig.lib.Search("", 10, 235).size(), 5u);

    const auto clashes = rig.lib.SameNameOtherSound();
    ASSERT_EQ(clashes.size(), 1u);
    EXPECT_EQ(Names(clashes[0]), (std::vector<std::string>{"CRUNCH", "CRUNCH"}));
}

TEST(PatchLibrary, SoundsSlotsAndFoldedText) {
    PatchData patch = InitialPatch();
    EncodeName("ABC", patch);
    PatchData renamed = patch;
    EncodeName("XYZ", renamed);
    EXPECT_EQ(SoundOf(patch), SoundOf(renamed));
    renamed[EqBass] ^= 1;
    EXPECT_NE(SoundOf(patch), SoundOf(renamed));
    EXPECT_EQ(PatchFrom(SoundOf(patch), std::span<const std::uint8_t>(patch.data() + Name0, kNameLength)), patch);

    for (int slot : {0, 39, 79, -1, -12}) EXPECT_EQ(SlotFromLabel(SlotLabel(slot)), slot);
    for (const char* bad : {"EB0", "EB", "EBx", "U00", "X12", "EB123456"}) EXPECT_FALSE(SlotFromLabel(bad)) << bad;

    EXPECT_EQ(Fold("ÀÉÎõüŁŠ Straße ×"), "aeiouls strase ×");
    EXPECT_EQ(Fold("ＡＢｃ１"), "abc1");
    EXPECT_EQ(Fold("日本語"), "日本語");
    // Bytes that are not UTF-8 pass through as they are.
    EXPECT_EQ(Fold(std::string("\xE3\x81 \xFF") + "A"), std::string("\xE3\x81 \xFF") + "a");
}

TEST(PatchLibrary, SchemaVersions) {
    TempDir dir;
    const std::string path = dir.Path("library.db");
    { PatchLibrary lib(path); }
    {
        sql::Database db(path);
        EXPECT_EQ(SchemaVersion(db), kSchemaVersion);
        db.Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion + 1));
    }
    try {
        PatchLibrary lib(path);
        ADD_FAILURE() << "a newer program's library was opened";
    } catch (const LibraryError& e) {
        EXPECT_NE(std::string(e.what()).find("newer version"), std::string::npos) << e.what();
    }
    {
        sql::Database db(path);
        EXPECT_EQ(SchemaVersion(db), kSchemaVersion + 1);  // left as it was
    }
    WriteAll(dir.Path("not a database"), std::vector<std::uint8_t>(4096, 'x'));
    EXPECT_THROW(PatchLibrary(dir.Path("not a database")), LibraryError);

    // A library of the first version, with a sound in it: upgraded after a
    // copy, the sound's types filled in and found by them.
    const std::string first = dir.Path("first.db");
    PatchData patch = InitialPatch();
    patch[DriveType] = 5;
    patch[ModType] = 7;
    patch[DlyType] = 9;
    {
        sql::Database db(first);
        MigrateTo(db, 1);
        auto insert = db.Prepare("INSERT INTO patches(fingerprint, sound, first_seen) VALUES (1, ?, 0)");
        insert.Bind(1, SoundOf(patch)).Run();
    }
    {
        PatchLibrary lib(first);
        PatchData like = InitialPatch();
        like[ModType] = 7;
        const auto found = lib.SoundsOfTypes(like, 10, 12345);
        ASSERT_EQ(found.size(), 1u);  // by its Mod type only
        EXPECT_EQ(found[0][DlyType], 9);
        like[ModType] = 8;
        EXPECT_TRUE(lib.SoundsOfTypes(like, 10).empty());
    }
    sql::Database db(first);
    EXPECT_EQ(SchemaVersion(db), kSchemaVersion);
    EXPECT_EQ(db.Integer("SELECT drive_type * 10000 + mod_type * 100 + dly_type FROM patches"), 50709);
    EXPECT_TRUE(std::filesystem::exists(first + ".v1.bak"));
}

// Filters by effect type, module switch, a parameter's shown value, the
// user's marks and the file's path, alone and with words.
TEST(PatchLibrary, QueriesFilterByTypesParametersAndMarks) {
    LibraryRig rig;
    {
        ProjectDocument bank;
        auto& fuzz = bank.patches[0];
        EncodeName("FUZZ LD", fuzz);
        fuzz[ModuleSwitches] = DriveOn | DlyOn;
        fuzz[DriveType] = 12;  // FUZZ
        fuzz[DriveParam1] = 25;
        fuzz[DlyType] = 16;  // a BPM delay
        auto& clean = bank.patches[1];
        EncodeName("CLEAN CH", clean);
        clean[ModuleSwitches] = ModOn;
        clean[DriveType] = 12;
        clean[DriveParam1] = 5;
        EncodeName("DLY TAIL", bank.patches[2]);
        bank.patches[2][PatchLevel] = 7;  // a sound of its own (tags belong to a sound)
        bank.comments[2] = "quote\"d";
        bank.fileName = rig.At("live/set.orb");
        fs::create_directories(rig.At("live"));
        ASSERT_TRUE(bank.Save().ok());
    }
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    const std::string gain = ParameterName(DriveParam1, 12);
    ASSERT_FALSE(gain.empty());
    const int shown25 = std::atoi(DisplayText(DriveParam1, 12, 25).c_str());

    EXPECT_EQ(Names(rig.lib.Search("drive:on")), std::vector<std::string>{"FUZZ LD"});
    EXPECT_EQ(Names(rig.lib.Search("mod:on drive:off")), std::vector<std::string>{"CLEAN CH"});
    EXPECT_EQ(Names(rig.lib.Search("drive:fuzz drive:on")), std::vector<std::string>{"FUZZ LD"});
    EXPECT_EQ(rig.lib.Search("drive:FUZZ").size(), 2u);
    EXPECT_EQ(Names(rig.lib.Search(gain + " >= " + std::to_string(shown25))), std::vector<std::string>{"FUZZ LD"});
    EXPECT_EQ(Names(rig.lib.Search("ld " + gain + ">" + std::to_string(shown25 - 1))),
              std::vector<std::string>{"FUZZ LD"});
    EXPECT_TRUE(rig.lib.Search(gain + ">" + std::to_string(shown25)).empty());
    EXPECT_EQ(Names(rig.lib.Search("in:live ch")), std::vector<std::string>{"CLEAN CH"});
    EXPECT_EQ(rig.lib.Search("\"patch level\" >= 0", 1000).size(), 80u);  // a name with a space, quoted
    EXPECT_TRUE(rig.lib.Search("in:elsewhere").empty());
    EXPECT_EQ(Names(rig.lib.Search("10:30")), std::vector<std::string>{});  // a colon in a word is a word
    EXPECT_TRUE(rig.lib.Search("wow!").empty());                             // so is a lone "!"
    EXPECT_EQ(Names(rig.lib.Search("quote\"d")), std::vector<std::string>{"DLY TAIL"});  // a quote inside a word
    EXPECT_EQ(Names(rig.lib.Search("tag:dly")), std::vector<std::string>{"DLY TAIL"});   // the name word a tag comes from

    // Marks: favourite, rating, tags by hand and from the name.
    const Place fuzz = rig.lib.Search("fuzz ld").at(0);
    rig.lib.SetFavourite(fuzz.patch, true);
    rig.lib.SetRating(fuzz.patch, 4);
    rig.lib.SetNote(fuzz.patch, "for the encore");
    EXPECT_EQ(Names(rig.lib.Search("fav")), std::vector<std::string>{"FUZZ LD"});
    EXPECT_EQ(Names(rig.lib.Search("rating>=4")), std::vector<std::string>{"FUZZ LD"});
    EXPECT_EQ(rig.lib.Search("rating<4").size(), 79u);
    auto notes = rig.lib.NotesOf(fuzz.patch);
    EXPECT_EQ(notes.tags, (std::vector<std::string>{"fuzz", "lead"}));
    EXPECT_EQ(notes.automaticTags, notes.tags);
    EXPECT_EQ(notes.note, "for the encore");
    rig.lib.RemoveTag(fuzz.patch, "lead");
    rig.lib.AddTag(fuzz.patch, " Encore ");
    EXPECT_EQ(Names(rig.lib.Search("tag:encore")), std::vector<std::string>{"FUZZ LD"});
    EXPECT_TRUE(rig.lib.Search("tag:lead").empty());
    // A rescan of a changed file brings no removed automatic tag back.
    Later(rig.At("live/set.orb"), 5);
    rig.lib.Scan();
    notes = rig.lib.NotesOf(fuzz.patch);
    EXPECT_EQ(notes.tags, (std::vector<std::string>{"encore", "fuzz"}));
    EXPECT_EQ(notes.automaticTags, std::vector<std::string>{"fuzz"});
    EXPECT_THROW(rig.lib.SetRating(fuzz.patch, 6), LibraryError);

    // What the syntax refuses, with the reason.
    std::string manyWords;
    for (int i = 0; i < 1005; ++i) manyWords += std::string(" ") + static_cast<char>('a' + i % 26);
    for (const std::string& bad : {std::string("drive:nosuchtype"), std::string("nosuchparameter>3"),
                                   std::string("eq:fuzz"), std::string("rating>=x"), std::string("gain>="),
                                   gain + ">=abc", manyWords}) {
        try {
            rig.lib.Search(bad);
            ADD_FAILURE() << bad << " was taken";
        } catch (const QueryError& e) {
            // A sentence in the user's words, not SQLite's.
            const std::string what = e.what();
            EXPECT_TRUE(!what.empty() && what.back() == '.') << what;
            EXPECT_EQ(what.find("prepare"), std::string::npos) << what;
        }
    }
}

TEST(PatchLibrary, SimilarRanksAOneKnobVariantAboveAnotherType) {
    LibraryRig rig;
    ProjectDocument bank;
    const auto make = [&](int slot, const char* name, int type, int gain) {
        auto& p = bank.patches[static_cast<std::size_t>(slot)];
        EncodeName(name, p);
        p[ModuleSwitches] = DriveOn | EqOn;
        p[DriveType] = static_cast<std::uint8_t>(type);
        p[DriveParam1] = static_cast<std::uint8_t>(gain);
    };
    make(0, "ORIGINAL", 12, 20);
    make(1, "OTHER", 3, 20);
    make(2, "VARIANT", 12, 22);
    make(3, "FAR KNOB", 12, 40);
    bank.fileName = rig.At("b.orb");
    ASSERT_TRUE(bank.Save().ok());
    ASSERT_TRUE(bank.Save().ok());
    fs::copy_file(rig.At("b.orb"), rig.At("copy.orb"));
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    const Place original = *rig.lib.PlaceAt(rig.At("b.orb"), 0);
    const auto similar = rig.lib.Similar(original.patch, 3);
    ASSERT_EQ(similar.size(), 3u);
    EXPECT_EQ(similar[0].place.name, "VARIANT");
    EXPECT_EQ(similar[1].place.name, "FAR KNOB");
    EXPECT_EQ(similar[2].place.name, "OTHER");
    EXPECT_LT(similar[0].distance, similar[1].distance);
    EXPECT_EQ(similar[0].places, 2);  // in both banks
    EXPECT_DOUBLE_EQ(SoundDistance(bank.patches[0], bank.patches[0]), 0);
    // Its own other place first when asked for.
    // Its own other places first when asked for, never the place asked about.
    const auto withSame = rig.lib.Similar(original.patch, 1, true, original.occurrence);
    ASSERT_EQ(withSame.size(), 2u);
    EXPECT_EQ(withSame[0].place.path, rig.At("copy.orb"));
    EXPECT_EQ(withSame[0].distance, 0);
    const Place copy = *rig.lib.PlaceAt(rig.At("copy.orb"), 0);
    const auto fromCopy = rig.lib.Similar(copy.patch, 1, true, copy.occurrence);
    ASSERT_EQ(fromCopy.size(), 2u);
    EXPECT_EQ(fromCopy[0].place.path, rig.At("b.orb"));
    EXPECT_EQ(AutomaticTags("CHO+DLY"), (std::vector<std::string>{"chorus", "delay"}));
    EXPECT_EQ(AutomaticTags("DELAYED od"), (std::vector<std::string>{"delay", "overdrive"}));
    EXPECT_TRUE(AutomaticTags("LDX").empty());  // two-letter keywords only as whole words
}

TEST(PatchLibrary, ToolCommands) {
    TempDir dir;
    const std::string db = dir.Path("lib.db"), banks = dir.Path("banks");
    fs::create_directories(banks);
    WriteBank(banks + "/a.orb", 0, "CRUNCH", 10, "slap-back");
    WriteBank(banks + "/b.orb", 3, "CRUNCH", 11);
    ToolRun r = Tool({"library", "--db", db, "add", banks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("2 files: 2 read"), std::string::npos) << r.out;
    r = Tool({"library", "--db", db, "search", "crunch", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto hits = nlohmann::json::parse(r.out);
    ASSERT_EQ(hits.size(), 2u);
    const auto& a = hits[0]["comment"] == "slap-back" ? hits[0] : hits[1];
    EXPECT_EQ(a["comment"], "slap-back");
    EXPECT_EQ(a["slot"], "U01");
    r = Tool({"library", "--db", db, "names"});
    EXPECT_NE(r.out.find("U04  CRUNCH"), std::string::npos) << r.out;
    r = Tool({"library", "--db", db, "tag", banks + "/a.orb", "U01", "--add", "live", "--remove", "crunch"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "live\n");
    r = Tool({"library", "--db", db, "similar", banks + "/a.orb", "U01", "--limit", "1"});
    EXPECT_NE(r.out.find("CRUNCH"), std::string::npos) << r.out;
    r = Tool({"library", "--db", db, "export-bank", "crunch", dir.Path("hits.orb")});
    ASSERT_EQ(r.code, 0) << r.err;
    ProjectDocument hitsBank;
    hitsBank.fileName = dir.Path("hits.orb");
    ASSERT_TRUE(hitsBank.Load().ok());
    const std::size_t first = hitsBank.patches[0][ModParam1] == 10 ? 0 : 1;
    EXPECT_EQ(DecodeName(hitsBank.patches[1 - first]), "CRUNCH  ");
    EXPECT_EQ(hitsBank.patches[1 - first][ModParam1], 11);
    EXPECT_EQ(hitsBank.comments[first], "slap-back");
    EXPECT_EQ(hitsBank.patches[2], InitialPatch());
    r = Tool({"library", "--db", db, "history", banks + "/b.orb", "U04"});
    EXPECT_NE(r.out.find("now"), std::string::npos) << r.out;
    // Errors say what is wrong and change nothing.
    EXPECT_EQ(Tool({"library", "--db", db, "export-bank", "crunch", dir.Path("hits.orb")}).code, 1);
    r = Tool({"library", "--db", db, "search", "drive:nosuch"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("No drive type is called"), std::string::npos) << r.err;
    EXPECT_EQ(Tool({"library", "--db", db, "tag", banks + "/a.orb", "U99"}).code, 1);
    EXPECT_EQ(Tool({"library", "--db", db, "add", dir.Path("missing")}).code, 1);
    EXPECT_EQ(Tool({"library", "--db", db, "remove", dir.Path("missing")}).code, 1);
    EXPECT_EQ(Tool({"library", "--db", db, "remove", banks}).code, 0);
    EXPECT_EQ(Tool({"library", "--db", db, "stats"}).out,
              "0 sources, 0 files, 3 sounds in 0 places, 0 files skipped\n");

    // A comment and a file name that are not UTF-8: every JSON list carries
    // them, readable and byte for byte; problems and sources take --json too.
    const std::string odd = banks + "/caf\xE9.orb";
    WriteBank(odd, 0, "CRUNCH", 12, "\xE9t\xE9");
    WriteAll(banks + "/bad\xFF.orb", std::vector<std::uint8_t>(10, 1));
    ASSERT_EQ(Tool({"library", "--db", db, "add", banks}).code, 0);
    for (const std::vector<std::string>& list :
         {std::vector<std::string>{"search", "crunch"}, {"dups"}, {"names"}, {"similar", odd, "U01"},
          {"history", odd, "U01"}, {"problems"}, {"sources"}}) {
        std::vector<std::string> args{"library", "--db", db};
        args.insert(args.end(), list.begin(), list.end());
        args.push_back("--json");
        r = Tool(args);
        ASSERT_EQ(r.code, 0) << list[0] << ": " << r.err;
        EXPECT_TRUE(nlohmann::json::accept(r.out)) << list[0];
    }
    r = Tool({"library", "--db", db, "search", "crunch", "--json"});
    EXPECT_NE(r.out.find("\"commentBytes\": \"e974e9\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"fileBytes\""), std::string::npos) << r.out;
    r = Tool({"library", "--db", db, "problems", "--json"});
    EXPECT_NE(r.out.find("\"pathBytes\""), std::string::npos) << r.out;
    // Reading commands never make a library.
    EXPECT_NE(Tool({"library", "--db", dir.Path("none.db"), "stats"}).code, 0);
    EXPECT_FALSE(fs::exists(dir.Path("none.db")));
}

// A scan of many files rebuilds the word index once at its end; a cancelled
// one and one cut short by a crash leave an index that finds what was read.
TEST(PatchLibrary, BigScansCancelledScansAndAnInterruptedIndexStaySearchable) {
    LibraryRig rig;
    for (int i = 0; i < 60; ++i) {
        const std::string n = std::to_string(100 + i);
        WriteBank(rig.At("bank" + n + ".orb"), i % 80, "N" + n, 1);
    }
    rig.lib.AddSource(rig.banks);
    const ScanReport cancelled = rig.lib.Scan([](int done, int, const std::string&) { return done < 30; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.read, 30);
    EXPECT_EQ(Names(rig.lib.Search("n129")), std::vector<std::string>{"N129"});
    EXPECT_TRUE(rig.lib.Search("n130").empty());
    const ScanReport rest = rig.lib.Scan();
    EXPECT_EQ(rest.read, 30);
    EXPECT_EQ(rest.unchanged, 30);
    for (const char* name : {"N100", "N130", "N159"})
        EXPECT_EQ(Names(rig.lib.Search(name)), std::vector<std::string>{name});
    EXPECT_EQ(rig.lib.PlacesOf(rig.lib.Search("n100").at(0).patch).size(), 60u);  // one sound, sixty names
    // The word index, built beside each big scan and moved in at its end,
    // holds exactly the places' words.
    const auto indexIsWhole = [&] {
        sql::Database db(rig.dir.Path("library.db"));
        db.Exec("INSERT INTO occurrence_text(occurrence_text, rank) VALUES ('integrity-check', 1)");
        return db.Integer("SELECT value FROM library_state WHERE key = 'text_index_stale'") == 0;
    };
    EXPECT_TRUE(indexIsWhole());

    // A big rescan among places it does not touch: most banks renamed,
    // some gone, new ones; the index follows every change.
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(100 + i);
        WriteBank(rig.At("bank" + n + ".orb"), i % 80, "R" + n, 1, "renamed " + n);
        Later(rig.At("bank" + n + ".orb"), 5);
    }
    for (int i = 40; i < 50; ++i) fs::remove(rig.At("bank" + std::to_string(100 + i) + ".orb"));
    for (int i = 0; i < 30; ++i) WriteBank(rig.At("new" + std::to_string(i) + ".orb"), 3, "NEW" + std::to_string(i), 2);
    const ScanReport changed = rig.lib.Scan();
    EXPECT_EQ(changed.read, 70);
    EXPECT_EQ(changed.removed, 10);
    EXPECT_TRUE(indexIsWhole());
    EXPECT_EQ(Names(rig.lib.Search("r105")), std::vector<std::string>{"R105"});
    EXPECT_EQ(rig.lib.Search("renamed").size(), 40u);
    EXPECT_TRUE(rig.lib.Search("n105").empty());
    EXPECT_TRUE(rig.lib.Search("n145").empty());
    EXPECT_EQ(Names(rig.lib.Search("n155")), std::vector<std::string>{"N155"});
    EXPECT_EQ(Names(rig.lib.Search("new17")), std::vector<std::string>{"NEW17"});

    // A big scan that fails part way leaves the index marked; the next start rebuilds it.
    for (int i = 0; i < 60; ++i) WriteBank(rig.At("late" + std::to_string(i) + ".orb"), 9, "LATE" + std::to_string(i), 3);
    EXPECT_THROW(rig.lib.Scan([](int done, int, const std::string&) {
        if (done == 40) throw std::runtime_error("the disk went away");
        return true;
    }),
                 std::runtime_error);
    {
        PatchLibrary restarted(rig.dir.Path("library.db"));
        EXPECT_TRUE(indexIsWhole());
        EXPECT_EQ(Names(restarted.Search("r105")), std::vector<std::string>{"R105"});
        EXPECT_EQ(restarted.Scan().read, 60);
        EXPECT_TRUE(indexIsWhole());
        EXPECT_EQ(Names(restarted.Search("late7")), std::vector<std::string>{"LATE7"});
    }

    // A crash in the middle of a big scan: the next start rebuilds the index.
    {
        sql::Database db(rig.dir.Path("library.db"));
        db.Exec(
            "UPDATE library_state SET value = 1; INSERT INTO occurrence_text(occurrence_text) VALUES ('delete-all')");
    }
    PatchLibrary reopened(rig.dir.Path("library.db"));
    EXPECT_EQ(Names(reopened.Search("n155")), std::vector<std::string>{"N155"});
}

// A CUSTOM patch is what it plays through its own bank's custom settings:
// the same bytes under two blocks are two sounds, filters and similarity see
// the slot's type and values, and a library of the older rule reads its
// files again without inventing history.
TEST(PatchLibrary, CustomPatchesAreWhatTheyPlayInTheirOwnBank) {
    LibraryRig rig;
    auto write = [&](const std::string& name, int base, int rate) {
        ProjectDocument bank;
        PatchData& patch = bank.patches[0];
        EncodeName("CUSTOM", patch);
        patch[ModuleSwitches] = ModOn;
        patch[ModType] = 20;  // CUSTOM1
        patch[ModParam2] = 3;  // what the patch's own bytes say; the slot decides
        bank.customSettings[kModCustom1Slot] = static_cast<std::uint8_t>(base);
        bank.customSettings[kModCustom1Slot + 2] = static_cast<std::uint8_t>(rate);
        bank.fileName = rig.At(name);
        ASSERT_TRUE(bank.Save().ok());
    };
    write("a.orb", 0, 24);  // CHORUS, RATE 24
    write("b.orb", 3, 10);  // FLANGER
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    const auto a = rig.lib.PlaceAt(rig.At("a.orb"), 0), b = rig.lib.PlaceAt(rig.At("b.orb"), 0);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->patch, b->patch);  // other sounds, although the patch bytes are the same
    EXPECT_EQ(Names(rig.lib.Search("mod:chorus custom")), std::vector<std::string>{"CUSTOM"});
    const auto fast = rig.lib.Search("rate>=20 custom");
    ASSERT_EQ(fast.size(), 1u);
    EXPECT_EQ(fast[0].path, rig.At("a.orb"));
    EXPECT_EQ(rig.lib.PatchAt(*a)[ModType], 0);  // as its base type, to go into any bank
    for (const SimilarPatch& s : rig.lib.Similar(a->patch, 5)) {
        if (s.place.path == rig.At("b.orb")) {
            EXPECT_GE(s.distance, 1.0);  // another Mod type
        }
    }

    // The same bank under the block of the older rule: read again, no history.
    {
        sql::Database db(rig.dir.Path("library.db"));
        db.Exec("UPDATE files SET sound_rule = 0");
    }
    rig.now += 100;
    const ScanReport again = rig.lib.Scan();
    EXPECT_EQ(again.read, 2);
    EXPECT_EQ(rig.lib.History(rig.At("a.orb"), 0).size(), 1u);

    // A block that changes is a change of what the slot holds.
    write("a.orb", 0, 30);
    Later(rig.At("a.orb"), 5);
    rig.now += 100;
    rig.lib.Scan();
    EXPECT_EQ(rig.lib.History(rig.At("a.orb"), 0).size(), 2u);
}
