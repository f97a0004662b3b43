#pragma once
// Talking to the user. The core shows nothing itself: it calls this interface. Texts are
// Windows-1252 byte strings; "\n\r" in them is a line break.
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

struct FileFilter {
    std::string description; // "Harlune MP3-Index (*.m3u; *.alb)"
    std::string patterns;    // "*.m3u;*.alb"
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void warning(std::string_view text) = 0;
    virtual void information(std::string_view text) = 0;
    virtual void error(std::string_view text) = 0;
    // Yes/No (or OK/Abort) question; true only for Yes/OK.
    virtual bool confirm(std::string_view text) = 0;
    // A Yes/No question shown with the warning icon; true only for Yes.
    virtual bool confirmWarning(std::string_view text) { return confirm(text); }
    // One-line input; false when cancelled. `value` holds the preset text and the answer.
    virtual bool input(std::string_view caption, std::string_view prompt, std::string& value) = 0;
    // File and folder choice; false when cancelled. `path` holds the start and the answer.
    virtual bool openFile(std::string_view title, const std::vector<FileFilter>& filters,
                          std::string& path) = 0;
    virtual bool saveFile(std::string_view title, const std::vector<FileFilter>& filters,
                          std::string& path) = 0;
    virtual bool chooseFolder(std::string_view title, std::string& path) = 0;
};

} // namespace harlune
