#pragma once
// The activity log: an optional text file to which every played or queued title is appended
// with date and time. Append only, CR LF, no size limit.
#include <string>
#include <string_view>

namespace harlune {

class Clock;
class Dialogs;

// The middle one of the three lines a new log file starts with, followed by the version.
inline constexpr const char* kLogHeaderText = "Logdatei - Harlune Ver. ";
// Shown when the log cannot be written: prefix + file + suffix + the system's reason.
inline constexpr const char* kLogWriteFailedPrefix = "Die Logdatei \"";
inline constexpr const char* kLogWriteFailedSuffix = "\" konnte nicht geschrieben werden:\n\r";

class ActivityLog {
public:
    ActivityLog(const Clock& clock, Dialogs& dialogs) : clock_(clock), dialogs_(dialogs) {}

    // The settings Log and Logdatei.
    void configure(bool enabled, std::string path) {
        enabled_ = enabled;
        path_ = std::move(path);
    }
    bool enabled() const { return enabled_; }
    const std::string& path() const { return path_; }

    // Appends "dd.mm.yyyy hh:mm:ss> " + text when the log is on; a missing file is created
    // with its three header lines first. When the file cannot be written, says so through the
    // dialogs and returns false; the caller carries on. True when there was nothing to do.
    bool addlog(std::string_view text);

    // The entry line for a point in time (days, as the clock counts).
    static std::string entryLine(double now, std::string_view text);

private:
    const Clock& clock_;
    Dialogs& dialogs_;
    bool enabled_ = false;
    std::string path_;
};

} // namespace harlune
