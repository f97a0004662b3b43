#include "app/startup.h"

#include "app/version.h"
#include "base/crash_marker.h"
#include "base/datetime.h"
#include "base/line_file.h"
#include "base/paths.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace harlune {

void initCrashMarker(std::string_view programFolder) {
    setCrashMarker(joinPath(programFolder, kCrashMarkerFileName), kVersionText);
}

std::optional<std::string> installationError(std::string_view programFolder) {
    for (const char* sub : kProgramSubfolders) {
        const std::string path = joinPath(programFolder, sub);
        if (directoryExists(path))
            continue;
        // Folders copied from a Windows installation may differ in letter case.
        const std::optional<std::string> variant = findCaseVariant(path);
        if (variant && directoryExists(*variant))
            continue;
        return kNotInstalledText + std::string(programFolder);
    }
    return std::nullopt;
}

bool checkInstallation(std::string_view programFolder, Dialogs& dialogs) {
    const std::optional<std::string> error = installationError(programFolder);
    if (error)
        dialogs.error(*error);
    return !error;
}

std::string greetingText(bool useSystemName, std::string_view configuredName,
                         std::string_view systemName) {
    std::string text = "Hallo ";
    text.append(useSystemName ? systemName : configuredName);
    text += '!';
    return text;
}

FirstLoadResult guardedFirstLoad(const IndexLoadedFlag& flag, const std::function<void()>& load,
                                 Dialogs& dialogs) {
    FirstLoadResult result = FirstLoadResult::Skipped;
    if (flag.read()) {
        // Cleared before the load and set only after it: a crash or hang in between leaves it
        // clear for the next start.
        flag.write(false);
        load();
        result = FirstLoadResult::Loaded;
    } else {
        dialogs.warning(kIndexLoadFailedText);
        Debug(kIndexLoadFailedText);
    }
    flag.write(true);
    return result;
}

namespace {
void appendFileLines(std::vector<std::string>& out, const std::string& path, const char* standIn) {
    std::vector<std::string> lines;
    if (readLines(path, lines))
        out.insert(out.end(), lines.begin(), lines.end());
    else
        out.emplace_back(standIn);
}
} // namespace

std::vector<std::string> crashReportLines(std::string_view programFolder,
                                          std::string_view configPath) {
    std::vector<std::string> lines;
    appendFileLines(lines, joinPath(programFolder, kCrashMarkerFileName), kNoCrashMarkerLine);
    appendFileLines(lines, std::string(configPath), kNoConfigLine);
    appendFileLines(lines, joinPath(programFolder, kBatchMarkerFileName), kNoBatchMarkerLine);
    return lines;
}

std::string crashReportText(std::string_view programFolder, std::string_view configPath) {
    std::string text;
    for (const std::string& line : crashReportLines(programFolder, configPath)) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

std::string programDate(std::string_view programFolder) {
    const std::optional<std::string> file =
        findCaseVariant(joinPath(programFolder, kProgramFileName));
    CivilDateTime modified;
    if (!file || !fileExists(*file) || !fileModified(fsPath(*file).string(), modified))
        return {};
    return formatDateDMY(modified);
}

std::string introductionCaption(std::string_view programDate) {
    return "Version " + kVersionText + " - " + std::string(programDate);
}

int autoUpdateIntervalMs(long long seconds) {
    if (seconds < 1)
        return 1000;
    if (seconds > INT_MAX / 1000)
        return INT_MAX / 1000 * 1000;
    return static_cast<int>(seconds * 1000);
}

void starttimerTimer(StartHost& host, const StartSettings& settings, const IndexLoadedFlag& flag,
                     Dialogs& dialogs, const Clock& clock) {
    std::string crashReport;
    if (!settings.previousRunEnded)
        crashReport = crashReportText(settings.programFolder, settings.configPath);

    if (settings.albenExplorer)
        host.showAlbumExplorer();
    host.positionVolumeFader();

    host.showStartWindow();
    host.setStartText(kStartTextStartup);
    const double shownAt = clock.now();

    if (settings.begruessen)
        dialogs.warning(greetingText(settings.systemUserVerwenden, settings.benutzername,
                                     settings.systemUserName));

    host.setStartText(kStartTextInit);
    host.showPleaseWait(true);

    host.setStartText(kStartTextIndex);
    guardedFirstLoad(
        flag, [&] { host.firstSearch(); }, dialogs);

    host.showPleaseWait(false);
    // Bounded, so that a clock set back meanwhile cannot hold the start window for hours.
    const double leftDays =
        std::min(kStartWindowMinimumDays, kStartWindowMinimumDays - (clock.now() - shownAt));
    const long leftMs = std::lround(leftDays * 86400000.0);
    if (leftMs > 0)
        host.waitMs(static_cast<int>(leftMs));
    host.closeStartWindow();

    if (settings.ersterStart)
        host.armIntroductionTimer();
    if (!settings.previousRunEnded)
        host.armCrashReportTimer(crashReport);

    if (settings.remoteAutoInit)
        host.openSerialLink();

    host.armRunningTimers(autoUpdateIntervalMs(settings.autoUpdateSeconds));
}

} // namespace harlune
