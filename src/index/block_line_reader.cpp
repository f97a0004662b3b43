#include "index/block_line_reader.h"

#include "base/paths.h"

#include <cstring>

namespace harlune {

bool BlockLineReader::open(std::string_view path) {
    close();
    file_.reset(std::fopen(fsPath(path).c_str(), "rb"));
    if (!file_)
        return false;
    // Reads go straight into our own buffer.
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);
    buffer_.resize(kBlockSize);
    eof_ = false;
    return true;
}

void BlockLineReader::close() {
    file_.reset();
    pos_ = end_ = 0;
    eof_ = true;
    error_ = false;
}

// Moves the unread rest to the front and reads more behind it; the buffer grows only for a
// line longer than itself. False when nothing more could be read.
bool BlockLineReader::refill() {
    if (eof_)
        return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
    end_ += got;
    if (got == 0) {
        eof_ = true;
        error_ = std::ferror(file_.get()) != 0;
        return false;
    }
    return true;
}

bool BlockLineReader::atEnd() {
    while (pos_ >= end_) {
        if (!refill())
            return true;
    }
    return false;
}

bool BlockLineReader::next(std::string_view& line) {
    size_t scanned = pos_; // bytes before this offset hold no LF
    for (;;) {
        const char* data = buffer_.data();
        const void* nl =
            scanned < end_ ? std::memchr(data + scanned, '\n', end_ - scanned) : nullptr;
        if (nl) {
            size_t lineEnd = static_cast<const char*>(nl) - data;
            size_t len = lineEnd - pos_;
            if (len > 0 && data[lineEnd - 1] == '\r')
                --len;
            line = std::string_view(data + pos_, len);
            pos_ = lineEnd + 1;
            return true;
        }
        size_t keep = end_ - pos_;
        if (!refill()) {
            if (pos_ >= end_)
                return false;
            // The last line has no line end.
            size_t len = end_ - pos_;
            if (buffer_[end_ - 1] == '\r')
                --len;
            line = std::string_view(buffer_.data() + pos_, len);
            pos_ = end_;
            return true;
        }
        scanned = pos_ + keep;
    }
}

} // namespace harlune
