#pragma once
// Random access to the bytes of an MP3 file. The tag and header readers work on a ByteSource, so
// that reading everything the index needs from one file opens it once, and so that the readers
// can be driven from a buffer in memory (fuzzing, tests).
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace harlune {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The size in bytes, taken when the source was opened.
    virtual int64_t size() const = 0;
    // Reads up to `count` bytes at `offset` into `buffer`; returns how many arrived. Fewer than
    // asked arrive at the end of the data or on a read error. Never reads past `buffer + count`.
    virtual size_t readAt(int64_t offset, void* buffer, size_t count) = 0;

    // Convenience: up to `count` bytes at `offset` as a string (shorter when fewer arrived).
    std::string read(int64_t offset, size_t count);
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view data) : data_(data) {}
    int64_t size() const override { return static_cast<int64_t>(data_.size()); }
    size_t readAt(int64_t offset, void* buffer, size_t count) override;

private:
    std::string_view data_;
};

// An open file. The first bytes are kept after the first read of them, since the tag, the
// header search and the ID3v2 check all look at the start of the file.
class FileSource final : public ByteSource {
public:
    enum class Open {
        Ok,
        Missing, // no such file (or an empty name)
        Failed,  // exists but cannot be opened (errorText holds the system's text)
    };

    FileSource() = default;
    ~FileSource() override { close(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Opens a core (Windows-1252) path read-only. A file that is not writable for its owner is
    // made so, as the tag readers always have done (the "archive attribute alone" of old).
    Open openForReading(std::string_view path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& errorText() const { return errorText_; }
    // The file's status as read at opening (size, modification time, mode).
    const struct stat& status() const { return stat_; }

    int64_t size() const override { return static_cast<int64_t>(stat_.st_size); }
    size_t readAt(int64_t offset, void* buffer, size_t count) override;

private:
    int fd_ = -1;
    struct stat stat_ {};
    std::string errorText_;
    std::string head_; // the first bytes of the file, once read
    bool headLoaded_ = false;
};

// Reads up to `count` bytes at `offset` from a file descriptor, retrying after interruptions.
size_t preadFully(int fd, int64_t offset, void* buffer, size_t count);
// Writes all bytes, retrying after interruptions; false on an error (errno set).
bool writeFully(int fd, const void* buffer, size_t count);
bool pwriteFully(int fd, int64_t offset, const void* buffer, size_t count);

// Opens `fileName` and hands it to `read`. A missing file sets `errorText` to `missingText`; a
// file that cannot be opened, or an exception while reading, to the system's text followed by
// `failureSuffix`.
template <class Read>
bool readOpenedFile(std::string_view fileName, std::string& errorText,
                    const std::string& missingText, std::string_view failureSuffix, Read&& read) {
    try {
        FileSource file;
        switch (file.openForReading(fileName)) {
        case FileSource::Open::Missing:
            errorText = missingText;
            return false;
        case FileSource::Open::Failed:
            errorText = file.errorText() + std::string(failureSuffix);
            return false;
        case FileSource::Open::Ok:
            break;
        }
        return read(file);
    } catch (const std::exception& e) {
        errorText = std::string(e.what()) + std::string(failureSuffix);
        return false;
    }
}

} // namespace harlune
