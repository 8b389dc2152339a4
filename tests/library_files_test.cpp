// The library and the user's files: folders that overlap or loop, a
// library of a newer program or a missing one, two programs at once, what a
// scan skips, marks kept through export, backup and damage, and a library
// deleted under the program.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <nlohmann/json.hpp>

#include "library/patchlibrary.h"
#include "library/schema.h"
#include "library/sqlite.h"
#include "tests/libraryrig.h"
#include "tests/toolrun.h"
#include "tests/testfiles.h"

using namespace orb8;
using namespace orb8::library;
namespace fs = std::filesystem;

// What a user owns survives the folders as they are: a folder inside another
// source removed keeps the history the outer source still covers; a folder
// that can't be read keeps what it held and says why; a link that leads
// back is listed, not followed forever.
TEST(PatchLibrary, FoldersThatOverlapFailOrLoopLoseNothing) {
    LibraryRig rig;
    fs::create_directories(rig.At("live"));
    const std::string x = rig.At("live/x.orb");
    WriteBank(x, 0, "FIRST", 1);
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    WriteBank(x, 0, "SECOND", 2);
    Later(x, 10);
    rig.now += 60;
    rig.lib.Scan();
    ASSERT_EQ(rig.lib.History(x, 0).size(), 2u);
    rig.lib.AddSource(rig.At("live"));
    rig.lib.Scan();
    ASSERT_TRUE(rig.lib.RemoveSource(rig.At("live")));
    EXPECT_EQ(rig.lib.History(x, 0).size(), 2u);
    rig.lib.Scan();
    EXPECT_EQ(rig.lib.History(x, 0).size(), 2u);
    EXPECT_TRUE(rig.lib.PlaceAt(x, 0));
    // The other way round: the outer source goes, the inner one keeps its part.
    rig.lib.AddSource(rig.At("live"));
    WriteBank(rig.At("top.orb"), 0, "TOP", 3);
    rig.lib.Scan();
    ASSERT_TRUE(rig.lib.RemoveSource(rig.banks));
    EXPECT_EQ(rig.lib.History(x, 0).size(), 2u);
    EXPECT_FALSE(rig.lib.PlaceAt(rig.At("top.orb"), 0));

    // A sub-folder that can't be read: its places stay, no history is made,
    // and the problems say why.
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    const auto placesBefore = rig.lib.Stats().places;
    rig.lib.SetFolderCheck([&](const std::string& folder) {
        return folder == rig.At("live") ? std::make_error_code(std::errc::permission_denied) : std::error_code();
    });
    rig.now += 60;
    const ScanReport blocked = rig.lib.Scan();
    EXPECT_EQ(blocked.removed, 0);
    EXPECT_EQ(rig.lib.Stats().places, placesBefore);
    EXPECT_EQ(rig.lib.History(x, 0).size(), 2u);
    const auto problems = rig.lib.Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].path, rig.At("live"));
    EXPECT_NE(problems[0].problem.find("can't be read"), std::string::npos) << problems[0].problem;
    rig.lib.SetFolderCheck({});
    rig.lib.Scan();
    EXPECT_TRUE(rig.lib.Problems().empty());

    // A link back to the source: listed, and every bank read once.
    fs::create_directory_symlink(rig.banks, rig.At("live/loop"));
    fs::create_directory(rig.dir.Path("elsewhere"));
    WriteBank(rig.dir.Path("elsewhere/linked.orb"), 1, "LINKED", 4);
    fs::create_directory_symlink(rig.dir.Path("elsewhere"), rig.At("more"));
    const ScanReport linked = rig.lib.Scan();
    EXPECT_EQ(linked.files, 3);  // x, top and the linked folder's bank
    EXPECT_TRUE(rig.lib.PlaceAt(rig.At("more/linked.orb"), 1));
    const auto loops = rig.lib.Problems();
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops[0].path, rig.At("live/loop"));
}

// A library written by a newer program is left exactly as it is, byte for
// byte, in any journal mode; a command that only reads makes no library.
TEST(PatchLibrary, ANewerOrMissingLibraryIsNotWritten) {
    TempDir dir;
    const std::string path = dir.Path("newer.db");
    {
        sql::Database db(path);
        db.Exec("PRAGMA journal_mode = DELETE; CREATE TABLE x(a); PRAGMA user_version = " +
                std::to_string(kSchemaVersion + 1));
    }
    const auto before = ReadAll(path);
    EXPECT_THROW(PatchLibrary{path}, LibraryError);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(fs::exists(path + "-wal"));
    {
        sql::Database db(path);
        EXPECT_EQ(db.Integer("PRAGMA journal_mode = DELETE"), 0);  // still rollback-journal ("delete")
    }
    try {
        PatchLibrary lib(dir.Path("none.db"), {}, PatchLibrary::Access::Read);
        ADD_FAILURE() << "a library was made by a reading command";
    } catch (const LibraryError& e) {
        EXPECT_NE(std::string(e.what()).find("no library"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(dir.Path("none.db")));
}

// Two programs at once: both open a new library, both scan the same folder,
// and neither fails.
TEST(PatchLibrary, TwoProgramsOpenAndScanOneLibraryAtOnce) {
    TempDir dir;
    fs::create_directories(dir.Path("banks"));
    for (int i = 0; i < 12; ++i) WriteBank(dir.Path("banks/b" + std::to_string(i) + ".orb"), i, "B" + std::to_string(i), i);
    for (int round = 0; round < 5; ++round) {
        const std::string path = dir.Path("lib" + std::to_string(round) + ".db");
        std::atomic<int> ready{0};
        std::vector<std::string> failures(2);
        auto program = [&](int which) {
            ++ready;
            while (ready.load() < 2) std::this_thread::yield();
            try {
                PatchLibrary lib(path);
                lib.SetWriteWait(30000);
                lib.AddSource(dir.Path("banks"));
                lib.Scan();
            } catch (const std::exception& e) {
                failures[static_cast<std::size_t>(which)] = e.what();
            }
        };
        std::thread a(program, 0), b(program, 1);
        a.join();
        b.join();
        EXPECT_EQ(failures[0], "") << "round " << round;
        EXPECT_EQ(failures[1], "") << "round " << round;
        PatchLibrary lib(path);
        EXPECT_EQ(lib.Stats().files, 12);
    }
}

// A file far too large is skipped with its true size, not the size of what was read.
TEST(PatchLibrary, SkipReasonsGiveTheTrueSize) {
    LibraryRig rig;
    {
        std::ofstream(rig.At("huge.orb")).put('x');
        std::ofstream(rig.At("huge.syx")).put('\xF0');
    }
    fs::resize_file(rig.At("huge.orb"), 4294967296ull);  // sparse: no disk is used
    fs::resize_file(rig.At("huge.syx"), 300ull << 20);
    WriteAll(rig.At("long.dst"), std::vector<std::uint8_t>(5000, 1));
    rig.lib.AddSource(rig.banks);
    rig.lib.Scan();
    const auto problems = rig.lib.Problems();
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].problem.find("4294967296 bytes"), std::string::npos) << problems[0].problem;
    EXPECT_NE(problems[1].problem.find("too large"), std::string::npos) << problems[1].problem;
    EXPECT_NE(problems[1].problem.find("314572800 bytes"), std::string::npos) << problems[1].problem;
    // The reason alone: the lists name the file beside it.
    EXPECT_EQ(problems[2].path, rig.At("long.dst"));
    EXPECT_EQ(problems[2].problem.find(rig.At("long.dst")), std::string::npos) << problems[2].problem;
    EXPECT_NE(problems[2].problem.find("5000 bytes"), std::string::npos) << problems[2].problem;
}

// The marks have more than one copy: they go to a file and come back, a
// backup is made once a day, and a damaged library is made anew from the
// files with the marks of the newest good backup.
TEST(PatchLibrary, MarksSurviveExportBackupAndADamagedLibrary) {
    TempDir dir;
    std::int64_t now = 1'700'000'000;
    const std::string path = dir.Path("library.db"), banks = dir.Path("banks");
    fs::create_directories(banks);
    WriteBank(banks + "/a.orb", 0, "CRUNCH", 10, "for the encore");
    for (int i = 0; i < 30; ++i) WriteBank(banks + "/more" + std::to_string(i) + ".orb", i % 80, "M" + std::to_string(i), i + 20);
    SoundMarks expected;
    {
        PatchLibrary lib(path, [&] { return now; });
        lib.AddSource(banks);
        lib.Scan();
        const Place crunch = *lib.PlaceAt(banks + "/a.orb", 0);
        lib.SetFavourite(crunch.patch, true);
        lib.SetRating(crunch.patch, 4);
        lib.SetNote(crunch.patch, "loud");
        lib.AddTag(crunch.patch, "live");
        lib.RemoveTag(crunch.patch, "crunch");
        const auto marks = lib.Marks();
        ASSERT_EQ(marks.size(), 1u);
        expected = marks[0];
        EXPECT_EQ(expected.names, std::vector<std::string>{"CRUNCH"});
        EXPECT_NE(lib.BackUpIfDue(), "");
        EXPECT_EQ(lib.BackUpIfDue(), "");  // once a day
    }
    // Into another library that holds the same banks (and out of the tool's JSON).
    ASSERT_EQ(Tool({"library", "--db", path, "marks-export", dir.Path("marks.json")}).code, 0);
    const std::string other = dir.Path("other.db");
    ASSERT_EQ(Tool({"library", "--db", other, "add", banks}).code, 0);
    const ToolRun imported = Tool({"library", "--db", other, "marks-import", dir.Path("marks.json")});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.out.find("marks of 1 sounds taken"), std::string::npos) << imported.out;
    {
        PatchLibrary lib(other);
        const auto marks = lib.Marks();
        ASSERT_EQ(marks.size(), 1u);
        EXPECT_EQ(marks[0].favourite, true);
        EXPECT_EQ(marks[0].rating, 4);
        EXPECT_EQ(marks[0].note, "loud");
        EXPECT_EQ(marks[0].tags, std::vector<std::string>{"live"});
        EXPECT_EQ(marks[0].removedTags, std::vector<std::string>{"crunch"});
    }

    // The library is damaged on disk: at the next day's check it is set
    // aside, made anew from the files, and the marks come from the backup.
    {
        auto bytes = ReadAll(path);
        ASSERT_GT(bytes.size(), 40000u);
        std::fill(bytes.begin() + 8192, bytes.begin() + 40000, 0xA5);
        WriteAll(path, bytes);
    }
    now = std::time(nullptr) + 2 * 24 * 60 * 60;  // the tool checked it at the real time
    PatchLibrary lib(path, [&] { return now; });
    EXPECT_NE(lib.OpenNotice().find("was damaged"), std::string::npos) << lib.OpenNotice();
    EXPECT_NE(lib.OpenNotice().find("marks of 1 sounds were taken from the backup"), std::string::npos) << lib.OpenNotice();
    EXPECT_EQ(lib.Sources(), std::vector<std::string>{banks});
    EXPECT_TRUE(lib.PlaceAt(banks + "/a.orb", 0));
    const auto marks = lib.Marks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].note, "loud");
    bool setAside = false;
    for (const auto& entry : fs::directory_iterator(dir.path))
        setAside |= entry.path().filename().string().rfind("library.db.damaged-", 0) == 0;
    EXPECT_TRUE(setAside);
}

// A library whose file was deleted (or replaced) under it says so, and a
// change never makes a new, empty library in its place.
TEST(PatchLibrary, ADeletedLibraryIsNoticed) {
    TempDir dir;
    const std::string path = dir.Path("library.db");
    PatchLibrary lib(path);
    EXPECT_TRUE(lib.StillThere());
    fs::remove(path);
    EXPECT_FALSE(lib.StillThere());
    try {
        lib.Scan();
        ADD_FAILURE() << "a scan ran on a deleted library";
    } catch (const LibraryError& e) {
        EXPECT_NE(std::string(e.what()).find("deleted or replaced"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_THROW(PatchLibrary(path, {}, PatchLibrary::Access::Read), LibraryError);
    EXPECT_FALSE(fs::exists(path));
}
