// A small RAII layer over SQLite's C API: a connection, prepared statements
// with typed binds and columns, and transactions that roll back unless
// committed. Every failure throws SqlError with SQLite's own message.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <memory>
#include <vector>

namespace orb8::sql {

class SqlError : public std::runtime_error {
public:
    SqlError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

class Statement;
class CachedStatement;

class Database {
public:
    enum class Mode { ReadWrite, ReadOnly };
    // Opens (and with ReadWrite creates) the file; ":memory:" for a database in memory.
    explicit Database(const std::string& path, Mode mode = Mode::ReadWrite);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs statements that return no rows.
    void Exec(std::string_view sql);
    Statement Prepare(std::string_view sql);
    // A statement compiled once and kept for the connection's life, ready to
    // bind; it is reset when the returned handle goes.
    CachedStatement Cached(const std::string& sql);
    std::int64_t LastInsertId() const;
    int Changes() const;
    // A single integer from a query (PRAGMAs, counts).
    std::int64_t Integer(std::string_view sql);
    // How long a write waits for another connection's write to end before it
    // fails, and what is told once a wait has lasted a second (another
    // program is writing).
    void SetBusyTimeout(int milliseconds);
    void SetWaitNotice(std::function<void()> notice) { waitNotice_ = std::move(notice); }
    sqlite3* Handle() { return db_; }
    const std::string& Path() const { return path_; }

private:
    static int Busy(void* self, int count);

    // Compiled statements by their text (finalized before the connection closes).
    // A user's queries each make one; beyond kCached the unused ones go.
    static constexpr std::size_t kCached = 64;
    struct Kept {
        std::unique_ptr<Statement> statement;
        bool inUse = false;
    };
    std::unordered_map<std::string, Kept> cached_;

    sqlite3* db_ = nullptr;
    std::string path_;
    int busyLimitMs_ = 5000;
    std::function<void()> waitNotice_;
    std::chrono::steady_clock::time_point waitStart_{};
    bool noticed_ = false;
};

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;

    // Binds parameters by position, from 1.
    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, int value) { return Bind(index, static_cast<std::int64_t>(value)); }
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view text);
    Statement& Bind(int index, const char* text) { return Bind(index, std::string_view(text)); }
    Statement& Bind(int index, const std::string& text) { return Bind(index, std::string_view(text)); }
    Statement& Bind(int index, std::span<const std::uint8_t> blob);
    Statement& BindNull(int index);

    // The next row: true when there is one.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    // Ready to run again with new binds.
    void Reset();

    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;
    // The blob in place: valid until the statement steps, resets or goes.
    std::span<const std::uint8_t> BlobView(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A cached statement in use: reset (its read ended, its binds cleared) when it goes.
class CachedStatement {
public:
    explicit CachedStatement(Statement& statement, bool& inUse) : statement_(statement), inUse_(inUse) { inUse_ = true; }
    ~CachedStatement();
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    Statement& operator*() { return statement_; }
    Statement* operator->() { return &statement_; }

private:
    Statement& statement_;
    bool& inUse_;
};

// BEGIN IMMEDIATE on construction, ROLLBACK on destruction unless Commit ran.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void Commit();

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace orb8::sql
