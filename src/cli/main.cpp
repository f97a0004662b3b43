// harlune-cli: the core of Harlune driven from the command line.
//   harlune-cli [--prog DIR] [--yes] COMMAND ARGS...
// Output is UTF-8. Messages and questions go to the HARLUNE_DIALOG_* files when they are set;
// otherwise messages go to standard error and questions are answered No (Yes with --yes).
#include "cli/cli_command.h"
#include "cli/console_dialogs.h"
#include "platform/program_folder.h"
#include "platform/scripted_dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace harlune {

std::vector<CliCommand>& cliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

} // namespace harlune

using namespace harlune;

static int usage(FILE* out) {
    std::fputs("usage: harlune-cli [--prog DIR] [--yes] COMMAND ARGS...\ncommands:\n", out);
    auto commands = cliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& c : commands)
        std::fprintf(out, "  %s\n", c.usage.c_str());
    return 2;
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string prog;
    bool yes = false;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--prog" && i + 1 < args.size())
            prog = args[++i];
        else if (args[i] == "--yes")
            yes = true;
        else
            break;
    }
    if (i == args.size() || args[i] == "help" || args[i] == "--help")
        return usage(i == args.size() ? stderr : stdout);

    std::string folder = resolveProgramFolder(prog, argv[0]);
    std::unique_ptr<Dialogs> dialogs = dialogsFromEnvironment();
    if (!dialogs)
        dialogs = std::make_unique<ConsoleDialogs>(yes);
    CliContext context{folder, dialogs.get(), yes};

    const std::string name = args[i];
    std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
    for (const auto& command : cliCommands())
        if (command.name == name)
            return command.run(context, rest);
    std::fprintf(stderr, "harlune-cli: unknown command '%s'\n", name.c_str());
    return usage(stderr);
}
