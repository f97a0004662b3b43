#pragma once
// Text files of lines. Written lines end in CR LF; reading accepts CR LF and bare LF.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

// Reads all lines; false when the file cannot be opened or read.
bool readLines(std::string_view path, std::vector<std::string>& lines);
// Creates or replaces the file with the lines, each ending in CR LF.
bool writeLines(std::string_view path, const std::vector<std::string>& lines,
                std::string* error = nullptr);
// Appends lines (CR LF each), creating the file when it is missing.
bool appendLines(std::string_view path, const std::vector<std::string>& lines,
                 std::string* error = nullptr);

// Reads a file line by line through a large buffer.
class LineReader {
public:
    LineReader() = default;
    explicit LineReader(std::string_view path) { open(path); }
    bool open(std::string_view path);
    bool isOpen() const { return file_ != nullptr; }
    // True when no further line can be read.
    bool atEnd();
    // Reads the next line without its line end; false at the end of the file.
    bool next(std::string& line);
    // The next single byte (line ends included), or -1 at the end.
    int nextChar();
    void close();

private:
    bool fill();
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> fileHolder_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    size_t pos_ = 0, end_ = 0;
};

// The system's text for the last I/O error (errno).
std::string lastErrorText();

} // namespace harlune
