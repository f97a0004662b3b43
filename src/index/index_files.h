#pragma once
// The index file pair and its reader.
//
// An MP3 index is a list file ("x.M3U", an extended M3U playlist) and an album file of the same
// name ("x.ALB") with one album record per path line of the list file, in the same order. Both
// begin with a header line ("#EXTM3U", "#EXTALB"). In the list file, a line whose first seven
// characters upper-cased are "#EXTINF" is a title line ("#EXTINF:" + seconds + "," + title);
// every other line is a path line and takes the next album record. Texts are Windows-1252 bytes
// and are kept exactly.
#include "index/group_list.h"
#include "index/mp3_index.h"
#include "platform/dialogs.h"

#include <string>
#include <string_view>
#include <vector>

namespace harlune {

inline constexpr const char* kListHeader = "#EXTM3U";
inline constexpr const char* kAlbumHeader = "#EXTALB";
// The album record written for entries whose real extra information is unknown.
inline constexpr const char* kDummyAlbumRecord = "Dummy-Album (by Harlune Import)";
// Asked when an index's album file is missing.
inline constexpr const char* kDummyAlbumQuestion =
    "Es ist aber auch m\xF6gliche eine Dummydatei zu erzeugen,\n\r"
    "der Albenexplorer wird damit aber nicht funktionieren !\n\r"
    "Wollen Sie dies nun tun ?";

// Error texts of a failed pair (the path comes first, except for kCannotOpen).
inline constexpr const char* kErrorTextStart = "--";
inline constexpr const char* kNotFoundText = " wurde nicht gefunden!";
inline constexpr const char* kCannotOpenText = "Kann ";
inline constexpr const char* kCannotOpenEndText = " nicht \xF6"
                                                  "ffnen!";
inline constexpr const char* kInvalidText = " ist ung\xFCltig !";
inline constexpr const char* kAlbumTooLongText =
    " ist passt nicht zur M3U Datei! (ALB ist zu lang)";
inline constexpr const char* kListTooLongText = " ist passt nicht zur ALB Datei! (M3U ist zu lang)";
// The album file exists in several spellings that differ only in letter case.
inline constexpr const char* kAmbiguousText =
    " ist nicht eindeutig: es gibt mehrere Dateien dieses Namens, die sich nur in der "
    "Gro\xDF-/Kleinschreibung unterscheiden!";
// Reading a file stopped on an input/output error.
inline constexpr const char* kReadErrorText = "Fehler beim Lesen von ";
inline constexpr const char* kReadErrorEndText = "!";
// The warning of a failed load: start + error text + end.
inline constexpr const char* kLoadFailedText = "Fehler beim Laden des MP3-Index:\n\r";
inline constexpr const char* kLoadFailedEndText =
    "\n\r\n\rErstellen Sie den MP3-Index mit Harlune ggf. neu!";

// The album file name of a list file: its last four characters replaced by ".alb".
std::string albumFileFor(std::string_view listPath);
// A title line: its first seven characters, upper-cased, are "#EXTINF".
bool isTitleLine(std::string_view line);
// The title of a title line: the text after its first comma, trimmed ("" without a comma).
std::string_view titleFromTitleLine(std::string_view line);
// The title of an entry without a title line: the part of the path after its last "\" or "/"
// without its last four characters; "" when the path holds no separator.
std::string_view titleFromPath(std::string_view path);

// Appends the entries of the pair of `listPath` to `backupgrid` and their groups to the group
// list. On failure `errorText` holds the reason; entries read before it stay in the table.
// When the album file is missing, the user may have a dummy album file made.
bool Listehinzufuegen(MP3Index& backupgrid, GroupList& mp3gruppenliste, Dialogs& dialogs,
                      std::string_view listPath, std::string& errorText);

// Empties `backupgrid`, then loads the selected pair (allLists false: the trimmed selector
// text, a full path of a list file) or every list file of the index folder (allLists true, in
// the order of indexListFiles). The first failing pair stops loading and is reported to the
// user as a warning; what was read before stays in the table.
bool ladeliste(MP3Index& backupgrid, GroupList& mp3gruppenliste, Dialogs& dialogs, bool allLists,
               std::string_view selectorText, std::string_view indexFolder);

// Empties the in-memory index.
void loescheliste(MP3Index& backupgrid);

// The list files of the index folder: every regular file whose name ends in ".m3u" in any
// letter case, as index folder + "/" + name, sorted by name byte by byte (the order of a
// folder listing is arbitrary here, and the load order decides the running numbers).
std::vector<std::string> indexListFiles(std::string_view indexFolder);

// Writes a new album file for an existing list file: the header, then the dummy record for
// every line the reader takes as a path line (every line after the header that is not a title
// line), so that the pair always loads. Blank lines after the last non-blank line get no
// record, as the reader accepts them as trailing lines. The list file is only read. False when
// the list file cannot be read or the album file cannot be written (no partial album file is
// left then).
bool createdummyalb(std::string_view listPath, std::string_view albumPath);

} // namespace harlune
