// The patch library's database schema, created and upgraded by one numbered
// chain of migrations: a new database runs the whole chain, an older one the
// steps it lacks, each step in a transaction of its own. The version is
// SQLite's user_version.
#pragma once

#include <string>

#include "library/sqlite.h"

namespace orb8::library {

// The version this program writes.
inline constexpr int kSchemaVersion = 4;

// The secondary indexes of the places and sounds, which a big scan drops and makes
// again at its end (much faster than keeping them row by row).
inline constexpr const char* kPlaceIndexes =
    "CREATE INDEX IF NOT EXISTS occurrences_patch ON occurrences(patch_id);"
    "CREATE INDEX IF NOT EXISTS occurrences_name ON occurrences(name);"
    "CREATE INDEX IF NOT EXISTS patches_fingerprint ON patches(fingerprint);"
    "CREATE INDEX IF NOT EXISTS patches_drive_type ON patches(drive_type);"
    "CREATE INDEX IF NOT EXISTS patches_mod_type ON patches(mod_type);"
    "CREATE INDEX IF NOT EXISTS patches_dly_type ON patches(dly_type);";
inline constexpr const char* kDropPlaceIndexes =
    "DROP INDEX IF EXISTS occurrences_patch; DROP INDEX IF EXISTS occurrences_name;"
    "DROP INDEX IF EXISTS patches_fingerprint; DROP INDEX IF EXISTS patches_drive_type;"
    "DROP INDEX IF EXISTS patches_mod_type; DROP INDEX IF EXISTS patches_dly_type;";

// The word index over the places' folded names and comments is the FTS5
// table occurrence_text (made by step 1, with the places as its content).
// An index built elsewhere to take its place has the same columns and
// tokenizer, and is moved in through the shadow tables that hold the index.
inline constexpr const char* kWordIndexColumns = "search_name, search_comment, tokenize='trigram'";
inline constexpr const char* kWordIndexShadows[] = {"data", "idx", "docsize"};

// The database's version (0: a new, empty database).
int SchemaVersion(sql::Database& db);

// Brings the database to kSchemaVersion. Before upgrading a database that
// has data, a copy of its file is made beside it ("<file>.v<N>.bak") so a
// failed or unwanted upgrade loses nothing. Throws LibraryError for a
// database written by a newer program, which is left untouched.
void Migrate(sql::Database& db);

// Throws LibraryError for a database written by a newer program, before
// anything is written to it.
void RefuseNewer(sql::Database& db);

// Runs the migration steps up to `version` only (tests of upgrades from
// every earlier version).
void MigrateTo(sql::Database& db, int version);

}  // namespace orb8::library
