#include "app/config.h"

#include "app/version.h"
#include "base/ini_file.h"
#include "base/line_file.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/index_selector.h"
#include "platform/dialogs.h"

#include <algorithm>
#include <array>
#include <functional>
#include <stdexcept>

namespace harlune {
namespace {

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

using C = Config;

constexpr ConfigKey key(const char* name, int C::*member, int fallback) {
    return {name, IntKey{member, fallback}, true};
}
constexpr ConfigKey key(const char* name, bool C::*member, bool fallback) {
    return {name, BoolKey{member, fallback}, true};
}
constexpr ConfigKey key(const char* name, std::string C::*member, const char* fallback) {
    return {name, TextKey{member, fallback, false}, true};
}
constexpr ConfigKey key(const char* name, char C::*member, char fallback) {
    return {name, CharKey{member, fallback}, true};
}
// A text whose default is a name inside the program folder.
constexpr ConfigKey inFolder(const char* name, std::string C::*member, const char* fallback) {
    return {name, TextKey{member, fallback, true}, true};
}
// A key written only at its own moment, never by a save of the whole configuration.
constexpr ConfigKey moment(ConfigKey k) {
    k.savedWithConfiguration = false;
    return k;
}

const std::array kKeys{
    // Window and start-up.
    key("TOP", &C::TOP, 100),
    key("LEFT", &C::LEFT, 20),
    key("HEIGHT", &C::HEIGHT, 350),
    key("WIDTH", &C::WIDTH, 535),
    key("ALBENEXPLORER", &C::ALBENEXPLORER, true),
    key("BENUTZERNAME", &C::BENUTZERNAME, "[ihr Name]"),
    key("SYSTEMUSERVERWENDEN", &C::SYSTEMUSERVERWENDEN, true),
    key("BEGRUESSEN", &C::BEGRUESSEN, true),
    moment(key("ERSTERSTART", &C::ERSTERSTART, true)),
    moment(key("BEENDET", &C::BEENDET, true)),
    moment(key("INDEXGELADEN", &C::INDEXGELADEN, true)),
    moment(key("PROGVERS", &C::PROGVERS, "0")),
    key("SKIN", &C::SKIN, "TALM"),
    // Search.
    key("SUCHDELAY", &C::SUCHDELAY, 500),
    key("SOFORTSUCHE", &C::SOFORTSUCHE, true),
    key("SOFORTSUCHEEINGABELOESCHEN", &C::SOFORTSUCHEEINGABELOESCHEN, false),
    key("SUCHEINALLENLISTEN", &C::SUCHEINALLENLISTEN, false),
    key("Suchverfahren", &C::Suchverfahren, 'g'),
    key("Suchquelle", &C::Suchquelle, 't'),
    key("DOPPELKLICKMP3STARTEN", &C::DOPPELKLICKMP3STARTEN, true),
    // Extra information in the result grid.
    key("Zusatzinfosladen", &C::Zusatzinfosladen, true),
    key("AlseigeneSpalte", &C::AlseigeneSpalte, true),
    key("Spaltenposition", &C::Spaltenposition, 180),
    key("Laenge", &C::Laenge, true),
    key("Version", &C::Version, false),
    key("Layer", &C::Layer, false),
    key("Modus", &C::Modus, false),
    key("Album", &C::Album, false),
    key("Bitrate", &C::Bitrate, false),
    key("Samplingrate", &C::Samplingrate, false),
    key("Verzeichnis", &C::Verzeichnis, false),
    key("Datum", &C::Datum, false),
    key("Gruppe", &C::Gruppe, true),
    key("Wertung", &C::Wertung, true),
    key("TrackNr", &C::TrackNr, false),
    // Activity log.
    key("Log", &C::Log, false),
    inFolder("Logdatei", &C::Logdatei, "Harlune.log"),
    // Players.
    key("STANDARDPLAYER", &C::STANDARDPLAYER, true),
    key("MP3PLAYER", &C::MP3PLAYER, "C:\\Programme\\Winamp\\Winamp.EXE"),
    key("MP3PLAYERPARAMETERADD", &C::MP3PLAYERPARAMETERADD, "/ADD"),
    key("MP3PLAYERPARAMETERADDSPACE", &C::MP3PLAYERPARAMETERADDSPACE, true),
    key("MP3PLAYERPARAMETERCLASS", &C::MP3PLAYERPARAMETERCLASS, "/CLASS="),
    key("MP3PLAYERPARAMETERCLASSSPACE", &C::MP3PLAYERPARAMETERCLASSSPACE, false),
    key("NAMEPLAYER1", &C::NAMEPLAYER1, "Winamp v1.x"),
    key("NAMEPLAYER2", &C::NAMEPLAYER2, "Winamp v1.x (2)"),
    // Window-message commands to the players.
    key("WM_LAUTST", &C::WM_LAUTST, 122),
    key("WM_LAUTST_MAXVAL", &C::WM_LAUTST_MAXVAL, 255),
    key("WM_PLAY", &C::WM_PLAY, 40045),
    key("WM_PAUSE", &C::WM_PAUSE, 40046),
    key("WM_LAUTST_TYP", &C::WM_LAUTST_TYP, 0),
    key("WM_PLAY_TYP", &C::WM_PLAY_TYP, 1),
    key("WM_PAUSE_TYP", &C::WM_PAUSE_TYP, 1),
    // Fader.
    key("FADER_VOL_AUSSEN", &C::FADER_VOL_AUSSEN, 100),
    key("FADER_VOL_INNEN", &C::FADER_VOL_INNEN, 30),
    key("Fade_Speed", &C::Fade_Speed, 5),
    // Serial remote terminal.
    key("REMOTEDEVICE", &C::REMOTEDEVICE, "COM1"),
    key("REMOTEDELAY", &C::REMOTEDELAY, 3),
    key("REMOTEAUTOINIT", &C::REMOTEAUTOINIT, false),
    // Web indexes and downloads.
    key("SERVER_IP", &C::SERVER_IP, ""),
    key("SERVER_USER", &C::SERVER_USER, ""),
    key("SERVER_PW", &C::SERVER_PW, ""),
    key("AUTOLOADIP", &C::AUTOLOADIP, false),
    key("WEBKONFIG", &C::WEBKONFIG, ""),
    inFolder("DOWNLOADDIR", &C::DOWNLOADDIR, "download"),
    // Pre-player.
    key("MP3PLAYERPRE", &C::MP3PLAYERPRE, "C:\\Programme\\Winamp_Pre\\Winamp.EXE"),
    key("MP3PLAYERPREPARAMETERCLASS", &C::MP3PLAYERPREPARAMETERCLASS, "/CLASS="),
    key("PREPARAMETERADDSPACE", &C::PREPARAMETERADDSPACE, false),
    key("MP3PLAYERPRECLASSNAME", &C::MP3PLAYERPRECLASSNAME, "PrePlayer"),
    // Automatic index update.
    key("autoaktualisierung_aktiv", &C::autoaktualisierung_aktiv, false),
    key("autoaktualisierung_intervall", &C::autoaktualisierung_intervall, 60),
    key("autoaktualisierung_verzeichnis", &C::autoaktualisierung_verzeichnis, "C:\\MP3Neuzugang"),
    key("autoaktualisierung_anz", &C::autoaktualisierung_anz, 0),
    // Sound server.
    key("soundserver_verwenden", &C::soundserver_verwenden, false),
    key("soundserver_ip", &C::soundserver_ip, "192.168.1.1"),
    key("soundserver_port", &C::soundserver_port, 1309),
    key("pconv_v1", &C::pconv_v1, ""),
    key("pconv_v2", &C::pconv_v2, ""),
    key("pconv_v3", &C::pconv_v3, ""),
    key("pconv_n1", &C::pconv_n1, ""),
    key("pconv_n2", &C::pconv_n2, ""),
    key("pconv_n3", &C::pconv_n3, ""),
    // Quick copy.
    key("FASTCOPY_aktiv", &C::FASTCOPY_aktiv, false),
    key("FASTCOPY_Ziel", &C::FASTCOPY_Ziel, "E:\\"),
};

// The index selector's keys, after all others.
constexpr std::array<const char*, IndexSelector::kMaxItems> kSelectorItemKeys{
    "DATEI1", "DATEI2", "DATEI3", "DATEI4", "DATEI5"};
constexpr const char* kSelectorTextKey = "AKTUELL";

// Keys read by their own steps before the rest of the table.
bool readEarly(std::string_view name) {
    for (const char* early : {"BEENDET", "PROGVERS", "TOP", "LEFT", "HEIGHT", "WIDTH"})
        if (name == early)
            return true;
    return false;
}

// The smallest window the main window is shown in.
constexpr int kMinimumHeight = 320;
constexpr int kMinimumWidth = 535;
// A file written by a version below this one keeps no usable settings.
constexpr double kOldestUsableVersion = 3.0;

void setDefault(Config& config, const ConfigKey& k, std::string_view programFolder) {
    std::visit(Overloaded{
                   [&](const IntKey& f) { config.*f.member = f.fallback; },
                   [&](const BoolKey& f) { config.*f.member = f.fallback; },
                   [&](const CharKey& f) { config.*f.member = f.fallback; },
                   [&](const TextKey& f) {
                       config.*f.member =
                           f.inProgramFolder ? joinPath(programFolder, f.fallback) : f.fallback;
                   },
               },
               k.value);
}

void readKey(const IniFile& ini, Config& config, const ConfigKey& k) {
    std::visit(Overloaded{
                   [&](const IntKey& f) {
                       config.*f.member = ini.readInteger(kConfigSection, k.name, config.*f.member);
                   },
                   [&](const BoolKey& f) {
                       config.*f.member = ini.readBool(kConfigSection, k.name, config.*f.member);
                   },
                   [&](const CharKey& f) {
                       // Only the first character counts; an empty value keeps the default.
                       std::string text = ini.readString(kConfigSection, k.name, "");
                       if (!text.empty())
                           config.*f.member = text[0];
                   },
                   [&](const TextKey& f) {
                       config.*f.member = ini.readString(kConfigSection, k.name, config.*f.member);
                   },
               },
               k.value);
}

void writeKey(IniFile& ini, const Config& config, const ConfigKey& k) {
    std::visit(
        Overloaded{
            [&](const IntKey& f) { ini.writeInteger(kConfigSection, k.name, config.*f.member); },
            [&](const BoolKey& f) { ini.writeBool(kConfigSection, k.name, config.*f.member); },
            [&](const CharKey& f) {
                ini.writeString(kConfigSection, k.name, std::string(1, config.*f.member));
            },
            [&](const TextKey& f) { ini.writeString(kConfigSection, k.name, config.*f.member); },
        },
        k.value);
}

const ConfigKey& keyNamed(std::string_view name) {
    for (const auto& k : kKeys)
        if (name == k.name)
            return k;
    throw std::logic_error("unknown configuration key");
}

// The two player switches carry in memory one blank where their "+ Leerzeichen" flag is set.
// Values are read trimmed, so the blank written with a switch never comes back doubled.
void addParameterBlanks(Config& config) {
    config.MP3PLAYERPARAMETERADD = trim(config.MP3PLAYERPARAMETERADD);
    if (config.MP3PLAYERPARAMETERADDSPACE)
        config.MP3PLAYERPARAMETERADD += ' ';
    config.MP3PLAYERPARAMETERCLASS = trim(config.MP3PLAYERPARAMETERCLASS);
    if (config.MP3PLAYERPARAMETERCLASSSPACE)
        config.MP3PLAYERPARAMETERCLASS += ' ';
}

bool loadIni(IniFile& ini, Dialogs& dialogs) {
    if (ini.load())
        return true;
    dialogs.error(lastErrorText());
    return false;
}

bool saveIni(const IniFile& ini, Dialogs& dialogs) {
    std::string error;
    if (ini.save(&error))
        return true;
    dialogs.error(error);
    return false;
}

// Reads the file, changes it and writes it back at once.
bool updateFile(std::string_view programFolder, Dialogs& dialogs,
                const std::function<void(IniFile&)>& change) {
    IniFile ini(configFilePath(programFolder));
    if (!loadIni(ini, dialogs))
        return false;
    change(ini);
    return saveIni(ini, dialogs);
}

} // namespace

Config::Config() : Config(std::string_view{}) {}

Config::Config(std::string_view programFolder) {
    for (const auto& k : kKeys)
        setDefault(*this, k, programFolder);
    addParameterBlanks(*this);
}

std::span<const ConfigKey> configKeys() {
    return kKeys;
}

std::string configFilePath(std::string_view programFolder) {
    std::string path = joinPath(programFolder, kConfigFileName);
    if (auto existing = findCaseVariant(path))
        return *existing;
    return path;
}

namespace {

// Every key but the four moment keys, in the order of the table, then the index selector.
void readValues(const IniFile& ini, Config& config, IndexSelector& selector) {
    for (const char* name : {"TOP", "LEFT", "HEIGHT", "WIDTH"})
        readKey(ini, config, keyNamed(name));
    config.HEIGHT = std::max(config.HEIGHT, kMinimumHeight);
    config.WIDTH = std::max(config.WIDTH, kMinimumWidth);

    for (const auto& k : kKeys)
        if (!readEarly(k.name))
            readKey(ini, config, k);
    addParameterBlanks(config);

    for (const char* name : kSelectorItemKeys) {
        std::string item = ini.readString(kConfigSection, name, "");
        if (!item.empty() && fileOrFolderExists(item) &&
            selector.items.size() < IndexSelector::kMaxItems)
            selector.items.push_back(item);
    }
    std::string current = ini.readString(kConfigSection, kSelectorTextKey, "");
    if (!current.empty())
        selector.select(current);

    if (config.SKIN.empty())
        config.SKIN = "default";
}

} // namespace

bool Konfigladen(std::string_view programFolder, Config& config, IndexSelector& selector,
                 Dialogs& dialogs) {
    config = Config(programFolder);
    IniFile ini(configFilePath(programFolder));

    // A missing file is created empty (a failure shows at the first write below).
    if (!fileExists(ini.path()))
        ini.save();
    if (!loadIni(ini, dialogs))
        return false;

    if (leadingNumber(ini.readString(kConfigSection, "PROGVERS", "0")) < kOldestUsableVersion)
        ini.eraseSection(kConfigSection);

    // Cleared now and set again only by a normal end, so that the next start can tell a crash.
    config.BEENDET = ini.readBool(kConfigSection, "BEENDET", true);
    ini.writeBool(kConfigSection, "BEENDET", false);
    if (!saveIni(ini, dialogs))
        return false;

    if (trim(ini.readString(kConfigSection, "PROGVERS", "")) != kVersionText) {
        ini.writeString(kConfigSection, "PROGVERS", kVersionText);
        if (!saveIni(ini, dialogs))
            return false;
    }
    config.PROGVERS = kVersionText;

    readValues(ini, config, selector);
    return true;
}

bool readConfiguration(std::string_view programFolder, Config& config, IndexSelector& selector) {
    config = Config(programFolder);
    IniFile ini(configFilePath(programFolder));
    if (!ini.load())
        return false;
    if (leadingNumber(ini.readString(kConfigSection, "PROGVERS", "0")) < kOldestUsableVersion)
        ini.eraseSection(kConfigSection);
    config.BEENDET = ini.readBool(kConfigSection, "BEENDET", true);
    config.PROGVERS = ini.readString(kConfigSection, "PROGVERS", "");
    readValues(ini, config, selector);
    return true;
}

bool Konfigspeichern(std::string_view programFolder, const Config& config,
                     const IndexSelector& selector, Dialogs& dialogs) {
    return updateFile(programFolder, dialogs, [&](IniFile& ini) {
        for (const auto& k : kKeys)
            if (k.savedWithConfiguration)
                writeKey(ini, config, k);
        // The address comes from the web configuration file while AUTOLOADIP is on.
        if (config.AUTOLOADIP)
            ini.writeString(kConfigSection, "SERVER_IP", "");
        for (size_t i = 0; i < kSelectorItemKeys.size() && i < selector.items.size(); ++i)
            ini.writeString(kConfigSection, kSelectorItemKeys[i], selector.items[i]);
        ini.writeString(kConfigSection, kSelectorTextKey, selector.text);
    });
}

bool writeEndedNormally(std::string_view programFolder, Dialogs& dialogs) {
    return updateFile(programFolder, dialogs,
                      [](IniFile& ini) { ini.writeBool(kConfigSection, "BEENDET", true); });
}

bool writeIndexLoaded(std::string_view programFolder, bool loaded, Dialogs& dialogs) {
    return updateFile(programFolder, dialogs, [loaded](IniFile& ini) {
        ini.writeBool(kConfigSection, "INDEXGELADEN", loaded);
    });
}

bool writeIntroductionShown(std::string_view programFolder, Dialogs& dialogs) {
    return updateFile(programFolder, dialogs,
                      [](IniFile& ini) { ini.writeBool(kConfigSection, "ERSTERSTART", false); });
}

bool readIndexLoaded(std::string_view programFolder) {
    IniFile ini(configFilePath(programFolder));
    if (!ini.load())
        return true;
    return ini.readBool(kConfigSection, "INDEXGELADEN", true);
}

} // namespace harlune
