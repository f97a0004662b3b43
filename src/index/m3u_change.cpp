#include "index/m3u_change.h"

#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/block_line_reader.h"
#include "index/fields.h"
#include "index/index_files.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace harlune {

namespace {

constexpr const char* kChangedTitlePrefix = "#EXTINF:0,";
constexpr const char* kNoTrack = "-";
constexpr const char* kNotRated = "0";

bool isBlank(std::string_view text) {
    return trimView(text).empty();
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// A field text without the bytes that would end the field or the line early.
std::string recordField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != kFieldSeparator && c != '\r' && c != '\n')
            out += c;
    }
    return out;
}

bool isPositiveInteger(std::string_view text) {
    return toIntDef(text, 0) > 0;
}

// Writes a work file line by line (CR LF) through a large buffer, then makes it durable.
class WorkFile {
public:
    // Creates the file anew (a leftover of an earlier call is removed first), with the access
    // rights of `original` so that replacing the original keeps them.
    bool create(const std::string& path, const std::string& original) {
        path_ = path;
        const fs::path target = fsPath(path);
        ::unlink(target.c_str());
        file_.reset(std::fopen(target.c_str(), "wb"));
        if (!file_)
            return false;
        buffer_.resize(1 << 20);
        std::setvbuf(file_.get(), buffer_.data(), _IOFBF, buffer_.size());
        struct stat st {};
        if (::stat(fsPath(original).c_str(), &st) == 0)
            ::fchmod(::fileno(file_.get()), st.st_mode & 07777);
        return true;
    }
    void line(std::string_view text) {
        ok_ = ok_ && std::fwrite(text.data(), 1, text.size(), file_.get()) == text.size() &&
              std::fwrite("\r\n", 1, 2, file_.get()) == 2;
    }
    // Flushes, syncs and closes the file; false when any write failed.
    bool finish() {
        if (!file_)
            return false;
        ok_ = std::fflush(file_.get()) == 0 && ok_;
        ok_ = ::fsync(::fileno(file_.get())) == 0 && ok_;
        ok_ = std::fclose(file_.release()) == 0 && ok_;
        return ok_;
    }
    // Closes (when still open) and deletes the file.
    void discard() {
        file_.reset();
        std::error_code ec;
        fs::remove(fsPath(path_), ec);
    }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string path_;
    std::vector<char> buffer_;
    std::unique_ptr<std::FILE, Closer> file_;
    bool ok_ = true;
};

void removeFile(const std::string& path) {
    std::error_code ec;
    fs::remove(fsPath(path), ec);
}

// Makes the renames in a folder durable.
void syncFolder(const std::string& filePath) {
    std::string folder = folderPart(filePath);
    int fd = ::open(fsPath(folder.empty() ? "." : folder).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

struct Target {
    size_t position = 0; // number of the entry's path line (from 1); 0: not found
    bool exact = false;  // the path matched byte for byte
};

bool matches(std::string_view line, std::string_view path, bool exact) {
    return exact ? line == path : equalsIgnoringAsciiCase(line, path);
}

} // namespace

std::string newAlbumRecord(const AlbumRecordSource& shown, std::string_view isoDate) {
    std::string album;
    if (!isBlank(shown.id3v1Album))
        album = shown.id3v1Album;
    if (!isBlank(shown.id3v2Album))
        album = shown.id3v2Album;
    std::string track = kNoTrack;
    if (isPositiveInteger(shown.id3v2Track))
        track = shown.id3v2Track;
    else if (isPositiveInteger(shown.id3v1Track))
        track = shown.id3v1Track;

    const std::string fields[kAlbumFieldCount] = {
        album,
        shown.laenge,
        shown.version,
        shown.layer,
        shown.modus,
        shown.samplingrate,
        shown.bitrate,
        " ",
        shown.rated ? std::to_string(shown.rating) : std::string(kNotRated),
        shown.group,
        std::string(isoDate),
        track,
    };
    std::string record;
    for (const std::string& field : fields) {
        record += recordField(field);
        record += kFieldSeparator;
    }
    return record;
}

AlbumRecordSource albumRecordSourceFrom(const FileInfo& info) {
    AlbumRecordSource s;
    s.id3v1Album = info.id3v1.Album;
    s.id3v2Album = info.id3v2.Album;
    const HeaderInfo& h = info.header;
    // The length field holds "m:ss" or, when the length is unknown, "??".
    s.laenge = h.Laenge.find(':') != std::string::npos ? h.Laenge : std::string("??");
    s.version = h.MPEGAudioversion;
    s.layer = h.Layer;
    s.modus = h.mode;
    s.samplingrate = h.samplingrate;
    s.bitrate = h.Bitrate;
    s.rated = info.rating > 0;
    s.rating = info.rating;
    s.group = info.group;
    s.id3v1Track = info.id3v1.Track;
    s.id3v2Track = info.id3v2.Track;
    return s;
}

IndexFileOps IndexFileOps::system() {
    IndexFileOps ops;
    ops.rename = [](const std::string& from, const std::string& to) {
        return std::rename(fsPath(from).c_str(), fsPath(to).c_str()) == 0;
    };
    ops.keep = [](const std::string& from, const std::string& to) {
        const fs::path source = fsPath(from), target = fsPath(to);
        std::error_code ec;
        fs::remove(target, ec);
        if (::link(source.c_str(), target.c_str()) == 0)
            return true;
        // File systems without hard links: a copy serves as well.
        return fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec) && !ec;
    };
    return ops;
}

bool IndexRewriter::M3Uchange(std::string_view listPathIn, std::string_view currentPath,
                              std::string_view newTitle, std::string_view newPath,
                              const AlbumRecordSource& shown) {
    lastWrittenRecord_.clear();
    auto internalError = [&](const char* reason) {
        dialogs_.error(std::string(kInternalErrorText) + reason);
        return false;
    };
    if (isBlank(listPathIn))
        return internalError(kNoListFileReason);
    if (isBlank(currentPath))
        return internalError(kNoCurrentPathReason);

    const std::string listPath(listPathIn);
    if (!fileExists(listPath)) {
        dialogs_.error(kListFileMissingText);
        return false;
    }
    // The album file is found whatever the letter case of its name, as the index reader finds it.
    std::string albumPath;
    if (listPath.size() > 4) {
        bool ambiguous = false;
        std::optional<std::string> found = findCaseVariant(albumFileFor(listPath), &ambiguous);
        if (ambiguous) {
            dialogs_.error(albumFileFor(listPath) + kAmbiguousText);
            return false;
        }
        if (found)
            albumPath = *found;
    }
    std::error_code sameError;
    if (albumPath.empty() || fs::equivalent(fsPath(listPath), fsPath(albumPath), sameError)) {
        dialogs_.error(kAlbumFileMissingText);
        return false;
    }

    const bool newTitleGiven = !isBlank(newTitle);
    const bool newPathGiven = !isBlank(newPath);
    const bool deleting = !newTitleGiven && !newPathGiven;
    // A line break would split the entry's line in two and shift every album record after it.
    if ((newTitleGiven && hasLineBreak(newTitle)) || (newPathGiven && hasLineBreak(newPath)))
        return internalError(kLineBreakReason);

    auto cannotOpen = [&](const std::string& path) {
        dialogs_.warning(kCannotOpenText + path + kCannotOpenEndText);
        return false;
    };
    auto readFailed = [&](const std::string& path) {
        dialogs_.warning(kReadErrorText + path + kReadErrorEndText);
        return false;
    };

    // Locating pass: the number of the entry's path line. Title lines are recognised as the
    // index reader recognises them, so that the count agrees with the album records it pairs.
    Target target;
    {
        BlockLineReader list;
        if (!list.open(listPath))
            return cannotOpen(listPath);
        std::string_view line;
        list.next(line); // header
        size_t pathLines = 0;
        while (list.next(line)) {
            if (isTitleLine(line))
                continue;
            ++pathLines;
            if (line == currentPath) {
                target = {pathLines, true};
                break;
            }
            // Here two files may differ only in case: an exact match further on is preferred.
            if (target.position == 0 && equalsIgnoringAsciiCase(line, currentPath))
                target = {pathLines, false};
        }
        if (list.failed())
            return readFailed(listPath);
    }
    if (target.position == 0)
        return internalError(kEntryNotFoundReason);

    // Copy pass into the work files.
    const std::string listWork = listPath + kWorkFileSuffix;
    const std::string albumWork = albumPath + kWorkFileSuffix;
    BlockLineReader list, album;
    if (!list.open(listPath))
        return cannotOpen(listPath);
    if (!album.open(albumPath))
        return cannotOpen(albumPath);
    WorkFile listOut, albumOut;
    auto writeFailed = [&](const std::string& path) {
        listOut.discard();
        albumOut.discard();
        dialogs_.warning(kWriteFailedText + path);
        return false;
    };
    if (!listOut.create(listWork, listPath))
        return writeFailed(listWork);
    if (!albumOut.create(albumWork, albumPath))
        return writeFailed(albumWork);

    std::string_view line, record;
    if (list.next(line))
        listOut.line(line);
    if (album.next(record))
        albumOut.line(record);

    std::string newRecord;
    if (!deleting)
        newRecord = newAlbumRecord(shown, formatDateISO(fromDays(clock_.now())));
    bool copied = false;
    bool albumLeft = true; // an album file shorter than its list file keeps its shortage
    size_t pathLines = 0;
    while (list.next(line)) {
        if (isTitleLine(line)) {
            // Title lines directly before the target's path line are the target's.
            bool targetsTitle = pathLines + 1 == target.position;
            if (!targetsTitle || (!deleting && !newTitleGiven))
                listOut.line(line);
            continue;
        }
        ++pathLines;
        bool haveRecord = albumLeft && album.next(record);
        albumLeft = haveRecord;
        if (pathLines != target.position) {
            listOut.line(line);
            if (haveRecord)
                albumOut.line(record);
            continue;
        }
        // The list file changed since the locating pass: change nothing.
        if (!matches(line, currentPath, target.exact))
            break;
        copied = true;
        if (deleting)
            continue;
        if (newTitleGiven)
            listOut.line(kChangedTitlePrefix + std::string(newTitle));
        listOut.line(newPathGiven ? newPath : line);
        albumOut.line(newRecord);
    }
    if (!copied) {
        listOut.discard();
        albumOut.discard();
        return internalError(kEntryNotCopiedReason);
    }
    // Lines the album file holds beyond the list's path lines (trailing blank lines) stay.
    while (album.next(record))
        albumOut.line(record);
    if (list.failed() || album.failed()) {
        listOut.discard();
        albumOut.discard();
        return readFailed(list.failed() ? listPath : albumPath);
    }
    list.close();
    album.close();
    if (!listOut.finish())
        return writeFailed(listWork);
    if (!albumOut.finish())
        return writeFailed(albumWork);

    // Replacing. The old list file keeps a second name until both work files are in place, so
    // that the list file can be put back when the album file cannot be replaced.
    const std::string listKept = listPath + kKeptListSuffix;
    auto renameFailed = [&](const std::string& work) {
        removeFile(listWork);
        removeFile(albumWork);
        dialogs_.warning(kRenameFailedText + work);
        return false;
    };
    if (!ops_.keep(listPath, listKept))
        return renameFailed(listWork);
    if (!ops_.rename(listWork, listPath)) {
        removeFile(listKept);
        return renameFailed(listWork);
    }
    if (!ops_.rename(albumWork, albumPath)) {
        // Should even this fail, the old list file stays under its second name.
        ops_.rename(listKept, listPath);
        syncFolder(listPath);
        return renameFailed(albumWork);
    }
    removeFile(listKept);
    syncFolder(listPath);
    lastWrittenRecord_ = std::move(newRecord);
    return true;
}

} // namespace harlune
