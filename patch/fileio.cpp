#include "patch/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
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

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

FileResult Refuse(const std::string& path, const std::string& why) {
    FileResult r;
    r.problem = FileProblem::NotAFile;
    r.path = path;
    r.reason = why;
    return r;
}

// A file size limit must give a write error, not end the program. Only the
// default action is replaced: a handler the program installed stays.
void IgnoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, nullptr);
    }
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
    r.size = S_ISREG(st.st_mode) ? std::max<std::uintmax_t>(static_cast<std::uintmax_t>(st.st_size), got) : got;
    return r;
}

FileResult SaveTarget(const std::string& path, std::string& target, bool& exists) {
    target = path;
    exists = false;
    FileResult ok;
    ok.path = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        if (errno == ENOENT) return ok;  // a new file (a missing folder fails when writing)
        return Fail(FileProblem::WriteFailed, path, errno);
    }
    if (!S_ISLNK(link.st_mode)) {
        if (!S_ISREG(link.st_mode)) return Refuse(path, std::string("it is ") + KindOf(link.st_mode) + ", not a file");
        exists = true;
        return ok;
    }
    struct stat end {};
    if (::stat(path.c_str(), &end) != 0) {
        if (errno == ELOOP) return Refuse(path, "it is a loop of symbolic links");
        if (errno == ENOENT) return Refuse(path, "it is a symbolic link to nothing");
        return Fail(FileProblem::WriteFailed, path, errno);
    }
    if (!S_ISREG(end.st_mode))
        return Refuse(path, std::string("it is a symbolic link to ") + KindOf(end.st_mode) + ", not to a file");
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return Fail(FileProblem::WriteFailed, path, errno);
    target.assign(real);
    std::free(real);
    exists = true;
    return ok;
}

std::string WhyNotWritable(const std::string& path, bool replaceExisting) {
    if (path.empty()) return "an empty file name can't be written";
    std::string target;
    bool exists = false;
    const FileResult r = SaveTarget(path, target, exists);
    if (!r.ok()) return path + " can't be written: " + r.reason;
    if (exists && !replaceExisting) return path + " already exists (use --force to replace it)";
    const std::string folder = FolderOf(target);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return path + " can't be written: the folder " + folder + " does not exist";
    return {};
}

FileResult WriteFileAtomically(const std::string& requested, std::span<const std::uint8_t> bytes) {
    IgnoreFileSizeSignal();
    std::string path;
    bool exists = false;
    if (FileResult r = SaveTarget(requested, path, exists); !r.ok()) return r;
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        FileResult r = Fail(FileProblem::WriteFailed, path, errno);
        r.previousKept = exists;
        return r;
    }
    temp.assign(name.data());

    // Keep the old file's owner, group and permissions (the owner first: a
    // change of owner clears the set-id bits); a new file gets the usual ones.
    struct stat st {};
    mode_t mode = 0;
    if (exists && ::stat(path.c_str(), &st) == 0) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Not allowed (not root): at least the group, where we belong to it.
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
        }
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
        FileResult r = Fail(FileProblem::WriteFailed, path, error);
        r.previousKept = exists;
        return r;
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

std::string FillForm(const std::string& text, const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < args.size()) {
            out += args[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

MessageForm FileMessageForm(const FileResult& r, const std::string& kindName) {
    const std::string size = std::to_string(r.size);
    const std::string expected = std::to_string(r.expected);
    switch (r.problem) {
        case FileProblem::None: return {};
        case FileProblem::CannotOpen:
        case FileProblem::ReadFailed:
            // The reason, where the system gives one, on a line of its own.
            if (r.reason.empty()) return {"%1can't be opened.", nullptr, {r.path}};
            return {"%1can't be opened.\n%2.", nullptr, {r.path, r.reason}};
        case FileProblem::WrongSize:
            return {"%1 is not a %2: it has %3 bytes, a %2 has %4. Nothing was loaded.", nullptr,
                    {r.path, kindName, size, expected}};
        case FileProblem::TooLong:
            return {"%1 is longer than a %2: it has %3 bytes, a %2 has %4. Nothing was loaded.", nullptr,
                    {r.path, kindName, size, expected}};
        case FileProblem::Short:
            return {"%1 ends early: it has %2 of %3 bytes. The rest keeps the contents of a new document.", nullptr,
                    {r.path, size, expected}};
        case FileProblem::WriteFailed:
            if (r.previousKept) return {"%1 couldn't be saved: %2.\nThe previous file is unchanged.", nullptr, {r.path, r.reason}};
            return {"%1 couldn't be saved: %2.\nNothing was written.", nullptr, {r.path, r.reason}};
        case FileProblem::NotAFile:
            return {"%1 couldn't be saved: %2.\nNothing was written.", "not a file", {r.path, r.reason}};
    }
    return {};
}

std::string FileMessage(const FileResult& r, const std::string& kindName) {
    const MessageForm form = FileMessageForm(r, kindName);
    return FillForm(form.text, form.args);
}

std::string FileMessageLine(const FileResult& r, const std::string& kindName) {
    std::string message;
    if (r.problem == FileProblem::CannotOpen || r.problem == FileProblem::ReadFailed)
        message = r.path + " can't be opened" + (r.reason.empty() ? "." : ": " + r.reason + ".");
    else
        message = FileMessage(r, kindName);
    for (char& c : message) {
        if (c == '\n') c = ' ';
    }
    return message;
}

}  // namespace orb8
