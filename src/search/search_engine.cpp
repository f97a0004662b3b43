#include "search/search_engine.h"

#include "base/datetime.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/fields.h"
#include "index/group_list.h"
#include "index/index_files.h"
#include "index/mp3_index.h"
#include "platform/dialogs.h"
#include "search/search_text.h"

#include <cstring>

namespace harlune {
namespace {

// A word of the every-word method that has been found is overwritten with this byte, so that a
// word given twice has to occur twice.
constexpr char kFoundWordFill = '\xBF';

// Upper-cases n bytes from src into dst with strupper1's rule. The three umlauts lie exactly
// 0x20 above their capitals, as a-z do, so every byte that changes drops by 0x20; written
// without branches so that the compiler can process many bytes at once.
inline void foldBytes(char* dst, const char* src, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(src[i]);
        const unsigned char change = static_cast<unsigned char>(
            (static_cast<unsigned char>(c - 'a') < 26) | (c == 0xE4) | (c == 0xF6) | (c == 0xFC));
        dst[i] = static_cast<char>(c - (change << 5));
    }
}

bool contains(std::string_view haystack, std::string_view needle) {
    if (needle.empty())
        return true;
    return memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
}

} // namespace

char normalizeSource(char source) {
    return (source == kSourceTitle || source == kSourceAlbum || source == kSourceFilter)
               ? source
               : kSourceTitle;
}

char normalizeMethod(char method) {
    return (method == kMethodExact || method == kMethodAllWords || method == kMethodAnyWord)
               ? method
               : kMethodExact;
}

SearchMatcher::SearchMatcher(std::string_view text, char source, char method)
    : source_(normalizeSource(source)), method_(normalizeMethod(method)), all_(text == kSearchAll),
      upper_(strupper1(text)), words_(zeilezerlegen(text)) {
    if (source_ != kSourceFilter)
        return;
    // The filter's value is what follows the first ":" of the item.
    size_t colon = upper_.find(':');
    std::string value = colon == std::string::npos ? std::string() : trim(upper_.substr(colon + 1));
    if (text.find(kGroupMarker) != std::string_view::npos) {
        filter_ = Filter::Group;
        group_ = std::move(value);
    } else if (text.find(kRatingMarker) != std::string_view::npos) {
        filter_ = Filter::Rating;
        minRating_ = toIntDef(value, 0);
    }
}

std::string_view SearchMatcher::foldCandidate(std::string_view candidate) {
    const size_t size = candidate.size() + 1;
    if (buffer_.size() < size)
        buffer_.resize(std::max<size_t>(size * 2, 256));
    buffer_[0] = ' ';
    foldBytes(buffer_.data() + 1, candidate.data(), candidate.size());
    return std::string_view(buffer_.data(), size);
}

bool SearchMatcher::matchesAllWords(char* candidate, size_t size) const {
    for (const std::string& word : words_) {
        void* hit = memmem(candidate, size, word.data(), word.size());
        if (!hit)
            return false;
        // A one-character word stays, so "a a" asks for one "a" only.
        if (word.size() >= 2)
            std::memset(hit, kFoundWordFill, word.size());
    }
    return true;
}

bool SearchMatcher::matchesText(std::string_view candidate) {
    if (source_ == kSourceFilter)
        return false;
    if (all_)
        return true;
    std::string_view folded = foldCandidate(candidate);
    switch (method_) {
    case kMethodAllWords:
        return matchesAllWords(buffer_.data(), folded.size());
    case kMethodAnyWord:
        for (const std::string& word : words_) {
            if (contains(folded, word))
                return true;
        }
        return false;
    default:
        return contains(folded, upper_);
    }
}

bool SearchMatcher::matchesRecord(std::string_view record) {
    switch (source_) {
    case kSourceAlbum:
        return matchesText(fieldView(record, kFieldAlbum));
    case kSourceFilter:
        if (filter_ == Filter::Rating) {
            // An empty or unreadable rating counts as 0 (not rated).
            return minRating_ <= toIntDef(fieldView(record, kFieldWertung), 0);
        }
        if (filter_ == Filter::Group)
            return strupper1(trimView(fieldView(record, kFieldGruppe))) == group_;
        return false;
    default:
        return false;
    }
}

bool SearchMatcher::matches(const MP3Index& index, size_t row) {
    return source_ == kSourceTitle ? matchesText(index.title(row))
                                   : matchesRecord(index.record(row));
}

namespace {

// Calls the animation's flip once at least kStepDays have passed since the last flip; looked
// at once every kRowsPerCheck entries so that reading the clock costs nothing measurable.
class AnimationTicker {
public:
    static constexpr size_t kRowsPerCheck = 4096;
    explicit AnimationTicker(const WaitAnimation* animation)
        : animation_(animation), last_(animation ? animation->clock.now() : 0.0) {}
    void row(size_t row) {
        if (!animation_ || (row + 1) % kRowsPerCheck != 0)
            return;
        double now = animation_->clock.now();
        if (now - last_ >= WaitAnimation::kStepDays) {
            last_ = now;
            if (animation_->flip)
                animation_->flip();
        }
    }

private:
    const WaitAnimation* animation_;
    double last_;
};

} // namespace

size_t DurchsucheListe(const MP3Index& backupgrid, std::string_view text, char source, char method,
                       ResultTable& rows, const WaitAnimation* animation) {
    SearchMatcher matcher(text, source, method);
    if (matcher.matchesNothing())
        return 0;
    const size_t before = rows.size();
    AnimationTicker ticker(animation);
    if (matcher.source() == kSourceTitle) {
        // Titles lie one after another in memory: the fast path of every keystroke.
        backupgrid.forEachTitle([&](size_t row, std::string_view title) {
            if (matcher.matchesText(title))
                rows.append(row, title);
            ticker.row(row);
        });
    } else {
        for (size_t row = 0; row < backupgrid.size(); ++row) {
            if (matcher.matchesRecord(backupgrid.record(row)))
                rows.append(row, backupgrid.title(row));
            ticker.row(row);
        }
    }
    return rows.size() - before;
}

std::string countText(size_t rows) {
    return kCountStart + std::to_string(rows) + kCountEnd;
}

SearchOutcome SucheMP3(SearchContext& context, std::string_view text, char source, char method) {
    SearchOutcome outcome;
    // A vanished index file is reported before anything changes, so the previous result stays.
    if (!trimView(context.selectorText).empty() && !fileExists(trimView(context.selectorText))) {
        context.dialogs.warning(std::string(kMissingIndexStart) +
                                std::string(context.selectorText) + kMissingIndexEnd);
        outcome.indexMissing = true;
        return outcome;
    }
    context.rows.clear();
    bool loaded = true;
    if (context.backupgrid.empty()) {
        loaded = ladeliste(context.backupgrid, context.mp3gruppenliste, context.dialogs,
                           context.allLists, context.selectorText, context.indexFolder);
        if (!loaded) {
            // Nothing half loaded stays behind: the next search loads again.
            context.backupgrid.clear();
            outcome.loadFailed = true;
        }
    }
    if (loaded && !text.empty()) {
        DurchsucheListe(context.backupgrid, text, source, method, context.rows, context.animation);
        outcome.passRan = true;
    }
    outcome.countText = countText(context.rows.size());
    return outcome;
}

std::vector<std::string> suchbegriffboxfuellen(const GroupList& mp3gruppenliste) {
    std::vector<std::string> items;
    items.reserve(kMaxRating + mp3gruppenliste.size());
    for (int rating = 1; rating <= kMaxRating; ++rating)
        items.push_back(std::string(kFilterItemPrefix) + kRatingItem + std::to_string(rating));
    for (const std::string& name : mp3gruppenliste.names())
        items.push_back(std::string(kFilterItemPrefix) + kGroupItem + name);
    return items;
}

SearchBoxSetup suchverfahrenanzeige(char source, char method, std::string_view currentText,
                                    const GroupList& mp3gruppenliste) {
    SearchBoxSetup setup;
    setup.source = normalizeSource(source);
    setup.method = normalizeMethod(method);
    if (setup.source == kSourceFilter) {
        setup.dropDown = true;
        setup.items = suchbegriffboxfuellen(mp3gruppenliste);
        return setup;
    }
    // An item left over from the drop-down list is no search text.
    if (!currentText.starts_with(kFilterItemPrefix[0]))
        setup.text = std::string(currentText);
    return setup;
}

} // namespace harlune
