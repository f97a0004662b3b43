#pragma once
// Only one instance of the program per user: the first process holds an exclusive lock on a
// per-user lock file for as long as it lives. The system drops the lock when the process ends
// in any way (also kill -9), so a crashed instance never blocks the next start.
#include <string>

namespace harlune {

// Shown by a second instance before it ends.
inline constexpr const char* kAlreadyRunningText = "Anwendung l\xE4uft bereits!";

// The lock file of the current user: $XDG_RUNTIME_DIR (else the temporary folder) +
// "/Harlune-" + user name + ".lock", as a Windows-1252 path.
std::string defaultInstanceLockPath();

class InstanceLock {
public:
    explicit InstanceLock(std::string path = defaultInstanceLockPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False only when another process (or another InstanceLock) holds the lock. When the lock
    // file cannot be opened at all the guard cannot work; the program may still start, so this
    // returns true with held() false and error() telling why.
    bool tryAcquire();
    void release();

    bool held() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    std::string path_;
    std::string error_;
    int fd_ = -1;
};

} // namespace harlune
