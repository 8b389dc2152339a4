// The user's marks beyond the one database: export and import, daily
// backups, and a damaged library rebuilt from the files with the marks of
// the newest good backup.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>

#include "library/patchlibrary.h"
#include "library/sqlite.h"

namespace fs = std::filesystem;

namespace orb8::library {

namespace {

constexpr const char* kBackupInfix = ".backup-";

std::string DateText(std::int64_t seconds, const char* format) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

// The backups of a library, oldest first (their names sort by date).
std::vector<std::string> Backups(const std::string& path) {
    std::vector<std::string> found;
    const fs::path file(path);
    std::error_code error;
    const std::string prefix = file.filename().string() + kBackupInfix;
    for (fs::directory_iterator it(file.parent_path().empty() ? "." : file.parent_path(), error), end;
         !error && it != end; it.increment(error))
        if (it->path().filename().string().rfind(prefix, 0) == 0) found.push_back(it->path().string());
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<SoundMarks> PatchLibrary::Marks() {
    std::map<std::int64_t, SoundMarks> marks;
    auto notes = db_->Prepare(
        "SELECT n.patch_id, p.sound, n.favourite, coalesce(n.rating, 0), n.note FROM patch_notes n "
        "JOIN patches p ON p.id = n.patch_id WHERE n.favourite OR n.rating IS NOT NULL OR n.note <> ''");
    while (notes.Step()) {
        SoundMarks& m = marks[notes.Int(0)];
        m.sound = notes.Blob(1);
        m.favourite = notes.Int(2) != 0;
        m.rating = static_cast<int>(notes.Int(3));
        m.note = notes.Text(4);
    }
    auto tags = db_->Prepare(
        "SELECT t.patch_id, p.sound, t.tag, t.origin FROM tags t JOIN patches p ON p.id = t.patch_id "
        "WHERE t.origin <> 'auto' ORDER BY t.tag");
    while (tags.Step()) {
        SoundMarks& m = marks[tags.Int(0)];
        if (m.sound.empty()) m.sound = tags.Blob(1);
        (tags.Text(3) == "user" ? m.tags : m.removedTags).push_back(tags.Text(2));
    }
    auto names = db_->Prepare("SELECT DISTINCT name FROM occurrences WHERE patch_id = ? AND name <> '' ORDER BY name");
    std::vector<SoundMarks> out;
    for (auto& [patch, m] : marks) {
        names.Bind(1, patch);
        while (names.Step()) m.names.push_back(names.Text(0));
        names.Reset();
        out.push_back(std::move(m));
    }
    return out;
}

MarksImport PatchLibrary::ImportMarks(const std::vector<SoundMarks>& marks) {
    RequireWritable();
    MarksImport result;
    sql::Transaction transaction(*db_);
    auto find = db_->Prepare("SELECT id, sound FROM patches WHERE fingerprint = ?");
    for (const SoundMarks& m : marks) {
        // The fingerprint as a scan makes it (64-bit FNV-1a of the sound).
        std::uint64_t hash = 14695981039346656037ull;
        for (std::uint8_t b : m.sound) hash = (hash ^ b) * 1099511628211ull;
        find.Bind(1, static_cast<std::int64_t>(hash));
        std::int64_t patch = 0;
        while (find.Step()) {
            const auto sound = find.BlobView(1);
            if (std::equal(sound.begin(), sound.end(), m.sound.begin(), m.sound.end())) patch = find.Int(0);
        }
        find.Reset();
        if (!patch) {
            ++result.unknown;
            continue;
        }
        SetFavourite(patch, m.favourite);
        SetRating(patch, std::clamp(m.rating, 0, kMaxRating));
        SetNote(patch, m.note);
        for (const std::string& tag : m.tags) AddTag(patch, tag);
        for (const std::string& tag : m.removedTags) RemoveTag(patch, tag);
        ++result.taken;
    }
    transaction.Commit();
    return result;
}

bool PatchLibrary::Sound() {
    auto check = db_->Prepare("PRAGMA quick_check");
    return check.Step() && check.Text(0) == "ok";
}

std::string PatchLibrary::BackUpIfDue() {
    const std::string& path = db_->Path();
    if (path == ":memory:" || !readOnly_.empty()) return {};
    const std::int64_t now = Now();
    const std::string name = path + kBackupInfix + DateText(now, "%Y%m%d");
    std::error_code error;
    if (fs::exists(name, error)) return {};
    // A damaged library is no backup: the last good one stays the newest.
    if (!Sound()) return {};
    const std::string partial = name + ".part";
    fs::remove(partial, error);
    db_->Prepare("VACUUM INTO ?").Bind(1, partial).Run();
    fs::rename(partial, name, error);
    if (error) return {};
    std::vector<std::string> all = Backups(path);
    while (all.size() > static_cast<std::size_t>(kBackupsKept)) {
        fs::remove(all.front(), error);
        all.erase(all.begin());
    }
    return name;
}

void PatchLibrary::RebuildDamaged(const std::string& path) {
    const std::int64_t now = Now();
    const std::string aside = path + ".damaged-" + DateText(now, "%Y%m%d-%H%M%S");
    db_.reset();
    std::error_code error;
    fs::rename(path, aside, error);
    if (error) throw LibraryError("The library " + path + " is damaged and can't be set aside: " + error.message() + ".");
    for (const char* side : {"-wal", "-shm"}) fs::rename(path + side, aside + side, error);

    // The newest backup that opens gives the sources and the marks.
    std::vector<std::string> sources;
    std::vector<SoundMarks> marks;
    std::string from;
    std::vector<std::string> backups = Backups(path);
    for (auto it = backups.rbegin(); it != backups.rend() && from.empty(); ++it) {
        try {
            PatchLibrary backup(*it, clock_, Access::Read);
            if (!backup.Sound()) continue;
            sources = backup.Sources();
            marks = backup.Marks();
            from = *it;
        } catch (const std::exception&) {
        }
    }
    PatchLibrary fresh(path, clock_);
    for (const std::string& source : sources)
        fresh.db_->Prepare("INSERT OR IGNORE INTO sources(path, added) VALUES (?, ?)").Bind(1, source).Bind(2, now).Run();
    fresh.Scan();
    const MarksImport taken = fresh.ImportMarks(marks);
    openNotice_ = "The library " + path + " was damaged. It was set aside as " + aside + " and made anew from your files";
    if (from.empty()) {
        openNotice_ += "; there was no backup to take the marks from.";
    } else {
        openNotice_ += "; the marks of " + std::to_string(taken.taken) + " sounds were taken from the backup " + from + ".";
        if (taken.unknown) openNotice_ += " " + std::to_string(taken.unknown) + " marked sounds are no longer in your files.";
    }
}

}  // namespace orb8::library
