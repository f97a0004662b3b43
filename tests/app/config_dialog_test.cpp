#include "app/config_dialog.h"
#include "base/ini_file.h"
#include "fake_dialogs.h"
#include "index/index_selector.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace harlune;
using harlune::test::FakeDialogs;
using harlune::test::TempDir;

namespace {

// A program folder with a loaded configuration, the dialog's fields filled from it and hooks
// that record what they were asked to do.
struct DialogFixture {
    TempDir dir;
    FakeDialogs dialogs;
    Config config;
    IndexSelector selector;
    ConfigDialogFields fields;
    std::vector<std::string> calls;
    ConfigSaveHooks hooks;

    DialogFixture() {
        dir.makeProgramFolder();
        EXPECT_TRUE(Konfigladen(dir.path(), config, selector, dialogs));
        fields = dialogFieldsFrom(config);
        hooks.setFirstColumnFromRight = [this](int v) { calls.push_back("column " + str(v)); };
        hooks.placeVolumeKnob = [this](int v) { calls.push_back("knob " + str(v)); };
        hooks.refreshTwoPlayerMode = [this] { calls.push_back("players"); };
        hooks.setAutoUpdateInterval = [this](int v) { calls.push_back("interval " + str(v)); };
        hooks.closeDialog = [this] { calls.push_back("close"); };
        hooks.redrawResults = [this] { calls.push_back("redraw"); };
    }
    static std::string str(int v) { return std::to_string(v); }
    bool save() { return speichernClick(fields, config, dir.path(), selector, dialogs, hooks); }
    std::string fileValue(std::string_view key) const {
        IniFile f(configFilePath(dir.path()));
        f.load();
        return f.hasKey("KONFIG", key) ? f.readString("KONFIG", key, "") : "<missing>";
    }
    std::string fileText() const { return TempDir::read(configFilePath(dir.path())); }
};

using Entries = std::vector<ScriptedDialogs::Entry>;

} // namespace

namespace harlune {
bool operator==(const ScriptedDialogs::Entry& a, const ScriptedDialogs::Entry& b) {
    return a.kind == b.kind && a.text == b.text;
}
void PrintTo(const ScriptedDialogs::Entry& e, std::ostream* os) {
    *os << e.kind << ": " << e.text;
}
} // namespace harlune

// Saving the fields as shown changes nothing in memory and writes the whole file; the other
// windows' work runs in the order of the steps.
TEST(ConfigDialog, UnchangedFieldsSaveAsTheyWere) {
    DialogFixture t;
    Config before = t.config;
    ASSERT_TRUE(t.save());
    before.FASTCOPY_Ziel = "E:"; // stored without its final separator
    EXPECT_EQ(t.config, before);
    EXPECT_TRUE(t.dialogs.entries().empty());
    EXPECT_EQ(t.calls, (std::vector<std::string>{"column 180", "knob 100", "players", "interval 60",
                                                 "close", "redraw"}));
    EXPECT_EQ(t.fileValue("FASTCOPY_Ziel"), "E:");
    EXPECT_EQ(t.fileValue("MP3PLAYERPARAMETERADD"), "/ADD");
    EXPECT_NE(t.fileText().find("MP3PLAYERPARAMETERADD=/ADD \r\n"), std::string::npos);
}

TEST(ConfigDialog, FieldsShowTheConfiguration) {
    Config c;
    c.SUCHDELAY = 250;
    c.WM_LAUTST_TYP = 7;
    c.WM_PLAY_TYP = 1;
    c.WM_PAUSE_TYP = -1;
    c.FADER_VOL_INNEN = 45;
    c.AUTOLOADIP = true;
    c.SERVER_IP = "10.0.0.1";
    ConfigDialogFields f = dialogFieldsFrom(c);
    EXPECT_EQ(f.SUCHDELAY, "250");
    EXPECT_EQ(f.WM_LAUTST_TYP, 0);
    EXPECT_EQ(f.WM_PLAY_TYP, 1);
    EXPECT_EQ(f.WM_PAUSE_TYP, 0);
    EXPECT_EQ(f.FADER_VOL_INNEN, "45");
    EXPECT_EQ(f.MP3PLAYERPARAMETERADD, "/ADD ");
    EXPECT_EQ(f.SERVER_IP, "10.0.0.1");
}

TEST(ConfigDialog, SearchDelayBelowOneOrNoNumberIsOne) {
    struct Case {
        const char* typed;
        int stored;
    };
    for (const Case& c : {Case{"0", 1}, Case{"abc", 1}, Case{"", 1}, Case{"-20", 1}, Case{"12x", 1},
                          Case{"250", 250}, Case{" 42 ", 42}}) {
        SCOPED_TRACE(c.typed);
        DialogFixture t;
        t.fields.SUCHDELAY = c.typed;
        ASSERT_TRUE(t.save());
        EXPECT_EQ(t.config.SUCHDELAY, c.stored);
        EXPECT_EQ(t.fileValue("SUCHDELAY"), std::to_string(c.stored));
    }
}

// A rejected field shows its message and stops: the file stays as it was, what earlier steps
// took stays in memory, later steps take nothing.
TEST(ConfigDialog, RejectedNumbersStopTheSave) {
    struct Case {
        const char* name;
        std::string ConfigDialogFields::*field;
        const char* typed;
        const char* kind;
        const char* message;
    };
    using F = ConfigDialogFields;
    const Case cases[] = {
        {"outer 101", &F::FADER_VOL_AUSSEN, "101", "information", kOuterVolumeRangeText},
        {"outer -1", &F::FADER_VOL_AUSSEN, "-1", "information", kOuterVolumeRangeText},
        {"outer text", &F::FADER_VOL_AUSSEN, "viel", "information", kOuterVolumeRangeText},
        {"inner 101", &F::FADER_VOL_INNEN, "101", "warning", kInnerVolumeRangeText},
        {"inner -1", &F::FADER_VOL_INNEN, "-1", "warning", kInnerVolumeRangeText},
        {"volume", &F::WM_LAUTST, "12a", "warning", kVolumeCommandText},
        {"max value", &F::WM_LAUTST_MAXVAL, "x", "warning", kMaxValueText},
        {"play", &F::WM_PLAY, "1.5", "warning", kPlayCommandText},
        {"pause", &F::WM_PAUSE, "p", "warning", kPauseCommandText},
        {"fade 0", &F::Fade_Speed, "0", "warning", kFadeSpeedText},
        {"fade 11", &F::Fade_Speed, "11", "warning", kFadeSpeedText},
        {"fade text", &F::Fade_Speed, "fast", "warning", kFadeSpeedText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogFixture t;
        const std::string fileBefore = t.fileText();
        t.fields.*c.field = c.typed;
        t.fields.SUCHDELAY = "777";     // step 3, before every check
        t.fields.REMOTEDEVICE = "COM9"; // step 10, after every check
        EXPECT_FALSE(t.save());
        EXPECT_EQ(t.dialogs.entries(), (Entries{{c.kind, c.message}}));
        EXPECT_EQ(t.config.SUCHDELAY, 777);
        EXPECT_EQ(t.config.REMOTEDEVICE, "COM1");
        EXPECT_EQ(t.fileText(), fileBefore);
        EXPECT_EQ(std::count(t.calls.begin(), t.calls.end(), "close"), 0);
    }
}

TEST(ConfigDialog, NumbersInRangeAreTakenAndEmptyFieldsKeepTheirValue) {
    DialogFixture t;
    t.fields.FADER_VOL_AUSSEN = "0";
    t.fields.FADER_VOL_INNEN = "100";
    t.fields.WM_LAUTST = "";
    t.fields.WM_PLAY = "40100";
    t.fields.Fade_Speed = "10";
    ASSERT_TRUE(t.save());
    EXPECT_EQ(t.config.FADER_VOL_AUSSEN, 0);
    EXPECT_EQ(t.config.FADER_VOL_INNEN, 100);
    EXPECT_EQ(t.config.WM_LAUTST, 122);
    EXPECT_EQ(t.config.WM_PLAY, 40100);
    EXPECT_EQ(t.config.Fade_Speed, 10);
    EXPECT_EQ(t.calls[1], "knob 0");

    DialogFixture e;
    e.fields.FADER_VOL_AUSSEN = "";
    e.fields.FADER_VOL_INNEN = "  ";
    e.fields.Fade_Speed = "";
    ASSERT_TRUE(e.save());
    EXPECT_EQ(e.config.FADER_VOL_AUSSEN, 100);
    EXPECT_EQ(e.config.FADER_VOL_INNEN, 30);
    EXPECT_EQ(e.config.Fade_Speed, 5);
    EXPECT_EQ(std::count(e.calls.begin(), e.calls.end(), "knob 100"), 0);

    // The command numbers checked before a rejected one are taken.
    DialogFixture r;
    r.fields.WM_LAUTST = "99";
    r.fields.WM_LAUTST_MAXVAL = "max";
    r.fields.WM_PLAY = "1";
    EXPECT_FALSE(r.save());
    EXPECT_EQ(r.config.WM_LAUTST, 99);
    EXPECT_EQ(r.config.WM_PLAY, 40045);
}

TEST(ConfigDialog, DownloadFolderIsCheckedAndStoredWithoutFinalSeparator) {
    TempDir other;
    const std::string target = other.path();
    struct Case {
        std::string typed;
        const char* message; // nullptr: accepted
        std::string stored;
    };
    const Case cases[] = {
        {target + "/", nullptr, target},
        {target + "\\", nullptr, target},
        {"  " + target + "  ", nullptr, target},
        {"/", nullptr, "/"},
        {"", kNoDownloadFolderText, ""},
        {target + "/missing/", kDownloadFolderMissingText, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DialogFixture t;
        const std::string before = t.config.DOWNLOADDIR;
        t.fields.DOWNLOADDIR = c.typed;
        t.fields.FASTCOPY_Ziel = target + "\\";
        if (c.message) {
            EXPECT_FALSE(t.save());
            EXPECT_EQ(t.dialogs.entries(), (Entries{{"warning", c.message}}));
            // A rejected folder is never taken, not even into memory.
            EXPECT_EQ(t.config.DOWNLOADDIR, before);
            EXPECT_EQ(t.config.FASTCOPY_Ziel, "E:\\");
        } else {
            EXPECT_TRUE(t.save());
            EXPECT_EQ(t.config.DOWNLOADDIR, c.stored);
            EXPECT_EQ(t.fileValue("DOWNLOADDIR"), c.stored);
            EXPECT_EQ(t.config.FASTCOPY_Ziel, target);
        }
    }
}

TEST(ConfigDialog, AddressFromWebConfigurationNeedsItsLink) {
    DialogFixture t;
    t.fields.SERVER_IP = "10.1.1.1";
    t.fields.AUTOLOADIP = true;
    t.fields.WEBKONFIG = "   ";
    EXPECT_FALSE(t.save());
    EXPECT_EQ(t.dialogs.entries(), (Entries{{"warning", kNoWebConfigLinkText}}));
    EXPECT_EQ(t.fields.SERVER_IP, "");
    EXPECT_TRUE(t.config.AUTOLOADIP);

    t.dialogs.clear();
    t.fields.WEBKONFIG = "http://example.invalid/web.cfg";
    ASSERT_TRUE(t.save());
    EXPECT_EQ(t.fileValue("SERVER_IP"), "");
    EXPECT_EQ(t.fileValue("WEBKONFIG"), "http://example.invalid/web.cfg");

    // Without AUTOLOADIP the typed address is stored.
    t.fields.AUTOLOADIP = false;
    t.fields.SERVER_IP = "10.1.1.2";
    ASSERT_TRUE(t.save());
    EXPECT_EQ(t.fileValue("SERVER_IP"), "10.1.1.2");
}

TEST(ConfigDialog, NoDisplayBoxTickedSwitchesExtraInformationOff) {
    DialogFixture t;
    using F = ConfigDialogFields;
    for (bool F::*box :
         {&F::Laenge, &F::Version, &F::Layer, &F::Modus, &F::Album, &F::Bitrate, &F::Samplingrate,
          &F::Verzeichnis, &F::Datum, &F::Gruppe, &F::Wertung, &F::TrackNr})
        t.fields.*box = false;
    t.fields.Zusatzinfosladen = true;
    ASSERT_TRUE(t.save());
    EXPECT_FALSE(t.config.Zusatzinfosladen);
    EXPECT_EQ(t.fileValue("Zusatzinfosladen"), "0");

    // One ticked box is enough to keep it.
    t.fields.TrackNr = true;
    t.fields.Zusatzinfosladen = true;
    ASSERT_TRUE(t.save());
    EXPECT_TRUE(t.config.Zusatzinfosladen);
}

TEST(ConfigDialog, NamedPlayerWithoutProgramOrSwitchOnlyWarns) {
    DialogFixture t;
    t.fields.STANDARDPLAYER = false;
    t.fields.MP3PLAYERPARAMETERADD = " ";
    t.fields.MP3PLAYER = "";
    t.fields.MP3PLAYERPARAMETERCLASS = "  /CLASS=  ";
    t.fields.MP3PLAYERPARAMETERCLASSSPACE = true;
    ASSERT_TRUE(t.save());
    EXPECT_EQ(t.dialogs.entries(),
              (Entries{{"warning", kNoAddParameterText}, {"warning", kNoPlayerText}}));
    EXPECT_FALSE(t.config.STANDARDPLAYER);
    EXPECT_EQ(t.config.MP3PLAYERPARAMETERADD, " ");
    EXPECT_EQ(t.config.MP3PLAYERPARAMETERCLASS, "/CLASS= ");

    // With the associated program nothing is said.
    DialogFixture s;
    s.fields.MP3PLAYER = "";
    ASSERT_TRUE(s.save());
    EXPECT_TRUE(s.dialogs.entries().empty());
}

TEST(ConfigDialog, SpinFieldsStayInTheirRanges) {
    DialogFixture t;
    t.fields.REMOTEDELAY = "900";
    t.fields.autoaktualisierung_intervall = "5";
    t.fields.soundserver_port = "port";
    t.fields.Spaltenposition = "wide";
    t.fields.WM_LAUTST_TYP = 1;
    t.fields.WM_PLAY_TYP = 3;
    ASSERT_TRUE(t.save());
    EXPECT_EQ(t.config.REMOTEDELAY, 500);
    EXPECT_EQ(t.config.autoaktualisierung_intervall, 15);
    EXPECT_EQ(t.config.soundserver_port, 1309);
    EXPECT_EQ(t.config.Spaltenposition, 180);
    EXPECT_EQ(t.config.WM_LAUTST_TYP, 1);
    EXPECT_EQ(t.config.WM_PLAY_TYP, 0);
    EXPECT_EQ(t.calls[3], "interval 15");
}

TEST(ConfigDialog, FailedWriteKeepsTheDialogOpen) {
    DialogFixture t;
    t.dir.write("Harlune.INI.new/blocker", "x");
    EXPECT_FALSE(t.save());
    ASSERT_EQ(t.dialogs.entries().size(), 1u);
    EXPECT_EQ(t.dialogs.entries()[0].kind, "error");
    EXPECT_EQ(std::count(t.calls.begin(), t.calls.end(), "close"), 0);
}

TEST(ConfigDialog, RestoreDeletesTheFileAfterConfirmation) {
    {
        SCOPED_TRACE("declined");
        DialogFixture t;
        t.dialogs.addAnswer("no");
        EXPECT_FALSE(restoreClick(t.dir.path(), t.dialogs));
        EXPECT_TRUE(std::filesystem::exists(t.dir.file("Harlune.INI")));
        EXPECT_EQ(t.dialogs.entries(), (Entries{{"confirm", kRestoreQuestionText}}));
    }
    {
        SCOPED_TRACE("deleted");
        DialogFixture t;
        t.dialogs.addAnswer("ok");
        EXPECT_TRUE(restoreClick(t.dir.path(), t.dialogs));
        EXPECT_FALSE(std::filesystem::exists(t.dir.file("Harlune.INI")));
        EXPECT_EQ(t.dialogs.entries(),
                  (Entries{{"confirm", kRestoreQuestionText}, {"information", kRestoreDoneText}}));
    }
    {
        SCOPED_TRACE("two files differing in case");
        DialogFixture t;
        t.dir.write("harlune.ini", "");
        t.dialogs.addAnswer("yes");
        EXPECT_FALSE(restoreClick(t.dir.path(), t.dialogs));
        EXPECT_TRUE(std::filesystem::exists(t.dir.file("Harlune.INI")));
        EXPECT_TRUE(std::filesystem::exists(t.dir.file("harlune.ini")));
        EXPECT_EQ(t.dialogs.texts("error"), std::vector<std::string>{kRestoreFailedText});
    }
    {
        SCOPED_TRACE("no file");
        TempDir empty;
        FakeDialogs dialogs;
        dialogs.addAnswer("yes");
        EXPECT_TRUE(restoreClick(empty.path(), dialogs));
        EXPECT_EQ(dialogs.texts("information"), std::vector<std::string>{kRestoreDoneText});
    }
}

namespace {
// Records where the file dialog was asked to start.
struct OpenRecorder : FakeDialogs {
    std::string startedIn;
    std::vector<FileFilter> filters;
    bool openFile(std::string_view title, const std::vector<FileFilter>& f,
                  std::string& path) override {
        startedIn = path;
        filters = f;
        return FakeDialogs::openFile(title, f, path);
    }
};
} // namespace

TEST(ConfigDialog, SmallHelpersOfTheDialog) {
    EXPECT_EQ(serialStatusText(true, "/dev/ttyS0"), "aktiv an /dev/ttyS0");
    EXPECT_EQ(serialStatusText(false, "/dev/ttyS0"), "nicht aktiv");

    EXPECT_EQ(skinFromListEntry("[TALM]"), "TALM");
    EXPECT_EQ(skinFromListEntry("[.]"), "");
    EXPECT_EQ(skinFromListEntry("[..]"), "");
    EXPECT_EQ(skinFromListEntry("Blue"), "Blue");

    OpenRecorder dialogs;
    std::string entry = "/opt/players/winamp.exe";
    dialogs.addAnswer("file:/usr/bin/mpg123");
    EXPECT_TRUE(choosePlayerProgram(entry, dialogs));
    EXPECT_EQ(entry, "/usr/bin/mpg123");
    EXPECT_EQ(dialogs.startedIn, "/opt/players");
    ASSERT_EQ(dialogs.filters.size(), 2u);
    EXPECT_EQ(dialogs.filters[0].description, "Programme (*.exe)");
    EXPECT_EQ(dialogs.filters[1].patterns, "*.*");

    dialogs.addAnswer("cancel");
    entry = "";
    EXPECT_FALSE(choosePlayerProgram(entry, dialogs));
    EXPECT_EQ(entry, "");
    EXPECT_EQ(dialogs.startedIn, "");
}
