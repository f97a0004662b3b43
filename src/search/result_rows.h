#pragma once
// The rows of a search result: what the result grid shows and, beside it, the data every row
// operation needs (path, list file and album record of the entry).
//
// A row keeps the text of its first cell, because that text is edited in place (marks, extra
// information appended to it, a new title after a tag edit), and the number of its entry in the
// in-memory index, through which path, list file and record are reached without copying them.
// The second cell and a replaced album record are rare, so they live in a side table that a row
// points into only once it has one.
//
// A search may produce a million rows, so rows are small plain structs and the first cells'
// texts are packed into large shared chunks instead of one allocation each. A cell text, once
// stored, never moves: the views that cell0() gives stay valid until clear(), also while rows
// are appended, changed or swapped. Changing a first cell stores the new text; the old bytes are
// reused after clear(). clear() keeps the memory of rows and texts for the next search (a
// search runs on every pause in typing, and fresh memory costs more than the search itself);
// releaseMemory() gives it back.
//
// The rows refer to the in-memory index they were found in: whoever empties or reloads that
// index empties these rows as well. Reading a companion column of a row whose entry is no
// longer in the index gives "" instead of reading out of bounds.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class MP3Index;

// One row as stored: its first cell (in the table's text chunks) and its entry.
struct ResultRow {
    const char* text; // the first cell
    uint32_t size;
    uint32_t entry; // row of the in-memory index, from 0 (its running number less one)
    uint32_t extra; // the row's slot for a second cell or a replaced record (table-internal)
};

class ResultTable {
public:
    ResultTable() = default;
    ResultTable(ResultTable&&) noexcept = default;
    ResultTable& operator=(ResultTable&&) noexcept = default;
    ResultTable(const ResultTable&) = delete;
    ResultTable& operator=(const ResultTable&) = delete;

    // The first cell of a new row, as resultCell0 builds it (unmarked prefix, running number,
    // ". ", title).
    static std::string cell0Text(size_t entry, std::string_view title);

    size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    // Appends the in-memory index entry `entry` (from 0) with its display title.
    void append(size_t entry, std::string_view title);
    // Removes every row; the memory is kept for the rows of the next search.
    void clear();
    // Removes every row and gives the memory back.
    void releaseMemory();
    void reserve(size_t rows) { rows_.reserve(rows); }

    const ResultRow& row(size_t i) const { return rows_[i]; }
    // The entry of the in-memory index a row shows (from 0; its running number less one).
    size_t entry(size_t i) const { return rows_[i].entry; }

    std::string_view cell0(size_t i) const { return {rows_[i].text, rows_[i].size}; }
    void setCell0(size_t i, std::string_view text);
    std::string_view cell1(size_t i) const;
    void setCell1(size_t i, std::string text);

    // The companion columns: MP3 path, full path of the list file, album record. The record is
    // the one set by replaceRecord when there is one, else the index's.
    std::string_view path(size_t i, const MP3Index& index) const;
    std::string_view listFile(size_t i, const MP3Index& index) const;
    std::string_view record(size_t i, const MP3Index& index) const;
    void replaceRecord(size_t i, std::string record);

    // Swaps two rows with everything that belongs to them.
    void swapRows(size_t a, size_t b) { std::swap(rows_[a], rows_[b]); }

private:
    static constexpr uint32_t kNoExtra = UINT32_MAX;
    static constexpr size_t kChunkBytes = 1 << 20;

    struct Extra {
        std::string cell1;
        std::string record;
        bool recordReplaced = false;
    };

    Extra& extraOf(size_t i);
    // Room for n bytes of cell text that stays where it is until clear().
    char* storeBytes(size_t n);
    const char* storeText(std::string_view text);

    std::vector<ResultRow> rows_;
    std::vector<Extra> extras_;
    std::vector<std::unique_ptr<char[]>> chunks_;   // kChunkBytes each, reused after clear()
    size_t chunksInUse_ = 0;                        // the last of them is being filled
    size_t chunkUsed_ = 0;                          // bytes used of that one
    std::vector<std::unique_ptr<char[]>> bigTexts_; // texts larger than a chunk
};

} // namespace harlune
