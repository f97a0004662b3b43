#pragma once
// Dialogs of harlune-cli without scripted files: messages go to standard error (UTF-8),
// questions are answered No, or Yes with --yes; file choices are cancelled.
#include "platform/dialogs.h"

namespace harlune {

class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(bool yes) : yes_(yes) {}
    void warning(std::string_view text) override;
    void information(std::string_view text) override;
    void error(std::string_view text) override;
    bool confirm(std::string_view text) override;
    bool input(std::string_view caption, std::string_view prompt, std::string& value) override;
    bool openFile(std::string_view, const std::vector<FileFilter>&, std::string&) override {
        return false;
    }
    bool saveFile(std::string_view, const std::vector<FileFilter>&, std::string&) override {
        return false;
    }
    bool chooseFolder(std::string_view, std::string&) override { return false; }

private:
    void print(const char* kind, std::string_view text);
    bool yes_;
};

} // namespace harlune
