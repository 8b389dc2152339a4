#include "workspace/recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "patch/fileio.h"

namespace orb8 {

std::chrono::milliseconds RecoveryWriteDelay(std::chrono::steady_clock::duration sinceLastWrite) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(kRecoveryInterval - sinceLastWrite);
    return std::max(kRecoverySettle, left);
}

namespace {

namespace fs = std::filesystem;

constexpr char kMagic[] = "ORB8ED RECOVERY 1\n";
constexpr std::size_t kMagicBytes = sizeof(kMagic) - 1;
constexpr std::size_t kMaxString = 16384;
constexpr std::size_t kMaxPayload = 1 << 20;
constexpr std::size_t kMaxRecordFile = kMaxPayload + 2 * kMaxString + 64;
constexpr const char* kRecordExt = ".rec";
constexpr const char* kLockExt = ".lock";
constexpr const char* kTempExt = ".tmp";

// The standard CRC-32 (zlib's): a record's tail checks its body.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(::crc32_z(0, bytes.data(), bytes.size()));
}

void PutInt(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutString(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> text) {
    PutInt(out, text.size(), 4);
    out.insert(out.end(), text.begin(), text.end());
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Int(std::uint64_t& value, int count) {
        if (bytes_.size() - pos_ < static_cast<std::size_t>(count)) return false;
        value = 0;
        for (int i = 0; i < count; ++i) value |= static_cast<std::uint64_t>(bytes_[pos_++]) << (8 * i);
        return true;
    }
    bool Bytes(std::vector<std::uint8_t>& out, std::size_t limit) {
        std::uint64_t size = 0;
        if (!Int(size, 4) || size > limit || size > bytes_.size() - pos_) return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + size));
        pos_ += size;
        return true;
    }
    bool Text(std::string& out) {
        std::vector<std::uint8_t> raw;
        if (!Bytes(raw, kMaxString)) return false;
        out.assign(raw.begin(), raw.end());
        return true;
    }
    std::size_t Pos() const { return pos_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// The names at the start of a record that does not decode (a damaged one),
// as far as they read; nothing else is trusted.
void PeekNames(std::span<const std::uint8_t> bytes, std::string& title, std::string& fileName) {
    if (bytes.size() < kMagicBytes || std::memcmp(bytes.data(), kMagic, kMagicBytes) != 0) return;
    Reader in(bytes.subspan(kMagicBytes));
    std::uint64_t kind = 0, time = 0;
    std::string file, name;
    if (!in.Int(kind, 1) || !in.Int(time, 8) || !in.Text(file) || !in.Text(name)) return;
    fileName = file;
    title = name;
}

bool EndsWith(const std::string& s, std::string_view end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The program a record, lock or temporary file belongs to: the name up to
// its last '-' (records and their temporaries) or its extension (locks).
std::string SessionOf(const std::string& name) {
    if (EndsWith(name, kLockExt)) return name.substr(0, name.size() - std::strlen(kLockExt));
    const auto dash = name.rfind('-');
    return dash == std::string::npos ? std::string() : name.substr(0, dash);
}

std::string NewSessionId() {
    std::random_device random;
    char text[48];
    std::snprintf(text, sizeof text, "s%ld_%08x%08x", static_cast<long>(::getpid()), random(), random());
    return text;
}

// Takes the lock at path; the file stays open (and locked) until fd is closed.
// The lock file of a program that ended is removed by others while they hold
// its lock, so a file that was replaced under us is locked anew.
int TakeLock(const std::string& path, std::string& problem) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            problem = std::strerror(errno);
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            problem = std::strerror(errno);
            ::close(fd);
            return -1;
        }
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            return fd;
        ::close(fd);
    }
    problem = "the lock file keeps being replaced";
    return -1;
}

}  // namespace

std::vector<std::uint8_t> EncodeRecoveryRecord(const RecoveryRecord& record) {
    std::vector<std::uint8_t> out(kMagic, kMagic + kMagicBytes);
    PutInt(out, static_cast<std::uint64_t>(record.kind), 1);
    PutInt(out, static_cast<std::uint64_t>(record.changedAtMs), 8);
    PutString(out, {reinterpret_cast<const std::uint8_t*>(record.fileName.data()), record.fileName.size()});
    PutString(out, {reinterpret_cast<const std::uint8_t*>(record.title.data()), record.title.size()});
    PutString(out, record.bytes);
    PutInt(out, Crc32(out), 4);
    return out;
}

std::optional<RecoveryRecord> DecodeRecoveryRecord(std::span<const std::uint8_t> bytes, std::string& why) {
    if (bytes.size() < kMagicBytes || std::memcmp(bytes.data(), kMagic, kMagicBytes) != 0) {
        why = "not a recovery record";
        return std::nullopt;
    }
    if (bytes.size() < kMagicBytes + 4) {
        why = "the record is cut short";
        return std::nullopt;
    }
    const auto body = bytes.first(bytes.size() - 4);
    std::uint64_t crc = 0;
    Reader tail(bytes.last(4));
    tail.Int(crc, 4);
    if (Crc32(body) != crc) {
        why = "the record is damaged (its checksum does not match)";
        return std::nullopt;
    }
    Reader in(body.subspan(kMagicBytes));
    RecoveryRecord record;
    std::uint64_t kind = 0, time = 0;
    if (!in.Int(kind, 1) || !in.Int(time, 8) || !in.Text(record.fileName) || !in.Text(record.title) ||
        !in.Bytes(record.bytes, kMaxPayload) || in.Pos() != body.size() - kMagicBytes) {
        why = "the record is damaged (its fields do not fit)";
        return std::nullopt;
    }
    if (kind != static_cast<std::uint64_t>(DocumentKind::Project) &&
        kind != static_cast<std::uint64_t>(DocumentKind::CustomDist)) {
        why = "the record holds an unknown kind of document";
        return std::nullopt;
    }
    record.kind = static_cast<DocumentKind>(kind);
    record.changedAtMs = static_cast<std::int64_t>(time);
    return record;
}

RecoveryFolder::RecoveryFolder(std::string folder) : folder_(std::move(folder)), session_(NewSessionId()) {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) {
        problem_ = error.message();
        return;
    }
    ::chmod(folder_.c_str(), 0700);  // documents are nobody else's business
    lockFd_ = TakeLock(folder_ + "/" + session_ + kLockExt, problem_);
}

RecoveryFolder::~RecoveryFolder() {
    if (lockFd_ >= 0) ::close(lockFd_);
}

std::string RecoveryFolder::RecordPath(int document) const {
    return folder_ + "/" + session_ + "-" + std::to_string(document) + kRecordExt;
}

bool RecoveryFolder::Write(int document, const RecoveryRecord& record) {
    if (!Usable()) return false;
    const std::vector<std::uint8_t> bytes = EncodeRecoveryRecord(record);
    const std::string path = RecordPath(document);
    const std::string temp = path + kTempExt;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

void RecoveryFolder::Remove(int document) {
    if (Usable()) ::unlink(RecordPath(document).c_str());
}

void RecoveryFolder::EndNormally() {
    if (!Usable()) return;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        if (SessionOf(name) == session_ && !EndsWith(name, kLockExt)) fs::remove(entry.path(), error);
    }
    ::unlink((folder_ + "/" + session_ + kLockExt).c_str());
    ::close(lockFd_);
    lockFd_ = -1;
}

bool RecoveryFolder::Running(const std::string& session) {
    if (session == session_) return true;
    const std::string path = folder_ + "/" + session + kLockExt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool running = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return running;
}

std::vector<LeftRecord> RecoveryFolder::LeftBehind() {
    std::vector<LeftRecord> found;
    if (!Usable()) return found;
    std::error_code error;
    std::map<std::string, bool> running;
    std::set<std::string> holding;  // programs that ended and still hold records
    std::vector<fs::path> leftovers;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        const std::string session = SessionOf(name);
        if (session.empty() || session == session_) continue;
        auto known = running.find(session);
        if (known == running.end()) known = running.emplace(session, Running(session)).first;
        if (known->second) continue;
        if (EndsWith(name, kRecordExt)) {
            holding.insert(session);
            LeftRecord left;
            left.path = entry.path().string();
            std::vector<std::uint8_t> bytes;
            const FileResult read = ReadFileBytes(left.path, kMaxRecordFile, bytes);
            if (!read.ok())
                left.problem = read.reason.empty() ? "the record cannot be read" : read.reason;
            else if (bytes.size() > kMaxRecordFile)
                left.problem = "the record is too long";
            else
                left.record = DecodeRecoveryRecord(bytes, left.problem);
            if (!left.record) PeekNames(bytes, left.title, left.fileName);
            found.push_back(std::move(left));
        } else if (EndsWith(name, kTempExt) || EndsWith(name, kLockExt)) {
            leftovers.push_back(entry.path());
        }
    }
    // A program that ended holds nothing but its records: its unfinished
    // temporaries go, and its lock once no record of it is left. The lock is
    // removed while held, so that a program starting under the same name
    // notices and takes a new one.
    for (const fs::path& path : leftovers) {
        const std::string name = path.filename().string();
        if (EndsWith(name, kTempExt)) {
            fs::remove(path, error);
            continue;
        }
        if (holding.count(SessionOf(name))) continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) fs::remove(path, error);
        ::close(fd);
    }
    // Readable records by the time of their last change, then the others.
    std::stable_sort(found.begin(), found.end(), [](const LeftRecord& a, const LeftRecord& b) {
        if (a.record.has_value() != b.record.has_value()) return a.record.has_value();
        const std::int64_t ta = a.record ? a.record->changedAtMs : 0, tb = b.record ? b.record->changedAtMs : 0;
        return ta != tb ? ta < tb : a.path < b.path;
    });
    return found;
}

void RecoveryFolder::Discard(const std::string& path) { ::unlink(path.c_str()); }

RecoveryWriter::RecoveryWriter(RecoveryFolder& folder) : folder_(folder), thread_([this] { Run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    pending_.Close();  // what waits is written first
    thread_.join();
}

void RecoveryWriter::Write(int document, RecoveryRecord record) {
    pending_.PushReplacing({document, std::move(record)}, [document](const Work& w) { return w.first == document; });
}

void RecoveryWriter::Remove(int document) {
    pending_.PushReplacing({document, std::nullopt}, [document](const Work& w) { return w.first == document; });
}

void RecoveryWriter::Flush() { pending_.WaitIdle(); }

int RecoveryWriter::Written() const { return written_; }

void RecoveryWriter::Run() {
    // A document waits at most once (a newer word replaces the waiting one).
    for (std::vector<Work> work = pending_.PopAll(); !work.empty(); work = pending_.PopAll()) {
        for (auto& [document, record] : work) {
            if (!record) folder_.Remove(document);
            else if (folder_.Write(document, *record)) ++written_;
        }
        pending_.Done();
    }
}

}  // namespace orb8
