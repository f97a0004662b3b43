#pragma once
// harlune-cli commands. Each command lives in a file of its own and registers itself with a
// static CliCommandRegistration, so commands are added without touching a central table.
#include <functional>
#include <string>
#include <vector>

namespace harlune {

class Dialogs;

struct CliContext {
    std::string programFolder; // core (Windows-1252) path
    Dialogs* dialogs = nullptr;
    bool yes = false; // --yes: questions answered Yes when no answers file is set
};

struct CliCommand {
    std::string name;
    std::string usage; // one line, shown by "harlune-cli help"
    // Arguments after the command name (UTF-8 as given); returns the exit status.
    std::function<int(CliContext&, const std::vector<std::string>&)> run;
};

std::vector<CliCommand>& cliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command) {
        cliCommands().push_back(std::move(command));
    }
};

} // namespace harlune
