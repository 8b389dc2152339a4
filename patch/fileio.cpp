#include "patch/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orb8 {
namespace {

std::string SystemReason(int error) { return std::strerror(error); }

FileResult Fail(FileProblem problem, const std::string& path, int error) {
    FileResult r;
    r.problem = problem;
    r.path = path;
    if (error) r.reason = SystemReason(error);
    return r;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A link is followed: the file it points to is replaced, the link stays.
std::string WriteTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;  // a dangling link: written as a new file in its place
    std::string target(real);
    std::free(real);
    return target;
}

}  // namespace

FileResult ReadFileBytes(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(FileProblem::CannotOpen, path, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Fail(FileProblem::CannotOpen, path, EISDIR);
    }
    out.resize(limit + 1);
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            out.clear();
            return Fail(FileProblem::ReadFailed, path, error);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(got);
    FileResult r;
    r.path = path;
    return r;
}

FileResult WriteFileAtomically(const std::string& requested, std::span<const std::uint8_t> bytes) {
    const std::string path = WriteTarget(requested);
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return Fail(FileProblem::WriteFailed, path, errno);
    temp.assign(name.data());

    // Keep the old file's permissions; a new file gets the usual ones.
    struct stat st {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    int error = 0;
    if (!WriteAll(fd, bytes.data(), bytes.size())) error = errno;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temp.c_str());
        return Fail(FileProblem::WriteFailed, path, error);
    }
    // Make the rename itself durable.
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    FileResult r;
    r.path = path;
    return r;
}

std::string FileMessage(const FileResult& r, bool japanese, const std::string& kindName) {
    const std::string size = std::to_string(r.size);
    const std::string expected = std::to_string(r.expected);
    switch (r.problem) {
        case FileProblem::None: return "";
        case FileProblem::CannotOpen:
        case FileProblem::ReadFailed:
            return r.path + (japanese ? "は開けませんでした。" : "can't be opened.");
        case FileProblem::WrongSize:
            return japanese ? r.path + "は" + kindName + "ではありません（" + size + "バイト、正しくは" + expected +
                                  "バイト）。何も読み込んでいません。"
                            : r.path + " is not a " + kindName + ": it has " + size + " bytes, a " + kindName +
                                  " has " + expected + ". Nothing was loaded.";
        case FileProblem::TooLong:
            return japanese ? r.path + "は" + kindName + "より長いファイルです（" + size + "バイト以上、正しくは" +
                                  expected + "バイト）。何も読み込んでいません。"
                            : r.path + " is longer than a " + kindName + " (" + expected +
                                  " bytes). Nothing was loaded.";
        case FileProblem::Short:
            return japanese ? r.path + "は途中で終わっています（" + size + "バイト、正しくは" + expected +
                                  "バイト）。残りは新規の内容のままです。"
                            : r.path + " ends early: it has " + size + " of " + expected +
                                  " bytes. The rest keeps the contents of a new document.";
        case FileProblem::WriteFailed:
            return japanese ? r.path + "に保存できませんでした：" + r.reason + "\n元のファイルはそのままです。"
                            : r.path + " couldn't be saved: " + r.reason + "\nThe previous file is unchanged.";
    }
    return "";
}

}  // namespace orb8
