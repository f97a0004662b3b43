#pragma once
// A status window stand-in that records the actions and log remarks it is given.
#include "platform/progress.h"

#include <string>
#include <vector>

namespace harlune::test {

class RecordingProgress : public Progress {
public:
    std::vector<std::string> actions;
    std::vector<std::string> log; // "first|second"

    void show() override {}
    void setaktion(std::string_view action) override { actions.emplace_back(action); }
    bool pos(long long, long long, bool, std::string_view) override { return true; }
    void addlog(std::string_view first, std::string_view second) override {
        log.push_back(std::string(first) + "|" + std::string(second));
    }
    void closeframe() override {}
};

} // namespace harlune::test
