// A lock beside the library's database that a program holds while its big
// scan has the word index marked stale. The system drops it when its holder
// ends, however it ends: a stale mark that no program holds is a scan that
// crashed, and only then is the index rebuilt.
#pragma once

#include <string>

namespace orb8::library {

class ScanLock {
public:
    // The lock file is "<database>-scanlock"; it is made when missing.
    explicit ScanLock(const std::string& databasePath);
    ~ScanLock();
    ScanLock(const ScanLock&) = delete;
    ScanLock& operator=(const ScanLock&) = delete;

    // Held by a scan: several scans may hold it at once. Waits for a
    // program that holds it exclusively (a rebuild) to finish.
    void HoldShared();
    // True when no other program holds it (it is held exclusively then);
    // also true when no lock file can be made (nothing to tell otherwise).
    bool TryExclusive();

private:
    int fd_ = -1;
};

}  // namespace orb8::library
