#include "tests/monkey/writeguard.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic<bool> armed{false};
std::atomic<int> violations{0};
char root[PATH_MAX];
std::size_t rootLength = 0;

bool Under(const char* path, const char* folder, std::size_t length) {
    return strncmp(path, folder, length) == 0 && (path[length] == '/' || path[length] == '\0');
}

// The absolute form of `path` as seen from directory `dirfd` (AT_FDCWD: the working folder).
void Absolute(int dirfd, const char* path, char* out, std::size_t size) {
    if (path[0] == '/') {
        snprintf(out, size, "%s", path);
        return;
    }
    char base[PATH_MAX] = "";
    if (dirfd == AT_FDCWD) {
        if (!getcwd(base, sizeof base)) base[0] = '\0';
    } else {
        char link[64];
        snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = readlink(link, base, sizeof base - 1);
        base[n > 0 ? n : 0] = '\0';
    }
    snprintf(out, size, "%s/%s", base, path);
}

void Check(int dirfd, const char* path, const char* what) {
    if (!armed.load(std::memory_order_relaxed) || !path) return;
    char full[2 * PATH_MAX];
    Absolute(dirfd, path, full, sizeof full);
    if (Under(full, root, rootLength) || Under(full, "/dev", 4) || Under(full, "/proc", 5) || Under(full, "/sys", 4))
        return;
    violations.fetch_add(1);
    char message[3 * PATH_MAX];
    const int n = snprintf(message, sizeof message, "gui monkey: %s outside the temporary folder: %s\n", what, full);
    if (n > 0) (void)!write(2, message, static_cast<std::size_t>(n) < sizeof message ? n : sizeof message - 1);
}

bool Writes(int flags) { return flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND); }
bool Writes(const char* mode) { return mode && strpbrk(mode, "wa+"); }

template <class F>
F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

mode_t ModeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

namespace writeguard {

void Arm(const std::string& folder) {
    snprintf(root, sizeof root, "%s", folder.c_str());
    rootLength = strlen(root);
    armed = true;
}
void Disarm() { armed = false; }
int Violations() { return violations.load(); }

}  // namespace writeguard

// Interposed for everything the process loads (Qt, fontconfig, the C++ library).
extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    if (Writes(flags)) Check(AT_FDCWD, path, "open for writing");
    static auto real = Real<int (*)(const char*, int, ...)>("open");
    return real(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    if (Writes(flags)) Check(AT_FDCWD, path, "open for writing");
    static auto real = Real<int (*)(const char*, int, ...)>("open64");
    return real(path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    if (Writes(flags)) Check(dirfd, path, "open for writing");
    static auto real = Real<int (*)(int, const char*, int, ...)>("openat");
    return real(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    if (Writes(flags)) Check(dirfd, path, "open for writing");
    static auto real = Real<int (*)(int, const char*, int, ...)>("openat64");
    return real(dirfd, path, flags, mode);
}

// The forms that fortified callers (_FORTIFY_SOURCE) reach.
int __open_2(const char* path, int flags) {
    if (Writes(flags)) Check(AT_FDCWD, path, "open for writing");
    static auto real = Real<int (*)(const char*, int)>("__open_2");
    return real(path, flags);
}

int __open64_2(const char* path, int flags) {
    if (Writes(flags)) Check(AT_FDCWD, path, "open for writing");
    static auto real = Real<int (*)(const char*, int)>("__open64_2");
    return real(path, flags);
}

int __openat_2(int dirfd, const char* path, int flags) {
    if (Writes(flags)) Check(dirfd, path, "open for writing");
    static auto real = Real<int (*)(int, const char*, int)>("__openat_2");
    return real(dirfd, path, flags);
}

int __openat64_2(int dirfd, const char* path, int flags) {
    if (Writes(flags)) Check(dirfd, path, "open for writing");
    static auto real = Real<int (*)(int, const char*, int)>("__openat64_2");
    return real(dirfd, path, flags);
}

int creat(const char* path, mode_t mode) {
    Check(AT_FDCWD, path, "create");
    static auto real = Real<int (*)(const char*, mode_t)>("creat");
    return real(path, mode);
}

FILE* fopen(const char* path, const char* mode) {
    if (Writes(mode)) Check(AT_FDCWD, path, "open for writing");
    static auto real = Real<FILE* (*)(const char*, const char*)>("fopen");
    return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
    if (Writes(mode)) Check(AT_FDCWD, path, "open for writing");
    static auto real = Real<FILE* (*)(const char*, const char*)>("fopen64");
    return real(path, mode);
}

int rename(const char* from, const char* to) {
    Check(AT_FDCWD, from, "rename");
    Check(AT_FDCWD, to, "rename");
    static auto real = Real<int (*)(const char*, const char*)>("rename");
    return real(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    Check(fromDir, from, "rename");
    Check(toDir, to, "rename");
    static auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    Check(fromDir, from, "rename");
    Check(toDir, to, "rename");
    static auto real = Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    return real(fromDir, from, toDir, to, flags);
}

int mkdir(const char* path, mode_t mode) {
    Check(AT_FDCWD, path, "make a folder");
    static auto real = Real<int (*)(const char*, mode_t)>("mkdir");
    return real(path, mode);
}

int unlink(const char* path) {
    Check(AT_FDCWD, path, "remove");
    static auto real = Real<int (*)(const char*)>("unlink");
    return real(path);
}

int remove(const char* path) {
    Check(AT_FDCWD, path, "remove");
    static auto real = Real<int (*)(const char*)>("remove");
    return real(path);
}

int rmdir(const char* path) {
    Check(AT_FDCWD, path, "remove");
    static auto real = Real<int (*)(const char*)>("rmdir");
    return real(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
    Check(dirfd, path, "remove");
    static auto real = Real<int (*)(int, const char*, int)>("unlinkat");
    return real(dirfd, path, flags);
}

}  // extern "C"
