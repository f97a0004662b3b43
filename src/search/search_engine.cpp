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

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace harlune {
namespace {

// A word of the every-word method that has been found is overwritten with this byte, so that a
// word given twice has to occur twice.
constexpr char kFoundWordFill = '\xBF';

// Upper-cases n bytes from src into dst with strupper1's rule. The three umlauts lie exactly
// 0x20 above their capitals, as a-z do, so every byte that changes drops by 0x20; sixteen
// bytes at a time where the processor allows.
inline void foldBytes(char* dst, const char* src, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i beforeA = _mm_set1_epi8('a' - 1);
    const __m128i afterZ = _mm_set1_epi8('z' + 1);
    const __m128i ae = _mm_set1_epi8('\xE4');
    const __m128i oe = _mm_set1_epi8('\xF6');
    const __m128i ue = _mm_set1_epi8('\xFC');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; i + 16 <= n; i += 16) {
        // Signed comparisons: bytes from 0x80 up are negative and never count as a-z.
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(x, beforeA), _mm_cmplt_epi8(x, afterZ));
        const __m128i umlaut = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(x, ae), _mm_cmpeq_epi8(x, oe)), _mm_cmpeq_epi8(x, ue));
        const __m128i change = _mm_and_si128(_mm_or_si128(lower, umlaut), caseBit);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_sub_epi8(x, change));
    }
#endif
    for (; i < n; ++i)
        dst[i] = upperByte(src[i]);
}

// How often a byte occurs in upper-cased titles, roughly (higher is more frequent); the search
// looks for the rarest byte of a text first.
int byteFrequency(unsigned char c) {
    static const int* table = [] {
        static int t[256];
        for (int& v : t)
            v = 1;
        const char* common = "ENIRSATDHULOCGMBWFKZPVYJXQ"; // most frequent first
        for (int i = 0; common[i]; ++i)
            t[static_cast<unsigned char>(common[i])] = 60 - 2 * i;
        for (char d = '0'; d <= '9'; ++d)
            t[static_cast<unsigned char>(d)] = 8;
        t[static_cast<unsigned char>(' ')] = 100;
        t[static_cast<unsigned char>('-')] = 20;
        return t;
    }();
    return table[c];
}

// Whether `text` upper-cased equals `upper`, without copying it.
bool equalsUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (upperByte(text[i]) != upper[i])
            return false;
    }
    return true;
}

// Whether a candidate holds the needle (an empty needle is in every candidate).
bool holds(const SearchMatcher::Needle& needle, const char* begin, size_t size) {
    return needle.size() == 0 || needle.find(begin, begin + size) != nullptr;
}

} // namespace

SearchMatcher::Needle::Needle(std::string text) : text_(std::move(text)) {
    auto frequency = [this](size_t i) {
        return byteFrequency(static_cast<unsigned char>(text_[i]));
    };
    for (size_t i = 1; i < text_.size(); ++i) {
        if (frequency(i) < frequency(anchor_))
            anchor_ = i;
    }
    second_ = anchor_ == 0 && text_.size() > 1 ? 1 : 0;
    for (size_t i = 0; i < text_.size(); ++i) {
        if (i != anchor_ && frequency(i) < frequency(second_))
            second_ = i;
    }
}

const char* SearchMatcher::Needle::find(const char* begin, const char* end) const {
    const size_t m = text_.size();
    if (m == 0 || static_cast<size_t>(end - begin) < m)
        return nullptr;
#if defined(__SSE2__)
    if (m >= 2) {
        const size_t n = static_cast<size_t>(end - begin);
        const __m128i first = _mm_set1_epi8(text_[anchor_]);
        const __m128i second = _mm_set1_epi8(text_[second_]);
        size_t i = 0;
        // Tests the starts i .. i + 15, which read bytes up to i + 15 + m - 1.
        for (; i + 15 + m <= n; i += 16) {
            const __m128i a =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + i + anchor_));
            const __m128i b =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + i + second_));
            unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
            while (mask) {
                const char* start = begin + i + std::countr_zero(mask);
                if (std::memcmp(start, text_.data(), m) == 0)
                    return start;
                mask &= mask - 1;
            }
        }
        return findByAnchor(begin + i, end);
    }
#endif
    return findByAnchor(begin, end);
}

const char* SearchMatcher::Needle::findByAnchor(const char* begin, const char* end) const {
    const size_t m = text_.size();
    if (m == 0 || static_cast<size_t>(end - begin) < m)
        return nullptr;
    const int anchor = static_cast<unsigned char>(text_[anchor_]);
    const char* p = begin + anchor_;
    const char* last = end - m + anchor_; // the last place the anchor byte can match
    while (p <= last) {
        const void* hit = std::memchr(p, anchor, static_cast<size_t>(last - p) + 1);
        if (!hit)
            return nullptr;
        const char* start = static_cast<const char*>(hit) - anchor_;
        if (std::memcmp(start, text_.data(), m) == 0)
            return start;
        p = static_cast<const char*>(hit) + 1;
    }
    return nullptr;
}

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
      upper_(strupper1(text)) {
    leadingBlank_ = !upper_.text().empty() && upper_.text()[0] == ' ';
    if (leadingBlank_)
        upperRest_ = Needle(upper_.text().substr(1));
    for (std::string& word : zeilezerlegen(text))
        words_.emplace_back(std::move(word));
    bool oneCharacterWords = true;
    for (size_t i = 0; i < words_.size(); ++i) {
        oneCharacterWords = oneCharacterWords && words_[i].size() == 1;
        if (words_[i].text().find(kFoundWordFill) == std::string::npos)
            filterWords_.push_back(i);
    }
    std::stable_sort(filterWords_.begin(), filterWords_.end(),
                     [this](size_t a, size_t b) { return words_[a].size() > words_[b].size(); });
    filtersDecide_ = filterWords_.size() == words_.size() &&
                     filterWords_.size() <= kMaxFilterWords &&
                     (words_.size() == 1 || oneCharacterWords);
    if (filterWords_.size() > kMaxFilterWords)
        filterWords_.resize(kMaxFilterWords);
    if (source_ != kSourceFilter)
        return;
    // The filter's value is what follows the first ":" of the item.
    const std::string& upper = upper_.text();
    size_t colon = upper.find(':');
    std::string value = colon == std::string::npos ? std::string() : trim(upper.substr(colon + 1));
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
    for (const Needle& word : words_) {
        const char* hit = word.find(candidate, candidate + size);
        if (!hit)
            return false;
        // A one-character word stays, so "a a" asks for one "a" only.
        if (word.size() >= 2)
            std::memset(candidate + (hit - candidate), kFoundWordFill, word.size());
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
        for (const Needle& word : words_) {
            if (holds(word, folded.data(), folded.size()))
                return true;
        }
        return false;
    default:
        return holds(upper_, folded.data(), folded.size());
    }
}

void SearchMatcher::flagTextsHolding(const Needle& needle, const char* run, size_t size,
                                     const std::vector<uint32_t>& ends,
                                     std::vector<uint8_t>& matched) {
    if (needle.size() == 0) {
        std::fill(matched.begin(), matched.end(), 1);
        return;
    }
    size_t pos = 0, i = 0;
    while (pos < size) {
        const char* hit = needle.find(run + pos, run + size);
        if (!hit)
            return;
        const size_t at = static_cast<size_t>(hit - run);
        while (ends[i] <= at)
            ++i;
        if (at + needle.size() <= ends[i]) {
            matched[i] = 1;
            pos = ends[i]; // the text matches: go on with the next one
        } else {
            pos = at + 1; // the hit runs into the next text
        }
    }
}

void SearchMatcher::matchRun(std::string_view texts, const std::vector<uint32_t>& ends,
                             std::vector<uint8_t>& matched) {
    matched.assign(ends.size(), 0);
    if (source_ == kSourceFilter || ends.empty())
        return;
    if (all_) {
        std::fill(matched.begin(), matched.end(), 1);
        return;
    }
    if (buffer_.size() < texts.size())
        buffer_.resize(texts.size() + texts.size() / 4 + 256);
    char* run = buffer_.data();
    const size_t size = texts.size();
    foldBytes(run, texts.data(), size);
    // Words hold no blank, so for them the blank in front of every text changes nothing.
    switch (method_) {
    case kMethodAllWords:
        if (filterWords_.empty())
            std::fill(matched.begin(), matched.end(), 1);
        for (size_t k = 0; k < filterWords_.size(); ++k) {
            if (k == 0) {
                flagTextsHolding(words_[filterWords_[0]], run, size, ends, matched);
                continue;
            }
            held_.assign(ends.size(), 0);
            flagTextsHolding(words_[filterWords_[k]], run, size, ends, held_);
            for (size_t i = 0; i < ends.size(); ++i)
                matched[i] &= held_[i];
        }
        if (filtersDecide_)
            break;
        for (size_t i = 0; i < ends.size(); ++i) {
            if (!matched[i])
                continue;
            const size_t start = i ? ends[i - 1] : 0;
            matched[i] = matchesAllWords(run + start, ends[i] - start);
        }
        break;
    case kMethodAnyWord:
        for (const Needle& word : words_)
            flagTextsHolding(word, run, size, ends, matched);
        break;
    default:
        flagTextsHolding(upper_, run, size, ends, matched);
        // A search text that starts with a blank also matches at the very start of a title:
        // its blank is then the one put in front of every title.
        if (leadingBlank_) {
            const std::string& rest = upperRest_.text();
            for (size_t i = 0; i < ends.size(); ++i) {
                const size_t start = i ? ends[i - 1] : 0;
                if (!matched[i] && ends[i] - start >= rest.size() &&
                    (rest.empty() || std::memcmp(run + start, rest.data(), rest.size()) == 0))
                    matched[i] = 1;
            }
        }
        break;
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
            return equalsUpper(trimView(fieldView(record, kFieldGruppe)), group_);
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

// Calls the animation's flip once at least kStepDays have passed since the last flip; looks at
// the clock once every kRowsPerCheck entries so that reading it costs nothing measurable.
class AnimationTicker {
public:
    static constexpr size_t kRowsPerCheck = 4096;
    explicit AnimationTicker(const WaitAnimation* animation)
        : animation_(animation), last_(animation ? animation->clock.now() : 0.0) {}
    void rowsDone(size_t rows) {
        if (!animation_)
            return;
        pending_ += rows;
        if (pending_ < kRowsPerCheck)
            return;
        pending_ = 0;
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
    size_t pending_ = 0;
};

// Collects titles that lie one after another in memory into runs and matches each run at once.
class TitleRuns {
public:
    // A run stays small enough for the processor's cache.
    static constexpr size_t kMaxRunBytes = 256 * 1024;
    static constexpr size_t kMaxRunRows = 4096;

    TitleRuns(SearchMatcher& matcher, ResultTable& rows, AnimationTicker& ticker)
        : matcher_(matcher), rows_(rows), ticker_(ticker) {
        ends_.reserve(kMaxRunRows);
    }
    void add(size_t row, std::string_view title) {
        if (!ends_.empty() && (title.data() != begin_ + size_ || ends_.size() == kMaxRunRows ||
                               size_ + title.size() > kMaxRunBytes))
            flush();
        if (ends_.empty()) {
            begin_ = title.data();
            firstRow_ = row;
        }
        size_ += title.size();
        ends_.push_back(static_cast<uint32_t>(size_));
    }
    void flush() {
        if (ends_.empty())
            return;
        matcher_.matchRun(std::string_view(begin_, size_), ends_, matched_);
        for (size_t i = 0; i < ends_.size(); ++i) {
            if (!matched_[i])
                continue;
            const size_t start = i ? ends_[i - 1] : 0;
            rows_.append(firstRow_ + i, std::string_view(begin_ + start, ends_[i] - start));
        }
        ticker_.rowsDone(ends_.size());
        ends_.clear();
        size_ = 0;
    }

private:
    SearchMatcher& matcher_;
    ResultTable& rows_;
    AnimationTicker& ticker_;
    const char* begin_ = nullptr;
    size_t size_ = 0;
    size_t firstRow_ = 0;
    std::vector<uint32_t> ends_;
    std::vector<uint8_t> matched_;
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
        // Titles lie one after another in memory: matched run by run, the fast path of every
        // keystroke.
        TitleRuns runs(matcher, rows, ticker);
        backupgrid.forEachTitle([&](size_t row, std::string_view title) { runs.add(row, title); });
        runs.flush();
    } else {
        for (size_t row = 0; row < backupgrid.size(); ++row) {
            if (matcher.matchesRecord(backupgrid.record(row)))
                rows.append(row, backupgrid.title(row));
            ticker.rowsDone(1);
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
