#pragma once
// The progress of a long operation, shown in the status window. Loops over files call pos once
// per item and stop when it returns false (the user closed the window).
#include <string>
#include <string_view>

namespace harlune {

class Progress {
public:
    virtual ~Progress() = default;
    // Shows the window for a new operation.
    virtual void show() = 0;
    virtual void setaktion(std::string_view action) = 0;
    // current of total items done, the remaining-time estimate quadratic or linear, the item's
    // path; false once the user has closed the window.
    virtual bool pos(long long current, long long total, bool quadratic, std::string_view path) = 0;
    // Appends a remark (two texts) to the window's log.
    virtual void addlog(std::string_view first, std::string_view second) = 0;
    // Closes the window unless its log holds text for the user to read.
    virtual void closeframe() = 0;
};

} // namespace harlune
