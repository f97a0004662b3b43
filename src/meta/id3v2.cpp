#include "meta/id3v2.h"

#include "base/paths.h"
#include "base/text.h"
#include "meta/id3v1.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace harlune {
namespace {

const char* const kMissing = " exisitiert nicht! (E200)";
const char* const kTooSmall = "Datei <= 200 Bytes! (E201)";
const char* const kHeaderReadFailed = "Fehler beim Lesen des Headers! (E202)";
const char* const kBadLength = "Fehler beim bestimmen der Tag-L\xE4nge! (E203)";
const char* const kTooLarge = "ID3v2-Tag ist gr\xF6\xDF"
                              "er 1 MB!";
const char* const kIncomplete = "ID3v2-Tag konnte nicht vollst\xE4ndig gelesen werden!";
const char* const kTmpCreateFailed = "Fehler beim anlegen von TMP-Datei! (E204)";
const char* const kSourceReadFailed = "Fehler beim Lesen der Quelldatei! (E205)";
const char* const kTargetWriteFailed = "Fehler beim Schreiben der Zieldatei! (E206)";
const char* const kTmpRemoveFailed = "Fehler beim entfernen der TMP-Datei! (E207)";
const char* const kReadException = "(E208)";
const char* const kWriteException = "(E209,New)";
const char* const kRemoveException = "(E209,Kill)";
// Raised (and reported with the catch-all code) when the fields do not fit into a tag that can
// be read back completely.
const char* const kNewTagTooLarge = "Der neue ID3v2-Tag ist gr\xF6\xDF"
                                    "er 1 MB!";

constexpr int64_t kMinimumFileSize = 201; // files of 200 bytes or less are refused
constexpr size_t kHeaderSize = 10;
constexpr size_t kFrameHeaderSize = 10;
constexpr size_t kCopyChunk = 1024001;
constexpr size_t kPadding = 30;

RewriteStepHook rewriteHook = nullptr;

void step(std::string_view name) {
    if (rewriteHook)
        rewriteHook(name);
}

// The size field of the tag header: four bytes of 7 bits each, most significant first.
int64_t synchsafeSize(std::string_view header) {
    int64_t size = 0;
    for (size_t i = 6; i < 10; ++i)
        size = (size << 7) | (static_cast<unsigned char>(header[i]) & 0x7F);
    return size;
}

std::string synchsafeBytes(uint32_t size) {
    std::string out(4, '\0');
    for (int i = 3; i >= 0; --i) {
        out[static_cast<size_t>(i)] = static_cast<char>(size & 0x7F);
        size >>= 7;
    }
    return out;
}

std::string bigEndian32(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string fileMissing(std::string_view name) {
    return "Datei " + std::string(name) + kMissing;
}

std::string* fieldOf(TID3v2Tag& tag, std::string_view id) {
    struct Binding {
        const char* id;
        std::string TID3v2Tag::*field;
    };
    static const Binding bindings[] = {
        {"TRCK", &TID3v2Tag::Track},         {"TIT2", &TID3v2Tag::Title},
        {"TPE1", &TID3v2Tag::Artist},        {"TALB", &TID3v2Tag::Album},
        {"TYER", &TID3v2Tag::Year},          {"TCON", &TID3v2Tag::Genre},
        {"COMM", &TID3v2Tag::Comment},       {"TOPE", &TID3v2Tag::OrigArtist},
        {"TCOM", &TID3v2Tag::Composer},      {"WXXX", &TID3v2Tag::Url},
        {"TCOP", &TID3v2Tag::CopyrightInfo}, {"TENC", &TID3v2Tag::EncodedBy},
        {"PRIV", &TID3v2Tag::Priv},
    };
    for (const auto& b : bindings)
        if (id == b.id)
            return &(tag.*b.field);
    return nullptr;
}

// One complete frame: the value its data gives, stored in the field of its identifier.
void processFrame(TID3v2Tag& tag, std::string_view rawId, std::string data, bool compressed) {
    for (char& c : data)
        if (c == '\0')
            c = ' ';
    const std::string id = trim(rawId);
    if (id == "WXXX" && data.size() > 2) {
        data[0] = data[1] = ' '; // encoding byte and the empty description's terminator
    } else if (id == "COMM" && data.size() > 5) {
        for (size_t i = 0; i < 5; ++i) // encoding, language, empty description's terminator
            data[i] = ' ';
    } else if (id == "PRIV" && data.size() > 1) {
        data[0] = ' '; // the empty owner identifier's terminator
    } else if (id == "TCON" && data.size() > 4) {
        // A leading numeric reference such as "(17)" is dropped, the rest kept.
        size_t close = data.find(')');
        if (close != std::string::npos) {
            data.erase(0, close);
            data[0] = ' ';
        }
    }
    std::string* field = fieldOf(tag, id);
    if (field)
        *field = compressed ? std::string() : CleanTagText(trim(data));
}

struct Fd {
    int fd = -1;
    Fd() = default;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    void reset() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

// Removes the work file when the rewrite does not get as far as renaming it.
struct WorkFile {
    std::string path; // file-system path; empty once renamed or never created
    ~WorkFile() {
        if (!path.empty())
            ::unlink(path.c_str());
    }
};

void syncFolder(const std::filesystem::path& file) {
    std::filesystem::path dir = file.parent_path();
    if (dir.empty())
        dir = ".";
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void setRewriteStepHook(RewriteStepHook hook) {
    rewriteHook = hook;
}

void TID3v2Tag::clearFields() {
    for (std::string* f : {&Track, &Title, &Artist, &Album, &Year, &Genre, &Comment, &OrigArtist,
                           &Composer, &Url, &CopyrightInfo, &EncodedBy, &Priv})
        f->clear();
}

bool TID3v2Tag::ReadTag(std::string_view fileName) {
    clearFields();
    ErrorText.clear();
    return readOpenedFile(fileName, ErrorText, fileMissing(fileName), kReadException,
                          [this](ByteSource& file) { return ReadTag(file); });
}

bool TID3v2Tag::ReadTag(ByteSource& source) {
    clearFields();
    ErrorText.clear();
    if (source.size() < kMinimumFileSize) {
        ErrorText = kTooSmall;
        return false;
    }
    const std::string header = source.read(0, kHeaderSize);
    if (header.size() < kHeaderSize) {
        ErrorText = kHeaderReadFailed;
        return false;
    }
    if (header.compare(0, 3, "ID3") != 0)
        return true;

    int64_t length = synchsafeSize(header) + static_cast<int64_t>(kHeaderSize);
    if (length < 0) {
        ErrorText = kBadLength;
        return false;
    }
    if (length > kId3v2ReadLimit) {
        ErrorText = kTooLarge;
        length = kId3v2ReadLimit;
    }
    const size_t wanted = static_cast<size_t>(length) - kHeaderSize;
    const std::string body = source.read(static_cast<int64_t>(kHeaderSize), wanted);
    if (body.size() < wanted)
        ErrorText = kIncomplete;

    // Frames: 4 identifier bytes, 4 size bytes (big-endian), 2 flag bytes, then the data. A
    // frame of size 0 has no data (zero padding is passed over that way); a frame cut short by
    // the end of the body is dropped.
    size_t pos = 0;
    while (body.size() - pos >= kFrameHeaderSize) {
        const std::string_view id(body.data() + pos, 4);
        uint32_t size = 0;
        for (size_t i = 4; i < 8; ++i)
            size = (size << 8) | static_cast<unsigned char>(body[pos + i]);
        const bool compressed = static_cast<unsigned char>(body[pos + 9]) >= 128;
        pos += kFrameHeaderSize;
        if (size == 0)
            continue;
        if (size > body.size() - pos)
            break;
        processFrame(*this, id, body.substr(pos, size), compressed);
        pos += size;
    }
    return true;
}

std::string buildId3v2Tag(const TID3v2Tag& tag) {
    struct Frame {
        const char* id;
        const std::string* text;
        const char* prefix;
        size_t prefixLength;
    };
    const Frame frames[] = {
        {"TIT2", &tag.Title, "\0", 1},         {"TPE1", &tag.Artist, "\0", 1},
        {"TALB", &tag.Album, "\0", 1},         {"TYER", &tag.Year, "\0", 1},
        {"TCON", &tag.Genre, "\0", 1},         {"TRCK", &tag.Track, "\0", 1},
        {"TOPE", &tag.OrigArtist, "\0", 1},    {"TCOM", &tag.Composer, "\0", 1},
        {"WXXX", &tag.Url, "\0\0", 2},         {"COMM", &tag.Comment, "\0ENG\0", 5},
        {"TCOP", &tag.CopyrightInfo, "\0", 1}, {"TENC", &tag.EncodedBy, "\0", 1},
        {"PRIV", &tag.Priv, "\0", 1},
    };
    std::string out;
    for (const auto& f : frames) {
        const std::string text = trim(*f.text);
        if (text.empty())
            continue;
        std::string data = std::string(f.prefix, f.prefixLength) + text;
        out += f.id;
        out += bigEndian32(static_cast<uint32_t>(data.size()));
        out.append(2, '\0');
        out += data;
    }
    if (out.empty())
        return out;
    out.append(kPadding, '\0');
    const size_t total = out.size() + kHeaderSize;
    std::string header("ID3\x03\x00\x00", 6);
    // Sizes beyond 28 bits cannot be written; such a tag is refused by the write anyway.
    header += synchsafeBytes(static_cast<uint32_t>(std::min<size_t>(total - 10, 0x0FFFFFFF)));
    return header + out;
}

bool TID3v2Tag::WriteTag(std::string_view fileName) {
    return rewrite(fileName, true);
}

bool TID3v2Tag::RemoveTag(std::string_view fileName) {
    return rewrite(fileName, false);
}

bool TID3v2Tag::rewrite(std::string_view fileName, bool writeNewTag) {
    namespace fs = std::filesystem;
    const char* exceptionCode = writeNewTag ? kWriteException : kRemoveException;
    ErrorText.clear();
    try {
        struct stat st {};
        if (fileName.empty() || ::stat(fsPath(fileName).c_str(), &st) != 0) {
            ErrorText = fileMissing(fileName);
            return false;
        }
        makeOwnerWritable(fileName);
        Fd in(::open(fsPath(fileName).c_str(), O_RDONLY | O_CLOEXEC));
        if (in.fd < 0)
            throw std::runtime_error(std::strerror(errno));
        if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
            throw std::runtime_error(std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
        const int64_t fileSize = st.st_size;
        if (fileSize < kMinimumFileSize) {
            ErrorText = kTooSmall;
            return false;
        }
        char header[kHeaderSize];
        if (preadFully(in.fd, 0, header, kHeaderSize) < kHeaderSize) {
            ErrorText = kHeaderReadFailed;
            return false;
        }

        int64_t oldLength = 0;
        if (std::memcmp(header, "ID3", 3) == 0) {
            oldLength = synchsafeSize(std::string_view(header, kHeaderSize)) +
                        static_cast<int64_t>(kHeaderSize);
            if (oldLength < 0) {
                ErrorText = kBadLength;
                return false;
            }
        } else if (!writeNewTag) {
            return true; // nothing to remove
        }

        std::string newTag;
        if (writeNewTag) {
            for (std::string* f : {&Track, &Title, &Artist, &Album, &Year, &Genre, &Comment,
                                   &OrigArtist, &Composer, &Url, &CopyrightInfo, &EncodedBy, &Priv})
                *f = trim(*f);
            newTag = buildId3v2Tag(*this);
            if (static_cast<int64_t>(newTag.size()) > kId3v2ReadLimit)
                throw std::runtime_error(kNewTagTooLarge);
        }
        if (oldLength == 0 && newTag.empty())
            return true; // no tag before, none after: the file stays as it is

        // Work on the file a link points to, so the link stays a link.
        fs::path target = fsPath(fileName);
        std::error_code ec;
        if (fs::is_symlink(target, ec)) {
            fs::path resolved = fs::canonical(target, ec);
            if (!ec)
                target = resolved;
        }
        WorkFile work;
        const std::string tmpPath = target.native() + ".tmp";
        ::unlink(tmpPath.c_str()); // an old work file is replaced
        Fd out(::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.fd < 0) {
            ErrorText = kTmpCreateFailed;
            return false;
        }
        work.path = tmpPath;
        ::fchmod(out.fd, st.st_mode & 07777);
        step("work file created");

        if (!writeFully(out.fd, newTag.data(), newTag.size())) {
            ErrorText = kTargetWriteFailed;
            return false;
        }
        step("tag written");

        std::vector<char> buffer(kCopyChunk);
        for (int64_t pos = oldLength; pos < fileSize;) {
            const size_t want = static_cast<size_t>(std::min<int64_t>(fileSize - pos, kCopyChunk));
            if (preadFully(in.fd, pos, buffer.data(), want) < want) {
                ErrorText = kSourceReadFailed;
                return false;
            }
            if (!writeFully(out.fd, buffer.data(), want)) {
                ErrorText = kTargetWriteFailed;
                return false;
            }
            pos += static_cast<int64_t>(want);
            step("chunk written");
        }
        if (::fsync(out.fd) != 0) {
            ErrorText = kTargetWriteFailed;
            return false;
        }
        const int closed = ::close(out.fd);
        out.fd = -1;
        if (closed != 0) {
            ErrorText = kTargetWriteFailed;
            return false;
        }
        step("work file flushed");

        if (::rename(tmpPath.c_str(), target.c_str()) != 0) {
            ErrorText = kTmpRemoveFailed;
            return false;
        }
        work.path.clear();
        syncFolder(target);
        step("replaced");
        return true;
    } catch (const std::exception& e) {
        ErrorText = std::string(e.what()) + exceptionCode;
        return false;
    }
}

} // namespace harlune
