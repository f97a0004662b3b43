#pragma once
// Opening an index pair chosen anywhere on disk and importing foreign playlists (`B_LadenClick`
// without its window): copy into the index folder, format check, PLS and B4S conversion,
// validity checks, the dummy album file and the selector update. The caller stops the
// extra-information worker first and gives the result grid the focus afterwards.
#include "index/index_selector.h"
#include "index/mp3_index.h"
#include "platform/dialogs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

inline constexpr const char* kOpenIndexTitle = "MP3-Index \xF6"
                                               "ffnen/importieren";
inline constexpr const char* kCopyIntoIndexFolderQuestion =
    "Es wird empfohlen den MP3Index in das Harlune-Indexverzeichnis zu kopieren!\n\r"
    "Wollen Sie dies jetzt tun?";
inline constexpr const char* kCopyFailedText = "Fehler beim kopieren der Datei ";
inline constexpr const char* kUnknownFormatText =
    "Dieses Format ist Harlune nicht bekannt !\n\r\n\r(";
inline constexpr const char* kNoAlbumInfoText =
    "Dieses Format beinhaltet keinerlei Albeninformationen,\n\r"
    "d.h der Albenexplorer wird nach dem Import nicht funktionieren !\n\r"
    "Es wird empfohlen den MP3-Index mit Harlune neu zu erstellen !";
inline constexpr const char* kImportQuestion =
    "Wollen Sie die Daten aus diesem Format importieren?";
inline constexpr const char* kNotAnIndexText = " ist keine g\xFCltiger MP3-Index!";
inline constexpr const char* kNotAnAlbumListText = " ist keine g\xFCltige Albenliste !";
inline constexpr const char* kAlbumMissingText = "Albeninformationsdatei ";
inline constexpr const char* kAlbumMissingEndText =
    " fehlt !\n\r\n\rEs wird empfohlen den MP3-Index mit Harlune neu erstellen !";
inline constexpr const char* kImportDoneText = "Fertig !";
// The converted pair could not be written (followed by the path and "!").
inline constexpr const char* kImportWriteFailedText = "Fehler beim Schreiben von ";

// One entry of an imported playlist.
struct ImportedEntry {
    std::string path;
    std::string title;
    std::string length; // seconds, as found
};

// PLS ("[PLAYLIST]"): a line's value is the text after its last "=", trimmed; its first
// character decides: F starts an entry (writing the pending one), T and L set title and length,
// V writes the pending entry.
std::vector<ImportedEntry> parsePls(const std::vector<std::string>& lines);
// B4S (XML): the seven-state character machine; lengths in milliseconds become whole seconds,
// rounded half to even.
std::vector<ImportedEntry> parseB4s(std::string_view text);

// The selector update after an open: a path not yet listed is appended (fewer than five items)
// or put first with the fifth falling out; then it is selected.
void addRecentIndex(IndexSelector& selector, const std::string& listPath);

// The whole command. Empties `backupgrid` once a file is chosen. Returns the list file put into
// the selector, or nothing when the dialog was cancelled or a step failed (its message shown).
std::optional<std::string> B_LadenClick(std::string_view indexFolder, MP3Index& backupgrid,
                                        IndexSelector& selector, Dialogs& dialogs);
// The same after the file choice, for a given file (harlune-cli import).
std::optional<std::string> importIndexFile(std::string_view chosen, std::string_view indexFolder,
                                           MP3Index& backupgrid, IndexSelector& selector,
                                           Dialogs& dialogs);

} // namespace harlune
