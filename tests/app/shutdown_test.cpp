#include "app/shutdown.h"

#include "app/startup.h"
#include "app/worker_control.h"
#include "base/crash_marker.h"
#include "base/paths.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace harlune {
namespace {

using test::TempDir;

// The action line of the crash marker as it stands.
std::string lastAction(const TempDir& dir) {
    const std::string text = TempDir::read(dir.file("Debug.TMP"));
    const size_t start = text.find("\r\n\r\n");
    if (start == std::string::npos)
        return "<no marker>";
    return text.substr(start + 4, text.size() - start - 6);
}

TEST(Shutdown, StepsInOrderEachAnnouncedFirst) {
    TempDir dir;
    dir.makeProgramFolder();
    initCrashMarker(dir.path());
    Debug("B_Erst_Mouseup");
    dir.write("debug2.tmp", "Stapel\r\n");

    std::vector<std::string> log;
    int busyLooks = 0;
    ShutdownSteps steps;
    steps.disconnectSoundServer = [&] { log.push_back("sound server: " + lastAction(dir)); };
    steps.abortDownload = [&] { log.push_back("abort: " + lastAction(dir)); };
    steps.downloadBusy = [&] { return ++busyLooks <= 2; };
    steps.wait = [&](int ms) { log.push_back("wait " + std::to_string(ms)); };
    steps.stopWorker = [&] { log.push_back("worker: " + lastAction(dir)); };
    steps.markEndedNormally = [&] { log.push_back("BEENDET: " + lastAction(dir)); };

    runShutdown(steps, dir.path());

    EXPECT_EQ(log, (std::vector<std::string>{
                       "sound server: Programmende: Verbindung trennen (Harlune Soundserver)",
                       "abort: Programmende: Verbindung trennen (I-Net)", "wait 250", "wait 250",
                       "worker: Programmende: Thread 01:5 stoppen",
                       "BEENDET: Programmende: Harlune-Shutdown"}));
    EXPECT_EQ(busyLooks, 3);
    // The batch marker is gone; the crash marker was deleted and written once more.
    EXPECT_FALSE(fileExists(dir.file("debug2.tmp")));
    EXPECT_EQ(lastAction(dir), "Programmende: Harlune-Shutdown abschl.");
}

TEST(Shutdown, WorksWithNothingToDisconnect) {
    TempDir dir;
    initCrashMarker(dir.path());
    runShutdown(ShutdownSteps{}, dir.path());
    EXPECT_EQ(lastAction(dir), "Programmende: Harlune-Shutdown abschl.");
}

} // namespace
} // namespace harlune
