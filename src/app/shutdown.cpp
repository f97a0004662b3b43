#include "app/shutdown.h"

#include "app/startup.h"
#include "base/crash_marker.h"
#include "base/paths.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

namespace harlune {

void runShutdown(const ShutdownSteps& steps, std::string_view programFolder) {
    Debug(kShutdownSoundServerText);
    if (steps.disconnectSoundServer)
        steps.disconnectSoundServer();

    Debug(kShutdownDownloadText);
    if (steps.abortDownload)
        steps.abortDownload();
    if (steps.downloadBusy) {
        while (steps.downloadBusy()) {
            if (steps.wait)
                steps.wait(kDownloadAbortPollMs);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(kDownloadAbortPollMs));
        }
    }

    Debug(kShutdownWorkerText);
    if (steps.stopWorker)
        steps.stopWorker();

    Debug(kShutdownText);
    if (steps.markEndedNormally)
        steps.markEndedNormally();
    std::error_code ec;
    std::filesystem::remove(fsPath(joinPath(programFolder, kCrashMarkerFileName)), ec);
    std::filesystem::remove(fsPath(joinPath(programFolder, kBatchMarkerFileName)), ec);

    Debug(kShutdownDoneText);
}

} // namespace harlune
