// harlune-cli build NAME DIR...: builds the index pair NAME in the index folder as the builder
// window's "Erstellen" does, and prints the closing summary.
#include "base/cp1252.h"
#include "base/paths.h"
#include "base/text.h"
#include "cli/cli_command.h"
#include "index/builder.h"

#include <cstdio>
#include <filesystem>

namespace harlune {
namespace {

const char* const kUsage =
    "usage: harlune-cli build NAME DIR... [--flat] [--filenames] [--dynamic]\n"
    "                         [--web ROOT URL [--credentials none|config|USER:PASSWORD]]\n";

// The status window of the command line: remarks about single files go to standard error.
class ConsoleProgress : public Progress {
public:
    void show() override {}
    void setaktion(std::string_view) override {}
    bool pos(long long, long long, bool, std::string_view) override { return true; }
    void addlog(std::string_view first, std::string_view second) override {
        std::fprintf(stderr, "%s: %s\n", cp1252ToUtf8(first).c_str(), cp1252ToUtf8(second).c_str());
    }
    void closeframe() override {}
};

std::string corePath(const std::string& utf8) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(utf8), ec);
    return fromFsPath(ec ? std::filesystem::path(utf8) : p.lexically_normal());
}

int runBuild(CliContext& context, const std::vector<std::string>& args) {
    BuilderOptions options;
    WebSettings web;
    bool withSubdirectories = true;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--flat") {
            withSubdirectories = false;
        } else if (a == "--filenames") {
            options.namesFromTags = false;
        } else if (a == "--dynamic") {
            options.alles_eintragen = false;
        } else if (a == "--web" && i + 2 < args.size()) {
            options.web = true;
            web.webroot = corePath(args[++i]);
            web.internetadresse = utf8ToCp1252(args[++i]);
        } else if (a == "--credentials" && i + 1 < args.size()) {
            const std::string value = args[++i];
            if (value == "none") {
                web.credentials = WebCredentials::keinezugangsdaten;
            } else if (value == "config") {
                web.credentials = WebCredentials::konfigverwenden;
            } else if (value.find(':') != std::string::npos) {
                web.credentials = WebCredentials::inmp3indexspeichern;
                web.username = utf8ToCp1252(value.substr(0, value.find(':')));
                web.pwd = utf8ToCp1252(value.substr(value.find(':') + 1));
            } else {
                std::fputs(kUsage, stderr);
                return 2;
            }
        } else if (startsWith(a, "--")) {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    options.indexname = utf8ToCp1252(positional[0]);

    Dialogs& dialogs = *context.dialogs;
    ConsoleProgress progress;
    IndexBuilder builder(joinPath(context.programFolder, "Playlists"), dialogs, progress);
    builder.options = options;
    builder.web = web;
    for (size_t i = 1; i < positional.size(); ++i)
        builder.add(Getfilepath(corePath(positional[i]), {withSubdirectories, false}, dialogs));

    // The selector is the running program's; the command line keeps its own.
    IndexSelector selector;
    const BuildResult result = builder.doerstellen(true, selector);
    if (!result.written)
        return 1;
    // "\n\r" in the program's texts is one line break.
    std::printf("%s\n",
                cp1252ToUtf8(replaceAll(buildSummary(result.counters), "\n\r", "\n")).c_str());
    return 0;
}

const CliCommandRegistration registration{
    {"build",
     "build NAME DIR... [--flat] [--filenames] [--dynamic] [--web ROOT URL [--credentials "
     "none|config|USER:PASSWORD]]   build an index pair from folders",
     runBuild}};

} // namespace
} // namespace harlune
