// The patch library: every ORB-8 patch in the banks on the computer, in one
// SQLite database. The user's files stay the truth and are never written:
// the user names folders and files (sources), a scan reads every .orb, .syx
// and .dst under them whose size or modification time changed, and each
// patch is kept once by its sound (its bytes without the name) with every
// place it occurs. When a bank changes, what its slots held before goes to
// their history. Everything here is Qt-free and runs on any thread that owns
// the object.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "library/filereading.h"
#include "library/libraryerror.h"
#include "library/sounds.h"
#include "patch/patchdata.h"

namespace orb8::sql {
class Database;
}

namespace orb8::library {

class WordIndexBuilder;

// "U01".."u94" for bank slots, "EB1", "EB2".. for a SysEx file's edit buffers.
std::string SlotLabel(int slot);
// The slot of such a label; none for anything else.
std::optional<int> SlotFromLabel(std::string_view label);

struct ScanReport {
    int files = 0;       // files of the library's kinds found
    int read = 0;        // new or changed, read
    int unchanged = 0;   // same size and time as at the last scan
    int removed = 0;     // gone since the last scan
    int skipped = 0;     // damaged or foreign (see Problems)
    int newPatches = 0;  // sounds the library had not seen
    bool cancelled = false;
    std::vector<std::string> missingSources;  // sources not found (an unplugged disk): their files are kept
    // Patches of CUSTOM types read from SysEx files, which hold no custom
    // settings: they are taken as the built-in block plays them.
    int builtInCustom = 0;
};
// Told before each file; returning false cancels the scan (what is done is kept).
using ScanProgress = std::function<bool(int done, int total, const std::string& path)>;

// A place where a patch occurs.
struct Place {
    std::int64_t occurrence = 0, patch = 0;
    std::string path;
    int slot = 0;
    std::string name, comment;
    std::int64_t firstSeen = 0, lastSeen = 0;  // seconds since 1970
};
struct FileProblemRow {
    std::string path, problem;
};
struct HistoryEntry {
    std::int64_t patch = 0;
    std::string name, comment;
    std::int64_t from = 0, until = 0;  // until 0: what the slot holds now
    PatchData data{};                  // its sound under the name it had there
};
inline constexpr int kMaxRating = 5;
// The user's own data of a sound, kept in the library and backed up with it.
struct PatchNotes {
    bool favourite = false;
    int rating = 0;  // 0: none, else 1..kMaxRating
    std::string note;
    std::vector<std::string> tags;           // set by hand or automatic, sorted
    std::vector<std::string> automaticTags;  // those of them from the name
};
struct SimilarPatch {
    Place place;     // where it occurs (the first of its places)
    int places = 0;  // how many places it has
    double distance = 0;
};
// The user's marks of one sound, as they go to a file and come back, or
// from a backup into a rebuilt library. The sound is its bytes (see SoundOf).
struct SoundMarks {
    std::vector<std::uint8_t> sound;
    bool favourite = false;
    int rating = 0;
    std::string note;
    std::vector<std::string> tags;         // set by hand
    std::vector<std::string> removedTags;  // automatic ones the user took away
    std::vector<std::string> names;        // the names it has where it occurs, to read by
};
struct MarksImport {
    int taken = 0;    // sounds whose marks were set
    int unknown = 0;  // sounds this library does not hold (kept out)
};
// The order of a page of results: as found (places whose name holds the
// words first), or by one of what a result shows.
enum class ResultOrder { Found, Slot, Name, Drive, Mod, Dly, Bank, Favourite, Comment };
// Where a page ends, to start the next one after it (keyset paging: a page
// costs the same at the millionth result as at the first).
struct PageKey {
    int tier = 0;  // found order with words: 0 the names, 1 the comments
    std::vector<std::variant<std::int64_t, std::string>> values;
    std::int64_t id = 0;  // the last place's occurrence
};
struct PageRequest {
    std::string query;
    ResultOrder order = ResultOrder::Found;
    bool descending = false;
    int limit = 200;
    std::optional<PageKey> after;  // none: the first page
};
struct ResultRow {
    Place place;
    PatchData patch{};  // its sound under the name it has there
    bool favourite = false;
};
struct ResultPage {
    std::vector<ResultRow> rows;
    std::optional<PageKey> next;  // none: this was the last page
    bool noSources = false;       // the library has no folder or file to read yet
};
// What the details of a place show: the marks of its sound, where else it
// occurs (at most the number asked for, and how many more) and what its slot held.
struct PlaceDetails {
    PatchNotes notes;
    std::vector<ResultRow> places;
    std::int64_t morePlaces = 0;
    std::vector<HistoryEntry> history;
};

inline constexpr int kBackupsKept = 5;  // one a day at most, the newest kept

struct LibraryStats {
    std::int64_t sources = 0, files = 0, patches = 0, places = 0, problems = 0;
};

class PatchLibrary {
public:
    using Clock = std::function<std::int64_t()>;  // seconds since 1970
    // Write: opens or creates the database. Read: only opens one that is
    // there (a command that only reads never creates a library). A database
    // file the user may not write is opened read-only: everything can be
    // read, and every change is refused with the reason.
    enum class Access { Write, Read };
    // Opens the database at `path` (":memory:" for one in memory) and brings
    // its schema up to date. Throws LibraryError with a sentence for the user
    // (a newer program's database, which is left exactly as it is; a file
    // that is no database; no library yet).
    explicit PatchLibrary(const std::string& path, Clock clock = {}, Access access = Access::Write);
    ~PatchLibrary();
    PatchLibrary(const PatchLibrary&) = delete;
    PatchLibrary& operator=(const PatchLibrary&) = delete;

    // A folder or file to index, by its absolute path; throws LibraryError
    // when it does not exist. Adding one twice is harmless.
    std::string AddSource(const std::string& path);
    // Forgets a source and everything found under it; false when it was not one.
    bool RemoveSource(const std::string& path);
    std::vector<std::string> Sources();

    // Reads what is new or changed under the sources and forgets files that are
    // gone. A folder that can't be read keeps what it held, and is listed
    // with the reason among the problems, as is a link that leads back.
    ScanReport Scan(const ScanProgress& progress = {});
    // A check each folder passes before a scan reads it (an error: it can't
    // be read); tests stand in for a forbidden or failing folder with it.
    using FolderCheck = std::function<std::error_code(const std::string& folder)>;
    void SetFolderCheck(FolderCheck check) { folderCheck_ = std::move(check); }
    // How long a change waits while another connection (a scan) writes
    // before it fails (throws); 5 s unless set.
    void SetWriteWait(int milliseconds);
    // Told once when a change has waited a second for another program's write.
    void SetWaitNotice(std::function<void()> notice);
    // The connection's page cache, in KiB (a scan's is large; a reader needs less).
    void SetCacheKiB(int kib);
    // Why changes are refused (a read-only file); empty when they are not.
    const std::string& ReadOnlyReason() const { return readOnly_; }
    // Whether the database file is still the one opened: false once it was
    // deleted, moved away or replaced by another program.
    bool StillThere() const;
    // Another connection scanned: what this one keeps in memory is read again when needed.
    void Reload() { sounds_.clear(); }

    // Places that match a query (see library/query.h), best first; all
    // places for an empty one. Throws QueryError for a query it refuses.
    std::vector<Place> Search(std::string_view query, int limit = 100, int offset = 0);
    // A page of a query's places with their patches and favourite marks, in
    // one statement kept compiled. Throws QueryError for a query it refuses.
    ResultPage Page(const PageRequest& request);
    PlaceDetails Details(const Place& place, int maxPlaces);
    // Sounds that occur in more than one place, most places first.
    std::vector<std::vector<Place>> Duplicates();
    // Names used for more than one sound.
    std::vector<std::vector<Place>> SameNameOtherSound();
    // What a slot of a file holds now; none when the library has nothing there.
    std::optional<Place> PlaceAt(const std::string& path, int slot);
    // Every place a sound occurs.
    std::vector<Place> PlacesOf(std::int64_t patch);
    // What a slot held, newest first, beginning with what it holds now.
    std::vector<HistoryEntry> History(const std::string& path, int slot);
    // The patch of a place (its sound and the name it has there).
    PatchData PatchAt(const Place& place);
    std::vector<FileProblemRow> Problems();
    // Sounds that share a type with `like`: up to `perType` with its Drive
    // type, as many with its Mod type and with its Dly/Rev type (a sound may
    // come twice); where among them to start is taken from `seed`.
    std::vector<PatchData> SoundsOfTypes(const PatchData& like, int perType, std::uint64_t seed = 0);

    // Sounds nearest to a sound (see SoundDistance), nearest first, itself
    // left out; with `samePlaces` its own places lead the list, all but the
    // one asked about (`askedPlace`, an occurrence id).
    std::vector<SimilarPatch> Similar(std::int64_t patch, int count = 20, bool samePlaces = false,
                                      std::int64_t askedPlace = 0);

    PatchNotes NotesOf(std::int64_t patch);
    void SetFavourite(std::int64_t patch, bool favourite);
    void SetRating(std::int64_t patch, int rating);  // 0..5
    void SetNote(std::int64_t patch, const std::string& note);
    // A tag by hand; removing one (even an automatic one) keeps it removed.
    void AddTag(std::int64_t patch, const std::string& tag);
    void RemoveTag(std::int64_t patch, const std::string& tag);
    LibraryStats Stats();

    // Every sound that has marks, with them.
    std::vector<SoundMarks> Marks();
    // Sets the marks of the sounds this library holds (over what they had).
    MarksImport ImportMarks(const std::vector<SoundMarks>& marks);
    // A copy of the whole library beside it ("<file>.backup-YYYYMMDD"), once a
    // day at most, after a check that it is sound; the newest kBackupsKept
    // stay. Returns the copy made, or empty.
    std::string BackUpIfDue();
    // A sentence about what opening did that the user must know (a damaged
    // library set aside and rebuilt); empty when nothing.
    const std::string& OpenNotice() const { return openNotice_; }

private:
    struct Scanner;
    // The page cache (in KiB): a scan looks up the sound and word indexes at
    // random, and a large cache keeps it from reading the same pages again.
    static constexpr int kCacheKiB = 65536;
    std::int64_t Now() const;

    void Notes(std::int64_t patch);  // a notes row exists
    void SetTextIndexStale(bool stale);
    void RebuildTextIndex();
    // A big scan's word index, built alongside on a thread (none for a database in memory).
    std::unique_ptr<WordIndexBuilder> StartWordIndex();
    // Puts the built index in place, or rebuilds the index when there is none.
    void FinishTextIndex(WordIndexBuilder* words);
    void SetTag(std::int64_t patch, const std::string& tag, const char* origin);

    // Throws LibraryError when changes are refused.
    void RequireWritable() const;
    // The library failed its check: it is set aside, made anew from the
    // sources of the newest backup and the files, and the marks are taken
    // from that backup.
    void RebuildDamaged(const std::string& path);
    // Throws Damaged for a library that reads as damaged.
    struct Damaged {};
    void OpenDatabase(const std::string& path, Access access);
    bool Sound();  // PRAGMA quick_check

    std::unique_ptr<sql::Database> db_;
    Clock clock_;
    std::string readOnly_;
    std::string openNotice_;
    FolderCheck folderCheck_;
    std::uint64_t device_ = 0, inode_ = 0;  // of the file opened
    // Every sound that occurs somewhere, for Similar; empty when a scan may have changed them.
    std::vector<std::pair<std::int64_t, PatchData>> sounds_;
};

}  // namespace orb8::library
