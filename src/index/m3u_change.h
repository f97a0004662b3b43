#pragma once
// Changing or deleting one entry of an index pair in place, after a file was renamed, moved,
// re-tagged or deleted.
//
// The entry is found by its path in the list file; new copies of the list file and the album file
// are written next to them ("x.M3U.TMP", "x.ALB.TMP") with the entry replaced or left out, and
// then put in place of the originals. Both copies are written completely and synced to disk
// before either original is replaced, and each is replaced by renaming over it, so that at every
// moment both names hold a complete file. When the second replacement fails, the first is undone,
// so that the pair on disk always matches.
#include "base/datetime.h"
#include "meta/tag_reader.h"
#include "platform/dialogs.h"

#include <functional>
#include <string>
#include <string_view>

namespace harlune {

// Messages. The internal-error texts are kInternalErrorText + one of the reasons.
inline constexpr const char* kInternalErrorText =
    "Es ist ein Softwareinterner Fehler beim \xC4ndern des MP3-Index aufgetreten !\n\r\n\r";
inline constexpr const char* kNoListFileReason = "(M3U Dateiinformation fehlen)";
inline constexpr const char* kNoCurrentPathReason = "(MP3 Dateiinformationen fehlen)";
inline constexpr const char* kEntryNotFoundReason = "(Index nicht gefunden [1])";
inline constexpr const char* kEntryNotCopiedReason = "(Index nicht gefunden [2])";
// A new title or path holding a line break cannot be stored in a line of an index file.
inline constexpr const char* kLineBreakReason = "(Zeilenumbruch im neuen Titel oder Pfad)";
inline constexpr const char* kListFileMissingText =
    "M3U-MP3-Index-Datei konnte nicht gefunden werden!";
inline constexpr const char* kAlbumFileMissingText =
    "ALB-MP3-Index-Datei konnte nicht gefunden werden!";
// Followed by the path of the work file that could not be put in place.
inline constexpr const char* kRenameFailedText =
    "Fehler beim umbenennen des Temp-MP3-Index!\n\r\n\r";
// Followed by the path of the work file that could not be written completely.
inline constexpr const char* kWriteFailedText = "Fehler beim Schreiben des Temp-MP3-Index!\n\r\n\r";

// The suffix of the work files written next to the originals.
inline constexpr const char* kWorkFileSuffix = ".TMP";
// The suffix of the second name the old list file keeps while the pair is being replaced.
inline constexpr const char* kKeptListSuffix = ".BAK";

// What the new album record of a changed entry is built from: the texts the tag editor shows for
// the file (or what albumRecordSourceFrom read from it).
struct AlbumRecordSource {
    std::string id3v1Album, id3v2Album;
    // The header display: play length, MPEG version, layer, mode, sampling rate, bit rate.
    std::string laenge, version, layer, modus, samplingrate, bitrate;
    bool rated = false; // false: the editor shows its "not rated" placeholder
    int rating = 0;     // the rating slider's position
    std::string group;
    std::string id3v1Track, id3v2Track;
};

// The record: album (the ID3v2 album when not blank, else the ID3v1 album when not blank, else
// empty), the six header texts, a blank, the rating ("0" when not rated), the group, `isoDate`
// ("yyyy-mm-dd"), and the track (the ID3v2 track when it reads as an integer above 0, else the
// ID3v1 track when it does, else "-"); each followed by the separator 0xA1. Bytes that would break
// the record (the separator, CR, LF) are left out of the texts.
std::string newAlbumRecord(const AlbumRecordSource& shown, std::string_view isoDate);

// The source of a file's new record read from the file itself (for callers that have not shown it
// in the tag editor, such as moving files).
AlbumRecordSource albumRecordSourceFrom(const FileInfo& info);

// The file operations of the replacement, replaceable in tests.
struct IndexFileOps {
    // Puts `from` in place of `to` in one step (rename over it); false on failure.
    std::function<bool(const std::string& from, const std::string& to)> rename;
    // Gives the file `from` the second name `to` (replacing a file of that name), without
    // changing `from`; false on failure.
    std::function<bool(const std::string& from, const std::string& to)> keep;
    static IndexFileOps system();
};

class IndexRewriter {
public:
    IndexRewriter(Dialogs& dialogs, const Clock& clock, IndexFileOps ops = IndexFileOps::system())
        : dialogs_(dialogs), clock_(clock), ops_(std::move(ops)) {}

    // Changes the entry whose path is `currentPath` in the pair of `listPath`: the title line
    // becomes "#EXTINF:0," + newTitle when a title is given (else the entry keeps its title line
    // or its lack of one), the path becomes newPath when one is given, and the album record is
    // built from `shown` with today's date. When newTitle and newPath are both blank, the entry
    // is deleted instead. The path is compared without regard to ASCII letter case; an exact
    // match wins over one that differs in case. Every failure is shown to the user and leaves
    // both files as they were; the result tells whether the pair was changed.
    bool M3Uchange(std::string_view listPath, std::string_view currentPath,
                   std::string_view newTitle, std::string_view newPath,
                   const AlbumRecordSource& shown = {});

    // The album record the last successful change wrote ("" after a deletion or a failure).
    const std::string& lastWrittenRecord() const { return lastWrittenRecord_; }

private:
    Dialogs& dialogs_;
    const Clock& clock_;
    IndexFileOps ops_;
    std::string lastWrittenRecord_;
};

} // namespace harlune
