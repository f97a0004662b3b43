#pragma once
// Reads a file line by line through one large buffer and hands out each line as a view into
// that buffer, so that reading a file of a million lines allocates nothing per line. Lines end
// in LF or CR LF; the line end is not part of the line. Read errors are told apart from the end
// of the file.
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace harlune {

class BlockLineReader {
public:
    static constexpr size_t kBlockSize = 1 << 20;

    BlockLineReader() = default;
    // False when the file cannot be opened.
    bool open(std::string_view path);
    // The next line; the view stays valid until the next call. False at the end of the file or
    // after a read error (see failed()).
    bool next(std::string_view& line);
    // True when no further line can be read.
    bool atEnd();
    // True when reading stopped because of a read error rather than the end of the file.
    bool failed() const { return error_; }
    void close();

private:
    bool refill();
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::vector<char> buffer_;
    size_t pos_ = 0, end_ = 0;
    bool eof_ = true, error_ = false;
};

} // namespace harlune
