#include "meta/byte_source.h"

#include "base/paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace harlune {
namespace {
// Enough for the ID3v2 header, the frame header of an untagged file and the first frames.
constexpr size_t kHeadSize = 4096;
} // namespace

std::string ByteSource::read(int64_t offset, size_t count) {
    // No buffer larger than what the source holds (a damaged size field may ask for much more).
    const int64_t available = std::max<int64_t>(size() - std::max<int64_t>(offset, 0), 0);
    count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), available));
    std::string out(count, '\0');
    out.resize(readAt(offset, out.data(), count));
    return out;
}

size_t MemorySource::readAt(int64_t offset, void* buffer, size_t count) {
    if (offset < 0 || offset >= size() || count == 0)
        return 0;
    size_t n = std::min(count, data_.size() - static_cast<size_t>(offset));
    std::memcpy(buffer, data_.data() + offset, n);
    return n;
}

FileSource::Open FileSource::openForReading(std::string_view path) {
    close();
    errorText_.clear();
    if (path.empty())
        return Open::Missing;
    fd_ = ::open(fsPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            return Open::Missing;
        errorText_ = std::strerror(err);
        return Open::Failed;
    }
    if (::fstat(fd_, &stat_) != 0) {
        errorText_ = std::strerror(errno);
        close();
        return Open::Failed;
    }
    if (S_ISDIR(stat_.st_mode)) {
        errorText_ = std::strerror(EISDIR);
        close();
        return Open::Failed;
    }
    if (S_ISREG(stat_.st_mode) && !(stat_.st_mode & S_IWUSR)) {
        // Read-only media refuse this; reading goes on regardless.
        if (::fchmod(fd_, (stat_.st_mode | S_IWUSR) & 07777) == 0)
            stat_.st_mode |= S_IWUSR;
    }
    if (!S_ISREG(stat_.st_mode))
        stat_.st_size = 0; // pipes and devices: nothing to seek in
    return Open::Ok;
}

void FileSource::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    head_.clear();
    headLoaded_ = false;
}

size_t FileSource::readAt(int64_t offset, void* buffer, size_t count) {
    if (fd_ < 0 || offset < 0 || count == 0)
        return 0;
    if (!headLoaded_ && offset < static_cast<int64_t>(kHeadSize)) {
        head_.resize(kHeadSize);
        head_.resize(preadFully(fd_, 0, head_.data(), kHeadSize));
        headLoaded_ = true;
    }
    if (headLoaded_ && offset + static_cast<int64_t>(count) <= static_cast<int64_t>(head_.size())) {
        std::memcpy(buffer, head_.data() + offset, count);
        return count;
    }
    return preadFully(fd_, offset, buffer, count);
}

size_t preadFully(int fd, int64_t offset, void* buffer, size_t count) {
    size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::pread(fd, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

bool writeFully(int fd, const void* buffer, size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    while (count > 0) {
        ssize_t n = ::write(fd, in, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        in += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

bool pwriteFully(int fd, int64_t offset, const void* buffer, size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    while (count > 0) {
        ssize_t n = ::pwrite(fd, in, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        in += n;
        offset += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace harlune
