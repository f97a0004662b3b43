#include "app/startup.h"

#include "app/version.h"
#include "base/crash_marker.h"
#include "base/datetime.h"
#include "base/paths.h"
#include "fake_clock.h"
#include "fake_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <utime.h>

namespace harlune {
namespace {

using test::FakeClock;
using test::FakeDialogs;
using test::TempDir;
namespace fs = std::filesystem;

std::string markerOf(const TempDir& dir) {
    return TempDir::read(dir.file("Debug.TMP"));
}

TEST(CrashMarker, HoldsFourLinesWithTheLastAction) {
    TempDir dir;
    initCrashMarker(dir.path());
    Debug("erste Aktion");
    Debug("B_Check_Mouseup");
    EXPECT_EQ(markerOf(dir), "Harlune " + kVersionText +
                                 "\r\nZuletzt gestartete Funktion:\r\n\r\nB_Check_Mouseup\r\n");
}

TEST(Installation, FirstMissingSubfolderEndsTheStart) {
    TempDir dir;
    dir.makeProgramFolder();
    EXPECT_EQ(installationError(dir.path()), std::nullopt);

    // A folder named in other letter case (as copied from Windows) is accepted.
    fs::rename(fsPath(dir.file("Skins")), fsPath(dir.file("skins")));
    EXPECT_EQ(installationError(dir.path()), std::nullopt);

    fs::remove(fsPath(dir.file("Konfigs")));
    const std::string expected =
        "Harlune wurde nicht vollst\xE4ndig installiert!\n\r\n\r" + dir.path();
    EXPECT_EQ(installationError(dir.path()), expected);

    FakeDialogs dialogs;
    EXPECT_FALSE(checkInstallation(dir.path(), dialogs));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].kind, "error");
    EXPECT_EQ(dialogs.entries()[0].text, expected);
}

TEST(Greeting, UsesTheSystemOrTheConfiguredName) {
    EXPECT_EQ(greetingText(true, "Konfig", "anna"), "Hallo anna!");
    EXPECT_EQ(greetingText(false, "J\xFCrgen", "anna"), "Hallo J\xFCrgen!");
}

// INDEXGELADEN kept in memory, with every write recorded.
struct Flag {
    bool value = true;
    std::vector<bool> writes;
    IndexLoadedFlag io() {
        return {[this] { return value; },
                [this](bool v) {
                    value = v;
                    writes.push_back(v);
                }};
    }
};

TEST(FirstLoad, ClearsTheFlagWhileLoading) {
    TempDir dir;
    initCrashMarker(dir.path());
    Flag flag;
    FakeDialogs dialogs;
    bool flagDuringLoad = true;
    EXPECT_EQ(guardedFirstLoad(
                  flag.io(), [&] { flagDuringLoad = flag.value; }, dialogs),
              FirstLoadResult::Loaded);
    EXPECT_FALSE(flagDuringLoad);
    EXPECT_EQ(flag.writes, (std::vector<bool>{false, true}));
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST(FirstLoad, LoadThatCrashedIsSkippedOnceThenLoadsAgain) {
    TempDir dir;
    initCrashMarker(dir.path());
    Flag flag;
    FakeDialogs dialogs;
    int loads = 0;
    auto crashingLoad = [&] {
        ++loads;
        throw std::runtime_error("crash");
    };
    EXPECT_THROW(guardedFirstLoad(flag.io(), crashingLoad, dialogs), std::runtime_error);
    EXPECT_FALSE(flag.value);

    // Next start: warned, nothing loaded, the warning is the marker's last action.
    EXPECT_EQ(guardedFirstLoad(
                  flag.io(), [&] { ++loads; }, dialogs),
              FirstLoadResult::Skipped);
    EXPECT_EQ(loads, 1);
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].kind, "warning");
    EXPECT_EQ(dialogs.entries()[0].text, kIndexLoadFailedText);
    EXPECT_NE(markerOf(dir).find("\r\n\r\nBeim letzten Start ist ein Problem beim laden der "
                                 "MP3-Index-Dateien aufgetreten!\n\rM\xF6glicherweise"),
              std::string::npos);
    EXPECT_NE(std::string(kIndexLoadFailedText).find("\n\r[Button \"erst\"]\n\r(MP3-Index"),
              std::string::npos);
    EXPECT_TRUE(flag.value);

    // The start after that loads normally.
    EXPECT_EQ(guardedFirstLoad(
                  flag.io(), [&] { ++loads; }, dialogs),
              FirstLoadResult::Loaded);
    EXPECT_EQ(loads, 2);
}

TEST(CrashReport, EachFileOrItsStandInLine) {
    for (int present = 0; present < 8; ++present) {
        SCOPED_TRACE(present);
        TempDir dir;
        std::vector<std::string> expected;
        if (present & 1) {
            dir.write("Debug.TMP", "Harlune 3.52a\r\nZuletzt gestartete Funktion:\r\n\r\nX\r\n");
            expected.insert(expected.end(),
                            {"Harlune 3.52a", "Zuletzt gestartete Funktion:", "", "X"});
        } else {
            expected.push_back("Es liegt keine TMP-Datei (1) vor!");
        }
        if (present & 2) {
            dir.write("Harlune.INI", "[KONFIG]\r\nBEENDET=0\r\n");
            expected.insert(expected.end(), {"[KONFIG]", "BEENDET=0"});
        } else {
            expected.push_back("Harlune-Konfigurationsdatei konnte nicht ge\xF6"
                               "ffnet werden!");
        }
        if (present & 4) {
            dir.write("debug2.tmp", "Doppelte\r\n");
            expected.push_back("Doppelte");
        } else {
            expected.push_back("Es liegt keine TMP-Datei (2) vor!");
        }
        EXPECT_EQ(crashReportLines(dir.path(), dir.file("Harlune.INI")), expected);
    }
}

TEST(ProgramDate, FileDateOfTheProgramFileWhateverItsCase) {
    TempDir dir;
    EXPECT_EQ(programDate(dir.path()), "");
    EXPECT_EQ(introductionCaption(""), "Version " + kVersionText + " - ");

    const std::string exe = dir.write("Harlune.exe", "MZ");
    std::tm tm{};
    tm.tm_year = 103;
    tm.tm_mon = 6;
    tm.tm_mday = 4;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    utimbuf times{std::mktime(&tm), std::mktime(&tm)};
    ASSERT_EQ(::utime(fsPath(exe).c_str(), &times), 0);
    EXPECT_EQ(programDate(dir.path()), "04.07.2003");
    EXPECT_EQ(introductionCaption("04.07.2003"), "Version 3.52a - 04.07.2003");
}

TEST(AutoUpdateInterval, SecondsToTimerMilliseconds) {
    EXPECT_EQ(autoUpdateIntervalMs(60), 60000);
    EXPECT_EQ(autoUpdateIntervalMs(0), 1000);
    EXPECT_EQ(autoUpdateIntervalMs(-5), 1000);
    EXPECT_GT(autoUpdateIntervalMs(1LL << 40), 0);
}

// Records the start timer's calls in order.
struct RecordingHost : StartHost {
    std::vector<std::string> calls;
    FakeClock* clock = nullptr;
    std::string report;
    std::function<void()> searchWork;

    void showAlbumExplorer() override { calls.push_back("albums"); }
    void positionVolumeFader() override { calls.push_back("fader"); }
    void showStartWindow() override { calls.push_back("start window"); }
    void setStartText(std::string_view text) override { calls.push_back(std::string(text)); }
    void showPleaseWait(bool visible) override {
        calls.push_back(visible ? "wait panel" : "no wait panel");
    }
    void firstSearch() override {
        calls.push_back("search");
        if (searchWork)
            searchWork();
    }
    void waitMs(int ms) override { calls.push_back("wait " + std::to_string(ms)); }
    void closeStartWindow() override { calls.push_back("close start window"); }
    void armIntroductionTimer() override { calls.push_back("introduction"); }
    void armCrashReportTimer(const std::string& text) override {
        calls.push_back("crash report");
        report = text;
    }
    void openSerialLink() override { calls.push_back("serial"); }
    void armRunningTimers(int ms) override { calls.push_back("timers " + std::to_string(ms)); }
};

TEST(StartTimer, StepsInOrderAfterACrash) {
    TempDir dir;
    initCrashMarker(dir.path());
    Debug("Zusatzinformationen aus MP3 lesen: abgest\xFCrzt");
    FakeClock clock;
    RecordingHost host;
    // The load takes a second of the minimum display time and writes the marker itself.
    host.searchWork = [&] {
        Debug("MP3-Index Formatpr\xFC"
              "fung (01)");
        clock.advanceSeconds(1);
    };
    StartSettings s;
    s.albenExplorer = s.begruessen = s.systemUserVerwenden = true;
    s.systemUserName = "anna";
    s.ersterStart = s.remoteAutoInit = true;
    s.previousRunEnded = false;
    s.autoUpdateSeconds = 15;
    s.programFolder = dir.path();
    s.configPath = dir.file("Harlune.INI");
    Flag flag;
    FakeDialogs dialogs;

    starttimerTimer(host, s, flag.io(), dialogs, clock);

    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"albums", "fader", "start window", kStartTextStartup,
                                        kStartTextInit, "wait panel", kStartTextIndex, "search",
                                        "no wait panel", "wait 2456", "close start window",
                                        "introduction", "crash report", "serial", "timers 15000"}));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].text, "Hallo anna!");
    // The report shows what the crashed run did last, not this start's own steps.
    EXPECT_NE(host.report.find("abgest\xFCrzt"), std::string::npos) << host.report;
    EXPECT_EQ(host.report.find("Formatpr"), std::string::npos);
    EXPECT_EQ(flag.writes, (std::vector<bool>{false, true}));
}

TEST(StartTimer, PlainStartWithASlowLoadDoesNotWait) {
    TempDir dir;
    FakeClock clock;
    RecordingHost host;
    host.searchWork = [&] { clock.advanceSeconds(5); };
    StartSettings s;
    s.programFolder = dir.path();
    Flag flag;
    FakeDialogs dialogs;

    starttimerTimer(host, s, flag.io(), dialogs, clock);

    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"fader", "start window", kStartTextStartup, kStartTextInit,
                                        "wait panel", kStartTextIndex, "search", "no wait panel",
                                        "close start window", "timers 60000"}));
    EXPECT_TRUE(dialogs.entries().empty());
}

} // namespace
} // namespace harlune
