#include "library/patchlibrary.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

#include "library/filereading.h"
#include "library/query.h"
#include "library/scanlock.h"
#include "library/schema.h"
#include "library/sounds.h"
#include "library/sqlite.h"
#include "library/textfold.h"
#include "library/wordindex.h"
#include "patch/projectdocument.h"

namespace fs = std::filesystem;

namespace orb8::library {

namespace {

constexpr int kOpenTries = 1500;  // of 20 ms: half a minute for another program's opening or upgrade
constexpr std::int64_t kCheckEvery = 24 * 60 * 60;  // seconds between two checks of the library

std::vector<Place> ReadPlaces(sql::Statement& s) {
    std::vector<Place> places;
    while (s.Step())
        places.push_back(
            {s.Int(0), s.Int(1), s.Text(2), static_cast<int>(s.Int(3)), s.Text(4), s.Text(5), s.Int(6), s.Int(7)});
    return places;
}

// The columns ReadPlaces takes, from occurrences o joined with files f.
constexpr std::string_view kPlaceColumns =
    "SELECT o.id, o.patch_id, f.path, o.slot, o.name, o.comment, o.first_seen, f.scanned "
    "FROM occurrences o JOIN files f ON f.id = o.file_id ";

// patch_byte(sound, byte): byte `byte` of PatchData from a patch's sound (NULL for a name byte).
void PatchByteFunction(sqlite3_context* context, int, sqlite3_value** args) {
    static const std::array<int, kPatchBytes> kSoundIndex = [] {
        std::array<int, kPatchBytes> index{};
        int next = 0;
        for (int i = 0; i < kPatchBytes; ++i) index[static_cast<std::size_t>(i)] = IsSoundByte(i) ? next++ : -1;
        return index;
    }();
    const auto* sound = static_cast<const std::uint8_t*>(sqlite3_value_blob(args[0]));
    const int size = sqlite3_value_bytes(args[0]);
    const sqlite3_int64 byte = sqlite3_value_int64(args[1]);
    if (!sound || byte < 0 || byte >= kPatchBytes) return sqlite3_result_null(context);
    const int at = kSoundIndex[static_cast<std::size_t>(byte)];
    if (at < 0 || at >= size) return sqlite3_result_null(context);
    sqlite3_result_int(context, sound[at]);
}

}  // namespace

std::string SlotLabel(int slot) {
    return slot >= 0 ? PatchLabel(slot) : "EB" + std::to_string(-slot);
}

std::optional<int> SlotFromLabel(std::string_view label) {
    if (const int index = PatchIndexFromLabel(label); index >= 0) return index;
    if (label.size() < 3 || label.size() > 5 || (label.substr(0, 2) != "EB" && label.substr(0, 2) != "eb")) return {};
    int n = 0;
    for (char c : label.substr(2)) {
        if (c < '0' || c > '9') return {};
        n = n * 10 + (c - '0');
    }
    if (n < 1) return {};
    return -n;
}


PatchLibrary::PatchLibrary(const std::string& path, Clock clock, Access access) : clock_(std::move(clock)) {
    // Once a day the library is checked; a damaged one (that check, or a read
    // on the way that finds it so) is set aside and made anew.
    bool damaged = false;
    try {
        OpenDatabase(path, access);
        if (!readOnly_.empty() || path == ":memory:") return;
        const std::int64_t checked = db_->Integer("SELECT coalesce(max(value), 0) FROM library_state WHERE key = 'checked'");
        if (Now() - checked < kCheckEvery) return;
        damaged = !Sound();
    } catch (const sql::SqlError& e) {
        if ((e.Code() & 0xFF) != SQLITE_CORRUPT) throw LibraryError("The library " + path + " cannot be opened: " + e.what());
        damaged = true;
    } catch (const Damaged&) {
        damaged = true;
    }
    if (damaged) {
        RebuildDamaged(path);
        OpenDatabase(path, access);
    }
    db_->Prepare("INSERT OR REPLACE INTO library_state(key, value) VALUES ('checked', ?)").Bind(1, Now()).Run();
}

void PatchLibrary::OpenDatabase(const std::string& path, Access access) {
    readOnly_.clear();
    const bool file = path != ":memory:";
    struct stat st {};
    const bool exists = file && ::stat(path.c_str(), &st) == 0;
    if (file && !exists && access == Access::Read)
        throw LibraryError("There is no library at " + path + " yet: add a folder to it first.");
    if (exists && ::access(path.c_str(), W_OK) != 0) readOnly_ = "the file " + path + " may not be written";
    try {
        db_ = std::make_unique<sql::Database>(path, readOnly_.empty() ? sql::Database::Mode::ReadWrite
                                                                       : sql::Database::Mode::ReadOnly);
        // Nothing is written before the version is known to be this program's.
        RefuseNewer(*db_);
        db_->Exec("PRAGMA foreign_keys = ON");
        // Another program making or changing the library at this moment
        // holds it for a while: the steps that need it alone wait for it.
        const auto alone = [](const std::function<void()>& step) {
            for (int tries = 0;; ++tries) {
                try {
                    return step();
                } catch (const sql::SqlError& e) {
                    if ((e.Code() & 0xFF) != SQLITE_BUSY || tries >= kOpenTries) throw;
                    sqlite3_sleep(20);
                }
            }
        };
        if (file && readOnly_.empty()) alone([this] { db_->Exec("PRAGMA journal_mode = WAL"); });
        db_->Exec("PRAGMA synchronous = NORMAL");
        db_->Exec("PRAGMA cache_size = -" + std::to_string(kCacheKiB));
        sqlite3_create_function_v2(db_->Handle(), "patch_byte", 2,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr, PatchByteFunction,
                                   nullptr, nullptr, nullptr);
        if (!readOnly_.empty()) {
            if (SchemaVersion(*db_) != kSchemaVersion)
                throw LibraryError("The library " + path + " is of an older version and can't be brought up to date: " +
                                   readOnly_ + ".");
        } else {
            alone([this] { Migrate(*db_); });
            // A big scan that was interrupted left the word index behind; one
            // that is still running (its program holds the scan's lock) has not.
            if (db_->Integer("SELECT value FROM library_state WHERE key = 'text_index_stale'")) {
                ScanLock lock(path);
                if (lock.TryExclusive()) RebuildTextIndex();
            }
        }
    } catch (const sql::SqlError& e) {
        if ((e.Code() & 0xFF) == SQLITE_CORRUPT && readOnly_.empty() && file) throw Damaged{};
        throw LibraryError("The library " + path + " cannot be opened: " + e.what());
    }
    if (file && ::stat(path.c_str(), &st) == 0) {
        device_ = static_cast<std::uint64_t>(st.st_dev);
        inode_ = static_cast<std::uint64_t>(st.st_ino);
    }
}

bool PatchLibrary::StillThere() const {
    if (db_->Path() == ":memory:") return true;
    struct stat st {};
    return ::stat(db_->Path().c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_dev) == device_ &&
           static_cast<std::uint64_t>(st.st_ino) == inode_;
}

void PatchLibrary::RequireWritable() const {
    if (!readOnly_.empty())
        throw LibraryError("The library " + db_->Path() + " is read-only (" + readOnly_ + "): nothing can be changed.");
    if (!StillThere())
        throw LibraryError("The library " + db_->Path() +
                           " was deleted or replaced by another program: open the library again.");
}

void PatchLibrary::SetWaitNotice(std::function<void()> notice) { db_->SetWaitNotice(std::move(notice)); }

PatchLibrary::~PatchLibrary() = default;

void PatchLibrary::SetWriteWait(int milliseconds) { db_->SetBusyTimeout(milliseconds); }

void PatchLibrary::SetCacheKiB(int kib) { db_->Exec("PRAGMA cache_size = -" + std::to_string(std::max(kib, 256))); }

std::int64_t PatchLibrary::Now() const {
    return clock_ ? clock_() : static_cast<std::int64_t>(std::time(nullptr));
}

std::vector<Place> PatchLibrary::Search(std::string_view query, int limit, int offset) {
    const QuerySql q = ParseQuery(query);
    // The places of one MATCH expression (none: no words) that meet the
    // rest of the query, in the order they were found.
    const auto run = [&](const std::string& match, bool count, int lim, int off) {
        std::string sql =
            count ? "SELECT count(*) FROM occurrences o JOIN files f ON f.id = o.file_id " : std::string(kPlaceColumns);
        sql += "JOIN patches p ON p.id = o.patch_id ";
        if (!match.empty()) sql += "JOIN occurrence_text t ON t.rowid = o.id AND occurrence_text MATCH ? ";
        sql += "WHERE " + q.where;
        if (!count) sql += match.empty() ? " ORDER BY o.id LIMIT ? OFFSET ?" : " LIMIT ? OFFSET ?";
        auto s = db_->Prepare(sql);
        int n = 1;
        if (!match.empty()) s.Bind(n++, match);
        for (const auto& bind : q.binds) {
            if (const auto* text = std::get_if<std::string>(&bind))
                s.Bind(n++, *text);
            else
                s.Bind(n++, std::get<std::int64_t>(bind));
        }
        if (count) return std::pair<std::vector<Place>, std::int64_t>({}, s.Step() ? s.Int(0) : 0);
        s.Bind(n, lim);
        s.Bind(n + 1, off);
        return std::pair<std::vector<Place>, std::int64_t>(ReadPlaces(s), 0);
    };
    if (q.match.empty()) return run({}, false, limit, offset).first;
    // Ranked in two tiers without sorting every match: the places whose name
    // holds the words, then those where the comment does.
    const std::string inName = "{search_name} : (" + q.match + ")";
    std::vector<Place> places = run(inName, false, limit, offset).first;
    if (static_cast<int>(places.size()) >= limit) return places;
    const std::int64_t named =
        places.empty() ? run(inName, true, 0, 0).second : offset + static_cast<std::int64_t>(places.size());
    const std::string inComment = "(" + q.match + ") NOT " + inName;
    auto rest = run(inComment, false, limit - static_cast<int>(places.size()),
                    static_cast<int>(std::max<std::int64_t>(0, offset - named)))
                    .first;
    places.insert(places.end(), rest.begin(), rest.end());
    return places;
}

std::vector<std::vector<Place>> PatchLibrary::Duplicates() {
    std::vector<std::vector<Place>> groups;
    std::vector<std::int64_t> patches;
    auto s = db_->Prepare(
        "SELECT patch_id FROM occurrences GROUP BY patch_id HAVING count(*) > 1 "
        "ORDER BY count(*) DESC, patch_id");
    while (s.Step()) patches.push_back(s.Int(0));
    for (const std::int64_t patch : patches) groups.push_back(PlacesOf(patch));
    return groups;
}

std::vector<std::vector<Place>> PatchLibrary::SameNameOtherSound() {
    std::vector<std::vector<Place>> groups;
    std::vector<std::string> names;
    auto s = db_->Prepare(
        "SELECT name FROM occurrences WHERE name <> '' GROUP BY name "
        "HAVING count(DISTINCT patch_id) > 1 ORDER BY name");
    while (s.Step()) names.push_back(s.Text(0));
    auto places = db_->Prepare(std::string(kPlaceColumns) + "WHERE o.name = ? ORDER BY o.patch_id, f.path, o.slot");
    for (const std::string& name : names) {
        places.Bind(1, name);
        groups.push_back(ReadPlaces(places));
        places.Reset();
    }
    return groups;
}

std::optional<Place> PatchLibrary::PlaceAt(const std::string& path, int slot) {
    auto s = db_->Prepare(std::string(kPlaceColumns) + "WHERE f.path = ? AND o.slot = ?");
    s.Bind(1, path).Bind(2, slot);
    std::vector<Place> places = ReadPlaces(s);
    if (places.empty()) return std::nullopt;
    return places.front();
}

std::vector<Place> PatchLibrary::PlacesOf(std::int64_t patch) {
    auto s = db_->Prepare(std::string(kPlaceColumns) + "WHERE o.patch_id = ? ORDER BY f.path, o.slot");
    s.Bind(1, patch);
    return ReadPlaces(s);
}

std::vector<HistoryEntry> PatchLibrary::History(const std::string& path, int slot) {
    std::vector<HistoryEntry> entries;
    auto read = [&](sql::Statement& s, bool current) {
        while (s.Step())
            entries.push_back({s.Int(0), s.Text(1), s.Text(2), s.Int(3), current ? 0 : s.Int(4),
                               PatchFrom(s.Blob(5), s.Blob(6))});
    };
    auto now = db_->Prepare(
        "SELECT o.patch_id, o.name, o.comment, o.first_seen, 0, p.sound, o.name_codes FROM occurrences o "
        "JOIN files f ON f.id = o.file_id JOIN patches p ON p.id = o.patch_id WHERE f.path = ? AND o.slot = ?");
    now.Bind(1, path).Bind(2, slot);
    read(now, true);
    auto before = db_->Prepare(
        "SELECT h.patch_id, h.name, h.comment, h.from_time, h.until_time, p.sound, h.name_codes "
        "FROM slot_history h JOIN patches p ON p.id = h.patch_id "
        "WHERE h.path = ? AND h.slot = ? ORDER BY h.until_time DESC, h.id DESC");
    before.Bind(1, path).Bind(2, slot);
    read(before, false);
    return entries;
}

PatchData PatchLibrary::PatchAt(const Place& place) {
    auto s = db_->Prepare(
        "SELECT p.sound, o.name_codes FROM occurrences o JOIN patches p ON p.id = o.patch_id "
        "WHERE o.id = ?");
    s.Bind(1, place.occurrence);
    if (!s.Step()) throw LibraryError("That patch is no longer in the library.");
    const auto sound = s.Blob(0), codes = s.Blob(1);
    return PatchFrom(sound, codes);
}

std::vector<PatchData> PatchLibrary::SoundsOfTypes(const PatchData& like, int perType, std::uint64_t seed) {
    std::vector<PatchData> sounds;
    const std::int64_t top = db_->Integer("SELECT coalesce(max(id), 0) FROM patches");
    if (top == 0 || perType <= 0) return sounds;
    // From a place chosen by the seed on, round to the start: not always the oldest sounds.
    const std::int64_t from = 1 + static_cast<std::int64_t>(seed % static_cast<std::uint64_t>(top));
    const std::pair<const char*, int> types[] = {{"drive_type", DriveType}, {"mod_type", ModType}, {"dly_type", DlyType}};
    for (const auto& [column, byte] : types) {
        const std::string sql = std::string("SELECT id, sound FROM patches WHERE ") + column + " = ? AND id >= ? ORDER BY id LIMIT ?";
        int found = 0;
        for (const std::int64_t start : {from, std::int64_t{0}}) {
            auto s = db_->Prepare(sql);
            s.Bind(1, like[static_cast<std::size_t>(byte)]).Bind(2, start).Bind(3, perType - found);
            while (s.Step()) {
                if (start == 0 && s.Int(0) >= from) break;  // round again: already taken
                sounds.push_back(PatchFrom(s.Blob(1), {}));
                ++found;
            }
            if (found >= perType) break;
        }
    }
    return sounds;
}

std::vector<FileProblemRow> PatchLibrary::Problems() {
    std::vector<FileProblemRow> rows;
    auto s = db_->Prepare(
        "SELECT path, problem FROM files WHERE problem <> '' UNION ALL SELECT path, problem FROM folder_problems "
        "ORDER BY path");
    while (s.Step()) rows.push_back({s.Text(0), s.Text(1)});
    return rows;
}

std::vector<SimilarPatch> PatchLibrary::Similar(std::int64_t patch, int count, bool samePlaces,
                                                std::int64_t askedPlace) {
    if (sounds_.empty()) {
        auto s = db_->Prepare(
            "SELECT id, sound FROM patches p WHERE EXISTS "
            "(SELECT 1 FROM occurrences o WHERE o.patch_id = p.id) ORDER BY id");
        while (s.Step()) sounds_.emplace_back(s.Int(0), PatchFrom(s.Blob(1), {}));
    }
    const auto self = std::lower_bound(sounds_.begin(), sounds_.end(), patch,
                                       [](const auto& entry, std::int64_t id) { return entry.first < id; });
    if (self == sounds_.end() || self->first != patch) return {};
    const PatchData target = self->second;
    std::vector<std::pair<double, std::int64_t>> ranked;
    ranked.reserve(sounds_.size());
    for (const auto& [id, sound] : sounds_)
        if (id != patch) ranked.emplace_back(SoundDistance(target, sound), id);
    const std::size_t n = std::min(ranked.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(n), ranked.end());
    ranked.resize(n);

    std::vector<SimilarPatch> similar;
    if (samePlaces) {
        const std::vector<Place> own = PlacesOf(patch);
        for (const Place& place : own)
            if (place.occurrence != askedPlace) similar.push_back({place, static_cast<int>(own.size()), 0});
    }
    for (const auto& [distance, id] : ranked) {
        const std::vector<Place> places = PlacesOf(id);
        if (!places.empty()) similar.push_back({places.front(), static_cast<int>(places.size()), distance});
    }
    return similar;
}

void PatchLibrary::Notes(std::int64_t patch) {
    db_->Prepare("INSERT OR IGNORE INTO patch_notes(patch_id) VALUES (?)").Bind(1, patch).Run();
}

PatchNotes PatchLibrary::NotesOf(std::int64_t patch) {
    PatchNotes notes;
    auto s = db_->Prepare("SELECT favourite, coalesce(rating, 0), note FROM patch_notes WHERE patch_id = ?");
    s.Bind(1, patch);
    if (s.Step()) {
        notes.favourite = s.Int(0) != 0;
        notes.rating = static_cast<int>(s.Int(1));
        notes.note = s.Text(2);
    }
    auto tags = db_->Prepare("SELECT tag, origin FROM tags WHERE patch_id = ? AND origin <> 'removed' ORDER BY tag");
    tags.Bind(1, patch);
    while (tags.Step()) {
        notes.tags.push_back(tags.Text(0));
        if (tags.Text(1) == "auto") notes.automaticTags.push_back(tags.Text(0));
    }
    return notes;
}

void PatchLibrary::SetFavourite(std::int64_t patch, bool favourite) {
    RequireWritable();
    Notes(patch);
    db_->Prepare("UPDATE patch_notes SET favourite = ? WHERE patch_id = ?")
        .Bind(1, favourite ? 1 : 0)
        .Bind(2, patch)
        .Run();
}

void PatchLibrary::SetRating(std::int64_t patch, int rating) {
    if (rating < 0 || rating > kMaxRating)
        throw LibraryError("A rating is a number from 1 to " + std::to_string(kMaxRating) + " (0: none).");
    RequireWritable();
    Notes(patch);
    auto s = db_->Prepare("UPDATE patch_notes SET rating = ? WHERE patch_id = ?");
    if (rating)
        s.Bind(1, rating);
    else
        s.BindNull(1);
    s.Bind(2, patch).Run();
}

void PatchLibrary::SetNote(std::int64_t patch, const std::string& note) {
    RequireWritable();
    Notes(patch);
    db_->Prepare("UPDATE patch_notes SET note = ? WHERE patch_id = ?").Bind(1, note).Bind(2, patch).Run();
}

void PatchLibrary::SetTag(std::int64_t patch, const std::string& tag, const char* origin) {
    RequireWritable();
    std::string folded = Fold(tag);
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    while (!folded.empty() && folded.front() == ' ') folded.erase(folded.begin());
    if (folded.empty()) throw LibraryError("A tag needs at least one character.");
    db_->Prepare(
           "INSERT INTO tags(patch_id, tag, origin) VALUES (?1, ?2, ?3) "
           "ON CONFLICT(patch_id, tag) DO UPDATE SET origin = ?3")
        .Bind(1, patch)
        .Bind(2, folded)
        .Bind(3, origin)
        .Run();
}

void PatchLibrary::AddTag(std::int64_t patch, const std::string& tag) {
    SetTag(patch, tag, "user");
}

void PatchLibrary::RemoveTag(std::int64_t patch, const std::string& tag) {
    SetTag(patch, tag, "removed");
}

LibraryStats PatchLibrary::Stats() {
    LibraryStats stats;
    stats.sources = db_->Integer("SELECT count(*) FROM sources");
    stats.files = db_->Integer("SELECT count(*) FROM files");
    stats.patches = db_->Integer("SELECT count(*) FROM patches");
    stats.places = db_->Integer("SELECT count(*) FROM occurrences");
    stats.problems = db_->Integer(
        "SELECT (SELECT count(*) FROM files WHERE problem <> '') + (SELECT count(*) FROM folder_problems)");
    return stats;
}

}  // namespace orb8::library
