#pragma once
// Where the readers of this folder report: the action text and the log of the status window
// while a long operation (index build, batch tool) shows it, else a warning box. All optional;
// a default-constructed MetaStatus reports nothing.
#include "platform/dialogs.h"
#include "platform/progress.h"

#include <string_view>

namespace harlune {

struct MetaStatus {
    Progress* progress = nullptr; // the status window
    bool statusVisible = false;   // whether it is shown (its log takes per-file remarks)
    Dialogs* dialogs = nullptr;   // warnings when the status window is not shown

    void action(std::string_view text) const {
        if (progress)
            progress->setaktion(text);
    }
    // A remark about one file for the status window's log; false when the window is not shown.
    bool log(std::string_view file, std::string_view text) const {
        if (!progress || !statusVisible)
            return false;
        progress->addlog(file, text);
        return true;
    }
};

} // namespace harlune
