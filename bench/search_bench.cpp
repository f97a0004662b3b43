// The matching pass over a generated catalogue of one million entries ("Artist - Title"
// titles, full album records with ratings and groups), by method and source, for texts as they
// grow keystroke by keystroke. Each iteration empties the result rows first, as a search does.
//
//   search_bench [benchmark flags]
#include "index/mp3_index.h"
#include "search/result_rows.h"
#include "search/search_engine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace harlune;

namespace {

constexpr size_t kEntries = 1000000;

// Title words, weighted towards the common ones by repetition.
const char* const kTitleWords[] = {"Love",
                                   "Love",
                                   "Night",
                                   "Dance",
                                   "Heart",
                                   "Fire",
                                   "Rain",
                                   "Summer",
                                   "Blue",
                                   "Dream",
                                   "Road",
                                   "Light",
                                   "Shadow",
                                   "River",
                                   "Gold",
                                   "Angel",
                                   "Storm",
                                   "Street",
                                   "Time",
                                   "Moon",
                                   "Wild",
                                   "the",
                                   "the",
                                   "of",
                                   "in",
                                   "my",
                                   "You",
                                   "Me",
                                   "Baby",
                                   "Girl",
                                   "Boy",
                                   "Home",
                                   "Sweet",
                                   "Little",
                                   "World",
                                   "Forever",
                                   "Tonight",
                                   "Always",
                                   "Never",
                                   "Again",
                                   "Morning",
                                   "City",
                                   "Stars",
                                   "Ocean",
                                   "Mountain",
                                   "Train",
                                   "Radio",
                                   "Song",
                                   "Liebe",
                                   "Herz",
                                   "Nacht",
                                   "Tr\xE4ume",
                                   "F\xFCr",
                                   "Sch\xF6n",
                                   "Stra\xDF"
                                   "e",
                                   "Himmel",
                                   "Caf\xE9",
                                   "Fi\xE8vre",
                                   "Remix",
                                   "Live",
                                   "Edit",
                                   "Version",
                                   "Part",
                                   "II"};
constexpr uint32_t kTitleWordCount = sizeof kTitleWords / sizeof kTitleWords[0];

// Artist names are made of syllables, so that there are many distinct artists.
const char* const kSyllables[] = {"ka", "mo", "ri", "ta", "ne", "lo", "sa", "vi", "du", "be",
                                  "ra", "ni", "go", "me", "lu", "zo", "pe", "ha", "ki", "da"};
const char* const kGroups[] = {"", "", "", "Party", "Chill", "Oldies", "Rock", "Kinder"};

struct Rng {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t below(uint32_t n) { return next() % n; }
};

std::string name(Rng& rng) {
    std::string out;
    int parts = 2 + static_cast<int>(rng.below(3));
    for (int i = 0; i < parts; ++i)
        out += kSyllables[rng.below(20)];
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

std::string titleWords(Rng& rng, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += kTitleWords[rng.below(kTitleWordCount)];
    }
    return out;
}

const MP3Index& catalogue() {
    static MP3Index index = [] {
        MP3Index built;
        Rng rng;
        const uint32_t list = built.internListFile("/home/u/Harlune/Playlists/Alles.m3u");
        std::string artist, album, title, path;
        char record[256];
        for (size_t i = 0; i < kEntries; ++i) {
            if (i % 120 == 0)
                artist = name(rng) + (rng.below(3) ? "" : " " + name(rng));
            if (i % 12 == 0)
                album = titleWords(rng, 1 + static_cast<int>(rng.below(3)));
            title = artist + " - " + titleWords(rng, 1 + static_cast<int>(rng.below(4)));
            path = "/musik/" + artist + "/" + album + "/" + title + ".mp3";
            int seconds = 90 + static_cast<int>(rng.below(400));
            std::snprintf(record, sizeof record,
                          "%s\xA1%d:%02d\xA1MPEG 1\xA1Layer 3\xA1Stereo\xA1"
                          "44100 Hz\xA1%d kbit\xA1 \xA1%d\xA1%s\xA1%04d-%02d-%02d\xA1%d\xA1",
                          album.c_str(), seconds / 60, seconds % 60, rng.below(2) ? 192 : 128,
                          static_cast<int>(rng.below(6)), kGroups[rng.below(8)],
                          1995 + static_cast<int>(rng.below(30)),
                          1 + static_cast<int>(rng.below(12)), 1 + static_cast<int>(rng.below(28)),
                          static_cast<int>(i % 12) + 1);
            built.append(title, path, list, record);
        }
        return built;
    }();
    return index;
}

struct Query {
    const char* label;
    const char* text;
    char source;
    char method;
};

const Query kQueries[] = {
    // The exact method as a text grows keystroke by keystroke.
    {"exact 's'", "s", kSourceTitle, kMethodExact},
    {"exact 'su'", "su", kSourceTitle, kMethodExact},
    {"exact 'summ'", "summ", kSourceTitle, kMethodExact},
    {"exact 'summer'", "summer", kSourceTitle, kMethodExact},
    {"exact 'summer ni'", "summer ni", kSourceTitle, kMethodExact},
    {"exact 'summer night'", "summer night", kSourceTitle, kMethodExact},
    {"exact ' ri' (word starts)", " ri", kSourceTitle, kMethodExact},
    {"exact 'tr\xE4ume'", "tr\xE4ume", kSourceTitle, kMethodExact},
    {"exact 'xyzzy' (no hit)", "xyzzy", kSourceTitle, kMethodExact},
    // Every word.
    {"all 'summer night'", "summer night", kSourceTitle, kMethodAllWords},
    {"all 'the the'", "the the", kSourceTitle, kMethodAllWords},
    {"all 'love me baby'", "love me baby", kSourceTitle, kMethodAllWords},
    {"all 'a e i'", "a e i", kSourceTitle, kMethodAllWords},
    // Any word.
    {"any 'summer night'", "summer night", kSourceTitle, kMethodAnyWord},
    {"any 'xyzzy quux'", "xyzzy quux", kSourceTitle, kMethodAnyWord},
    {"any 'herz himmel caf\xE9 radio'", "herz himmel caf\xE9 radio", kSourceTitle, kMethodAnyWord},
    // Other sources and the list of everything.
    {"album exact 'river'", "river", kSourceAlbum, kMethodExact},
    {"rating >= 4", "\xBB Wertung mind. : 4", kSourceFilter, kMethodExact},
    {"group Party", "\xBB Gruppe : Party", kSourceFilter, kMethodExact},
    {"all entries '*'", "*", kSourceTitle, kMethodExact},
};

void BM_Search(benchmark::State& state) {
    const Query& q = kQueries[state.range(0)];
    const MP3Index& index = catalogue();
    state.SetLabel(q.label);
    size_t hits = 0;
    // One table for all searches, emptied before each, as the program keeps it.
    ResultTable rows;
    for (auto _ : state) {
        rows.clear();
        hits = DurchsucheListe(index, q.text, q.source, q.method, rows);
        benchmark::DoNotOptimize(rows);
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_Search)
    ->DenseRange(0, static_cast<int>(sizeof kQueries / sizeof kQueries[0]) - 1)
    ->Unit(benchmark::kMillisecond);

// The same matching one title at a time (upper-casing and searching each title on its own),
// without building result rows: what the pass over whole runs of titles saves.
void BM_MatchOneByOne(benchmark::State& state) {
    const Query& q = kQueries[state.range(0)];
    const MP3Index& index = catalogue();
    state.SetLabel(q.label);
    for (auto _ : state) {
        SearchMatcher matcher(q.text, q.source, q.method);
        size_t hits = 0;
        index.forEachTitle(
            [&](size_t, std::string_view title) { hits += matcher.matchesText(title); });
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_MatchOneByOne)->Arg(5)->Arg(9)->Arg(10)->Arg(14)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
