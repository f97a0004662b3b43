#include "search/result_rows.h"

#include "index/mp3_index.h"
#include "search/grid_operations.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace harlune {
namespace {

// What follows the running number in a first cell.
constexpr std::string_view kNumberEnd = ". ";

// The running number of an entry (from 0) as text; returns its length.
size_t numberText(size_t entry, char (&digits)[24]) {
    return static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, entry + 1).ptr -
                               digits);
}

} // namespace

std::string ResultTable::cell0Text(size_t entry, std::string_view title) {
    char digits[24];
    const size_t n = numberText(entry, digits);
    std::string text;
    text.reserve(std::string_view(kUnmarkedPrefix).size() + n + kNumberEnd.size() + title.size());
    text.append(kUnmarkedPrefix).append(digits, n).append(kNumberEnd).append(title);
    return text;
}

char* ResultTable::storeBytes(size_t n) {
    if (n > kChunkBytes) {
        bigTexts_.push_back(std::make_unique_for_overwrite<char[]>(n));
        return bigTexts_.back().get();
    }
    if (chunksInUse_ == 0 || n > kChunkBytes - chunkUsed_) {
        // The next chunk: one kept from an earlier search, else a new one.
        if (chunksInUse_ == chunks_.size())
            chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunkBytes));
        ++chunksInUse_;
        chunkUsed_ = 0;
    }
    char* out = chunks_[chunksInUse_ - 1].get() + chunkUsed_;
    chunkUsed_ += n;
    return out;
}

const char* ResultTable::storeText(std::string_view text) {
    if (text.empty())
        return "";
    char* out = storeBytes(text.size());
    std::memcpy(out, text.data(), text.size());
    return out;
}

void ResultTable::append(size_t entry, std::string_view title) {
    const std::string_view prefix = kUnmarkedPrefix;
    char digits[24];
    const size_t n = numberText(entry, digits);
    const size_t size = prefix.size() + n + kNumberEnd.size() + title.size();
    if (entry >= std::numeric_limits<uint32_t>::max() ||
        size > std::numeric_limits<uint32_t>::max())
        throw std::length_error("ResultTable: row out of range");
    rows_.emplace_back(); // may throw: then nothing else has changed
    char* out = storeBytes(size);
    char* p = out;
    std::memcpy(p, prefix.data(), prefix.size());
    p += prefix.size();
    std::memcpy(p, digits, n);
    p += n;
    std::memcpy(p, kNumberEnd.data(), kNumberEnd.size());
    p += kNumberEnd.size();
    if (!title.empty())
        std::memcpy(p, title.data(), title.size());
    rows_.back() =
        ResultRow{out, static_cast<uint32_t>(size), static_cast<uint32_t>(entry), kNoExtra};
}

void ResultTable::clear() {
    rows_.clear();
    extras_ = std::vector<Extra>();
    bigTexts_ = std::vector<std::unique_ptr<char[]>>();
    chunksInUse_ = 0;
    chunkUsed_ = 0;
}

void ResultTable::releaseMemory() {
    rows_ = std::vector<ResultRow>();
    extras_ = std::vector<Extra>();
    bigTexts_ = std::vector<std::unique_ptr<char[]>>();
    chunks_ = std::vector<std::unique_ptr<char[]>>();
    chunksInUse_ = 0;
    chunkUsed_ = 0;
}

void ResultTable::setCell0(size_t i, std::string_view text) {
    if (text.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("ResultTable: cell text too long");
    rows_[i].text = storeText(text);
    rows_[i].size = static_cast<uint32_t>(text.size());
}

std::string_view ResultTable::cell1(size_t i) const {
    uint32_t slot = rows_[i].extra;
    return slot == kNoExtra ? std::string_view() : std::string_view(extras_[slot].cell1);
}

ResultTable::Extra& ResultTable::extraOf(size_t i) {
    uint32_t& slot = rows_[i].extra;
    if (slot == kNoExtra) {
        extras_.emplace_back();
        slot = static_cast<uint32_t>(extras_.size() - 1);
    }
    return extras_[slot];
}

void ResultTable::setCell1(size_t i, std::string text) {
    if (text.empty() && rows_[i].extra == kNoExtra)
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
    if (slot != kNoExtra && extras_[slot].recordReplaced)
        return extras_[slot].record;
    uint32_t entry = rows_[i].entry;
    return entry < index.size() ? index.record(entry) : std::string_view();
}

} // namespace harlune
