#include "platform/instance_lock.h"

#include "base/cp1252.h"
#include "base/paths.h"
#include "platform/user_name.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace harlune {
namespace {

// Keeps the file name harmless whatever the user name holds.
std::string fileNameSafe(std::string_view name) {
    std::string out;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        out += plain ? c : '_';
    }
    return out;
}

} // namespace

std::string defaultInstanceLockPath() {
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        folder = utf8ToCp1252(runtime);
    } else {
        std::error_code ec;
        std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
        folder = ec ? std::string("/tmp") : fromFsPath(temp);
    }
    std::string user = fileNameSafe(Benutzername());
    if (user.empty())
        user = std::to_string(geteuid());
    return joinPath(folder, "Harlune-" + user + ".lock");
}

InstanceLock::InstanceLock(std::string path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() {
    release();
}

bool InstanceLock::tryAcquire() {
    if (fd_ >= 0)
        return true;
    error_.clear();
    // O_NOFOLLOW: in a shared temporary folder another user could plant a link by this name.
    int fd = ::open(fsPath(path_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = std::strerror(errno);
        return true;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return false;
        error_ = std::strerror(err);
        return true;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::release() {
    if (fd_ < 0)
        return;
    // The file stays: removing it while another process waits to open it would let two
    // processes lock two different files of the same name.
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

} // namespace harlune
