#include "library/patchlibrary.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

#include "library/filereading.h"
#include "library/query.h"
#include "library/schema.h"
#include "library/sounds.h"
#include "library/sqlite.h"
#include "library/textfold.h"
#include "library/wordindex.h"
#include "patch/projectdocument.h"

namespace fs = std::filesystem;

namespace orb8::library {

namespace {

constexpr std::size_t kBulkFiles = 50;          // a scan reading fewer keeps the word index row by row
// The page cache (in KiB): a scan looks up the sound and word indexes at
// random, and a large cache keeps it from reading the same pages again.
constexpr int kCacheKiB = 65536;
// While a big scan makes its place indexes: a small cache makes SQLite's
// sorter work in pieces, sorted by a second thread meanwhile.
constexpr int kSortCacheKiB = 2048;

// Modification time in nanoseconds, and the size; false when the file is not there.
bool Stat(const std::string& path, std::int64_t& size, std::int64_t& mtime) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    size = st.st_size;
    mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

bool Same(std::span<const std::uint8_t> stored, const std::vector<std::uint8_t>& sound) {
    return std::equal(stored.begin(), stored.end(), sound.begin(), sound.end());
}

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

// One scan: the statements it runs for every file, prepared once.
struct PatchLibrary::Scanner {
    sql::Database& db;
    std::int64_t now;
    ScanReport report;
    struct Known {
        std::int64_t id, size, mtime, source, rule;
    };
    std::map<std::string, Known> known;  // the files of the last scan, by path
    sql::Statement insertFile, updateFile, touchFile, findPatch, soundOf, insertPatch, slots, insertPlace,
        replacePlace, deletePlace, autoTag, keepHistory;
    // A big scan finds sounds by their fingerprint in memory (the index is
    // dropped meanwhile): fingerprint to the ids of the sounds that have it.
    std::unordered_multimap<std::int64_t, std::int64_t> byFingerprint;
    bool fingerprintsInMemory = false;
    // A big scan's word index, built meanwhile; null when the library keeps its own row by row.
    WordIndexBuilder* words = nullptr;

    Scanner(sql::Database& d, std::int64_t time)
        : db(d),
          now(time),
          insertFile(d.Prepare("INSERT INTO files(source_id, path, kind, size, mtime, problem, scanned, "
                               "custom_settings, sound_rule) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          updateFile(d.Prepare("UPDATE files SET source_id = ?, kind = ?, size = ?, mtime = ?, problem = ?, "
                               "scanned = ?, custom_settings = ?, sound_rule = ? WHERE id = ?")),
          touchFile(d.Prepare("UPDATE files SET scanned = ? WHERE id = ?")),
          findPatch(d.Prepare("SELECT id, sound FROM patches WHERE fingerprint = ?")),
          soundOf(d.Prepare("SELECT sound FROM patches WHERE id = ?")),
          insertPatch(d.Prepare("INSERT INTO patches(fingerprint, sound, first_seen, drive_type, mod_type, dly_type) "
                                "VALUES (?, ?, ?, patch_byte(?2, 1), patch_byte(?2, 19), patch_byte(?2, 28))")),
          slots(d.Prepare("SELECT id, slot, patch_id, name_codes, comment, search_name, search_comment "
                          "FROM occurrences WHERE file_id = ?")),
          insertPlace(
              d.Prepare("INSERT INTO occurrences(file_id, slot, patch_id, name_codes, name, comment, "
                        "search_name, search_comment, first_seen, last_seen) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          replacePlace(d.Prepare("UPDATE occurrences SET patch_id = ?, name_codes = ?, name = ?, comment = ?, "
                                 "search_name = ?, search_comment = ?, first_seen = ?, last_seen = ? WHERE id = ?")),
          deletePlace(d.Prepare("DELETE FROM occurrences WHERE id = ?")),
          autoTag(d.Prepare("INSERT OR IGNORE INTO tags(patch_id, tag, origin) VALUES (?, ?, 'auto')")),
          keepHistory(d.Prepare("INSERT INTO slot_history(path, slot, patch_id, name_codes, name, comment, "
                                "from_time, until_time) SELECT f.path, o.slot, o.patch_id, o.name_codes, o.name, "
                                "o.comment, o.first_seen, ? FROM occurrences o JOIN files f ON f.id = o.file_id "
                                "WHERE o.id = ?")) {
        auto files = d.Prepare("SELECT path, id, size, mtime, source_id, sound_rule FROM files");
        while (files.Step())
            known[files.Text(0)] = {files.Int(1), files.Int(2), files.Int(3), files.Int(4), files.Int(5)};
    }

    // `expectedNew`: about how many sounds the scan may add.
    void FingerprintsInMemory(std::size_t expectedNew) {
        byFingerprint.reserve(static_cast<std::size_t>(db.Integer("SELECT count(*) FROM patches")) + expectedNew);
        auto all = db.Prepare("SELECT fingerprint, id FROM patches");
        while (all.Step()) byFingerprint.emplace(all.Int(0), all.Int(1));
        fingerprintsInMemory = true;
    }

    std::int64_t NewPatch(std::int64_t fingerprint, const std::vector<std::uint8_t>& sound) {
        insertPatch.Bind(1, fingerprint).Bind(2, sound).Bind(3, now).Run();
        ++report.newPatches;
        const std::int64_t id = db.LastInsertId();
        if (fingerprintsInMemory) byFingerprint.emplace(fingerprint, id);
        return id;
    }

    std::int64_t PatchId(const std::vector<std::uint8_t>& sound, std::int64_t fingerprint) {
        // The fingerprint finds the candidates; the sound itself decides.
        if (fingerprintsInMemory) {
            const auto [first, last] = byFingerprint.equal_range(fingerprint);
            for (auto it = first; it != last; ++it) {
                soundOf.Bind(1, it->second);
                const bool same = soundOf.Step() && Same(soundOf.BlobView(0), sound);
                soundOf.Reset();
                if (same) return it->second;
            }
            return NewPatch(fingerprint, sound);
        }
        findPatch.Bind(1, fingerprint);
        while (findPatch.Step()) {
            if (!Same(findPatch.BlobView(1), sound)) continue;
            const std::int64_t id = findPatch.Int(0);
            findPatch.Reset();
            return id;
        }
        findPatch.Reset();
        return NewPatch(fingerprint, sound);
    }

    // `searchName` and `searchComment` are what the place has in the word index.
    void KeepAndDelete(std::int64_t place, const std::string& searchName, const std::string& searchComment) {
        keepHistory.Bind(1, now).Bind(2, place).Run();
        deletePlace.Bind(1, place).Run();
        if (words) words->Remove(place, searchName, searchComment);
    }

    // Brings a file's places in line with what it holds now; `history`: what
    // a slot held before goes to its history (not when only the way its
    // sounds are made changed).
    void Update(std::int64_t fileId, const std::vector<PreparedPatch>& patches, bool history = true) {
        struct Old {
            std::int64_t id, patch;
            std::vector<std::uint8_t> name;
            std::string comment, searchName, searchComment;
        };
        std::map<int, Old> old;
        slots.Bind(1, fileId);
        while (slots.Step())
            old[static_cast<int>(slots.Int(1))] = {slots.Int(0),  slots.Int(2),  slots.Blob(3),
                                                   slots.Text(4), slots.Text(5), slots.Text(6)};
        slots.Reset();
        for (const PreparedPatch& p : patches) {
            const std::int64_t patch = PatchId(p.sound, p.fingerprint);
            const std::span<const std::uint8_t> codes(p.codes);
            // Never over a tag set or removed by hand.
            for (const std::string& tag : p.tags) autoTag.Bind(1, patch).Bind(2, tag).Run();
            const auto it = old.find(p.slot);
            if (it != old.end()) {
                const Old& was = it->second;
                const bool same = was.patch == patch &&
                                  std::equal(codes.begin(), codes.end(), was.name.begin(), was.name.end()) &&
                                  was.comment == p.comment;
                if (!same) {
                    if (history) keepHistory.Bind(1, now).Bind(2, was.id).Run();
                    replacePlace.Bind(1, patch).Bind(2, codes).Bind(3, p.name).Bind(4, p.comment).Bind(5, p.searchName);
                    replacePlace.Bind(6, p.searchComment).Bind(7, now).Bind(8, now).Bind(9, was.id).Run();
                    if (words) {
                        words->Remove(was.id, was.searchName, was.searchComment);
                        words->Add(was.id, p.searchName, p.searchComment);
                    }
                }
                old.erase(it);
                continue;
            }
            insertPlace.Bind(1, fileId).Bind(2, p.slot).Bind(3, patch).Bind(4, codes).Bind(5, p.name);
            insertPlace.Bind(6, p.comment).Bind(7, p.searchName).Bind(8, p.searchComment).Bind(9, now).Bind(10, now).Run();
            if (words) words->Add(db.LastInsertId(), p.searchName, p.searchComment);
        }
        for (const auto& [slot, was] : old) KeepAndDelete(was.id, was.searchName, was.searchComment);
    }

    // A file found under a source; `read` gives what it holds when it is new or changed.
    void File(std::int64_t sourceId, const std::string& path, std::int64_t size, std::int64_t mtime, bool changed,
              const std::function<PreparedFile()>& read) {
        if (!size && !mtime) return;  // gone since it was found
        ++report.files;
        const auto it = known.find(path);
        std::int64_t fileId = it == known.end() ? 0 : it->second.id;
        if (!changed) {
            ++report.unchanged;
            touchFile.Bind(1, now).Bind(2, fileId).Run();
            return;
        }
        ++report.read;
        const PreparedFile contents = read();
        if (!contents.problem.empty()) ++report.skipped;
        report.builtInCustom += contents.builtInCustom;
        // The same file read again only because its sounds are made anew.
        const bool reread = it != known.end() && it->second.size == size && it->second.mtime == mtime &&
                            it->second.rule != kSoundRule;
        const auto bindSettings = [&](sql::Statement& s, int at) {
            if (contents.settings)
                s.Bind(at, std::span<const std::uint8_t>(contents.settings->data(), contents.settings->size()));
            else
                s.BindNull(at);
            s.Bind(at + 1, kSoundRule);
        };
        if (fileId) {
            updateFile.Bind(1, sourceId).Bind(2, contents.kind).Bind(3, size).Bind(4, mtime);
            updateFile.Bind(5, contents.problem).Bind(6, now);
            bindSettings(updateFile, 7);
            updateFile.Bind(9, fileId).Run();
        } else {
            insertFile.Bind(1, sourceId).Bind(2, path).Bind(3, contents.kind).Bind(4, size).Bind(5, mtime);
            insertFile.Bind(6, contents.problem).Bind(7, now);
            bindSettings(insertFile, 8);
            insertFile.Run();
            fileId = db.LastInsertId();
        }
        // A damaged file keeps nothing of what it held: its slots go to their history.
        Update(fileId, contents.patches, !reread);
    }
};

PatchLibrary::PatchLibrary(const std::string& path, Clock clock) : clock_(std::move(clock)) {
    try {
        db_ = std::make_unique<sql::Database>(path);
        db_->Exec("PRAGMA foreign_keys = ON");
        if (path != ":memory:") db_->Exec("PRAGMA journal_mode = WAL");
        db_->Exec("PRAGMA synchronous = NORMAL");
        db_->Exec("PRAGMA cache_size = -" + std::to_string(kCacheKiB));
        sqlite3_create_function_v2(db_->Handle(), "patch_byte", 2,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr, PatchByteFunction,
                                   nullptr, nullptr, nullptr);
        Migrate(*db_);
        // A big scan that was interrupted left the word index behind.
        if (db_->Integer("SELECT value FROM library_state WHERE key = 'text_index_stale'")) RebuildTextIndex();
    } catch (const sql::SqlError& e) {
        throw LibraryError("The library " + path + " cannot be opened: " + e.what());
    }
}

PatchLibrary::~PatchLibrary() = default;

void PatchLibrary::SetWriteWait(int milliseconds) { db_->SetBusyTimeout(milliseconds); }

std::int64_t PatchLibrary::Now() const {
    return clock_ ? clock_() : static_cast<std::int64_t>(std::time(nullptr));
}

std::string PatchLibrary::AddSource(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error || !fs::exists(absolute, error))
        throw LibraryError(path + " can't be added: " + (error ? error.message() : "there is no such file or folder"));
    const std::string text = absolute.string();
    db_->Prepare("INSERT OR IGNORE INTO sources(path, added) VALUES (?, ?)").Bind(1, text).Bind(2, Now()).Run();
    return text;
}

bool PatchLibrary::RemoveSource(const std::string& path) {
    sounds_.clear();
    std::error_code error;
    const std::string absolute = fs::weakly_canonical(fs::absolute(path, error), error).string();
    sql::Transaction transaction(*db_);
    auto source = db_->Prepare("SELECT id FROM sources WHERE path = ?");
    source.Bind(1, absolute);
    if (!source.Step()) return false;
    const std::int64_t id = source.Int(0);
    source.Reset();
    // Its files, their places and the history of their slots go with it.
    auto history =
        db_->Prepare("DELETE FROM slot_history WHERE path = ?1 OR substr(path, 1, length(?1) + 1) = ?1 || '/'");
    history.Bind(1, absolute).Run();
    auto remove = db_->Prepare("DELETE FROM sources WHERE id = ?");
    remove.Bind(1, id).Run();
    transaction.Commit();
    return true;
}

void PatchLibrary::SetTextIndexStale(bool stale) {
    const auto mark = [&] {
        db_->Prepare("UPDATE library_state SET value = ? WHERE key = 'text_index_stale'").Bind(1, stale ? 1 : 0).Run();
    };
    if (!stale) return mark();  // inside the rebuild's transaction
    sql::Transaction transaction(*db_);
    mark();
    db_->Exec(kDropPlaceIndexes);
    transaction.Commit();
}

std::unique_ptr<WordIndexBuilder> PatchLibrary::StartWordIndex() {
    if (db_->Path() == ":memory:") return {};
    try {
        auto words = std::make_unique<WordIndexBuilder>(db_->Path());
        // The places the scan does not touch are in the new index too.
        auto places = db_->Prepare("SELECT id, search_name, search_comment FROM occurrences");
        while (places.Step()) words->Add(places.Int(0), places.Text(1), places.Text(2));
        return words;
    } catch (const std::exception&) {  // no second connection or thread
        return {};                      // the index is rebuilt at the end instead
    }
}

void PatchLibrary::FinishTextIndex(WordIndexBuilder* words) {
    if (words) {
        words->Close();  // it finishes while the indexes are made
        const auto sorting = [this](bool on) {
            db_->Exec(std::string("PRAGMA threads = ") + (on ? "2" : "0") + "; PRAGMA cache_size = -" +
                      std::to_string(on ? kSortCacheKiB : kCacheKiB));
        };
        sorting(true);
        try {
            sql::Transaction transaction(*db_);
            db_->Exec(kPlaceIndexes);
            transaction.Commit();
        } catch (...) {
            sorting(false);
            throw;
        }
        sorting(false);
        try {
            words->Install();
            return;
        } catch (const std::exception&) {
            // Not built or not installed: the rebuild below makes it from the places.
        }
    }
    RebuildTextIndex();
}

void PatchLibrary::RebuildTextIndex() {
    sql::Transaction transaction(*db_);
    db_->Exec(kPlaceIndexes);
    db_->Exec("INSERT INTO occurrence_text(occurrence_text) VALUES ('rebuild')");
    SetTextIndexStale(false);
    transaction.Commit();
}

std::vector<std::string> PatchLibrary::Sources() {
    std::vector<std::string> sources;
    auto s = db_->Prepare("SELECT path FROM sources ORDER BY path");
    while (s.Step()) sources.push_back(s.Text(0));
    return sources;
}

ScanReport PatchLibrary::Scan(const ScanProgress& progress) {
    sounds_.clear();
    Scanner scanner(*db_, Now());
    // The files under every source, found before any is read, so progress has a total.
    struct Found {
        std::int64_t source;
        std::string path;
        std::int64_t size = 0, mtime = 0;
        bool changed = true;
    };
    std::vector<Found> found;
    std::set<std::int64_t> walked;  // sources that were there to look at
    {
        auto sources = db_->Prepare("SELECT id, path FROM sources ORDER BY path");
        while (sources.Step()) {
            const std::int64_t id = sources.Int(0);
            const std::string root = sources.Text(1);
            std::error_code error;
            const fs::file_status status = fs::status(root, error);
            if (error || !fs::exists(status)) {
                scanner.report.missingSources.push_back(root);
                continue;
            }
            walked.insert(id);
            if (fs::is_regular_file(status)) {
                if (!LibraryFileKind(root).empty()) found.push_back({id, root});
                continue;
            }
            fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
            for (; !error && it != end; it.increment(error))
                if (!LibraryFileKind(it->path().string()).empty() && it->is_regular_file(error))
                    found.push_back({id, it->path().string()});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.path < b.path; });
    found.erase(
        std::unique(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.path == b.path; }),
        found.end());
    // Which of them are new or changed, by size and time.
    std::size_t changed = 0;
    for (Found& f : found) {
        if (!Stat(f.path, f.size, f.mtime)) continue;
        const auto known = scanner.known.find(f.path);
        f.changed = known == scanner.known.end() || known->second.size != f.size || known->second.mtime != f.mtime ||
                    known->second.source != f.source || known->second.rule != kSoundRule;
        changed += f.changed;
    }
    // Many files to read: the word index is rebuilt once at the end instead
    // of row by row (marked stale meanwhile, so an interrupted scan's next
    // start rebuilds it).
    const bool bulk = changed * 4 > scanner.known.size() + changed && changed >= kBulkFiles;
    std::unique_ptr<WordIndexBuilder> words;
    if (bulk) {
        SetTextIndexStale(true);
        scanner.FingerprintsInMemory(changed * kPatchCount);
        words = StartWordIndex();
        scanner.words = words.get();
    }

    // Files are read and prepared on another thread while this one writes.
    std::vector<std::string> toRead;
    for (const Found& f : found)
        if (f.changed && (f.size || f.mtime)) toRead.push_back(f.path);
    ReadAhead reader(std::move(toRead));
    const auto read = [&reader] { return reader.Next(); };

    // In batches: a cancel or a crash keeps what was done, and readers are not held up long.
    constexpr std::size_t kBatch = 200;
    std::set<std::string> seen;
    for (std::size_t start = 0; start < found.size() && !scanner.report.cancelled; start += kBatch) {
        sql::Transaction transaction(*db_);
        for (std::size_t i = start; i < std::min(found.size(), start + kBatch); ++i) {
            if (progress && !progress(static_cast<int>(i), static_cast<int>(found.size()), found[i].path)) {
                scanner.report.cancelled = true;
                break;
            }
            seen.insert(found[i].path);
            scanner.File(found[i].source, found[i].path, found[i].size, found[i].mtime, found[i].changed, read);
        }
        transaction.Commit();
    }
    if (scanner.report.cancelled) {
        if (bulk) FinishTextIndex(words.get());
        return scanner.report;
    }

    // Files gone from sources that were looked at: their slots go to their history.
    sql::Transaction transaction(*db_);
    std::vector<std::int64_t> gone;
    {
        auto files = db_->Prepare("SELECT id, path, source_id FROM files");
        while (files.Step())
            if (walked.count(files.Int(2)) && !seen.count(files.Text(1))) gone.push_back(files.Int(0));
    }
    auto places = db_->Prepare("SELECT id, search_name, search_comment FROM occurrences WHERE file_id = ?");
    auto removeFile = db_->Prepare("DELETE FROM files WHERE id = ?");
    for (const std::int64_t file : gone) {
        struct Gone {
            std::int64_t id;
            std::string searchName, searchComment;
        };
        std::vector<Gone> ids;
        places.Bind(1, file);
        while (places.Step()) ids.push_back({places.Int(0), places.Text(1), places.Text(2)});
        places.Reset();
        for (const Gone& g : ids) scanner.KeepAndDelete(g.id, g.searchName, g.searchComment);
        removeFile.Bind(1, file).Run();
        ++scanner.report.removed;
    }
    transaction.Commit();
    if (bulk) FinishTextIndex(words.get());
    if (progress) progress(static_cast<int>(found.size()), static_cast<int>(found.size()), {});
    return scanner.report;
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
    auto s = db_->Prepare("SELECT path, problem FROM files WHERE problem <> '' ORDER BY path");
    while (s.Step()) rows.push_back({s.Text(0), s.Text(1)});
    return rows;
}

std::vector<SimilarPatch> PatchLibrary::Similar(std::int64_t patch, int count, bool samePlaces) {
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
        for (std::size_t i = 1; i < own.size(); ++i) similar.push_back({own[i], static_cast<int>(own.size()), 0});
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
    Notes(patch);
    db_->Prepare("UPDATE patch_notes SET favourite = ? WHERE patch_id = ?")
        .Bind(1, favourite ? 1 : 0)
        .Bind(2, patch)
        .Run();
}

void PatchLibrary::SetRating(std::int64_t patch, int rating) {
    if (rating < 0 || rating > kMaxRating)
        throw LibraryError("A rating is a number from 1 to " + std::to_string(kMaxRating) + " (0: none).");
    Notes(patch);
    auto s = db_->Prepare("UPDATE patch_notes SET rating = ? WHERE patch_id = ?");
    if (rating)
        s.Bind(1, rating);
    else
        s.BindNull(1);
    s.Bind(2, patch).Run();
}

void PatchLibrary::SetNote(std::int64_t patch, const std::string& note) {
    Notes(patch);
    db_->Prepare("UPDATE patch_notes SET note = ? WHERE patch_id = ?").Bind(1, note).Bind(2, patch).Run();
}

void PatchLibrary::SetTag(std::int64_t patch, const std::string& tag, const char* origin) {
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
    stats.problems = db_->Integer("SELECT count(*) FROM files WHERE problem <> ''");
    return stats;
}

}  // namespace orb8::library
