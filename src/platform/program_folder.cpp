#include "platform/program_folder.h"

#include "base/cp1252.h"
#include "base/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace harlune {
namespace {

bool holdsSubfolders(const fs::path& dir) {
    std::error_code ec;
    for (const char* sub : kProgramSubfolders)
        if (!fs::is_directory(dir / sub, ec))
            return false;
    return true;
}

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

} // namespace

std::string resolveProgramFolder(std::string_view argument, const char* argv0) {
    if (!argument.empty()) {
        std::string path = utf8ToCp1252(argument);
        for (char& c : path)
            if (c == '\\')
                c = '/';
        return withoutTrailingSeparator(path);
    }
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec && argv0)
        exe = fs::absolute(argv0, ec);
    if (!exe.empty() && holdsSubfolders(exe.parent_path()))
        return withoutTrailingSeparator(fromFsPath(exe.parent_path()));

    fs::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = fs::path(home) / ".local/share";
    else
        data = fs::temp_directory_path();
    fs::path folder = data / "Harlune";
    for (const char* sub : kProgramSubfolders)
        fs::create_directories(folder / sub, ec);
    return withoutTrailingSeparator(fromFsPath(folder));
}

} // namespace harlune
