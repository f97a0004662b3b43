#pragma once
// Collecting the MP3 files of folders (`Getfilepath`): a breadth-first walk from a start folder
// that lists every folder it reads and every "*.mp3" file in it, for the index builder and the
// batch tools. The walk reports the current folder through a Progress (the window "Verzeichnisse
// und Dateien werden ermittelt"), whose `pos` returning false cancels it; a folder that cannot be
// read is reported and the user decides whether the walk goes on.
#include "platform/dialogs.h"
#include "platform/progress.h"

#include <string>
#include <string_view>
#include <vector>

namespace harlune {

inline constexpr const char* kDirectoryWindowCaption = "Verzeichnisse und Dateien werden ermittelt";
// The status texts the walk shows for the folder it is reading.
inline constexpr const char* kWalkReadingFolders = "Lese Verzeichnisliste...";
inline constexpr const char* kWalkReadingFiles = "Lese Dateiliste...";
inline constexpr const char* kWalkAddingFolders = "erfasse Unterverzeichnis";
inline constexpr const char* kWalkAddingFiles = "erfasse Dateien...";
inline constexpr const char* kWalkIdle = "--";
// A folder that cannot be read: start + folder + end, then the question.
inline constexpr const char* kWalkErrorText = "Fehler beim Einlesen von: ";
inline constexpr const char* kWalkErrorEndText =
    "\"\n\rH\xE4ufigste Fehlerursache sind ung\xFCltige Zeichen im Verzeichnisnamen! Benennen Sie "
    "das Verzeichnis um!\n\rWollen Sie jetzt Abbrechen?";
// After Yes: folder + this + the system's text.
inline constexpr const char* kWalkExceptionText = "\n\r=> Exception:";

struct DirectoryWalk {
    // Every folder read, in the order read, each with a trailing "/"; the start folder first.
    std::vector<std::string> directories;
    // Every MP3 file found: folder + name, in the order found.
    std::vector<std::string> files;
    bool cancelled = false; // the user cancelled (what was found so far is kept)
    bool stopped = false;   // the user ended the walk after a read error
};

struct WalkOptions {
    bool withSubdirectories = true;
    // Do not descend into folders of another file system than the start folder's (used when
    // every mounted file system is read: each is then walked on its own, none twice).
    bool sameFileSystem = false;
};

// True for a file name the mask "*.mp3" takes (the extension in any letter case).
bool isMp3Name(std::string_view name);

// The walk. Subfolders and files of a folder are taken in byte order of their names, so that
// the result does not depend on the order the file system lists them in. Links to folders are
// followed, but no folder is read twice (so a link loop ends). `window` (optional) is shown,
// gets the status texts as actions and the current folder through `pos`, and is closed at the
// end; `pos` returning false cancels the walk.
DirectoryWalk Getfilepath(std::string_view startDirectory, const WalkOptions& options,
                          Dialogs& dialogs, Progress* window = nullptr);

// The mounted file systems that can hold the user's files, for "alle Laufwerke": the mount
// points of /proc/self/mounts (or the given mount table text), without the kernel's pseudo file
// systems (proc, sysfs, tmpfs, devtmpfs, cgroup, ...), without everything below /proc, /sys and
// /dev, and without /run except removable media below /run/media; duplicates removed, in table
// order.
std::vector<std::string> dataMountPoints();
std::vector<std::string> dataMountPoints(std::string_view mountTable);

} // namespace harlune
