// Sorting a million result rows by name (the grid's quicksort over the name keys), and the
// total play time over them.
#include "app/harlune_app.h"
#include "base/datetime.h"
#include "platform/scripted_dialogs.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace harlune;

namespace {

constexpr size_t kRows = 1'000'000;

struct Catalogue {
    ScriptedDialogs dialogs;
    SystemClock clock;
    HarluneApp app{"/tmp", dialogs, clock};

    Catalogue() {
        std::mt19937 rng(42);
        const char* words[] = {"Love",  "Night", "Blue",  "Road", "Fire",  "Heart",  "Rain",
                               "Dance", "Gold",  "River", "Star", "Dream", "Summer", "Time"};
        std::uniform_int_distribution<size_t> pick(0, std::size(words) - 1);
        std::uniform_int_distribution<int> minutes(1, 9), seconds(0, 59), rating(0, 5);
        for (size_t i = 0; i < kRows; ++i) {
            std::string title = std::string("Artist ") + std::to_string(i % 5000) + " - " +
                                words[pick(rng)] + " " + words[pick(rng)];
            std::string record = "Album\xA1" + std::to_string(minutes(rng)) + ":" +
                                 std::to_string(seconds(rng)) +
                                 "\xA1MPEG 1\xA1Layer III\xA1Stereo\xA1"
                                 "44100 Hz\xA1"
                                 "192 "
                                 "kbit\xA1 \xA1" +
                                 std::to_string(rating(rng)) +
                                 "\xA1Rock\xA1"
                                 "2026-01-01\xA1-\xA1";
            app.backupgrid().append(title, "C:\\Musik\\" + title + ".mp3", "C:\\x.M3U", record);
        }
    }
    void fillResults() {
        app.results().clear();
        app.results().reserve(kRows);
        for (size_t i = 0; i < kRows; ++i)
            app.results().append(i, app.backupgrid().title(i));
    }
};

Catalogue& catalogue() {
    static Catalogue c;
    return c;
}

void BM_SortByName(benchmark::State& state) {
    Catalogue& c = catalogue();
    for (auto _ : state) {
        state.PauseTiming();
        c.fillResults();
        state.ResumeTiming();
        c.app.sortResults(static_cast<int>(state.range(0)), false);
    }
}
BENCHMARK(BM_SortByName)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TotalPlayTime(benchmark::State& state) {
    Catalogue& c = catalogue();
    c.fillResults();
    for (auto _ : state)
        c.app.gesamtlaenge(0);
}
BENCHMARK(BM_TotalPlayTime)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
