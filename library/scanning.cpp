// Scans: finding the files under the sources, reading what is new or
// changed, keeping what slots held before, forgetting files that are gone,
// and the word index a big scan builds alongside.
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

constexpr std::size_t kBulkFiles = 50;          // a scan reading fewer keeps the word index row by row
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

// What a walk of a source folder found: the library's files, and the folders
// it could not read or would read twice (a link that leads back), with why.
struct Walk {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> problems;
};

// Every file of the library's kinds under `root`, following links to
// folders; each real folder is read once.
// `read`: the real folders read so far in this scan, by any source.
void WalkFolder(const std::string& root, std::set<std::pair<dev_t, ino_t>>& read, Walk& walk,
                const PatchLibrary::FolderCheck& check) {
    std::vector<std::string> folders{root};
    struct stat st {};
    if (::stat(root.c_str(), &st) == 0 && !read.insert({st.st_dev, st.st_ino}).second) return;  // read by another source
    while (!folders.empty()) {
        const std::string folder = std::move(folders.back());
        folders.pop_back();
        std::error_code error = check ? check(folder) : std::error_code();
        fs::directory_iterator it;
        if (!error) it = fs::directory_iterator(folder, error);
        if (error) {
            // What it held is kept until it can be read again.
            walk.problems.emplace_back(folder, "the folder can't be read: " + error.message());
            continue;
        }
        for (const fs::directory_iterator end; it != end; it.increment(error)) {
            if (error) break;
            const std::string path = it->path().string();
            std::error_code ignored;
            const bool link = it->is_symlink(ignored);
            if (it->is_directory(ignored)) {
                if (::stat(path.c_str(), &st) != 0) continue;
                if (!read.insert({st.st_dev, st.st_ino}).second) {
                    if (link) walk.problems.emplace_back(path, "a link to a folder that is read already (a loop, or a second way to it)");
                    continue;
                }
                folders.push_back(path);
            } else if (!LibraryFileKind(path).empty() && it->is_regular_file(ignored)) {
                walk.files.push_back(path);
            }
        }
        if (error) walk.problems.emplace_back(folder, "the folder can't be read to its end: " + error.message());
    }
}

bool Same(std::span<const std::uint8_t> stored, const std::vector<std::uint8_t>& sound) {
    return std::equal(stored.begin(), stored.end(), sound.begin(), sound.end());
}

}  // namespace

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
          // Another program's scan may have added the file since this one began.
          insertFile(d.Prepare("INSERT INTO files(source_id, path, kind, size, mtime, problem, scanned, "
                               "custom_settings, sound_rule) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) "
                               "ON CONFLICT(path) DO UPDATE SET source_id = ?1, kind = ?3, size = ?4, mtime = ?5, "
                               "problem = ?6, scanned = ?7, custom_settings = ?8, sound_rule = ?9 RETURNING id")),
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
            if (insertFile.Step()) fileId = insertFile.Int(0);
            insertFile.Reset();
        }
        // A damaged file keeps nothing of what it held: its slots go to their history.
        Update(fileId, contents.patches, !reread);
    }
};

std::string PatchLibrary::AddSource(const std::string& path) {
    RequireWritable();
    std::error_code error;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error || !fs::exists(absolute, error))
        throw LibraryError(path + " can't be added: " + (error ? error.message() : "there is no such file or folder"));
    const std::string text = absolute.string();
    db_->Prepare("INSERT OR IGNORE INTO sources(path, added) VALUES (?, ?)").Bind(1, text).Bind(2, Now()).Run();
    return text;
}

bool PatchLibrary::RemoveSource(const std::string& path) {
    RequireWritable();
    sounds_.clear();
    std::error_code error;
    const std::string absolute = fs::weakly_canonical(fs::absolute(path, error), error).string();
    sql::Transaction transaction(*db_);
    auto source = db_->Prepare("SELECT id FROM sources WHERE path = ?");
    source.Bind(1, absolute);
    if (!source.Step()) return false;
    const std::int64_t id = source.Int(0);
    source.Reset();
    // What another source covers too (a folder inside it, or the folder it
    // lies in) stays with that one: its files, their places and the history
    // of their slots. Only the rest goes.
    std::vector<std::pair<std::int64_t, std::string>> others;
    auto all = db_->Prepare("SELECT id, path FROM sources WHERE id <> ?");
    all.Bind(1, id);
    while (all.Step()) others.emplace_back(all.Int(0), all.Text(1));
    const auto coveredBy = [&](const std::string& file) {
        std::int64_t best = 0;
        std::size_t depth = 0;
        for (const auto& [other, root] : others) {
            const bool under = file == root || (file.size() > root.size() && file.compare(0, root.size(), root) == 0 &&
                                                file[root.size()] == '/');
            if (under && root.size() >= depth) {
                best = other;
                depth = root.size();
            }
        }
        return best;
    };
    std::vector<std::pair<std::int64_t, std::int64_t>> moves;  // file, its new source
    auto files = db_->Prepare("SELECT id, path FROM files WHERE source_id = ?");
    files.Bind(1, id);
    while (files.Step())
        if (const std::int64_t other = coveredBy(files.Text(1))) moves.emplace_back(files.Int(0), other);
    auto move = db_->Prepare("UPDATE files SET source_id = ? WHERE id = ?");
    for (const auto& [file, other] : moves) {
        move.Bind(1, other).Bind(2, file).Run();
    }
    std::vector<std::string> forgotten;
    auto histories =
        db_->Prepare("SELECT DISTINCT path FROM slot_history WHERE path = ?1 OR substr(path, 1, length(?1) + 1) = ?1 || '/'");
    histories.Bind(1, absolute);
    while (histories.Step())
        if (!coveredBy(histories.Text(0))) forgotten.push_back(histories.Text(0));
    auto history = db_->Prepare("DELETE FROM slot_history WHERE path = ?");
    for (const std::string& place : forgotten) {
        history.Bind(1, place).Run();
    }
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
    RequireWritable();
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
    Walk walk;
    std::vector<std::int64_t> problemSources;  // the source of each folder problem
    std::set<std::pair<dev_t, ino_t>> readFolders;  // each real folder is read once
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
            walk.files.clear();
            const std::size_t problemsBefore = walk.problems.size();
            WalkFolder(root, readFolders, walk, folderCheck_);
            for (std::string& file : walk.files) found.push_back({id, std::move(file)});
            problemSources.resize(problemsBefore, 0);
            problemSources.resize(walk.problems.size(), id);
        }
    }
    // A file under a folder that could not be read is not gone: it is kept.
    const auto unread = [&walk](const std::string& file) {
        for (const auto& [folder, why] : walk.problems)
            if (file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 && file[folder.size()] == '/')
                return true;
        return false;
    };
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
    // Held while the index is marked stale: another program that opens the
    // library meanwhile knows the mark is no crash's.
    ScanLock lock(db_->Path());
    if (bulk) {
        lock.HoldShared();
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
            if (walked.count(files.Int(2)) && !seen.count(files.Text(1)) && !unread(files.Text(1)))
                gone.push_back(files.Int(0));
    }
    // The folder problems of the sources looked at, as this scan found them.
    auto clearProblems = db_->Prepare("DELETE FROM folder_problems WHERE source_id = ?");
    for (const std::int64_t source : walked) clearProblems.Bind(1, source).Run();
    auto addProblem = db_->Prepare("INSERT OR REPLACE INTO folder_problems(path, source_id, problem) VALUES (?, ?, ?)");
    for (std::size_t i = 0; i < walk.problems.size(); ++i)
        addProblem.Bind(1, walk.problems[i].first).Bind(2, problemSources[i]).Bind(3, walk.problems[i].second).Run();
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

}  // namespace orb8::library
