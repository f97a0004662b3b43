#pragma once
// The end of a normal run (`FormCloseQuery`): five steps in a fixed order, each announced in the
// crash marker first, so that a hang while closing shows which step it was. The configuration
// itself is saved by the close command before this runs.
#include <functional>
#include <string_view>

namespace harlune {

inline constexpr const char* kShutdownSoundServerText =
    "Programmende: Verbindung trennen (Harlune Soundserver)";
inline constexpr const char* kShutdownDownloadText = "Programmende: Verbindung trennen (I-Net)";
inline constexpr const char* kShutdownWorkerText = "Programmende: Thread 01:5 stoppen";
inline constexpr const char* kShutdownText = "Programmende: Harlune-Shutdown";
inline constexpr const char* kShutdownDoneText = "Programmende: Harlune-Shutdown abschl.";

// Milliseconds between two looks at the download connection while it winds down.
inline constexpr int kDownloadAbortPollMs = 250;

// The work of the steps; an empty callable is skipped.
struct ShutdownSteps {
    std::function<void()> disconnectSoundServer;
    std::function<void()> abortDownload;
    std::function<bool()> downloadBusy;
    // Waits the given milliseconds; a window passes one that keeps handling events, so that
    // the download connection can finish. Default: sleep.
    std::function<void(int)> wait;
    std::function<void()> stopWorker;
    // Writes BEENDET = true to the configuration file.
    std::function<void()> markEndedNormally;
};

// Runs the five steps. Step 4 deletes "Debug.TMP" and "debug2.tmp" of the program folder; step 5
// writes the crash marker again, so after a normal end it holds kShutdownDoneText.
void runShutdown(const ShutdownSteps& steps, std::string_view programFolder);

} // namespace harlune
