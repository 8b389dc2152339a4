#include "library/schema.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "library/libraryerror.h"

namespace orb8::library {

namespace {

// Step n brings a database from version n - 1 to n. Steps are never changed
// once released: a change of schema is a new step.
constexpr std::array<std::string_view, kSchemaVersion> kSteps = {
    // 1: sources, files, patches by their sound, where they occur, what
    // slots held before, the user's notes and tags, and the word index,
    // kept by triggers unless a big scan marks it stale and rebuilds it
    // at its end (much faster than row by row).
    R"sql(
CREATE TABLE sources(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    added INTEGER NOT NULL
);
CREATE TABLE files(
    id INTEGER PRIMARY KEY,
    source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE,
    path TEXT NOT NULL UNIQUE,
    kind TEXT NOT NULL,
    size INTEGER NOT NULL,
    mtime INTEGER NOT NULL,
    problem TEXT NOT NULL DEFAULT '',
    scanned INTEGER NOT NULL
);
CREATE INDEX files_source ON files(source_id);
CREATE TABLE patches(
    id INTEGER PRIMARY KEY,
    fingerprint INTEGER NOT NULL,
    sound BLOB NOT NULL,
    first_seen INTEGER NOT NULL
);
CREATE INDEX patches_fingerprint ON patches(fingerprint);
CREATE TABLE occurrences(
    id INTEGER PRIMARY KEY,
    file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
    slot INTEGER NOT NULL,
    patch_id INTEGER NOT NULL REFERENCES patches(id),
    name_codes BLOB NOT NULL,
    name TEXT NOT NULL,
    comment TEXT NOT NULL,
    search_name TEXT NOT NULL,
    search_comment TEXT NOT NULL,
    first_seen INTEGER NOT NULL,
    last_seen INTEGER NOT NULL,
    UNIQUE(file_id, slot)
);
CREATE INDEX occurrences_patch ON occurrences(patch_id);
CREATE INDEX occurrences_name ON occurrences(name);
CREATE TABLE slot_history(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL,
    slot INTEGER NOT NULL,
    patch_id INTEGER NOT NULL REFERENCES patches(id),
    name_codes BLOB NOT NULL,
    name TEXT NOT NULL,
    comment TEXT NOT NULL,
    from_time INTEGER NOT NULL,
    until_time INTEGER NOT NULL
);
CREATE INDEX slot_history_place ON slot_history(path, slot);
CREATE TABLE patch_notes(
    patch_id INTEGER PRIMARY KEY REFERENCES patches(id) ON DELETE CASCADE,
    favourite INTEGER NOT NULL DEFAULT 0,
    rating INTEGER,
    note TEXT NOT NULL DEFAULT ''
);
CREATE TABLE tags(
    patch_id INTEGER NOT NULL REFERENCES patches(id) ON DELETE CASCADE,
    tag TEXT NOT NULL,
    origin TEXT NOT NULL CHECK(origin IN ('user', 'auto', 'removed')),
    PRIMARY KEY(patch_id, tag)
);
CREATE TABLE library_state(
    key TEXT PRIMARY KEY,
    value INTEGER NOT NULL
);
INSERT INTO library_state(key, value) VALUES ('text_index_stale', 0);
CREATE VIRTUAL TABLE occurrence_text USING fts5(
    search_name, search_comment, content='occurrences', content_rowid='id', tokenize='trigram');
CREATE TRIGGER occurrences_insert AFTER INSERT ON occurrences
WHEN (SELECT value FROM library_state WHERE key = 'text_index_stale') = 0 BEGIN
    INSERT INTO occurrence_text(rowid, search_name, search_comment)
    VALUES (new.id, new.search_name, new.search_comment);
END;
CREATE TRIGGER occurrences_delete AFTER DELETE ON occurrences
WHEN (SELECT value FROM library_state WHERE key = 'text_index_stale') = 0 BEGIN
    INSERT INTO occurrence_text(occurrence_text, rowid, search_name, search_comment)
    VALUES ('delete', old.id, old.search_name, old.search_comment);
END;
CREATE TRIGGER occurrences_update AFTER UPDATE OF search_name, search_comment ON occurrences
WHEN (SELECT value FROM library_state WHERE key = 'text_index_stale') = 0 BEGIN
    INSERT INTO occurrence_text(occurrence_text, rowid, search_name, search_comment)
    VALUES ('delete', old.id, old.search_name, old.search_comment);
    INSERT INTO occurrence_text(rowid, search_name, search_comment)
    VALUES (new.id, new.search_name, new.search_comment);
END;
)sql",
    // 2: each sound's Drive, Mod and Dly/Rev types, to find the sounds of a
    // type at once (sound design in the player's style).
    R"sql(
ALTER TABLE patches ADD COLUMN drive_type INTEGER NOT NULL DEFAULT 0;
ALTER TABLE patches ADD COLUMN mod_type INTEGER NOT NULL DEFAULT 0;
ALTER TABLE patches ADD COLUMN dly_type INTEGER NOT NULL DEFAULT 0;
UPDATE patches SET drive_type = patch_byte(sound, 1), mod_type = patch_byte(sound, 19), dly_type = patch_byte(sound, 28);
CREATE INDEX patches_drive_type ON patches(drive_type);
CREATE INDEX patches_mod_type ON patches(mod_type);
CREATE INDEX patches_dly_type ON patches(dly_type);
)sql",
    // 3: each bank's custom settings block, and the rule by which a file's
    // sounds were made: a CUSTOM patch's sound is what it plays through its
    // own bank's block. Files read by the older rule are read again at the
    // next scan (without history: nothing in them changed). Folders a scan
    // could not read, or links that lead back, with the reason.
    R"sql(
ALTER TABLE files ADD COLUMN custom_settings BLOB;
ALTER TABLE files ADD COLUMN sound_rule INTEGER NOT NULL DEFAULT 0;
CREATE TABLE folder_problems(
    path TEXT PRIMARY KEY,
    source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE,
    problem TEXT NOT NULL
);
)sql",
    // 4: the results in the order of their slots, a page at a time.
    R"sql(
CREATE INDEX occurrences_slot ON occurrences(slot);
)sql",
};

bool HasData(sql::Database& db) {
    return db.Integer("SELECT count(*) FROM sqlite_schema") > 0;
}

// The steps up to `to` in one transaction, from the version found inside it:
// a second program opening a new library at the same moment waits, then
// finds it made.
void Run(sql::Database& db, int to) {
    sql::Transaction transaction(db);
    const int from = SchemaVersion(db);
    if (from > kSchemaVersion) return;  // a newer program won the race: Migrate's check refuses it next time
    for (int version = from + 1; version <= to; ++version) {
        db.Exec(kSteps[static_cast<std::size_t>(version - 1)]);
        db.Exec("PRAGMA user_version = " + std::to_string(version));
    }
    transaction.Commit();
}

}  // namespace

int SchemaVersion(sql::Database& db) {
    return static_cast<int>(db.Integer("PRAGMA user_version"));
}

void MigrateTo(sql::Database& db, int version) {
    if (SchemaVersion(db) < version) Run(db, version);
}

void RefuseNewer(sql::Database& db) {
    const int from = SchemaVersion(db);
    if (from > kSchemaVersion)
        throw LibraryError("The library " + db.Path() + " was written by a newer version of this program (schema " +
                           std::to_string(from) + ", this one knows up to " + std::to_string(kSchemaVersion) +
                           "); it is left as it is.");
}

void Migrate(sql::Database& db) {
    RefuseNewer(db);
    const int from = SchemaVersion(db);
    if (from == kSchemaVersion) return;
    if (from > 0 && HasData(db) && db.Path() != ":memory:") {
        // A copy of the whole database, consistent even in WAL mode.
        const std::string copy = db.Path() + ".v" + std::to_string(from) + ".bak";
        std::error_code ignored;
        std::filesystem::remove(copy, ignored);
        auto vacuum = db.Prepare("VACUUM INTO ?");
        vacuum.Bind(1, copy);
        vacuum.Run();
    }
    Run(db, kSchemaVersion);
}

}  // namespace orb8::library
