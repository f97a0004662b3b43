#include "index/mp3_index.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace harlune {

MP3Index::Buffer& MP3Index::Buffer::operator=(Buffer&& other) noexcept {
    if (this != &other) {
        std::free(data);
        data = other.data;
        size = other.size;
        capacity = other.capacity;
        other.data = nullptr;
        other.size = other.capacity = 0;
    }
    return *this;
}

void MP3Index::Buffer::reserve(uint32_t wanted) {
    if (wanted <= capacity)
        return;
    void* p = std::realloc(data, wanted);
    if (!p)
        throw std::bad_alloc();
    data = static_cast<char*>(p);
    capacity = wanted;
}

uint32_t MP3Index::Buffer::append(std::string_view bytes) {
    constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
    uint64_t needed = uint64_t(size) + bytes.size();
    if (needed > kMax)
        throw std::length_error("MP3Index: texts of one block exceed 4 GiB");
    if (needed > capacity) {
        uint64_t grown = std::max<uint64_t>({needed, uint64_t(capacity) * 2, 16 * 1024});
        reserve(static_cast<uint32_t>(std::min(grown, kMax)));
    }
    if (!bytes.empty())
        std::memcpy(data + size, bytes.data(), bytes.size());
    size = static_cast<uint32_t>(needed);
    return size;
}

void MP3Index::Buffer::shrinkToFit() {
    if (capacity == size)
        return;
    if (size == 0) {
        std::free(data);
        data = nullptr;
        capacity = 0;
        return;
    }
    // Shrinking with realloc stays in place; should it fail, the larger buffer is kept.
    if (void* p = std::realloc(data, size)) {
        data = static_cast<char*>(p);
        capacity = size;
    }
}

std::string_view MP3Index::cell(size_t row, int column) const {
    switch (column) {
    case kTitle:
        return title(row);
    case kPath:
        return path(row);
    case kListFile:
        return listFile(row);
    case kRecord:
        return record(row);
    default:
        return {};
    }
}

uint32_t MP3Index::internListFile(std::string_view listFile) {
    // Searched from the end: entries are appended list by list, so the wanted path is almost
    // always the last one, and the table stays as small as the number of index files.
    for (size_t i = listFiles_.size(); i-- > 0;) {
        if (listFiles_[i] == listFile)
            return static_cast<uint32_t>(i);
    }
    if (listFiles_.size() >= std::numeric_limits<uint32_t>::max())
        throw std::length_error("MP3Index: too many list files");
    listFiles_.emplace_back(listFile);
    return static_cast<uint32_t>(listFiles_.size() - 1);
}

void MP3Index::append(std::string_view title, std::string_view path, uint32_t listFileId,
                      std::string_view record) {
    // Everything that may fail happens before the entry becomes visible, so a failed append
    // (out of memory, oversized text) leaves the index as it was.
    if (count_ == blocks_.size() * kBlockRows) {
        // The previous block is complete: give back its spare capacity, and size the new
        // block's buffers after it, so that they rarely need to grow (every regrowth copies
        // the texts and touches fresh memory).
        uint32_t hint[kTextCols] = {};
        if (!blocks_.empty()) {
            for (int c = 0; c < kTextCols; ++c) {
                Buffer& b = blocks_.back().col[c];
                b.shrinkToFit();
                hint[c] = b.size + b.size / 8;
            }
        }
        Block block;
        for (int c = 0; c < kTextCols; ++c)
            block.col[c].reserve(hint[c]);
        blocks_.push_back(std::move(block));
    }
    if (listIds_.size() == listIds_.capacity()) {
        size_t wanted = std::max<size_t>(2 * listIds_.capacity(), kBlockRows);
        for (auto& e : ends_)
            e.reserve(wanted);
        listIds_.reserve(wanted);
    }
    Block& block = blocks_.back();
    const std::string_view texts[kTextCols] = {title, path, record};
    uint32_t ends[kTextCols];
    int done = 0;
    try {
        for (; done < kTextCols; ++done)
            ends[done] = block.col[done].append(texts[done]);
    } catch (...) {
        for (int c = 0; c < done; ++c)
            block.col[c].size = ends[c] - static_cast<uint32_t>(texts[c].size());
        throw;
    }
    for (int c = 0; c < kTextCols; ++c)
        ends_[c].push_back(ends[c]);
    listIds_.push_back(listFileId);
    ++count_;
}

void MP3Index::clear() {
    count_ = 0;
    // Assigning fresh containers (not clear()) gives the memory back.
    blocks_ = std::vector<Block>();
    for (auto& e : ends_)
        e = std::vector<uint32_t>();
    listIds_ = std::vector<uint32_t>();
    listFiles_ = std::vector<std::string>();
}

size_t MP3Index::memoryBytes() const {
    size_t bytes = blocks_.capacity() * sizeof(Block);
    for (const Block& block : blocks_) {
        for (const Buffer& b : block.col)
            bytes += b.capacity;
    }
    for (const auto& e : ends_)
        bytes += e.capacity() * sizeof(uint32_t);
    bytes += listIds_.capacity() * sizeof(uint32_t);
    for (const auto& s : listFiles_)
        bytes += sizeof(std::string) + s.capacity();
    return bytes;
}

} // namespace harlune
