#pragma once
// The in-memory index `backupgrid`: the entries of the loaded index pair(s) in load order, each
// with four columns: display title, path line, full path of the list file it came from, and
// album record.
//
// Built to hold millions of entries compactly:
//  - the texts live in shared buffers, not one string per cell. Entries are grouped in blocks of
//    kBlockRows; each block keeps one buffer per column, and each cell is one 32-bit end offset
//    into its block's buffer (a cell starts where the previous cell of the block ends). Blocks
//    never move once written, so growing the index copies no texts already stored;
//  - a list file path is stored once in a small table; each entry holds only its number;
//  - the titles of a block are contiguous, so a pass over all titles (the search) walks memory
//    in order (forEachTitle).
// Emptiness is the entry count, never the content of a cell: an entry whose title is empty is
// an entry like any other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class MP3Index {
public:
    // Column numbers of the table view of an entry.
    enum Column : int { kTitle = 0, kPath = 1, kListFile = 2, kRecord = 3 };
    static constexpr size_t kBlockRows = 4096;

    struct Entry {
        std::string_view title;
        std::string_view path;
        std::string_view listFile;
        std::string_view record;
    };

    MP3Index() = default;
    MP3Index(MP3Index&&) noexcept = default;
    MP3Index& operator=(MP3Index&&) noexcept = default;
    MP3Index(const MP3Index&) = delete;
    MP3Index& operator=(const MP3Index&) = delete;

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

    // The columns of entry `row` (0-based, load order). The views stay valid until the next
    // append() or clear().
    std::string_view title(size_t row) const { return text(kTitleCol, row); }
    std::string_view path(size_t row) const { return text(kPathCol, row); }
    std::string_view record(size_t row) const { return text(kRecordCol, row); }
    std::string_view listFile(size_t row) const { return listFiles_[listIds_[row]]; }
    uint32_t listFileId(size_t row) const { return listIds_[row]; }
    Entry entry(size_t row) const { return {title(row), path(row), listFile(row), record(row)}; }
    // Column 0..3 of entry `row`, as in the table view above.
    std::string_view cell(size_t row, int column) const;

    // The distinct list file paths, in order of first use; listFileId() indexes this table.
    const std::vector<std::string>& listFiles() const { return listFiles_; }
    // The number of a list file path, adding it to the table when it is new.
    uint32_t internListFile(std::string_view listFile);

    void append(std::string_view title, std::string_view path, uint32_t listFileId,
                std::string_view record);
    void append(std::string_view title, std::string_view path, std::string_view listFile,
                std::string_view record) {
        append(title, path, internListFile(listFile), record);
    }
    // Removes every entry and the list file table, and gives the memory back.
    void clear();

    // Calls f(row, title) for every entry in load order.
    template <class F> void forEachTitle(F&& f) const {
        size_t row = 0;
        for (const Block& block : blocks_) {
            const char* base = block.col[kTitleCol].data;
            uint32_t start = 0;
            const uint32_t* ends = &ends_[kTitleCol][row];
            size_t rows = std::min(kBlockRows, count_ - row);
            for (size_t j = 0; j < rows; ++j) {
                f(row + j, std::string_view(base + start, ends[j] - start));
                start = ends[j];
            }
            row += rows;
        }
    }

    // Bytes held by the index (texts, offsets and tables), for measurements.
    size_t memoryBytes() const;

private:
    enum TextCol : int { kTitleCol = 0, kPathCol = 1, kRecordCol = 2, kTextCols = 3 };

    // One growable byte buffer (malloc/realloc, so that growing and the final trim can happen in
    // place).
    struct Buffer {
        char* data = nullptr;
        uint32_t size = 0;
        uint32_t capacity = 0;
        Buffer() = default;
        Buffer(Buffer&& other) noexcept
            : data(other.data), size(other.size), capacity(other.capacity) {
            other.data = nullptr;
            other.size = other.capacity = 0;
        }
        Buffer& operator=(Buffer&& other) noexcept;
        Buffer(const Buffer&) = delete;
        Buffer& operator=(const Buffer&) = delete;
        ~Buffer() { std::free(data); }
        void reserve(uint32_t wanted);
        // Appends the bytes and returns the new size.
        uint32_t append(std::string_view bytes);
        void shrinkToFit();
    };
    struct Block {
        Buffer col[kTextCols];
    };

    std::string_view text(int col, size_t row) const {
        const Block& block = blocks_[row / kBlockRows];
        uint32_t end = ends_[col][row];
        uint32_t start = (row % kBlockRows == 0) ? 0 : ends_[col][row - 1];
        return std::string_view(block.col[col].data + start, end - start);
    }

    size_t count_ = 0;
    std::vector<Block> blocks_;
    std::vector<uint32_t> ends_[kTextCols]; // per entry: end of its text in its block's buffer
    std::vector<uint32_t> listIds_;
    std::vector<std::string> listFiles_;
};

} // namespace harlune
