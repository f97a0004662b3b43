#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it at the end
// of the test. makeProgramFolder() gives it the five subfolders of an installed program.
#include <filesystem>
#include <string>
#include <string_view>

namespace harlune::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder as a core (Windows-1252) path.
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const;
    // Writes bytes to a file below the folder (folders created); returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;
    // Reads a file's bytes ("" when missing).
    static std::string read(std::string_view path);
    void makeProgramFolder() const;

private:
    std::string path_;
};

} // namespace harlune::test
