#pragma once
// The configuration file "Harlune.INI" of the program folder, section "KONFIG", and the
// program-wide configuration values it holds. Every key is one member of `Config`, named exactly
// as the key; the key table in config.cpp (key name, member, default) is the one list of keys,
// walked in the same order by loading and saving.
//
// The index selector's entries (DATEI1 .. DATEI5) and its selected text (AKTUELL) are stored in
// the same section but live in the `IndexSelector`.
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace harlune {

class Dialogs;
struct IndexSelector;

inline constexpr const char* kConfigFileName = "Harlune.INI";
inline constexpr const char* kConfigSection = "KONFIG";

struct Config {
    // Defaults of every key; the two defaults inside the program folder (Logdatei,
    // DOWNLOADDIR) are relative to `programFolder` ("" gives bare names). The player switches
    // carry the blank their "+ Leerzeichen" flag adds, as after loading.
    Config();
    explicit Config(std::string_view programFolder);

    // Window and start-up. The window's geometry and ALBENEXPLORER (whether the album explorer
    // is visible) are kept up to date by the main window, so that a save writes them.
    int TOP{};
    int LEFT{};
    int HEIGHT{};
    int WIDTH{};
    bool ALBENEXPLORER{};
    std::string BENUTZERNAME;
    bool SYSTEMUSERVERWENDEN{};
    bool BEGRUESSEN{};
    bool ERSTERSTART{};
    // As read at start: whether the previous run ended normally (the file holds false from
    // then on until a normal end).
    bool BEENDET{};
    bool INDEXGELADEN{};
    std::string PROGVERS;
    std::string SKIN;

    // Search. SUCHEINALLENLISTEN is the main window's check box "search in all lists".
    int SUCHDELAY{};
    bool SOFORTSUCHE{};
    bool SOFORTSUCHEEINGABELOESCHEN{};
    bool SUCHEINALLENLISTEN{};
    char Suchverfahren{}; // 'g' exact text, 'u' every word, 'o' any word
    char Suchquelle{};    // 't' title/artist, 'a' album, 'g' minimum rating / group
    bool DOPPELKLICKMP3STARTEN{};

    // Extra information in the result grid.
    bool Zusatzinfosladen{};
    bool AlseigeneSpalte{};
    int Spaltenposition{};
    bool Laenge{};
    bool Version{};
    bool Layer{};
    bool Modus{};
    bool Album{};
    bool Bitrate{};
    bool Samplingrate{};
    bool Verzeichnis{};
    bool Datum{};
    bool Gruppe{};
    bool Wertung{};
    bool TrackNr{};

    // Activity log.
    bool Log{};
    std::string Logdatei;

    // Players. The two parameter switches carry in memory the one blank their "+ Leerzeichen"
    // flag appends.
    bool STANDARDPLAYER{};
    std::string MP3PLAYER;
    std::string MP3PLAYERPARAMETERADD;
    bool MP3PLAYERPARAMETERADDSPACE{};
    std::string MP3PLAYERPARAMETERCLASS;
    bool MP3PLAYERPARAMETERCLASSSPACE{};
    std::string NAMEPLAYER1;
    std::string NAMEPLAYER2;

    // Window-message commands to the players; the _TYP values: 0 WM_USER, 1 WM_COMMAND.
    int WM_LAUTST{};
    int WM_LAUTST_MAXVAL{};
    int WM_PLAY{};
    int WM_PAUSE{};
    int WM_LAUTST_TYP{};
    int WM_PLAY_TYP{};
    int WM_PAUSE_TYP{};

    // Fader.
    int FADER_VOL_AUSSEN{};
    int FADER_VOL_INNEN{};
    int Fade_Speed{};

    // Serial remote terminal.
    std::string REMOTEDEVICE;
    int REMOTEDELAY{};
    bool REMOTEAUTOINIT{};

    // Web indexes and downloads.
    std::string SERVER_IP;
    std::string SERVER_USER;
    std::string SERVER_PW;
    bool AUTOLOADIP{};
    std::string WEBKONFIG;
    std::string DOWNLOADDIR;

    // Pre-player.
    std::string MP3PLAYERPRE;
    std::string MP3PLAYERPREPARAMETERCLASS;
    bool PREPARAMETERADDSPACE{};
    std::string MP3PLAYERPRECLASSNAME;

    // Automatic index update.
    bool autoaktualisierung_aktiv{};
    int autoaktualisierung_intervall{};
    std::string autoaktualisierung_verzeichnis;
    int autoaktualisierung_anz{};

    // Sound server and its path conversions.
    bool soundserver_verwenden{};
    std::string soundserver_ip;
    int soundserver_port{};
    std::string pconv_v1;
    std::string pconv_v2;
    std::string pconv_v3;
    std::string pconv_n1;
    std::string pconv_n2;
    std::string pconv_n3;

    // Quick copy.
    bool FASTCOPY_aktiv{};
    std::string FASTCOPY_Ziel;

    bool operator==(const Config&) const = default;
};

// One key of the table.
struct IntKey {
    int Config::*member;
    int fallback;
};
struct BoolKey {
    bool Config::*member;
    bool fallback;
};
struct TextKey {
    std::string Config::*member;
    const char* fallback;
    bool inProgramFolder; // the default is a name inside the program folder
};
struct CharKey {
    char Config::*member; // the first character of the stored text
    char fallback;
};
struct ConfigKey {
    const char* name;
    std::variant<IntKey, BoolKey, TextKey, CharKey> value;
    // False for the four keys written only at their own moments (BEENDET, INDEXGELADEN,
    // ERSTERSTART, PROGVERS), never by a save of the whole configuration.
    bool savedWithConfiguration;
};

// The keys of section KONFIG in their order, without DATEI1..5 and AKTUELL.
std::span<const ConfigKey> configKeys();

// The configuration file of a program folder: "Harlune.INI", or the existing file whose name
// differs from it only in letter case.
std::string configFilePath(std::string_view programFolder);

// Reads the configuration file into `config` (which is reset to the defaults first) and the
// index selector (`Konfigladen`): a missing file is created empty; a file last written by a
// version below 3.0 loses its section KONFIG; BEENDET is read into config.BEENDET and at once
// written false; PROGVERS is brought up to this version. False, after showing the system's
// error text, when the file cannot be read or written: the program then has to end.
bool Konfigladen(std::string_view programFolder, Config& config, IndexSelector& selector,
                 Dialogs& dialogs);

// Reads the configuration without writing anything (for harlune-cli, which must not mark a
// running program as crashed): the same values Konfigladen gives, BEENDET as it stands.
bool readConfiguration(std::string_view programFolder, Config& config, IndexSelector& selector);
// Writes the whole configuration (`Konfigspeichern`): every key except the four moment keys,
// SERVER_IP empty while AUTOLOADIP is on, AKTUELL from the selector's text and DATEI1..5 from its
// items (keys beyond its last item keep their values). Everything else in the file is kept.
// False, after showing the system's error text, when the file cannot be written.
bool Konfigspeichern(std::string_view programFolder, const Config& config,
                     const IndexSelector& selector, Dialogs& dialogs);

// The moment keys, each written to the file at once; false after showing the system's error
// text when that fails.
bool writeEndedNormally(std::string_view programFolder, Dialogs& dialogs); // BEENDET = true
bool writeIndexLoaded(std::string_view programFolder, bool loaded, Dialogs& dialogs);
bool writeIntroductionShown(std::string_view programFolder, Dialogs& dialogs); // ERSTERSTART
// INDEXGELADEN as it stands in the file (true when missing or unreadable).
bool readIndexLoaded(std::string_view programFolder);

} // namespace harlune
