#include "library/scanlock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace orb8::library {

ScanLock::ScanLock(const std::string& databasePath) {
    if (databasePath != ":memory:") fd_ = ::open((databasePath + "-scanlock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

ScanLock::~ScanLock() {
    if (fd_ >= 0) ::close(fd_);  // releases the lock
}

void ScanLock::HoldShared() {
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_SH) != 0 && errno == EINTR) {
    }
}

bool ScanLock::TryExclusive() {
    if (fd_ < 0) return true;
    return ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace orb8::library
