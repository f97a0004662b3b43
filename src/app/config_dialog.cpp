#include "app/config_dialog.h"

#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/index_selector.h"
#include "platform/dialogs.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace harlune {
namespace {

// A whole number typed into a field (blanks around it allowed); nothing for other text.
std::optional<int> wholeNumber(std::string_view text) {
    std::string t = trim(text);
    if (!isInteger(t))
        return std::nullopt;
    return toIntDef(t, 0);
}

bool blank(std::string_view text) {
    return trim(text).empty();
}

// A spin field: a typed value outside the range is taken as the nearest end; text that is no
// number leaves the value as it was.
int spinValue(std::string_view text, int current, int lo, int hi) {
    auto v = wholeNumber(text);
    return v ? std::clamp(*v, lo, hi) : current;
}

// A folder typed with a final separator is kept without it; a lone separator (the root) stays.
std::string withoutFinalSeparator(std::string_view folder) {
    std::string out = trim(folder);
    if (out.size() > 1 && (out.back() == '\\' || out.back() == '/'))
        out.pop_back();
    return out;
}

// A parameter switch as it is kept in memory: trimmed, plus one blank when its flag is set.
std::string parameterSwitch(std::string_view text, bool addSpace) {
    std::string out = trim(text);
    if (addSpace)
        out += ' ';
    return out;
}

int messageKind(int index) {
    return index == 0 || index == 1 ? index : 0;
}

template <class F, class... Args> void call(const F& hook, Args... args) {
    if (hook)
        hook(args...);
}

} // namespace

ConfigDialogFields dialogFieldsFrom(const Config& c) {
    ConfigDialogFields f;
    f.BENUTZERNAME = c.BENUTZERNAME;
    f.SYSTEMUSERVERWENDEN = c.SYSTEMUSERVERWENDEN;
    f.BEGRUESSEN = c.BEGRUESSEN;
    f.Log = c.Log;
    f.Logdatei = c.Logdatei;
    f.FASTCOPY_aktiv = c.FASTCOPY_aktiv;
    f.FASTCOPY_Ziel = c.FASTCOPY_Ziel;

    f.SOFORTSUCHE = c.SOFORTSUCHE;
    f.SUCHDELAY = std::to_string(c.SUCHDELAY);
    f.SOFORTSUCHEEINGABELOESCHEN = c.SOFORTSUCHEEINGABELOESCHEN;
    f.DOPPELKLICKMP3STARTEN = c.DOPPELKLICKMP3STARTEN;
    f.Zusatzinfosladen = c.Zusatzinfosladen;
    f.AlseigeneSpalte = c.AlseigeneSpalte;
    f.Spaltenposition = std::to_string(c.Spaltenposition);
    f.Laenge = c.Laenge;
    f.Version = c.Version;
    f.Layer = c.Layer;
    f.Modus = c.Modus;
    f.Album = c.Album;
    f.Bitrate = c.Bitrate;
    f.Samplingrate = c.Samplingrate;
    f.Verzeichnis = c.Verzeichnis;
    f.Datum = c.Datum;
    f.Gruppe = c.Gruppe;
    f.Wertung = c.Wertung;
    f.TrackNr = c.TrackNr;

    f.STANDARDPLAYER = c.STANDARDPLAYER;
    f.MP3PLAYER = c.MP3PLAYER;
    f.MP3PLAYERPARAMETERADD = c.MP3PLAYERPARAMETERADD;
    f.MP3PLAYERPARAMETERADDSPACE = c.MP3PLAYERPARAMETERADDSPACE;
    f.MP3PLAYERPARAMETERCLASS = c.MP3PLAYERPARAMETERCLASS;
    f.MP3PLAYERPARAMETERCLASSSPACE = c.MP3PLAYERPARAMETERCLASSSPACE;
    f.NAMEPLAYER1 = c.NAMEPLAYER1;
    f.NAMEPLAYER2 = c.NAMEPLAYER2;
    f.WM_LAUTST = std::to_string(c.WM_LAUTST);
    f.WM_LAUTST_MAXVAL = std::to_string(c.WM_LAUTST_MAXVAL);
    f.WM_PLAY = std::to_string(c.WM_PLAY);
    f.WM_PAUSE = std::to_string(c.WM_PAUSE);
    f.WM_LAUTST_TYP = messageKind(c.WM_LAUTST_TYP);
    f.WM_PLAY_TYP = messageKind(c.WM_PLAY_TYP);
    f.WM_PAUSE_TYP = messageKind(c.WM_PAUSE_TYP);
    f.soundserver_verwenden = c.soundserver_verwenden;
    f.soundserver_ip = c.soundserver_ip;
    f.soundserver_port = std::to_string(c.soundserver_port);

    f.FADER_VOL_AUSSEN = std::to_string(c.FADER_VOL_AUSSEN);
    f.FADER_VOL_INNEN = std::to_string(c.FADER_VOL_INNEN);
    f.Fade_Speed = std::to_string(c.Fade_Speed);

    f.REMOTEDEVICE = c.REMOTEDEVICE;
    f.REMOTEDELAY = std::to_string(c.REMOTEDELAY);
    f.REMOTEAUTOINIT = c.REMOTEAUTOINIT;

    f.SERVER_IP = c.SERVER_IP;
    f.SERVER_USER = c.SERVER_USER;
    f.SERVER_PW = c.SERVER_PW;
    f.AUTOLOADIP = c.AUTOLOADIP;
    f.WEBKONFIG = c.WEBKONFIG;
    f.DOWNLOADDIR = c.DOWNLOADDIR;

    f.MP3PLAYERPRE = c.MP3PLAYERPRE;
    f.MP3PLAYERPREPARAMETERCLASS = c.MP3PLAYERPREPARAMETERCLASS;
    f.PREPARAMETERADDSPACE = c.PREPARAMETERADDSPACE;
    f.MP3PLAYERPRECLASSNAME = c.MP3PLAYERPRECLASSNAME;

    f.autoaktualisierung_aktiv = c.autoaktualisierung_aktiv;
    f.autoaktualisierung_intervall = std::to_string(c.autoaktualisierung_intervall);
    f.autoaktualisierung_verzeichnis = c.autoaktualisierung_verzeichnis;

    f.pconv_v1 = c.pconv_v1;
    f.pconv_v2 = c.pconv_v2;
    f.pconv_v3 = c.pconv_v3;
    f.pconv_n1 = c.pconv_n1;
    f.pconv_n2 = c.pconv_n2;
    f.pconv_n3 = c.pconv_n3;
    return f;
}

bool speichernClick(ConfigDialogFields& f, Config& c, std::string_view programFolder,
                    const IndexSelector& selector, Dialogs& dialogs, const ConfigSaveHooks& hooks) {
    // 1. A named player without its switches or program only earns a warning.
    if (!f.STANDARDPLAYER) {
        if (blank(f.MP3PLAYERPARAMETERADD))
            dialogs.warning(kNoAddParameterText);
        if (blank(f.MP3PLAYER))
            dialogs.warning(kNoPlayerText);
    }

    // 2. Extra information with nothing to show is switched off.
    const bool anyShown = f.Laenge || f.Version || f.Layer || f.Modus || f.Album || f.Bitrate ||
                          f.Samplingrate || f.Verzeichnis || f.Datum || f.Gruppe || f.Wertung ||
                          f.TrackNr;
    if (!anyShown)
        f.Zusatzinfosladen = false;

    // 3. Search, player switches, display and greeting.
    c.SOFORTSUCHE = f.SOFORTSUCHE;
    c.SOFORTSUCHEEINGABELOESCHEN = f.SOFORTSUCHEEINGABELOESCHEN;
    // A delay below one millisecond (0, negative or no number) would never let the timer rest.
    c.SUCHDELAY = std::max(wholeNumber(f.SUCHDELAY).value_or(1), 1);
    c.MP3PLAYER = f.MP3PLAYER;
    c.STANDARDPLAYER = f.STANDARDPLAYER;
    c.MP3PLAYERPARAMETERADDSPACE = f.MP3PLAYERPARAMETERADDSPACE;
    c.MP3PLAYERPARAMETERADD =
        parameterSwitch(f.MP3PLAYERPARAMETERADD, f.MP3PLAYERPARAMETERADDSPACE);
    c.MP3PLAYERPARAMETERCLASSSPACE = f.MP3PLAYERPARAMETERCLASSSPACE;
    c.MP3PLAYERPARAMETERCLASS =
        parameterSwitch(f.MP3PLAYERPARAMETERCLASS, f.MP3PLAYERPARAMETERCLASSSPACE);
    c.Spaltenposition = wholeNumber(f.Spaltenposition).value_or(c.Spaltenposition);
    call(hooks.setFirstColumnFromRight, c.Spaltenposition);
    c.Zusatzinfosladen = f.Zusatzinfosladen;
    c.AlseigeneSpalte = f.AlseigeneSpalte;
    c.Laenge = f.Laenge;
    c.Version = f.Version;
    c.Layer = f.Layer;
    c.Modus = f.Modus;
    c.Album = f.Album;
    c.Bitrate = f.Bitrate;
    c.Samplingrate = f.Samplingrate;
    c.Verzeichnis = f.Verzeichnis;
    c.Datum = f.Datum;
    c.Gruppe = f.Gruppe;
    c.Wertung = f.Wertung;
    c.TrackNr = f.TrackNr;
    c.Log = f.Log;
    c.Logdatei = f.Logdatei;
    c.SYSTEMUSERVERWENDEN = f.SYSTEMUSERVERWENDEN;
    c.BENUTZERNAME = f.BENUTZERNAME;
    c.BEGRUESSEN = f.BEGRUESSEN;
    c.DOPPELKLICKMP3STARTEN = f.DOPPELKLICKMP3STARTEN;
    c.NAMEPLAYER1 = f.NAMEPLAYER1;
    c.NAMEPLAYER2 = f.NAMEPLAYER2;

    // 4., 5. Fader volumes in percent; an empty field keeps the value.
    if (!blank(f.FADER_VOL_AUSSEN)) {
        auto v = wholeNumber(f.FADER_VOL_AUSSEN);
        if (!v || *v < 0 || *v > 100) {
            dialogs.information(kOuterVolumeRangeText);
            return false;
        }
        c.FADER_VOL_AUSSEN = *v;
        call(hooks.placeVolumeKnob, *v);
    }
    if (!blank(f.FADER_VOL_INNEN)) {
        auto v = wholeNumber(f.FADER_VOL_INNEN);
        if (!v || *v < 0 || *v > 100) {
            dialogs.warning(kInnerVolumeRangeText);
            return false;
        }
        c.FADER_VOL_INNEN = *v;
    }

    // 6. The command numbers, each taken when it is a number.
    const struct {
        const std::string& text;
        int& value;
        const char* message;
    } commands[] = {
        {f.WM_LAUTST, c.WM_LAUTST, kVolumeCommandText},
        {f.WM_LAUTST_MAXVAL, c.WM_LAUTST_MAXVAL, kMaxValueText},
        {f.WM_PLAY, c.WM_PLAY, kPlayCommandText},
        {f.WM_PAUSE, c.WM_PAUSE, kPauseCommandText},
    };
    for (const auto& command : commands) {
        if (blank(command.text))
            continue;
        auto v = wholeNumber(command.text);
        if (!v) {
            dialogs.warning(command.message);
            return false;
        }
        command.value = *v;
    }

    // 7. Message kinds.
    c.WM_LAUTST_TYP = messageKind(f.WM_LAUTST_TYP);
    c.WM_PLAY_TYP = messageKind(f.WM_PLAY_TYP);
    c.WM_PAUSE_TYP = messageKind(f.WM_PAUSE_TYP);

    // 8. Auto-fade speed.
    if (!blank(f.Fade_Speed)) {
        auto v = wholeNumber(f.Fade_Speed);
        if (!v || *v < 1 || *v > 10) {
            dialogs.warning(kFadeSpeedText);
            return false;
        }
        c.Fade_Speed = *v;
    }

    // 9. Running players get the new class argument and volumes.
    call(hooks.refreshTwoPlayerMode);

    // 10. Serial remote terminal.
    c.REMOTEDEVICE = f.REMOTEDEVICE;
    c.REMOTEAUTOINIT = f.REMOTEAUTOINIT;
    c.REMOTEDELAY = spinValue(f.REMOTEDELAY, c.REMOTEDELAY, kRemoteDelayMin, kRemoteDelayMax);

    // 11. Web indexes: the address comes from the web configuration file while AUTOLOADIP is on.
    if (f.AUTOLOADIP)
        f.SERVER_IP.clear();
    c.SERVER_IP = f.SERVER_IP;
    c.SERVER_USER = f.SERVER_USER;
    c.SERVER_PW = f.SERVER_PW;
    c.AUTOLOADIP = f.AUTOLOADIP;
    c.WEBKONFIG = f.WEBKONFIG;
    if (c.AUTOLOADIP && blank(c.WEBKONFIG)) {
        dialogs.warning(kNoWebConfigLinkText);
        return false;
    }

    // 12. Download folder. It is taken only once it is known to exist: downloads must never
    // land in a folder the user was told is wrong.
    std::string downloadDir = withoutFinalSeparator(f.DOWNLOADDIR);
    if (downloadDir.empty()) {
        dialogs.warning(kNoDownloadFolderText);
        return false;
    }
    if (!directoryExists(downloadDir)) {
        dialogs.warning(kDownloadFolderMissingText);
        return false;
    }
    c.DOWNLOADDIR = downloadDir;

    // 13. Pre-player, automatic update, sound server, path conversions, quick copy.
    c.MP3PLAYERPRE = f.MP3PLAYERPRE;
    c.MP3PLAYERPREPARAMETERCLASS = f.MP3PLAYERPREPARAMETERCLASS;
    c.PREPARAMETERADDSPACE = f.PREPARAMETERADDSPACE;
    c.MP3PLAYERPRECLASSNAME = f.MP3PLAYERPRECLASSNAME;
    c.autoaktualisierung_aktiv = f.autoaktualisierung_aktiv;
    c.autoaktualisierung_intervall =
        spinValue(f.autoaktualisierung_intervall, c.autoaktualisierung_intervall,
                  kAutoUpdateSecondsMin, kAutoUpdateSecondsMax);
    c.autoaktualisierung_verzeichnis = f.autoaktualisierung_verzeichnis;
    call(hooks.setAutoUpdateInterval, c.autoaktualisierung_intervall);
    c.soundserver_verwenden = f.soundserver_verwenden;
    c.soundserver_ip = f.soundserver_ip;
    c.soundserver_port =
        spinValue(f.soundserver_port, c.soundserver_port, kSoundServerPortMin, kSoundServerPortMax);
    c.pconv_v1 = f.pconv_v1;
    c.pconv_v2 = f.pconv_v2;
    c.pconv_v3 = f.pconv_v3;
    c.pconv_n1 = f.pconv_n1;
    c.pconv_n2 = f.pconv_n2;
    c.pconv_n3 = f.pconv_n3;
    c.FASTCOPY_aktiv = f.FASTCOPY_aktiv;
    c.FASTCOPY_Ziel = withoutFinalSeparator(f.FASTCOPY_Ziel);

    // 14. Write the file; the dialog stays open when that fails.
    if (!Konfigspeichern(programFolder, c, selector, dialogs))
        return false;
    call(hooks.closeDialog);
    call(hooks.redrawResults);
    return true;
}

bool restoreClick(std::string_view programFolder, Dialogs& dialogs) {
    if (!dialogs.confirm(kRestoreQuestionText))
        return false;
    bool conflict = false;
    auto existing = findCaseVariant(joinPath(programFolder, kRestoreFileName), &conflict);
    bool deleted;
    if (conflict) {
        // Two files differing only in case: which one is meant is for the user to decide.
        deleted = false;
    } else if (!existing) {
        // Nothing to delete: the next start uses the defaults all the same.
        deleted = true;
    } else {
        std::error_code ec;
        deleted = std::filesystem::remove(fsPath(*existing), ec) && !ec;
    }
    if (!deleted) {
        dialogs.error(kRestoreFailedText);
        return false;
    }
    dialogs.information(kRestoreDoneText);
    return true;
}

std::string serialStatusText(bool linkOpen, std::string_view remoteDevice) {
    return linkOpen ? kSerialActivePrefix + std::string(remoteDevice) : kSerialInactiveText;
}

bool choosePlayerProgram(std::string& entry, Dialogs& dialogs) {
    std::string path = blank(entry) ? std::string() : folderPart(trim(entry));
    const std::vector<FileFilter> filters = {{kProgramFilterText, "*.exe"},
                                             {kAllFilesFilterText, "*.*"}};
    if (!dialogs.openFile("", filters, path))
        return false;
    entry = path;
    return true;
}

std::string skinFromListEntry(std::string_view entry) {
    std::string name(entry);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    if (name == "." || name == "..")
        return {};
    return name;
}

} // namespace harlune
