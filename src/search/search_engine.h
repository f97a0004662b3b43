#pragma once
// The search: matching the in-memory index against the search text by one of three sources
// (title/artist, album, minimum rating or group) and one of three methods (exact text, every
// word, any word), and the search run that loads the index on demand and fills the result rows.
//
// All comparisons upper-case both sides with strupper1 (a-z and ä, ö, ü only). Titles and albums
// are compared with one blank put in front, so a search text that starts with a blank finds
// only word starts.
#include "search/result_rows.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class Clock;
class Dialogs;
class GroupList;
class MP3Index;

// Search sources (`Suchquelle`).
inline constexpr char kSourceTitle = 't';  // display title (artist and title)
inline constexpr char kSourceAlbum = 'a';  // field Album of the album record
inline constexpr char kSourceFilter = 'g'; // minimum rating or group
// Search methods (`Suchverfahren`); they apply to the sources title and album.
inline constexpr char kMethodExact = 'g';    // the text as typed, blanks included
inline constexpr char kMethodAllWords = 'u'; // every word, a repeated word as often as given
inline constexpr char kMethodAnyWord = 'o';  // at least one word

// An unknown source is the title source; an unknown method is the exact method.
char normalizeSource(char source);
char normalizeMethod(char method);

// The search text that lists every entry (with the sources title and album).
inline constexpr const char* kSearchAll = "*";
// The markers of the drop-down items of the filter source: the typed text holding them decides
// whether the filter is by rating or by group (group wins when both occur).
inline constexpr const char* kRatingMarker = "Wertung";
inline constexpr const char* kGroupMarker = "Gruppe";
// The drop-down items: kFilterItemPrefix + kRatingItem + 1..5, kFilterItemPrefix +
// kGroupItem + group name.
inline constexpr const char* kFilterItemPrefix = "\xBB ";
inline constexpr const char* kRatingItem = "Wertung mind. : ";
inline constexpr const char* kGroupItem = "Gruppe : ";
inline constexpr int kMaxRating = 5;

// Decides for one entry whether it matches a search text. Built once per search: the text is
// upper-cased and split once, and candidates are upper-cased into a buffer that is reused, so
// matching allocates nothing per entry. Not thread-safe (the buffer).
class SearchMatcher {
public:
    SearchMatcher(std::string_view text, char source, char method);

    char source() const { return source_; }
    // True when no entry can match (the filter source without a rating or group marker).
    bool matchesNothing() const { return source_ == kSourceFilter && filter_ == Filter::None; }
    // Entry `row` of the index.
    bool matches(const MP3Index& index, size_t row);
    // A title or album text (sources title and album).
    bool matchesText(std::string_view candidate);
    // The album record of an entry (sources album and filter).
    bool matchesRecord(std::string_view record);

    // Many title or album texts at once: `texts` holds them one after another, text i ending
    // at ends[i]; matched (resized to ends.size()) gets 1 for every text that matchesText
    // would accept, else 0. One upper-casing pass and one search over the whole run instead
    // of one per text: the fast path of the search.
    void matchRun(std::string_view texts, const std::vector<uint32_t>& ends,
                  std::vector<uint8_t>& matched);

    // A search for one upper-cased text. Sixteen places at a time are tested for the text's two
    // rarest bytes, and only where both fit is the whole text compared; without SSE2, memchr
    // for the rarest byte, then a comparison.
    class Needle {
    public:
        explicit Needle(std::string text = {});
        const std::string& text() const { return text_; }
        size_t size() const { return text_.size(); }
        // The first occurrence in [begin, end), or nullptr.
        const char* find(const char* begin, const char* end) const;

    private:
        const char* findByAnchor(const char* begin, const char* end) const;

        std::string text_;
        size_t anchor_ = 0; // position of the rarest byte, the one memchr looks for
        size_t second_ = 0; // position of the next rarest byte (another one when there is one)
    };

private:
    enum class Filter { None, Rating, Group };

    std::string_view foldCandidate(std::string_view candidate);
    bool matchesAllWords(char* candidate, size_t size) const;
    // Sets matched[i] for every text of a folded run that holds the needle.
    static void flagTextsHolding(const Needle& needle, const char* run, size_t size,
                                 const std::vector<uint32_t>& ends, std::vector<uint8_t>& matched);

    char source_;
    char method_;
    bool all_ = false; // the text is "*"
    Needle upper_;     // the whole text upper-cased, untrimmed
    Needle upperRest_; // the same without its first byte when that is a blank
    bool leadingBlank_ = false;
    std::vector<Needle> words_;
    // The every-word method's filters: the longest words (at most kMaxFilterWords) that a
    // matching text must hold as they are; a word holding the fill byte of found words cannot
    // filter. When filtersDecide_, they are every word and no found word can hide another (one
    // word, or only one-character words), so passing them is matching.
    static constexpr size_t kMaxFilterWords = 4;
    std::vector<size_t> filterWords_;
    bool filtersDecide_ = false;
    std::vector<uint8_t> held_; // scratch of the filters
    Filter filter_ = Filter::None;
    int minRating_ = 0;
    std::string group_;        // upper-cased, trimmed group name of a group filter
    std::vector<char> buffer_; // " " + the upper-cased candidate, or a whole upper-cased run
};

// Swaps the picture of the waiting panel while a long pass runs: `flip` is called at most once
// every 0.864 seconds (0.00001 day) by the clock.
struct WaitAnimation {
    static constexpr double kStepDays = 0.00001;
    const Clock& clock;
    std::function<void()> flip;
};

// The matching pass: appends every matching entry of `backupgrid`, in load order, to `rows`
// with its running number. Returns the number of rows appended.
size_t DurchsucheListe(const MP3Index& backupgrid, std::string_view text, char source, char method,
                       ResultTable& rows, const WaitAnimation* animation = nullptr);

// The count text below the result grid.
std::string countText(size_t rows);
inline constexpr const char* kCountStart = "=> ";
inline constexpr const char* kCountEnd = " MP3s";
// Shown when the selected index file is gone: kMissingIndexStart + selector text +
// kMissingIndexEnd.
inline constexpr const char* kMissingIndexStart = "Der MP3-Index '";
inline constexpr const char* kMissingIndexEnd = "' konnte nicht gefunden werden!";

// What one search works on: the in-memory index with its group list, the result rows, the
// user's dialogs, and the index selection with its switch.
struct SearchContext {
    MP3Index& backupgrid;
    GroupList& mp3gruppenliste;
    ResultTable& rows;
    Dialogs& dialogs;
    std::string_view selectorText; // the selected list file ("" when none)
    std::string_view indexFolder;
    bool allLists = false; // search in all lists of the index folder
    const WaitAnimation* animation = nullptr;
};

struct SearchOutcome {
    // The selected index file was missing: the user was warned, the rows and the count text
    // were left as they were (countText is empty).
    bool indexMissing = false;
    bool loadFailed = false; // loading failed (reported by the loader): no rows
    bool passRan = false;    // the matching pass ran (the input hint is to be hidden)
    std::string countText;
};

// One search (`SucheMP3`) with the search text, source and method: checks that the selected
// index file exists, empties the rows, loads the index when it is empty (a failed load empties
// it again and skips the matching), runs the matching pass when the text is not empty and
// gives the count text.
SearchOutcome SucheMP3(SearchContext& context, std::string_view text, char source, char method);

// The drop-down items of the filter source: the five minimum ratings, then one item per group
// of the group list, in its order.
std::vector<std::string> suchbegriffboxfuellen(const GroupList& mp3gruppenliste);

// How the search box is set up for a source (`suchverfahrenanzeige`).
struct SearchBoxSetup {
    char source;                    // normalised
    char method;                    // normalised
    bool dropDown = false;          // a drop-down list (filter source) instead of a text field
    std::string text;               // the search text after the set-up
    std::vector<std::string> items; // the drop-down items (filter source only)
};
SearchBoxSetup suchverfahrenanzeige(char source, char method, std::string_view currentText,
                                    const GroupList& mp3gruppenliste);

} // namespace harlune
