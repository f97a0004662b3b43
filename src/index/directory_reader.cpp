#include "index/directory_reader.h"

#include "base/cp1252.h"
#include "base/paths.h"
#include "base/text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <utility>

namespace harlune {
namespace {

struct FolderListing {
    std::vector<std::string> folders; // names (file system bytes)
    std::vector<std::string> files;
};

// Lists one folder; false with the system's text when it cannot be read.
bool listFolder(const std::string& fsFolder, bool wantFolders, FolderListing& out,
                std::string& error) {
    DIR* dir = ::opendir(fsFolder.c_str());
    if (!dir) {
        error = std::strerror(errno);
        return false;
    }
    errno = 0;
    while (dirent* e = ::readdir(dir)) {
        const char* name = e->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            // The type of the target decides (a link to a folder is a folder).
            struct stat st {};
            if (::stat((fsFolder + name).c_str(), &st) != 0)
                continue; // a dangling link
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR) {
            if (wantFolders)
                out.folders.emplace_back(name);
        } else if (type == DT_REG && isMp3Name(name)) {
            out.files.emplace_back(name);
        }
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        error = std::strerror(readError);
        return false;
    }
    std::sort(out.folders.begin(), out.folders.end());
    std::sort(out.files.begin(), out.files.end());
    return true;
}

std::string withTrailingSeparator(std::string path) {
    if (path.empty() || (path.back() != '/' && path.back() != '\\'))
        path += '/';
    return path;
}

// The octal escapes (\040 for a blank) of the mount table's fields.
std::string unescapeMountField(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            auto octal = [](char c) { return c >= '0' && c <= '7'; };
            if (octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
                out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool isBelow(std::string_view path, std::string_view folder) {
    return path == folder ||
           (startsWith(path, folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

} // namespace

bool isMp3Name(std::string_view name) {
    return name.size() >= 4 && asciiUpper(name.substr(name.size() - 4)) == ".MP3";
}

DirectoryWalk Getfilepath(std::string_view startDirectory, const WalkOptions& options,
                          Dialogs& dialogs, Progress* window) {
    DirectoryWalk walk;
    if (window) {
        window->show();
        window->setaktion(kWalkIdle);
    }
    walk.directories.push_back(withTrailingSeparator(std::string(startDirectory)));
    std::set<std::pair<dev_t, ino_t>> seen;
    dev_t startDevice = 0;
    bool haveStartDevice = false;

    for (size_t i = 0; i < walk.directories.size(); ++i) {
        const std::string folder = walk.directories[i]; // copied: the queue grows below
        if (window &&
            !window->pos(static_cast<long long>(i) + 1,
                         static_cast<long long>(walk.directories.size()), false, folder)) {
            walk.cancelled = true;
            break;
        }
        const std::string fsFolder = withTrailingSeparator(cp1252ToUtf8(folder));
        struct stat st {};
        if (::stat(fsFolder.c_str(), &st) == 0) {
            if (!seen.insert({st.st_dev, st.st_ino}).second)
                continue; // reached a second time through a link
            if (!haveStartDevice) {
                startDevice = st.st_dev;
                haveStartDevice = true;
            } else if (options.sameFileSystem && st.st_dev != startDevice) {
                continue;
            }
        }
        if (window)
            window->setaktion(options.withSubdirectories ? kWalkReadingFolders : kWalkReadingFiles);
        FolderListing listing;
        std::string error;
        if (!listFolder(fsFolder, options.withSubdirectories, listing, error)) {
            if (dialogs.confirmWarning(kWalkErrorText + folder + kWalkErrorEndText)) {
                dialogs.information(folder + kWalkExceptionText + utf8ToCp1252(error));
                walk.stopped = true;
                break;
            }
            continue;
        }
        if (options.withSubdirectories) {
            if (window)
                window->setaktion(kWalkAddingFolders);
            for (const auto& name : listing.folders)
                walk.directories.push_back(folder + utf8ToCp1252(name) + "/");
        }
        if (window)
            window->setaktion(kWalkAddingFiles);
        for (const auto& name : listing.files)
            walk.files.push_back(folder + utf8ToCp1252(name));
    }
    if (window) {
        window->setaktion(kWalkIdle);
        window->closeframe();
    }
    return walk;
}

std::vector<std::string> dataMountPoints(std::string_view mountTable) {
    // Kernel and system file systems that never hold the user's files.
    static const std::set<std::string, std::less<>> pseudo = {
        "proc",     "sysfs",       "tmpfs",           "devtmpfs", "devpts",   "cgroup",
        "cgroup2",  "securityfs",  "debugfs",         "tracefs",  "pstore",   "bpf",
        "mqueue",   "hugetlbfs",   "configfs",        "fusectl",  "autofs",   "binfmt_misc",
        "efivarfs", "nsfs",        "rpc_pipefs",      "ramfs",    "squashfs", "selinuxfs",
        "nfsd",     "fuse.portal", "fuse.gvfsd-fuse", "none"};
    std::vector<std::string> out;
    std::istringstream in{std::string(mountTable)};
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, point, type;
        if (!(fields >> device >> point >> type))
            continue;
        point = unescapeMountField(point);
        if (pseudo.count(type) || point.empty() || point[0] != '/')
            continue;
        if (isBelow(point, "/proc") || isBelow(point, "/sys") || isBelow(point, "/dev"))
            continue;
        if (isBelow(point, "/run") && !isBelow(point, "/run/media"))
            continue;
        const std::string core = utf8ToCp1252(point);
        if (std::find(out.begin(), out.end(), core) == out.end())
            out.push_back(core);
    }
    return out;
}

std::vector<std::string> dataMountPoints() {
    std::ifstream in("/proc/self/mounts");
    std::stringstream text;
    text << in.rdbuf();
    return dataMountPoints(text.str());
}

} // namespace harlune
