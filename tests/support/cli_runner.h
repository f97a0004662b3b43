#pragma once
// Runs harlune-cli (named by the HARLUNE_CLI environment variable) with arguments given as one
// shell-quoted text and returns its exit status and standard output (standard error is dropped).
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace harlune::test {

struct CliResult {
    int status = -1;
    std::string out;
};

inline bool haveCli() {
    return std::getenv("HARLUNE_CLI") != nullptr;
}

inline CliResult runCli(const std::string& args) {
    CliResult r;
    const char* cli = std::getenv("HARLUNE_CLI");
    if (!cli)
        return r;
    FILE* pipe = ::popen((std::string("'") + cli + "' " + args + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        r.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace harlune::test
