#include "app/activity_log.h"

#include "app/version.h"
#include "base/cp1252.h"
#include "base/datetime.h"
#include "base/line_file.h"
#include "base/paths.h"
#include "platform/dialogs.h"

#include <vector>

namespace harlune {

std::string ActivityLog::entryLine(double now, std::string_view text) {
    const CivilDateTime t = fromDays(now);
    std::string line = formatDateDMY(t) + " " + formatTimeHNS(t) + "> ";
    line.append(text);
    return line;
}

bool ActivityLog::addlog(std::string_view text) {
    if (!enabled_)
        return true;
    std::vector<std::string> lines;
    if (!fileOrFolderExists(path_))
        lines = {"", kLogHeaderText + kVersionText, ""};
    lines.push_back(entryLine(clock_.now(), text));
    std::string error;
    if (appendLines(path_, lines, &error))
        return true;
    // The title still plays; the user learns why it was not logged.
    dialogs_.error(kLogWriteFailedPrefix + path_ + kLogWriteFailedSuffix + utf8ToCp1252(error));
    return false;
}

} // namespace harlune
