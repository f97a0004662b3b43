#include "app/config.h"
#include "app/version.h"
#include "base/ini_file.h"
#include "fake_dialogs.h"
#include "index/index_selector.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace harlune;
using harlune::test::FakeDialogs;
using harlune::test::TempDir;

namespace {

struct Folder {
    TempDir dir;
    FakeDialogs dialogs;
    Folder() { dir.makeProgramFolder(); }
    std::string ini() const { return dir.file("Harlune.INI"); }
    void writeIni(std::string_view text) const { dir.write("Harlune.INI", text); }
    std::string iniText() const { return TempDir::read(ini()); }
    std::string value(std::string_view key, std::string_view section = "KONFIG") const {
        IniFile f(ini());
        f.load();
        return f.hasKey(section, key) ? f.readString(section, key, "") : "<missing>";
    }
    // Makes every write of the file fail: the work file it is written to cannot be created.
    void blockWrites() const { dir.write("Harlune.INI.new/blocker", "x"); }
};

} // namespace

// The file written from the defaults: names, order, defaults and formats of every key saved.
TEST(Config, FreshFolderStartsFromDefaultsAndSavesThemAll) {
    Folder f;
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_TRUE(f.dialogs.entries().empty());

    Config expected(f.dir.path());
    expected.PROGVERS = kVersionText;
    EXPECT_EQ(config, expected);
    EXPECT_EQ(config.Logdatei, f.dir.path() + "/Harlune.log");
    EXPECT_EQ(config.DOWNLOADDIR, f.dir.path() + "/download");
    EXPECT_EQ(f.iniText(), "[KONFIG]\r\nBEENDET=0\r\nPROGVERS=3.52a\r\n");

    ASSERT_TRUE(Konfigspeichern(f.dir.path(), config, selector, f.dialogs));
    const std::string folder = f.dir.path();
    EXPECT_EQ(f.iniText(), "[KONFIG]\r\nBEENDET=0\r\nPROGVERS=3.52a\r\n"
                           "TOP=100\r\nLEFT=20\r\nHEIGHT=350\r\nWIDTH=535\r\nALBENEXPLORER=1\r\n"
                           "BENUTZERNAME=[ihr Name]\r\nSYSTEMUSERVERWENDEN=1\r\nBEGRUESSEN=1\r\n"
                           "SKIN=TALM\r\n"
                           "SUCHDELAY=500\r\nSOFORTSUCHE=1\r\nSOFORTSUCHEEINGABELOESCHEN=0\r\n"
                           "SUCHEINALLENLISTEN=0\r\nSuchverfahren=g\r\nSuchquelle=t\r\n"
                           "DOPPELKLICKMP3STARTEN=1\r\n"
                           "Zusatzinfosladen=1\r\nAlseigeneSpalte=1\r\nSpaltenposition=180\r\n"
                           "Laenge=1\r\nVersion=0\r\nLayer=0\r\nModus=0\r\nAlbum=0\r\nBitrate=0\r\n"
                           "Samplingrate=0\r\nVerzeichnis=0\r\nDatum=0\r\nGruppe=1\r\nWertung=1\r\n"
                           "TrackNr=0\r\n"
                           "Log=0\r\nLogdatei=" +
                               folder +
                               "/Harlune.log\r\n"
                               "STANDARDPLAYER=1\r\nMP3PLAYER=C:\\Programme\\Winamp\\Winamp.EXE\r\n"
                               "MP3PLAYERPARAMETERADD=/ADD \r\nMP3PLAYERPARAMETERADDSPACE=1\r\n"
                               "MP3PLAYERPARAMETERCLASS=/CLASS=\r\n"
                               "MP3PLAYERPARAMETERCLASSSPACE=0\r\n"
                               "NAMEPLAYER1=Winamp v1.x\r\nNAMEPLAYER2=Winamp v1.x (2)\r\n"
                               "WM_LAUTST=122\r\nWM_LAUTST_MAXVAL=255\r\nWM_PLAY=40045\r\n"
                               "WM_PAUSE=40046\r\nWM_LAUTST_TYP=0\r\nWM_PLAY_TYP=1\r\n"
                               "WM_PAUSE_TYP=1\r\n"
                               "FADER_VOL_AUSSEN=100\r\nFADER_VOL_INNEN=30\r\nFade_Speed=5\r\n"
                               "REMOTEDEVICE=COM1\r\nREMOTEDELAY=3\r\nREMOTEAUTOINIT=0\r\n"
                               "SERVER_IP=\r\nSERVER_USER=\r\nSERVER_PW=\r\nAUTOLOADIP=0\r\n"
                               "WEBKONFIG=\r\nDOWNLOADDIR=" +
                               folder +
                               "/download\r\n"
                               "MP3PLAYERPRE=C:\\Programme\\Winamp_Pre\\Winamp.EXE\r\n"
                               "MP3PLAYERPREPARAMETERCLASS=/CLASS=\r\nPREPARAMETERADDSPACE=0\r\n"
                               "MP3PLAYERPRECLASSNAME=PrePlayer\r\n"
                               "autoaktualisierung_aktiv=0\r\nautoaktualisierung_intervall=60\r\n"
                               "autoaktualisierung_verzeichnis=C:\\MP3Neuzugang\r\n"
                               "autoaktualisierung_anz=0\r\n"
                               "soundserver_verwenden=0\r\nsoundserver_ip=192.168.1.1\r\n"
                               "soundserver_port=1309\r\n"
                               "pconv_v1=\r\npconv_v2=\r\npconv_v3=\r\npconv_n1=\r\npconv_n2=\r\n"
                               "pconv_n3=\r\n"
                               "FASTCOPY_aktiv=0\r\nFASTCOPY_Ziel=E:\\\r\n"
                               "AKTUELL=\r\n");
}

// A file last written before version 3.0 keeps none of its settings; from 3.0 on they count.
TEST(Config, OldVersionsLoseTheirSettings) {
    struct Case {
        const char* progvers; // nullptr: no PROGVERS line
        bool kept;
    };
    for (const Case& c : {Case{"2.9", false}, Case{nullptr, false}, Case{"abc", false},
                          Case{"3.0", true}, Case{"3.52a", true}, Case{" 4.1 beta", true}}) {
        SCOPED_TRACE(c.progvers ? c.progvers : "(none)");
        Folder f;
        std::string text = "[OTHER]\r\nx=1\r\n[KONFIG]\r\nBEENDET=0\r\nTOP=7\r\nHEIGHT=400\r\n"
                           "Fade_Speed=9\r\nSKIN=Blue\r\nDATEI1=" +
                           f.dir.file("Playlists") + "\r\n";
        if (c.progvers)
            text += std::string("PROGVERS=") + c.progvers + "\r\n";
        f.writeIni(text);

        Config config;
        IndexSelector selector;
        ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
        EXPECT_EQ(config.TOP, c.kept ? 7 : 100);
        EXPECT_EQ(config.HEIGHT, c.kept ? 400 : 350);
        EXPECT_EQ(config.Fade_Speed, c.kept ? 9 : 5);
        EXPECT_EQ(config.SKIN, c.kept ? "Blue" : "TALM");
        EXPECT_EQ(selector.items.size(), c.kept ? 1u : 0u);
        // The erased BEENDET reads as a normal end.
        EXPECT_EQ(config.BEENDET, !c.kept);
        EXPECT_EQ(f.value("BEENDET"), "0");
        EXPECT_EQ(f.value("PROGVERS"), "3.52a");
        EXPECT_EQ(f.value("x", "OTHER"), "1");
        EXPECT_EQ(f.value("TOP"), c.kept ? "7" : "<missing>");
    }
}

// BEENDET across runs: each start reports the value it found and leaves false behind, which only
// a normal end turns back to true. INDEXGELADEN and ERSTERSTART are written at their moments.
TEST(Config, MomentKeysAcrossRuns) {
    Folder f;
    f.writeIni("[KONFIG]\r\nPROGVERS=3.52a\r\nBEENDET=1\r\n");
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_TRUE(config.BEENDET);
    EXPECT_EQ(f.value("BEENDET"), "0");

    // Killed: the next start finds false.
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_FALSE(config.BEENDET);

    ASSERT_TRUE(writeEndedNormally(f.dir.path(), f.dialogs));
    EXPECT_EQ(f.value("BEENDET"), "1");
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_TRUE(config.BEENDET);

    EXPECT_TRUE(readIndexLoaded(f.dir.path()));
    ASSERT_TRUE(writeIndexLoaded(f.dir.path(), false, f.dialogs));
    EXPECT_FALSE(readIndexLoaded(f.dir.path()));
    ASSERT_TRUE(writeIndexLoaded(f.dir.path(), true, f.dialogs));
    EXPECT_TRUE(readIndexLoaded(f.dir.path()));

    EXPECT_TRUE(config.ERSTERSTART);
    ASSERT_TRUE(writeIntroductionShown(f.dir.path(), f.dialogs));
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_FALSE(config.ERSTERSTART);

    // A save of the whole configuration leaves the moment keys as they stand in the file.
    config.BEENDET = true;
    config.ERSTERSTART = true;
    config.PROGVERS = "9";
    ASSERT_TRUE(Konfigspeichern(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(f.value("BEENDET"), "0");
    EXPECT_EQ(f.value("ERSTERSTART"), "0");
    EXPECT_EQ(f.value("INDEXGELADEN"), "1");
    EXPECT_EQ(f.value("PROGVERS"), "3.52a");
    EXPECT_TRUE(f.dialogs.entries().empty());
}

TEST(Config, UnwritableFileIsReportedNeverIgnored) {
    Folder f;
    f.writeIni("[KONFIG]\r\nPROGVERS=3.52a\r\nBEENDET=1\r\nTOP=5\r\n");
    f.blockWrites();
    const std::string before = f.iniText();
    const std::string systemText = std::strerror(EISDIR);

    Config config;
    IndexSelector selector;
    EXPECT_FALSE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    ASSERT_EQ(f.dialogs.entries().size(), 1u);
    EXPECT_EQ(f.dialogs.entries()[0].kind, "error");
    EXPECT_EQ(f.dialogs.entries()[0].text, systemText);

    f.dialogs.clear();
    EXPECT_FALSE(Konfigspeichern(f.dir.path(), config, selector, f.dialogs));
    EXPECT_FALSE(writeEndedNormally(f.dir.path(), f.dialogs));
    EXPECT_FALSE(writeIndexLoaded(f.dir.path(), false, f.dialogs));
    EXPECT_FALSE(writeIntroductionShown(f.dir.path(), f.dialogs));
    EXPECT_EQ(f.dialogs.texts("error"), std::vector<std::string>(4, systemText));
    EXPECT_EQ(f.iniText(), before);
}

TEST(Config, ValuesAreReadByTheirRules) {
    Folder f;
    f.writeIni("[konfig]\r\nprogvers=3.52a\r\n"
               "HEIGHT=100\r\nWIDTH=200\r\nLEFT=abc\r\n"
               "Suchverfahren=uvw\r\nSuchquelle=\r\nSKIN=\r\n"
               "SUCHDELAY=  250  \r\nLog=7\r\nGruppe=0\r\nWM_PLAY=$10\r\n"
               "BENUTZERNAME=  Jo Doe  \r\n");
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(config.HEIGHT, 320);
    EXPECT_EQ(config.WIDTH, 535);
    EXPECT_EQ(config.LEFT, 20);
    EXPECT_EQ(config.Suchverfahren, 'u');
    EXPECT_EQ(config.Suchquelle, 't');
    EXPECT_EQ(config.SKIN, "default");
    EXPECT_EQ(config.SUCHDELAY, 250);
    EXPECT_TRUE(config.Log);
    EXPECT_FALSE(config.Gruppe);
    EXPECT_EQ(config.WM_PLAY, 16);
    EXPECT_EQ(config.BENUTZERNAME, "Jo Doe");

    // Larger sizes stay as they are.
    f.writeIni("[KONFIG]\r\nPROGVERS=3.52a\r\nHEIGHT=321\r\nWIDTH=900\r\n");
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(config.HEIGHT, 321);
    EXPECT_EQ(config.WIDTH, 900);
}

// The "+ Leerzeichen" flags: the blank is written with the switch but read back trimmed, so
// memory holds exactly one blank after any number of save-and-load rounds.
TEST(Config, ParameterBlankSurvivesSaveAndLoadOnce) {
    Folder f;
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(config.MP3PLAYERPARAMETERADD, "/ADD ");
    config.MP3PLAYERPARAMETERCLASSSPACE = true;
    config.MP3PLAYERPARAMETERCLASS = "/CLASS= ";
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(Konfigspeichern(f.dir.path(), config, selector, f.dialogs));
        EXPECT_NE(f.iniText().find("MP3PLAYERPARAMETERADD=/ADD \r\n"), std::string::npos);
        EXPECT_NE(f.iniText().find("MP3PLAYERPARAMETERCLASS=/CLASS= \r\n"), std::string::npos);
        ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
        EXPECT_EQ(config.MP3PLAYERPARAMETERADD, "/ADD ");
        EXPECT_EQ(config.MP3PLAYERPARAMETERCLASS, "/CLASS= ");
    }
    config.MP3PLAYERPARAMETERADDSPACE = false;
    config.MP3PLAYERPARAMETERADD = "/ADD";
    ASSERT_TRUE(Konfigspeichern(f.dir.path(), config, selector, f.dialogs));
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(config.MP3PLAYERPARAMETERADD, "/ADD");
}

TEST(Config, SelectorEntriesLoadWhenTheyExistAndSaveInPlace) {
    Folder f;
    const std::string a = f.dir.write("Playlists/A.M3U", "");
    const std::string b = f.dir.write("Playlists/B.M3U", "");
    const std::string folder = f.dir.file("Playlists");
    const std::string gone = f.dir.file("Playlists/Deleted.M3U");
    f.writeIni("[KONFIG]\r\nPROGVERS=3.52a\r\nDATEI1=" + a + "\r\nDATEI2=\r\nDATEI3=" + gone +
               "\r\nDATEI4=" + folder + "\r\nDATEI5=" + b + "\r\nAKTUELL=" + b + "\r\n");
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(selector.items, (std::vector<std::string>{a, folder, b}));
    EXPECT_EQ(selector.text, b);

    // Entries beyond the selector's last item keep what the file holds.
    selector.items = {b, a};
    selector.text = a;
    ASSERT_TRUE(Konfigspeichern(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(f.value("DATEI1"), b);
    EXPECT_EQ(f.value("DATEI2"), a);
    EXPECT_EQ(f.value("DATEI3"), gone);
    EXPECT_EQ(f.value("DATEI4"), folder);
    EXPECT_EQ(f.value("DATEI5"), b);
    EXPECT_EQ(f.value("AKTUELL"), a);

    // A current text that is no longer among the items selects nothing.
    f.writeIni("[KONFIG]\r\nPROGVERS=3.52a\r\nDATEI1=" + a + "\r\nAKTUELL=" + gone + "\r\n");
    IndexSelector fresh;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, fresh, f.dialogs));
    EXPECT_EQ(fresh.items, std::vector<std::string>{a});
    EXPECT_EQ(fresh.text, "");
}

// Every key saved comes back as it was; the rest of the file is left alone.
TEST(Config, SaveAndLoadRoundTripKeepsTheRestOfTheFile) {
    Folder f;
    f.writeIni("; comment\r\n[Start]\r\nFoo=bar\r\n[KONFIG]\r\nPROGVERS=3.52a\r\n"
               "UNKNOWNKEY=keep me\r\n\r\n[Tail]\r\nz=1\r\n");
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));

    Config changed = config;
    for (const ConfigKey& k : configKeys()) {
        std::visit(
            [&](const auto& field) {
                using T = std::decay_t<decltype(field)>;
                if constexpr (std::is_same_v<T, IntKey>)
                    changed.*field.member = field.fallback + 1000;
                else if constexpr (std::is_same_v<T, BoolKey>)
                    changed.*field.member = !field.fallback;
                else if constexpr (std::is_same_v<T, CharKey>)
                    changed.*field.member = 'o';
                else
                    changed.*field.member = std::string("v-") + k.name;
            },
            k.value);
    }
    // Keep memory as a load leaves it: switches with their blank, the address stored.
    changed.MP3PLAYERPARAMETERCLASS += ' ';
    changed.AUTOLOADIP = false;
    ASSERT_TRUE(Konfigspeichern(f.dir.path(), changed, selector, f.dialogs));

    Config loaded;
    ASSERT_TRUE(Konfigladen(f.dir.path(), loaded, selector, f.dialogs));
    for (bool Config::*moment : {&Config::BEENDET, &Config::ERSTERSTART, &Config::INDEXGELADEN})
        changed.*moment = loaded.*moment;
    changed.PROGVERS = loaded.PROGVERS;
    EXPECT_EQ(loaded, changed);

    const std::string text = f.iniText();
    EXPECT_EQ(text.rfind("; comment\r\n[Start]\r\nFoo=bar\r\n[KONFIG]\r\n", 0), 0u);
    EXPECT_NE(text.find("UNKNOWNKEY=keep me\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\r\n[Tail]\r\nz=1\r\n"), std::string::npos);

    // The server address is not stored while it comes from the web configuration file.
    changed.AUTOLOADIP = true;
    ASSERT_TRUE(Konfigspeichern(f.dir.path(), changed, selector, f.dialogs));
    EXPECT_EQ(f.value("SERVER_IP"), "");
    EXPECT_EQ(f.value("AUTOLOADIP"), "1");
    EXPECT_TRUE(f.dialogs.entries().empty());
}

TEST(Config, FileIsFoundWhateverTheCaseOfItsName) {
    Folder f;
    f.dir.write("harlune.ini", "[KONFIG]\r\nPROGVERS=3.52a\r\nTOP=77\r\n");
    EXPECT_EQ(configFilePath(f.dir.path()), f.dir.file("harlune.ini"));
    Config config;
    IndexSelector selector;
    ASSERT_TRUE(Konfigladen(f.dir.path(), config, selector, f.dialogs));
    EXPECT_EQ(config.TOP, 77);
    EXPECT_FALSE(std::filesystem::exists(f.ini()));
}
