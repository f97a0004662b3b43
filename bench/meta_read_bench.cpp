// Files per second for what the index builder reads of each MP3: the tags (ReadHeaderall) and
// the frame header (getframeheader), over a folder of real files.
//
//   /usr/bin/python3 scripts/make_test_mp3s.py /tmp/mp3s --count 3000
//   HARLUNE_MP3_DIR=/tmp/mp3s build/bench/meta_read_bench
//
// The first pass warms the page cache; the figures are for cached files (the program reads the
// same files again on every index rebuild).
#include "base/paths.h"
#include "meta/frame_header.h"
#include "meta/tag_reader.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace harlune;

namespace {

const std::vector<std::string>& files() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> out;
        const char* dir = std::getenv("HARLUNE_MP3_DIR");
        if (!dir)
            return out;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
            if (entry.path().extension() == ".mp3")
                out.push_back(fromFsPath(entry.path()));
        std::sort(out.begin(), out.end());
        return out;
    }();
    return list;
}

bool haveFiles(benchmark::State& state) {
    if (files().empty()) {
        state.SkipWithError("set HARLUNE_MP3_DIR to a folder of MP3 files");
        return false;
    }
    return true;
}

// The two calls as the index builder makes them: each opens the file by name.
void BM_ReadHeaderallThenGetframeheader(benchmark::State& state) {
    if (!haveFiles(state))
        return;
    TagCounters counters;
    for (auto _ : state) {
        for (const auto& f : files()) {
            TagTexts texts;
            HeaderInfo header;
            ReadHeaderall(f, texts, counters);
            getframeheader(f, header);
            benchmark::DoNotOptimize(header.Laenge.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files().size()));
}
BENCHMARK(BM_ReadHeaderallThenGetframeheader)->Unit(benchmark::kMillisecond);

// The same reads on one opened file.
void BM_ReadHeaderallAndGetframeheaderOneOpen(benchmark::State& state) {
    if (!haveFiles(state))
        return;
    TagCounters counters;
    for (auto _ : state) {
        for (const auto& f : files()) {
            FileSource source;
            if (source.openForReading(f) != FileSource::Open::Ok)
                continue;
            TagTexts texts;
            HeaderInfo header;
            ReadHeaderall(source, f, texts, counters);
            getframeheader(source, header);
            benchmark::DoNotOptimize(header.Laenge.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files().size()));
}
BENCHMARK(BM_ReadHeaderallAndGetframeheaderOneOpen)->Unit(benchmark::kMillisecond);

// Everything the extra information needs (header, both tags, rating, date), one open.
void BM_LoadFileInfo(benchmark::State& state) {
    if (!haveFiles(state))
        return;
    for (auto _ : state) {
        for (const auto& f : files()) {
            FileInfo info;
            loadFileInfo(f, info);
            benchmark::DoNotOptimize(extraInfoFields(info));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files().size()));
}
BENCHMARK(BM_LoadFileInfo)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
