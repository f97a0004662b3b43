#pragma once
// The configuration dialog "Harlune Konfigurationen" without its window: the texts and check
// states of its controls, filling them from the configuration, checking and taking them over
// when the user saves, and restoring the defaults by deleting the file. The window shows the
// fields and forwards its buttons here.
#include "app/config.h"

#include <functional>
#include <string>
#include <string_view>

namespace harlune {

class Dialogs;
struct IndexSelector;

// Messages of the save, in the order of its checks.
inline constexpr const char* kNoAddParameterText =
    "Kein Parameter \"MP3 Hinzuf\xFCgen\" eingetragen";
inline constexpr const char* kNoPlayerText = "Es wurde kein MP3Player eingetragen";
inline constexpr const char* kOuterVolumeRangeText = "\"Playerlautst\xE4rke Faderpos au\xDF"
                                                     "en\" muss zwischen 0 und 100 % liegen!";
inline constexpr const char* kInnerVolumeRangeText =
    "\"Playerlautst\xE4rke Faderpos mitte\" muss zwischen 0 und 100 % liegen!";
inline constexpr const char* kVolumeCommandText = "\"Befehl (Lautst\xE4rke)\" muss numerisch sein!";
inline constexpr const char* kMaxValueText = "\"Max. Val. (100%)\" muss numerisch sein!";
inline constexpr const char* kPlayCommandText = "\"Befehl (Play)\" muss numerisch sein!";
inline constexpr const char* kPauseCommandText = "\"Befehl (Pause)\" muss numerisch sein!";
inline constexpr const char* kFadeSpeedText =
    "\"Auto-Fade-Geschwindigkeit\" muss numerisch u. zwischen 1-10 sein!";
inline constexpr const char* kNoWebConfigLinkText =
    "Wenn Sie \"IP automatisch laden\" ausw\xE4hlen, m\xFCssen Sie auch den Web-Link zur "
    "Konfig-Datei angeben!";
inline constexpr const char* kNoDownloadFolderText =
    "Es muss ein Downloadverzeichnis angegeben werden!";
inline constexpr const char* kDownloadFolderMissingText = "Downloadverzeichnis existiert nicht!";

// Restoring the defaults.
inline constexpr const char* kRestoreQuestionText =
    "Achtung: Ihre aktuelle Konfiguration wird jetzt gel\xF6scht!";
inline constexpr const char* kRestoreDoneText =
    "Originalkonfiguration wurde wiederhergestellt !\n\r\n\rBitte Anwendung neu starten !";
inline constexpr const char* kRestoreFailedText =
    "Fehler beim L\xF6schen der Datei 'Harlune.ini' \n\rBitte Anwendung schlie\xDF"
    "en und Datei manuell l\xF6schen";
// The name the restore deletes, found whatever its letter case.
inline constexpr const char* kRestoreFileName = "Harlune.ini";

// The serial status label.
inline constexpr const char* kSerialActivePrefix = "aktiv an "; // followed by REMOTEDEVICE
inline constexpr const char* kSerialInactiveText = "nicht aktiv";

// The file filter of the two "Suchen" buttons beside "Playerprogramm:".
inline constexpr const char* kProgramFilterText = "Programme (*.exe)";
inline constexpr const char* kAllFilesFilterText = "Alle Dateien (*.*)";

// The greeting name edit accepts at most this many characters.
inline constexpr int kBenutzernameMaxLength = 15;

// Ranges of the spin fields; a typed value outside is taken as the nearest end.
inline constexpr int kRemoteDelayMin = 0, kRemoteDelayMax = 500;
inline constexpr int kAutoUpdateSecondsMin = 15, kAutoUpdateSecondsMax = 3600;
inline constexpr int kSoundServerPortMin = 1000, kSoundServerPortMax = 65000;

// The controls of the dialog, named as the keys they edit. Edits hold text, check boxes and
// radio buttons a bool, the three message-kind selectors their item index (0 "WM_USER",
// 1 "WM_COMMAND").
struct ConfigDialogFields {
    // Allgemein.
    std::string BENUTZERNAME;
    bool SYSTEMUSERVERWENDEN = false;
    bool BEGRUESSEN = false;
    bool Log = false;
    std::string Logdatei;
    bool FASTCOPY_aktiv = false;
    std::string FASTCOPY_Ziel;

    // MP3-Suche.
    bool SOFORTSUCHE = false; // "Automatisch nach Eingabe suchen" (else "Erst nach 'Enter'")
    std::string SUCHDELAY;
    bool SOFORTSUCHEEINGABELOESCHEN = false;
    bool DOPPELKLICKMP3STARTEN = false; // "MP3 im Player starten" (else add to the playlist)
    bool Zusatzinfosladen = false;
    bool AlseigeneSpalte = false;
    std::string Spaltenposition;
    // The twelve display check boxes, "Länge" to "Track Nr.".
    bool Laenge = false;
    bool Version = false;
    bool Layer = false;
    bool Modus = false;
    bool Album = false;
    bool Bitrate = false;
    bool Samplingrate = false;
    bool Verzeichnis = false;
    bool Datum = false;
    bool Gruppe = false;
    bool Wertung = false;
    bool TrackNr = false;

    // MP3-Player.
    bool STANDARDPLAYER = false; // "MP3s mit verknüpften Programm abspielen"
    std::string MP3PLAYER;
    std::string MP3PLAYERPARAMETERADD;
    bool MP3PLAYERPARAMETERADDSPACE = false;
    std::string MP3PLAYERPARAMETERCLASS;
    bool MP3PLAYERPARAMETERCLASSSPACE = false;
    std::string NAMEPLAYER1;
    std::string NAMEPLAYER2;
    std::string WM_LAUTST;
    std::string WM_LAUTST_MAXVAL;
    std::string WM_PLAY;
    std::string WM_PAUSE;
    int WM_LAUTST_TYP = 0;
    int WM_PLAY_TYP = 0;
    int WM_PAUSE_TYP = 0;
    bool soundserver_verwenden = false;
    std::string soundserver_ip;
    std::string soundserver_port;

    // Fader.
    std::string FADER_VOL_AUSSEN;
    std::string FADER_VOL_INNEN;
    std::string Fade_Speed;

    // Fernsteuerung.
    std::string REMOTEDEVICE;
    std::string REMOTEDELAY;
    bool REMOTEAUTOINIT = false;

    // Web-MP3-Index.
    std::string SERVER_IP;
    std::string SERVER_USER;
    std::string SERVER_PW;
    bool AUTOLOADIP = false;
    std::string WEBKONFIG;
    std::string DOWNLOADDIR;

    // Pre-Player.
    std::string MP3PLAYERPRE;
    std::string MP3PLAYERPREPARAMETERCLASS;
    bool PREPARAMETERADDSPACE = false;
    std::string MP3PLAYERPRECLASSNAME;

    // Auto-Aktualisierung.
    bool autoaktualisierung_aktiv = false;
    std::string autoaktualisierung_intervall;
    std::string autoaktualisierung_verzeichnis;

    // The path-conversion dialog.
    std::string pconv_v1, pconv_v2, pconv_v3;
    std::string pconv_n1, pconv_n2, pconv_n3;
};

// What `anzeigen` copies into the controls. A message-kind value other than 0 or 1 shows as 0.
ConfigDialogFields dialogFieldsFrom(const Config& config);

// The work of the save that belongs to other windows; an empty callable is skipped.
struct ConfigSaveHooks {
    // The result grid's first column becomes the grid's width minus this many pixels.
    std::function<void(int spaltenposition)> setFirstColumnFromRight;
    // The main window's volume knob is placed for the outer fader volume (percent).
    std::function<void(int percent)> placeVolumeKnob;
    // In two-player mode: rebuild the selected player's class argument, send the volumes again.
    std::function<void()> refreshTwoPlayerMode;
    // The automatic update's check interval changed (seconds; the timer runs seconds * 1000 ms).
    std::function<void(int seconds)> setAutoUpdateInterval;
    std::function<void()> closeDialog;
    std::function<void()> redrawResults;
};

// "Konfig speichern" (`speichernClick`): checks the fields and takes them into `config` step by
// step. A step that rejects its input shows its message and stops: the dialog stays open, the
// file is not written, and the values taken by earlier steps stay in `config`. `fields` may be
// changed (the server address is emptied while it comes from the web configuration file).
// True when everything was saved to the file and the dialog closed.
bool speichernClick(ConfigDialogFields& fields, Config& config, std::string_view programFolder,
                    const IndexSelector& selector, Dialogs& dialogs,
                    const ConfigSaveHooks& hooks = {});

// "Standard wiederherstellen" (`restoreClick`): after the user confirms, deletes the
// configuration file, so that the next start uses the defaults. True when the application must
// end at once, without saving.
bool restoreClick(std::string_view programFolder, Dialogs& dialogs);

// The serial status label: "aktiv an " + device while the link is open, else "nicht aktiv".
std::string serialStatusText(bool linkOpen, std::string_view remoteDevice);

// "Suchen" beside "Playerprogramm:": a file-open dialog starting in the folder of the current
// entry; the chosen file replaces it. False when cancelled.
bool choosePlayerProgram(std::string& entry, Dialogs& dialogs);

// A click in the skin list: the folder entry without its brackets ("[TALM]" -> "TALM"); empty
// for "." and ".." (which change nothing).
std::string skinFromListEntry(std::string_view entry);

} // namespace harlune
