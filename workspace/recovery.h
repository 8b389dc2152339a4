// Recovery of unsaved work. While a document has unsaved changes, the program
// keeps a record of it in a folder of the user's data: the document's file
// image, its file name, the name it is shown under and the time of its last
// change. Every running program holds a lock of its own there; records whose
// program holds no lock any more were left by a program that did not end
// normally, and are offered at the next start. A program never takes the
// records of another one that is still running.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "patch/workqueue.h"
#include "workspace/documentrules.h"

namespace orb8 {

struct RecoveryRecord {
    DocumentKind kind = DocumentKind::None;
    std::string fileName;            // where the document belongs; empty: never saved
    std::string title;               // its name: "NoName2", or the file name without its folder
    std::int64_t changedAtMs = 0;    // the last change, milliseconds since 1970 (UTC)
    std::vector<std::uint8_t> bytes; // the document's file image
};

// A changed document's record is written once its changes have settled
// (kRecoverySettle after the last one), and no more often than every
// kRecoveryInterval: how long to wait after a change when the record was
// last written `sinceLastWrite` ago.
inline constexpr std::chrono::milliseconds kRecoverySettle{300};
inline constexpr std::chrono::milliseconds kRecoveryInterval{2000};
std::chrono::milliseconds RecoveryWriteDelay(std::chrono::steady_clock::duration sinceLastWrite);

std::vector<std::uint8_t> EncodeRecoveryRecord(const RecoveryRecord& record);
// The record in `bytes`, or nothing with the reason in `why` (damaged, foreign).
std::optional<RecoveryRecord> DecodeRecoveryRecord(std::span<const std::uint8_t> bytes, std::string& why);

// A record found at start: readable (record) or not (problem says why).
// A damaged record is still named by its document where its first fields
// can be read.
struct LeftRecord {
    std::string path;
    std::optional<RecoveryRecord> record;
    std::string problem;
    std::string title, fileName;  // of a damaged record, as far as they could be read
};

class RecoveryFolder {
public:
    // Creates the folder when needed and takes this program's lock in it.
    // Without a folder or a lock (Problem() says why) records are neither
    // written nor offered.
    explicit RecoveryFolder(std::string folder);
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    bool Usable() const { return lockFd_ >= 0; }
    const std::string& Problem() const { return problem_; }
    const std::string& Folder() const { return folder_; }
    const std::string& SessionId() const { return session_; }

    // The record of this program's document `document`, written atomically
    // (a temporary file flushed to disk and renamed over the old record).
    std::string RecordPath(int document) const;
    bool Write(int document, const RecoveryRecord& record);
    void Remove(int document);
    // The program ends normally: its records and its lock go.
    void EndNormally();

    // The records of programs that are no longer running, oldest change
    // first, those that cannot be read last; leftovers of those programs that hold nothing (locks,
    // temporary files) are removed on the way.
    std::vector<LeftRecord> LeftBehind();
    // Removes what programs that ended hold once they hold no record any
    // more (their locks), as LeftBehind does on its way.
    void Tidy() { (void)LeftBehind(); }
    // A record taken over or discarded by the user.
    static void Discard(const std::string& path);

private:
    bool Running(const std::string& session);

    std::string folder_;
    std::string session_;
    std::string problem_;
    int lockFd_ = -1;
};

// Writes and removes records on a thread of its own, so that the program's
// thread never waits for the disk. A newer record of a document replaces one
// still waiting; the order of a document's writes and removal is kept.
class RecoveryWriter {
public:
    explicit RecoveryWriter(RecoveryFolder& folder);
    ~RecoveryWriter();  // finishes what waits
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void Write(int document, RecoveryRecord record);
    void Remove(int document);
    // Waits until everything handed over is on disk.
    void Flush();
    // Records written so far (tests and the benchmark watch it).
    int Written() const;

private:
    void Run();

    RecoveryFolder& folder_;
    using Work = std::pair<int, std::optional<RecoveryRecord>>;  // a document and its record; nothing: remove
    WorkQueue<Work> pending_;
    std::atomic<int> written_{0};
    std::thread thread_;  // last: starts when the rest is ready
};

}  // namespace orb8
