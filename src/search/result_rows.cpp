#include "search/result_rows.h"

#include "index/mp3_index.h"
#include "search/grid_operations.h"

#include <charconv>
#include <limits>
#include <stdexcept>

namespace harlune {

std::string ResultTable::cell0Text(size_t entry, std::string_view title) {
    char number[24];
    auto end = std::to_chars(number, number + sizeof number, entry + 1).ptr;
    const size_t digits = static_cast<size_t>(end - number);
    std::string text;
    const std::string_view prefix = kUnmarkedPrefix;
    text.reserve(prefix.size() + digits + 2 + title.size());
    text.append(prefix).append(number, digits).append(". ", 2).append(title);
    return text;
}

void ResultTable::append(size_t entry, std::string_view title) {
    if (entry >= std::numeric_limits<uint32_t>::max())
        throw std::length_error("ResultTable: entry number out of range");
    ResultRow row;
    row.entry = static_cast<uint32_t>(entry);
    row.cell0 = cell0Text(entry, title);
    rows_.push_back(std::move(row));
}

void ResultTable::clear() {
    rows_ = std::vector<ResultRow>();
    extras_ = std::vector<Extra>();
}

std::string_view ResultTable::cell1(size_t i) const {
    uint32_t slot = rows_[i].extra;
    return slot == ResultRow::kNoExtra ? std::string_view() : std::string_view(extras_[slot].cell1);
}

ResultTable::Extra& ResultTable::extraOf(size_t i) {
    uint32_t& slot = rows_[i].extra;
    if (slot == ResultRow::kNoExtra) {
        extras_.emplace_back();
        slot = static_cast<uint32_t>(extras_.size() - 1);
    }
    return extras_[slot];
}

void ResultTable::setCell1(size_t i, std::string text) {
    if (text.empty() && rows_[i].extra == ResultRow::kNoExtra)
        return;
    extraOf(i).cell1 = std::move(text);
}

void ResultTable::replaceRecord(size_t i, std::string record) {
    Extra& extra = extraOf(i);
    extra.record = std::move(record);
    extra.recordReplaced = true;
}

std::string_view ResultTable::path(size_t i, const MP3Index& index) const {
    uint32_t entry = rows_[i].entry;
    return entry < index.size() ? index.path(entry) : std::string_view();
}

std::string_view ResultTable::listFile(size_t i, const MP3Index& index) const {
    uint32_t entry = rows_[i].entry;
    return entry < index.size() ? index.listFile(entry) : std::string_view();
}

std::string_view ResultTable::record(size_t i, const MP3Index& index) const {
    uint32_t slot = rows_[i].extra;
    if (slot != ResultRow::kNoExtra && extras_[slot].recordReplaced)
        return extras_[slot].record;
    uint32_t entry = rows_[i].entry;
    return entry < index.size() ? index.record(entry) : std::string_view();
}

} // namespace harlune
