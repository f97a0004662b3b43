#pragma once
// The automatic update of the index "Autoload": a timer of the configuration dialog counts the
// MP3 files and subfolders of a watched folder; when the count has changed since the last check,
// the user is asked and on Yes the index builder rebuilds "Autoload" from the folder without
// the overwrite question.
#include "index/builder.h"
#include "index/index_selector.h"
#include "platform/dialogs.h"

#include <functional>
#include <string>
#include <string_view>

namespace harlune {

inline constexpr const char* kAutoUpdateInvalidFolderText =
    "Autoaktualisierung: das von Ihnen angegebene Verzeichnis ist ung\xFCltig!\n\r"
    "Die Autoaktualisierung wurde deaktiviert!";
inline constexpr const char* kAutoUpdateQuestion =
    "Achtung, die Anzahl der Dateien/Verzeichnisse im Auto-Aktualisierungsverzeichnis hat sich "
    "ge\xE4ndert!\n\rWollen Sie den MP3-Index \"Autoload\" jetzt aktualisieren?";

// The folder count: the MP3 files directly in the folder, plus the folder itself and its
// immediate subfolders. Deeper folders do not count.
int autoUpdateFolderCount(std::string_view folder);

// Whether a timer tick checks the folder: only when the update is switched on and the main
// window is enabled (no modal dialog open) and is the active window.
constexpr bool autoUpdateTickDue(bool aktiv, bool mainWindowEnabled, bool mainWindowActive) {
    return aktiv && mainWindowEnabled && mainWindowActive;
}

// The configuration values the update reads and changes (`autoaktualisierung_aktiv`,
// `autoaktualisierung_verzeichnis`, `autoaktualisierung_anz`).
struct AutoUpdateSettings {
    bool& aktiv;
    const std::string& verzeichnis;
    int& anz;
};

struct AutoUpdateHooks {
    std::function<void()> stopTimer;
    std::function<void()> startTimer;
    std::function<void()> saveConfiguration; // `Konfigspeichern`
    std::function<void()> showBuilder;       // the builder window, shown non-modally (optional)
    // The walk of the folder (`einlesen` of the directory selection); by default Getfilepath
    // with subfolders and without a window.
    std::function<DirectoryWalk(const std::string& folder)> readFolder;
};

enum class AutoUpdateOutcome {
    FolderMissing, // warned, switched off
    Unchanged,
    Declined,   // the new count is stored all the same
    Rebuilt,    // "Autoload" was written
    NotRebuilt, // the build stopped (cancelled, no entries, write error)
};

// `doautoaktualisierung`: stops the timer, checks the folder, compares and stores the count,
// asks, rebuilds "Autoload" on Yes, saves the configuration (also after No) and restarts the
// timer while the update is still switched on.
AutoUpdateOutcome doautoaktualisierung(AutoUpdateSettings settings, IndexBuilder& builder,
                                       IndexSelector& selector, Dialogs& dialogs,
                                       const AutoUpdateHooks& hooks);

} // namespace harlune
