#pragma once
// Dialogs that say nothing and answer every question with Yes, and a progress that shows
// nothing: the benchmarks measure the work, not the user's part.
#include "platform/dialogs.h"
#include "platform/progress.h"

namespace harlune::bench {

class QuietDialogs : public Dialogs {
public:
    void warning(std::string_view) override {}
    void information(std::string_view) override {}
    void error(std::string_view) override {}
    bool confirm(std::string_view) override { return true; }
    bool input(std::string_view, std::string_view, std::string&) override { return false; }
    bool openFile(std::string_view, const std::vector<FileFilter>&, std::string&) override {
        return false;
    }
    bool saveFile(std::string_view, const std::vector<FileFilter>&, std::string&) override {
        return false;
    }
    bool chooseFolder(std::string_view, std::string&) override { return false; }
};

class QuietProgress : public Progress {
public:
    void show() override {}
    void setaktion(std::string_view) override {}
    bool pos(long long, long long, bool, std::string_view) override { return true; }
    void addlog(std::string_view, std::string_view) override {}
    void closeframe() override {}
};

} // namespace harlune::bench
