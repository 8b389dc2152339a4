#include "library/wordindex.h"

#include <sys/resource.h>
#include <unistd.h>

#include "library/sqlite.h"
#include "library/schema.h"

namespace orb8::library {

WordIndexBuilder::WordIndexBuilder(const std::string& path) : db_(std::make_unique<sql::Database>(path)) {
    // The index grows in a private table: nothing the scan's connection
    // writes waits for it, and an interrupted scan leaves nothing behind.
    db_->Exec("PRAGMA temp.cache_size = -32768");
    db_->Exec(std::string("CREATE VIRTUAL TABLE temp.built_words USING fts5(") + kWordIndexColumns + ", content='')");
    thread_ = std::thread([this] { Run(); });
}

WordIndexBuilder::~WordIndexBuilder() {
    batches_.Cancel();
    if (thread_.joinable()) thread_.join();
}

void WordIndexBuilder::Add(std::int64_t place, const std::string& name, const std::string& comment) {
    Push({true, place, name, comment});
}

void WordIndexBuilder::Remove(std::int64_t place, const std::string& name, const std::string& comment) {
    Push({false, place, name, comment});
}

void WordIndexBuilder::Push(Op op) {
    filling_.push_back(std::move(op));
    if (filling_.size() >= kBatch) Flush();
}

void WordIndexBuilder::Flush() {
    // Dropped when the thread has failed: it takes no more.
    if (!filling_.empty()) batches_.Push(std::move(filling_));
    filling_.clear();
}

void WordIndexBuilder::Close() {
    Flush();
    batches_.Close();
}

void WordIndexBuilder::Run() {
    // Behind the scan's writer when they compete for the processors: the
    // writer's end (making the other indexes) takes one, and this thread
    // catches up on the other meanwhile.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    try {
        db_->Exec("BEGIN");
        auto add = db_->Prepare("INSERT INTO temp.built_words(rowid, search_name, search_comment) VALUES (?, ?, ?)");
        auto remove = db_->Prepare(
            "INSERT INTO temp.built_words(built_words, rowid, search_name, search_comment) VALUES ('delete', ?, ?, ?)");
        while (std::optional<std::vector<Op>> batch = batches_.Pop()) {
            for (const Op& op : *batch) {
                sql::Statement& s = op.add ? add : remove;
                s.Bind(1, op.place).Bind(2, op.name).Bind(3, op.comment).Run();
            }
        }
        if (batches_.Cancelled()) return;  // stopped: what was built is dropped
        db_->Exec("COMMIT");
    } catch (...) {
        failure_ = std::current_exception();
        batches_.Cancel();  // the scan's hand-overs return at once from now on
    }
}

void WordIndexBuilder::Install() {
    Close();
    thread_.join();
    if (failure_) std::rethrow_exception(failure_);
    sql::Transaction transaction(*db_);
    for (const char* shadow : kWordIndexShadows) {
        const std::string table = std::string("occurrence_text_") + shadow;
        db_->Exec("DELETE FROM main." + table);
        db_->Exec("INSERT INTO main." + table + " SELECT * FROM temp.built_words_" + shadow);
    }
    db_->Exec("UPDATE main.library_state SET value = 0 WHERE key = 'text_index_stale'");
    transaction.Commit();
}

}  // namespace orb8::library
