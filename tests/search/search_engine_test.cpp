#include "search/search_engine.h"

#include "index/fields.h"
#include "search/search_text.h"

#include "base/paths.h"
#include "fake_clock.h"
#include "fake_dialogs.h"
#include "index/group_list.h"
#include "index/mp3_index.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace harlune;
using harlune::test::FakeDialogs;
using harlune::test::TempDir;

namespace {

using Numbers = std::vector<uint32_t>;

// A full album record with the given album, rating and group.
std::string record(std::string_view album, std::string_view rating = "0",
                   std::string_view group = "") {
    std::string r;
    const std::string_view fields[12] = {album,    "3:45",     "MPEG 1",     "Layer III",
                                         "Stereo", "44100 Hz", "128 kbit",   " ",
                                         rating,   group,      "2024-05-01", "7"};
    for (std::string_view f : fields)
        (r += f) += '\xA1';
    return r;
}

// The running numbers of the rows.
Numbers numbers(const ResultTable& rows) {
    Numbers out;
    for (size_t i = 0; i < rows.size(); ++i)
        out.push_back(static_cast<uint32_t>(rows.entry(i) + 1));
    return out;
}

// The running numbers of the rows a pass finds. The pass matches many titles at once; the
// matcher asked one entry at a time must agree with it.
Numbers search(const MP3Index& index, std::string_view text, char source, char method) {
    ResultTable rows;
    size_t added = DurchsucheListe(index, text, source, method, rows);
    EXPECT_EQ(added, rows.size());
    SearchMatcher matcher(text, source, method);
    Numbers oneByOne;
    for (size_t row = 0; row < index.size(); ++row) {
        if (matcher.matches(index, row))
            oneByOne.push_back(static_cast<uint32_t>(row + 1));
    }
    EXPECT_EQ(oneByOne, numbers(rows)) << "one by one: " << source << method << " '" << text << "'";
    return numbers(rows);
}

class TitleSearch : public ::testing::Test {
protected:
    void SetUp() override {
        const char* titles[] = {
            "All You Need Is Love Me Do", // 1
            "Me Love",                    // 2
            "Overture - Grand",           // 3
            "Lovers - Clover",            // 4
            "The Other Side",             // 5
            "The Beatles - The End",      // 6
            "ABBA - Waterloo",            // 7
            "m\xFCller - Lied",           // 8  müller
            "\xC9"
            "dith - Caf\xE9", // 9  Édith - Café
            "\xE9"
            "clair",                 // 10 éclair
            "Pink Floyd - The Wall", // 11
        };
        for (const char* t : titles)
            index.append(t, std::string("/m/") + t + ".mp3", "/p/a.m3u", record("x"));
    }
    MP3Index index;
};

TEST_F(TitleSearch, MatchesByMethod) {
    struct Case {
        char method;
        const char* text;
        Numbers expected;
    };
    const Case cases[] = {
        // Exact: the text with its blanks; the blank in front of every title makes a leading
        // blank find word starts only.
        {kMethodExact, "Love Me", {1}},
        {kMethodExact, "ove", {1, 2, 3, 4}},
        {kMethodExact, " ove", {3}},
        {kMethodExact, "love ", {1}},
        {kMethodExact, " the", {5, 6, 11}},
        {kMethodExact, "Me  Love", {}},
        // Titles lie one after another in memory: nothing matches across two of them.
        {kMethodExact, "doMe", {}},
        {kMethodExact, "grandlovers", {}},
        {kMethodAnyWord, "grandlovers doMe", {}},
        {kMethodAllWords, "do me", {1}},
        // Every word: a word given twice must occur twice (a found word is used up), a
        // one-character word only once; the order of the words does not matter.
        {kMethodAllWords, "the", {5, 6, 11}},
        {kMethodAllWords, "the the", {5, 6}}, // "The Other": the second THE is in OTHER
        {kMethodAllWords, "the the the", {}},
        {kMethodAllWords, "a", {1, 3, 6, 7, 9, 10, 11}},
        {kMethodAllWords, "a a", {1, 3, 6, 7, 9, 10, 11}},
        {kMethodAllWords, "lo lo", {4}},
        {kMethodAllWords, "me love", {1, 2}},
        {kMethodAllWords, "love grand", {}},
        // Any word; two blanks between words are one.
        {kMethodAnyWord, "waterloo grand", {3, 7}},
        {kMethodAnyWord, "waterloo   grand", {3, 7}},
        {kMethodAnyWord, "zzz", {}},
        // Letter case: a-z and ä, ö, ü fold; other accented letters do not.
        {kMethodExact, "M\xDCLLER", {8}},
        {kMethodExact, "m\xFCller", {8}},
        {kMethodExact,
         "\xC9"
         "DITH",
         {9}},
        {kMethodExact,
         "\xE9"
         "dith",
         {}},
        {kMethodExact, "CAF\xE9", {9}},
        {kMethodExact, "caf\xC9", {}},
        {kMethodAnyWord,
         "\xC9"
         "CLAIR",
         {}},
        // "*" lists everything, whatever the method.
        {kMethodExact, "*", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {kMethodAnyWord, "*", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        // Unknown methods are the exact method.
        {'x', " ove", {3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(search(index, c.text, kSourceTitle, c.method), c.expected)
            << c.method << " '" << c.text << "'";
    }
}

TEST(TitleSearchEdges, EmptyTitlesAndBlankTexts) {
    MP3Index index;
    for (const char* t : {"", "", "a b ab", ""})
        index.append(t, "x", "/p/a.m3u", "");
    struct Case {
        char method;
        const char* text;
        Numbers expected;
    };
    const Case cases[] = {
        {kMethodExact, " ", {1, 2, 3, 4}}, // the blank in front of every title
        {kMethodExact, "  ", {}},
        {kMethodExact, " b", {3}},
        {kMethodExact, "a", {3}},
        {kMethodAnyWord, "  ", {}},            // no words: no word can be found
        {kMethodAllWords, "  ", {1, 2, 3, 4}}, // no words: none is missing
        {kMethodAllWords, "\xBF", {}},         // the fill byte of found words
        {kMethodAllWords, "ab \xBF\xBF", {3}}, // found in the fill of AB
        {kMethodAllWords, "a b", {3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(search(index, c.text, kSourceTitle, c.method), c.expected)
            << c.method << " '" << c.text << "'";
    }
}

TEST(LargeTitleSearch, MatchesAcrossBlocksInLoadOrder) {
    // Enough entries for several blocks of the index and several runs of the pass, with
    // titles long enough to reach the run's byte limit.
    MP3Index index;
    Numbers expected;
    for (uint32_t i = 0; i < 3 * MP3Index::kBlockRows + 5; ++i) {
        std::string title = "Artist " + std::to_string(i) + " - " + std::string(100, 'x');
        if (i % 997 == 0 || i == MP3Index::kBlockRows || i == MP3Index::kBlockRows - 1) {
            title += " N\xE4"
                     "chte";
            expected.push_back(i + 1);
        }
        index.append(title, "/t.mp3", "/p/a.m3u", "a");
    }
    EXPECT_EQ(search(index,
                     "N\xC4"
                     "CHTE",
                     kSourceTitle, kMethodExact),
              expected);
    EXPECT_EQ(search(index,
                     "x n\xE4"
                     "chte",
                     kSourceTitle, kMethodAllWords),
              expected);
    EXPECT_EQ(search(index, "*", kSourceTitle, kMethodAnyWord).size(), index.size());
}

TEST_F(TitleSearch, RowsCarryRunningNumberTitleAndEntry) {
    ResultTable rows;
    rows.append(0, "kept"); // a pass appends; emptying is the search run's job
    DurchsucheListe(index, "waterloo", kSourceTitle, kMethodExact, rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.cell0(1), "  7. ABBA - Waterloo");
    EXPECT_EQ(rows.path(1, index), "/m/ABBA - Waterloo.mp3");
    EXPECT_EQ(rows.listFile(1, index), "/p/a.m3u");
    EXPECT_EQ(rows.record(1, index), record("x"));
}

// The matching rules written out plainly, one title at a time, as the reference for the pass.
bool referenceMatch(std::string title, std::string_view text, char method) {
    std::string candidate = " " + strupper1(title);
    std::string upper = strupper1(text);
    std::vector<std::string> words = zeilezerlegen(text);
    if (method == kMethodExact)
        return candidate.find(upper) != std::string::npos;
    if (method == kMethodAnyWord) {
        for (const std::string& w : words) {
            if (candidate.find(w) != std::string::npos)
                return true;
        }
        return false;
    }
    for (const std::string& w : words) {
        size_t at = candidate.find(w);
        if (at == std::string::npos)
            return false;
        if (w.size() >= 2)
            candidate.replace(at, w.size(), w.size(), '\xBF');
    }
    return true;
}

TEST(RandomTitleSearch, AgreesWithThePlainRules) {
    // Titles and texts from a few letters, so that hits, near misses, repeated words and hits
    // across neighbouring titles are frequent; titles of all lengths around the 16-byte steps.
    const char letters[] = {'a', 'B', 'b', ' ', '\xE4', '\xC4', '\xE9'};
    uint64_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(seed >> 33) % n;
    };
    auto randomText = [&](uint32_t maxLength) {
        std::string t(next(maxLength + 1), ' ');
        for (char& c : t)
            c = letters[next(sizeof letters)];
        return t;
    };
    MP3Index index;
    std::vector<std::string> titles;
    for (int i = 0; i < 1500; ++i) {
        titles.push_back(randomText(40));
        index.append(titles.back(), "x", "/p/a.m3u", "");
    }
    for (int q = 0; q < 200; ++q) {
        const std::string text = randomText(1 + q % 7);
        for (char method : {kMethodExact, kMethodAnyWord, kMethodAllWords}) {
            Numbers expected;
            for (size_t i = 0; i < titles.size(); ++i) {
                if (referenceMatch(titles[i], text, method))
                    expected.push_back(static_cast<uint32_t>(i + 1));
            }
            ASSERT_EQ(search(index, text, kSourceTitle, method), expected)
                << method << " '" << text << "'";
        }
    }
}

TEST(AlbumSearch, ComparesFieldOneOfTheRecord) {
    MP3Index index;
    index.append("Love Song", "/a.mp3", "/p/a.m3u", record("Greatest Hits"));
    index.append("Other", "/b.mp3", "/p/a.m3u", "Love Album"); // a bare album name
    index.append("Third", "/c.mp3", "/p/a.m3u", record("", "5", "Love"));
    index.append("Fourth", "/d.mp3", "/p/a.m3u", "");
    EXPECT_EQ(search(index, "love", kSourceAlbum, kMethodExact), Numbers({2}));
    EXPECT_EQ(search(index, " hits", kSourceAlbum, kMethodExact), Numbers({1}));
    EXPECT_EQ(search(index, "hits album", kSourceAlbum, kMethodAnyWord), Numbers({1, 2}));
    EXPECT_EQ(search(index, "*", kSourceAlbum, kMethodAllWords), Numbers({1, 2, 3, 4}));
}

class FilterSearch : public ::testing::Test {
protected:
    void SetUp() override {
        const std::pair<const char*, const char*> ratingAndGroup[] = {
            {"3", "Party"},     // 1
            {"4", "party"},     // 2
            {"5", " PARTY "},   // 3
            {"", "Party Mix"},  // 4
            {"0", ""},          // 5
            {"2", "Chill"},     // 6
            {"x", "M\xDCller"}, // 7
        };
        for (auto [rating, group] : ratingAndGroup)
            index.append("t", "/t.mp3", "/p/a.m3u", record("a", rating, group));
        index.append("bare", "/b.mp3", "/p/a.m3u", "Party"); // 8: album name only
    }
    MP3Index index;
};

TEST_F(FilterSearch, MinimumRatingAndGroup) {
    struct Case {
        const char* text;
        Numbers expected;
    };
    const Case cases[] = {
        {"\xBB Wertung mind. : 3", {1, 2, 3}},
        {"\xBB Wertung mind. : 5", {3}},
        {"\xBB Wertung mind. : 1", {1, 2, 3, 6}}, // empty and unreadable ratings count as 0
        {"\xBB Gruppe : Party", {1, 2, 3}},
        {"\xBB Gruppe : m\xFCller", {7}},
        {"\xBB Gruppe : Party Mix", {4}},
        {"\xBB Gruppe : Wertung", {}}, // the group marker wins over the rating marker
        {"*", {}},                     // no filter named: nothing
        {"Party", {}},
        {"\xBB gruppe : Party", {}}, // the markers are case-sensitive
    };
    for (const Case& c : cases)
        EXPECT_EQ(search(index, c.text, kSourceFilter, kMethodExact), c.expected) << c.text;
}

TEST(SearchBox, FilterItemsAndSetUp) {
    GroupList groups;
    groups.add("Party");
    groups.add("M\xFCller");
    const std::vector<std::string> items = {"\xBB Wertung mind. : 1", "\xBB Wertung mind. : 2",
                                            "\xBB Wertung mind. : 3", "\xBB Wertung mind. : 4",
                                            "\xBB Wertung mind. : 5", "\xBB Gruppe : Party",
                                            "\xBB Gruppe : M\xFCller"};
    EXPECT_EQ(suchbegriffboxfuellen(groups), items);

    SearchBoxSetup filter = suchverfahrenanzeige(kSourceFilter, kMethodAnyWord, "love", groups);
    EXPECT_TRUE(filter.dropDown);
    EXPECT_EQ(filter.text, "");
    EXPECT_EQ(filter.items, items);
    EXPECT_EQ(filter.method, kMethodAnyWord);

    struct Case {
        char source, method;
        const char* text;
        char wantSource, wantMethod;
        const char* wantText;
    };
    const Case cases[] = {
        {kSourceTitle, kMethodAllWords, "love", kSourceTitle, kMethodAllWords, "love"},
        {kSourceAlbum, kMethodExact, "\xBB Gruppe : Party", kSourceAlbum, kMethodExact, ""},
        {'?', 'q', " \xBB x", kSourceTitle, kMethodExact, " \xBB x"},
        {'\0', '\0', "", kSourceTitle, kMethodExact, ""},
    };
    for (const Case& c : cases) {
        SearchBoxSetup s = suchverfahrenanzeige(c.source, c.method, c.text, groups);
        EXPECT_FALSE(s.dropDown);
        EXPECT_TRUE(s.items.empty());
        EXPECT_EQ(s.source, c.wantSource);
        EXPECT_EQ(s.method, c.wantMethod);
        EXPECT_EQ(s.text, c.wantText);
    }
}

// A clock that moves half a second each time it is read.
class SteppingClock : public Clock {
public:
    double now() const override { return t_ += 0.5 / 86400.0; }

private:
    mutable double t_ = 46000.0;
};

TEST(WaitAnimation, FlipsAtMostEveryStepWhileThePassRuns) {
    MP3Index index;
    for (int i = 0; i < 4 * 4096; ++i)
        index.append("t", "/t.mp3", "/p/a.m3u", "a");
    SteppingClock clock;
    int flips = 0;
    WaitAnimation animation{clock, [&] { ++flips; }};
    ResultTable rows;
    DurchsucheListe(index, "*", kSourceTitle, kMethodExact, rows, &animation);
    EXPECT_EQ(rows.size(), index.size());
    // Four looks at a clock that moves 0.5 s per look: a flip at every second look only.
    EXPECT_EQ(flips, 2);
}

class SearchRun : public ::testing::Test {
protected:
    SearchRun() : listPath(dir.file("Playlists/Musik.m3u")) {}

    void writePair(const std::vector<std::pair<std::string, std::string>>& entries) {
        std::string m3u = "#EXTM3U\r\n", alb = "#EXTALB\r\n";
        for (const auto& [title, rec] : entries) {
            m3u += "#EXTINF:200," + title + "\r\n/m/" + title + ".mp3\r\n";
            alb += rec + "\r\n";
        }
        dir.write("Playlists/Musik.m3u", m3u);
        dir.write("Playlists/Musik.alb", alb);
    }
    SearchOutcome run(std::string_view text, char source = kSourceTitle,
                      char method = kMethodExact) {
        SearchContext context{backupgrid, groups, rows, dialogs, selector, dir.file("Playlists"),
                              false};
        return SucheMP3(context, text, source, method);
    }

    TempDir dir;
    std::string listPath;
    std::string selector = listPath;
    MP3Index backupgrid;
    GroupList groups;
    ResultTable rows;
    FakeDialogs dialogs;
};

TEST_F(SearchRun, LoadsOnDemandAndCounts) {
    writePair(
        {{"Love Me", record("A", "3", "Party")}, {"Other", record("B")}, {"Lovely", record("C")}});
    SearchOutcome first = run("love");
    EXPECT_FALSE(first.indexMissing);
    EXPECT_FALSE(first.loadFailed);
    EXPECT_TRUE(first.passRan);
    EXPECT_EQ(first.countText, "=> 2 MP3s");
    EXPECT_EQ(numbers(rows), Numbers({1, 3}));
    EXPECT_EQ(rows.cell0(1), "  3. Lovely");
    EXPECT_EQ(groups.names(), std::vector<std::string>{"Party"});

    // A loaded index is kept: later searches only match, even when the files changed.
    writePair({{"Love", record("A")}});
    EXPECT_EQ(run("*").countText, "=> 3 MP3s");
    EXPECT_EQ(run("\xBB Wertung mind. : 3", kSourceFilter).countText, "=> 1 MP3s");

    // An empty text empties the rows and runs no pass.
    SearchOutcome empty = run("");
    EXPECT_FALSE(empty.passRan);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(empty.countText, "=> 0 MP3s");
    EXPECT_EQ(backupgrid.size(), 3u);
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST_F(SearchRun, MissingIndexFileWarnsAndKeepsTheRows) {
    writePair({{"Love Me", record("A")}});
    run("love");
    ASSERT_EQ(rows.size(), 1u);
    selector = dir.file("Playlists/Gone.m3u");
    SearchOutcome outcome = run("other");
    EXPECT_TRUE(outcome.indexMissing);
    EXPECT_FALSE(outcome.passRan);
    EXPECT_EQ(outcome.countText, "");
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(
        dialogs.texts("warning"),
        std::vector<std::string>{"Der MP3-Index '" + selector + "' konnte nicht gefunden werden!"});
}

TEST_F(SearchRun, FailedLoadLeavesNothingLoaded) {
    dir.write("Playlists/Musik.m3u", "#EXTM3U\r\n/m/a.mp3\r\n/m/b.mp3\r\n");
    dir.write("Playlists/Musik.alb", "#EXTALB\r\nA\r\n"); // one record short
    rows.append(0, "old");
    SearchOutcome outcome = run("*");
    EXPECT_TRUE(outcome.loadFailed);
    EXPECT_FALSE(outcome.passRan);
    EXPECT_EQ(outcome.countText, "=> 0 MP3s");
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(backupgrid.empty());
    ASSERT_EQ(dialogs.texts("warning").size(), 1u);
    EXPECT_EQ(dialogs.texts("warning")[0].rfind("Fehler beim Laden des MP3-Index:\n\r", 0), 0u);

    // The next search tries again.
    writePair({{"a", record("A")}});
    EXPECT_EQ(run("*").countText, "=> 1 MP3s");
}

TEST(ResultTable, CompanionDataFollowsItsRow) {
    MP3Index index;
    index.append("One", "/1.mp3", "/p/a.m3u", "Album 1");
    index.append("Two", "/2.mp3", "/p/b.m3u", "Album 2");
    ResultTable rows;
    rows.append(0, "One");
    rows.append(1, "Two");
    rows.setCell1(1, " (3:45) ");
    rows.replaceRecord(1, record("Album 2"));
    rows.swapRows(0, 1);
    EXPECT_EQ(rows.cell0(0), "  2. Two");
    EXPECT_EQ(rows.cell1(0), " (3:45) ");
    EXPECT_EQ(rows.record(0, index), record("Album 2"));
    EXPECT_EQ(rows.listFile(0, index), "/p/b.m3u");
    EXPECT_EQ(rows.cell1(1), "");
    EXPECT_EQ(rows.record(1, index), "Album 1");
    // Cell texts stay where they are while rows are added and changed.
    std::string_view first = rows.cell0(1);
    rows.setCell0(0, "\xD7"
                     "2. Two");
    for (size_t i = 0; i < 100000; ++i)
        rows.append(i, "More");
    EXPECT_EQ(first, "  1. One");
    EXPECT_EQ(rows.cell0(0), "\xD7"
                             "2. Two");
    EXPECT_EQ(rows.cell0(100001), "  100000. More");
    // Emptied rows reuse their memory; texts larger than a chunk are stored as well.
    rows.clear();
    EXPECT_TRUE(rows.empty());
    const std::string big(3 << 20, 'b');
    rows.append(0, big);
    rows.append(1, "Two");
    EXPECT_EQ(rows.cell0(0), "  1. " + big);
    EXPECT_EQ(rows.cell0(1), "  2. Two");
    // A row whose entry has gone with its index reads empty companion columns.
    index.clear();
    EXPECT_EQ(rows.path(0, index), "");
    EXPECT_EQ(rows.listFile(1, index), "");
    EXPECT_EQ(rows.record(1, index), "");
}

} // namespace
