#pragma once
// The rows of a search result: what the result grid shows and, beside it, the data every row
// operation needs (path, list file and album record of the entry).
//
// A row keeps the text of its first cell, because that text is edited in place (marks, extra
// information appended to it, a new title after a tag edit), and the number of its entry in the
// in-memory index, through which path, list file and record are reached without copying them.
// The second cell and a replaced album record are rare, so they live in a side table that a row
// points into only once it has one; a row therefore costs one small struct and its cell text.
//
// The rows refer to the in-memory index they were found in: whoever empties or reloads that
// index empties these rows as well. Reading a companion column of a row whose entry is no
// longer in the index gives "" instead of reading out of bounds.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class MP3Index;

struct ResultRow {
    static constexpr uint32_t kNoExtra = UINT32_MAX;
    uint32_t entry = 0;        // row of the in-memory index, from 0 (running number - 1)
    uint32_t extra = kNoExtra; // slot of the row's second cell / replaced record, if any
    std::string cell0;         // the shown text: mark prefix, running number, ". ", title
};

class ResultTable {
public:
    // The first cell of a new row, as resultCell0 builds it (unmarked prefix, running number,
    // ". ", title), without its intermediate strings: a search may append a million rows.
    static std::string cell0Text(size_t entry, std::string_view title);

    size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const std::vector<ResultRow>& rows() const { return rows_; }
    const ResultRow& row(size_t i) const { return rows_[i]; }

    // Appends the in-memory index entry `entry` (from 0) with its display title.
    void append(size_t entry, std::string_view title);
    // Removes every row (and gives the memory back).
    void clear();
    void reserve(size_t rows) { rows_.reserve(rows); }

    std::string_view cell0(size_t i) const { return rows_[i].cell0; }
    void setCell0(size_t i, std::string text) { rows_[i].cell0 = std::move(text); }
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
    struct Extra {
        std::string cell1;
        std::string record;
        bool recordReplaced = false;
    };
    Extra& extraOf(size_t i);

    std::vector<ResultRow> rows_;
    std::vector<Extra> extras_;
};

} // namespace harlune
