#pragma once
// Reading what the index needs from one file: the tag texts (ID3v2 first, ID3v1 as fallback),
// and everything the tag editor's info box shows (both tags, frame header, rating and group,
// file date), from which the extra-information text of the index and the result list is built.
#include "base/datetime.h"
#include "meta/frame_header.h"
#include "meta/id3v1.h"
#include "meta/id3v2.h"
#include "meta/meta_status.h"

#include <string>
#include <string_view>

namespace harlune {

// Removes every byte below 32 (except CR and LF when `keepLineBreaks`) and trims the result: the
// filter tag texts pass before they enter an index.
std::string stripControlChars(std::string_view text, bool keepLineBreaks);

struct TagTexts {
    std::string title, artist, album, year, genre, comment, track;
};

// How many files took their texts from which tag, for the index builder's summary.
struct TagCounters {
    int id3v1 = 0; // ID3v1 tag (or the file name) used
    int id3v2 = 0; // ID3v2 tag used
};

// The tag reader of the index builder. A file starting with "ID3" is read as ID3v2; when that
// gives no title, artist and album, the ID3v1 tag supplies all texts instead. Tag errors go to
// the status window's log when it is shown. False only when the file cannot be opened (`error`
// then holds the system's text); the texts are empty then.
bool ReadHeaderall(std::string_view fileName, TagTexts& out, TagCounters& counters,
                   const MetaStatus& status = {}, std::string* error = nullptr);
// The same on an opened source; `fileName` names the file in log remarks.
void ReadHeaderall(ByteSource& source, std::string_view fileName, TagTexts& out,
                   TagCounters& counters, const MetaStatus& status = {});

// Everything the tag editor holds after loading a file. Tag texts are filtered as the editor's
// fields show them (control characters removed, trimmed; the ID3v2 comment keeps its line
// breaks).
struct FileInfo {
    HeaderInfo header;
    bool headerFound = false;
    TID3Tag id3v1;
    TID3v2Tag id3v2;
    bool id3v1Read = false; // false: its ErrorText says why; nothing after it was read
    bool id3v2Read = false;
    int rating = 0;    // 1..5 from the PRIV frame, 0 when the file is not rated
    std::string group; // from the PRIV frame
    bool dateValid = false;
    CivilDateTime date; // modification time, local
};

// Loads a file as the tag editor does: frame header, ID3v1, then ID3v2 (not read when ID3v1
// failed), rating and group. With `reportErrors`, a failed tag read is logged in the status
// window when it is shown, else shown as a warning. Opens the file once.
void loadFileInfo(std::string_view fileName, FileInfo& info, const MetaStatus& status = {},
                  bool reportErrors = false);

// Rating and group from a PRIV text "HARLUNE¡" + rating + "¡" + group; rating 0 (not rated) when
// the text is not of that form. The rating is limited to 1..5.
void parseRating(std::string_view priv, int& rating, std::string& group);

// Fields 2 to 12 of the extra-information text, each followed by "¡": play length ("??" when
// unknown), MPEG version, layer, mode, sampling rate, bit rate, a blank, rating ("0" when not
// rated), group, file date "yyyy-mm-dd" ("- -" when unknown), track ("-" unless a tag's track
// text starts with a number above 0; ID3v2 first).
std::string extraInfoFields(const FileInfo& info);

// The extra information of one result row. A stored text holding "¡" is used as it is;
// otherwise the file is read and the text becomes the stored text (the album) + "¡" + fields 2
// to 12. Rows whose display text has at most one character are skipped.
enum class ExtraInfoOrigin { Skipped, Stored, ReadFromFile };
ExtraInfoOrigin ReadExtraInfo(std::string_view displayText, std::string_view path,
                              std::string& extraInfo, const MetaStatus& status = {});

} // namespace harlune
