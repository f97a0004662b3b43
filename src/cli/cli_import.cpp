// harlune-cli import FILE: opens or imports an index file as the open button does and prints
// the resulting list file's path.
#include "base/cp1252.h"
#include "base/paths.h"
#include "cli/cli_command.h"
#include "index/index_import.h"

#include <cstdio>

namespace harlune {
namespace {

int runImport(CliContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fputs("usage: harlune-cli import FILE\n", stderr);
        return 2;
    }
    MP3Index grid;
    IndexSelector selector;
    auto list = importIndexFile(utf8ToCp1252(args[0]), joinPath(context.programFolder, "Playlists"),
                                grid, selector, *context.dialogs);
    if (!list)
        return 1;
    std::printf("%s\n", cp1252ToUtf8(*list).c_str());
    return 0;
}

const CliCommandRegistration registration{
    {"import", "import FILE   open or import an index file into the index folder", runImport}};

} // namespace
} // namespace harlune
