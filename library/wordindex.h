// The word index of a big scan, built at the same time as the scan writes:
// a second connection on a thread of its own fills a private (TEMP) FTS5
// table from the places the scan hands it, and at the end the finished index
// takes the place of the library's in one transaction. Building it row by row
// in the library itself would hold up every insert; rebuilding it after the
// scan would double the scan's time.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "patch/workqueue.h"

namespace orb8::sql {
class Database;
}

namespace orb8::library {

class WordIndexBuilder {
public:
    // Starts the thread, with its own connection to the library at `path`
    // (a file: a database in memory cannot be shared). Throws sql::SqlError
    // when that connection cannot be made.
    explicit WordIndexBuilder(const std::string& path);
    // Stops the thread; what was built is dropped unless Install ran.
    ~WordIndexBuilder();
    WordIndexBuilder(const WordIndexBuilder&) = delete;
    WordIndexBuilder& operator=(const WordIndexBuilder&) = delete;

    // A place with its folded name and comment, as the library holds it.
    void Add(std::int64_t place, const std::string& name, const std::string& comment);
    // A place that goes or changes: exactly the texts it was added with.
    void Remove(std::int64_t place, const std::string& name, const std::string& comment);
    // No more places: the thread finishes what it has while the caller goes on.
    void Close();
    // Waits for the thread, then puts the index in place of the library's and
    // marks it up to date, in one transaction. Throws sql::SqlError when the
    // index could not be built or installed (the library's stays marked stale).
    void Install();

private:
    struct Op {
        bool add;
        std::int64_t place;
        std::string name, comment;
    };
    static constexpr std::size_t kBatch = 2048, kBatchesAhead = 128;  // at most some 25 MB waiting
    void Push(Op op);
    void Flush();
    void Run();

    std::vector<Op> filling_;
    // Held back when the thread is far behind, so memory stays bounded.
    WorkQueue<std::vector<Op>> batches_{kBatchesAhead};
    std::exception_ptr failure_;  // the thread's; read once it has ended
    std::unique_ptr<sql::Database> db_;  // the thread's, Install's once it ends
    std::thread thread_;                 // last: starts when the rest is ready
};

}  // namespace orb8::library
