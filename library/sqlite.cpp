#include "library/sqlite.h"

namespace orb8::sql {

namespace {

[[noreturn]] void Fail(sqlite3* db, int code, std::string_view doing) {
    std::string text(doing);
    text += ": ";
    text += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqlError(text, code);
}

}  // namespace

Database::Database(const std::string& path, Mode mode) : path_(path) {
    // SQLite's memory statistics take one process-wide mutex on every
    // allocation, so two connections busy on two threads would take turns.
    // It can only be switched off before SQLite starts (later it refuses).
    [[maybe_unused]] static const int noStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string text = "cannot open " + path + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqlError(text, rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    // Another connection writing (the scan's worker, another program) makes this one wait, not fail.
    sqlite3_busy_handler(db_, &Database::Busy, this);
}

void Database::SetBusyTimeout(int milliseconds) { busyLimitMs_ = milliseconds; }

int Database::Busy(void* self, int count) {
    auto& db = *static_cast<Database*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (count == 0) {
        db.waitStart_ = now;
        db.noticed_ = false;
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - db.waitStart_).count();
    if (waited >= db.busyLimitMs_) return 0;
    if (waited >= 1000 && !db.noticed_ && db.waitNotice_) {
        db.noticed_ = true;
        db.waitNotice_();
    }
    // Short sleeps first: most writes of the other side take milliseconds.
    sqlite3_sleep(count < 10 ? 2 : count < 40 ? 10 : 50);
    return 1;
}

Database::~Database() {
    cached_.clear();
    sqlite3_close_v2(db_);
}

void Database::Exec(std::string_view sql) {
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string what = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw SqlError(what, rc);
    }
}

Statement Database::Prepare(std::string_view sql) {
    return Statement(db_, sql);
}

CachedStatement Database::Cached(const std::string& sql) {
    auto found = cached_.find(sql);
    if (found == cached_.end()) {
        if (cached_.size() >= kCached)
            std::erase_if(cached_, [](const auto& entry) { return !entry.second.inUse; });
        auto statement = std::make_unique<Statement>(db_, sql);
        found = cached_.emplace(sql, Kept{std::move(statement), false}).first;
    }
    return CachedStatement(*found->second.statement, found->second.inUse);
}

CachedStatement::~CachedStatement() {
    statement_.Reset();
    inUse_ = false;
}

std::int64_t Database::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::Changes() const {
    return sqlite3_changes(db_);
}

std::int64_t Database::Integer(std::string_view sql) {
    Statement s(db_, sql);
    return s.Step() ? s.Int(0) : 0;
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc, "prepare");
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

Statement& Statement::Bind(int index, std::int64_t value) {
    if (const int rc = sqlite3_bind_int64(stmt_, index, value); rc != SQLITE_OK) Fail(db_, rc, "bind");
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    if (const int rc = sqlite3_bind_double(stmt_, index, value); rc != SQLITE_OK) Fail(db_, rc, "bind");
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    const int rc = sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK) Fail(db_, rc, "bind");
    return *this;
}

Statement& Statement::Bind(int index, std::span<const std::uint8_t> blob) {
    // A zero-length blob is still a blob, not NULL.
    static const std::uint8_t empty = 0;
    const int rc =
        sqlite3_bind_blob64(stmt_, index, blob.empty() ? &empty : blob.data(), blob.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) Fail(db_, rc, "bind");
    return *this;
}

Statement& Statement::BindNull(int index) {
    if (const int rc = sqlite3_bind_null(stmt_, index); rc != SQLITE_OK) Fail(db_, rc, "bind");
    return *this;
}

bool Statement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, rc, "step");
}

void Statement::Run() {
    while (Step()) {
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double Statement::Real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::string Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

std::vector<std::uint8_t> Statement::Blob(int column) const {
    const auto view = BlobView(column);
    return std::vector<std::uint8_t>(view.begin(), view.end());
}

std::span<const std::uint8_t> Statement::BlobView(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return data ? std::span<const std::uint8_t>(data, static_cast<std::size_t>(size)) : std::span<const std::uint8_t>();
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.Exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        db_.Exec("ROLLBACK");
    } catch (const SqlError&) {
        // The transaction is gone already (SQLite rolled it back itself).
    }
}

void Transaction::Commit() {
    db_.Exec("COMMIT");
    done_ = true;
}

}  // namespace orb8::sql
