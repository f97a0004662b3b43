#include "base/line_file.h"

#include "base/paths.h"

#include <cerrno>
#include <cstring>

namespace harlune {

std::string lastErrorText() {
    return std::strerror(errno);
}

bool LineReader::open(std::string_view path) {
    close();
    file_ = std::fopen(fsPath(path).c_str(), "rb");
    if (!file_)
        return false;
    fileHolder_.reset(file_);
    buffer_.resize(1 << 16);
    pos_ = end_ = 0;
    return true;
}

void LineReader::close() {
    fileHolder_.reset();
    file_ = nullptr;
    pos_ = end_ = 0;
}

bool LineReader::fill() {
    if (!file_)
        return false;
    pos_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    return end_ > 0;
}

bool LineReader::atEnd() {
    return pos_ >= end_ && !fill();
}

int LineReader::nextChar() {
    if (atEnd())
        return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (atEnd())
        return false;
    for (;;) {
        const char* start = buffer_.data() + pos_;
        const void* nl = std::memchr(start, '\n', end_ - pos_);
        if (nl) {
            size_t len = static_cast<const char*>(nl) - start;
            line.append(start, len);
            pos_ += len + 1;
            break;
        }
        line.append(start, end_ - pos_);
        pos_ = end_;
        if (!fill())
            break;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool readLines(std::string_view path, std::vector<std::string>& lines) {
    LineReader reader;
    if (!reader.open(path))
        return false;
    lines.clear();
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return true;
}

namespace {
bool writeFile(std::string_view path, const std::vector<std::string>& lines, const char* mode,
               std::string* error) {
    std::FILE* f = std::fopen(fsPath(path).c_str(), mode);
    if (!f) {
        if (error)
            *error = lastErrorText();
        return false;
    }
    bool ok = true;
    for (const auto& line : lines) {
        ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
        ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = (std::fflush(f) == 0) && ok;
    if (!ok && error)
        *error = lastErrorText();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok && error && error->empty())
        *error = lastErrorText();
    return ok;
}
} // namespace

bool writeLines(std::string_view path, const std::vector<std::string>& lines, std::string* error) {
    return writeFile(path, lines, "wb", error);
}

bool appendLines(std::string_view path, const std::vector<std::string>& lines, std::string* error) {
    return writeFile(path, lines, "ab", error);
}

} // namespace harlune
