#pragma once
// The pieces of start-up that are not drawing: the installation check, the crash marker and the
// crash report, the greeting, the guarded first index load, the program date and the order of
// the start timer's steps. The windows call these and only show what they return.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class Clock;
class Dialogs;

// Files of the program folder.
inline constexpr const char* kCrashMarkerFileName = "Debug.TMP";
inline constexpr const char* kBatchMarkerFileName = "debug2.tmp"; // written by the batch tools
inline constexpr const char* kProgramFileName = "HARLUNE.EXE";

// Followed by the program folder.
inline constexpr const char* kNotInstalledText =
    "Harlune wurde nicht vollst\xE4ndig installiert!\n\r\n\r";
inline constexpr const char* kConfigUnreadableText =
    "Harlune.INI konnte nicht gelesen/geschreiben werden,\n\rHarlune wird beendet!";
inline constexpr const char* kIndexLoadFailedText =
    "Beim letzten Start ist ein Problem beim laden der MP3-Index-Dateien aufgetreten!\n\r"
    "M\xF6glicherweise sind die Index-Dateien besch\xE4"
    "digt!\n\r"
    "Bitte erstellen Sie diese mit genau dieser Harlune-Version neu um das Problem zu l\xF6sen!"
    "\n\r[Button \"erst\"]\n\r(MP3-Index-Dateien wurden nicht geladen)";

// Lines of the crash report that stand in for a file that cannot be read.
inline constexpr const char* kNoCrashMarkerLine = "Es liegt keine TMP-Datei (1) vor!";
inline constexpr const char* kNoConfigLine = "Harlune-Konfigurationsdatei konnte nicht ge\xF6"
                                             "ffnet werden!";
inline constexpr const char* kNoBatchMarkerLine = "Es liegt keine TMP-Datei (2) vor!";

// Progress texts of the start window, each centred around kStartTextCentreX pixels.
inline constexpr const char* kStartTextStartup = "Harlune wird geladen: Startup";
inline constexpr const char* kStartTextInit = "Harlune wird geladen: System-Initalisierung (1)";
inline constexpr const char* kStartTextIndex =
    "Harlune wird geladen: Einlesen der Harlune-Indexdatei(en)";
inline constexpr int kStartTextCentreX = 200;
// The panel of the main window shown during the first load.
inline constexpr const char* kPleaseWaitText = "Bitte warten...";

// The start window stays up at least this long: 3.456 s.
inline constexpr double kStartWindowMinimumDays = 0.00004;
inline constexpr double kStartWindowMinimumSeconds = 3.456;

// Points the crash marker at the program folder's "Debug.TMP".
void initCrashMarker(std::string_view programFolder);

// The installation error ("...installiert!" + program folder) when one of the five subfolders
// is missing, checked in their order; nothing when all are there. A folder whose name differs
// only in letter case counts as present.
std::optional<std::string> installationError(std::string_view programFolder);
// Shows the installation error; false when the program has to end.
bool checkInstallation(std::string_view programFolder, Dialogs& dialogs);

// "Hallo " + name + "!": the system's login name when useSystemName is set, else the
// configured name.
std::string greetingText(bool useSystemName, std::string_view configuredName,
                         std::string_view systemName);

// The configuration flag INDEXGELADEN: read it, write it (to the file at once).
struct IndexLoadedFlag {
    std::function<bool()> read;
    std::function<void(bool)> write;
};

enum class FirstLoadResult { Loaded, Skipped };

// The first index load at start, guarded against a load that crashed last time: when the flag
// is set it is cleared, `load` runs and the flag is set again; when it is clear (the previous
// load never got through) the warning is shown and written to the crash marker, nothing is
// loaded and the flag is set again, so the start after this one loads normally. A load that
// throws leaves the flag clear, as a crash would.
FirstLoadResult guardedFirstLoad(const IndexLoadedFlag& flag, const std::function<void()>& load,
                                 Dialogs& dialogs);

// The crash report: the lines of "Debug.TMP", of the configuration file and of "debug2.tmp"
// (program folder), each replaced by its stand-in line when the file cannot be read.
std::vector<std::string> crashReportLines(std::string_view programFolder,
                                          std::string_view configPath);
// The same lines joined by "\n", for a text box.
std::string crashReportText(std::string_view programFolder, std::string_view configPath);

// The date of "HARLUNE.EXE" (found whatever its letter case) as "dd.mm.yyyy"; empty when
// there is no such file.
std::string programDate(std::string_view programFolder);
// "Version " + version + " - " + program date.
std::string introductionCaption(std::string_view programDate);

// The timer interval of the automatic index update for its configured seconds; at least one
// second (a hand-edited 0 must not make a timer that never rests) and within a timer's range.
int autoUpdateIntervalMs(long long seconds);

// What the start timer needs from the configuration.
struct StartSettings {
    bool albenExplorer = false;
    bool begruessen = false;
    bool systemUserVerwenden = false;
    std::string benutzername;   // the configured name
    std::string systemUserName; // Benutzername() of this process
    bool ersterStart = false;
    bool previousRunEnded = true; // BEENDET as it was read, before start-up cleared it
    bool remoteAutoInit = false;
    long long autoUpdateSeconds = 60;
    std::string programFolder;
    std::string configPath;
};

// The windows and timers the start timer drives.
class StartHost {
public:
    virtual ~StartHost() = default;
    virtual void showAlbumExplorer() = 0;
    virtual void positionVolumeFader() = 0;
    virtual void showStartWindow() = 0;
    virtual void setStartText(std::string_view text) = 0;
    virtual void showPleaseWait(bool visible) = 0;
    // The first search (which loads the selected index) and showing the search method.
    virtual void firstSearch() = 0;
    // Waits, keeping the windows alive.
    virtual void waitMs(int ms) = 0;
    virtual void closeStartWindow() = 0;
    virtual void armIntroductionTimer() = 0;
    // `report` is the crash report of the run that did not end normally.
    virtual void armCrashReportTimer(const std::string& report) = 0;
    virtual void openSerialLink() = 0;
    // The focus watchdog, the serial terminal's poll and the automatic index update.
    virtual void armRunningTimers(int autoUpdateMs) = 0;
};

// The start timer's steps in their order (`starttimerTimer`). The crash report is read first,
// before this start's own steps write the crash marker, so that it shows the last action of
// the run that did not end.
void starttimerTimer(StartHost& host, const StartSettings& settings, const IndexLoadedFlag& flag,
                     Dialogs& dialogs, const Clock& clock);

} // namespace harlune
