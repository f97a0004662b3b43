#include "base/paths.h"

#include "base/cp1252.h"
#include "base/text.h"

#include <system_error>

namespace fs = std::filesystem;

namespace harlune {

fs::path fsPath(std::string_view path) {
    return fs::path(cp1252ToUtf8(path));
}

std::string fromFsPath(const fs::path& path) {
    return utf8ToCp1252(path.native());
}

std::string joinPath(std::string_view dir, std::string_view name) {
    std::string out(dir);
    if (!out.empty() && out.back() != '/' && out.back() != '\\')
        out += '/';
    out.append(name);
    return out;
}

std::string fileNamePart(std::string_view path) {
    size_t p = path.find_last_of("/\\");
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string folderPart(std::string_view path) {
    size_t p = path.find_last_of("/\\");
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p));
}

bool fileExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fsPath(path), ec);
}

bool directoryExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fsPath(path), ec);
}

bool fileOrFolderExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::exists(fsPath(path), ec);
}

std::optional<std::string> findCaseVariant(std::string_view path, bool* conflict) {
    if (conflict)
        *conflict = false;
    fs::path p = fsPath(path);
    std::error_code ec;
    std::string wanted = asciiUpper(p.filename().native());
    fs::path dir = p.parent_path().empty() ? fs::path(".") : p.parent_path();
    std::optional<std::string> found;
    int matches = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (asciiUpper(it->path().filename().native()) != wanted)
            continue;
        ++matches;
        found = fromFsPath(p.parent_path().empty() ? it->path().filename() : it->path());
    }
    if (matches > 1) {
        if (conflict)
            *conflict = true;
        return std::nullopt;
    }
    if (matches == 0 && fs::exists(p, ec))
        return std::string(path);
    return found;
}

void makeOwnerWritable(std::string_view path) {
    std::error_code ec;
    fs::path p = fsPath(path);
    auto perms = fs::status(p, ec).permissions();
    if (!ec && (perms & fs::perms::owner_write) == fs::perms::none)
        fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
}

} // namespace harlune
