#include "temp_dir.h"

#include "base/paths.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace harlune::test {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "harlune-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = fromFsPath(pattern);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(fsPath(path_), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(fsPath(path_), ec);
}

std::string TempDir::file(std::string_view name) const {
    return joinPath(path_, name);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
    std::string p = file(name);
    fs::create_directories(fsPath(p).parent_path());
    std::ofstream out(fsPath(p), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string TempDir::read(std::string_view path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void TempDir::makeProgramFolder() const {
    for (const char* sub : {"Skins", "download", "Playlists", "DOC", "Konfigs"})
        fs::create_directories(fsPath(file(sub)));
}

} // namespace harlune::test
