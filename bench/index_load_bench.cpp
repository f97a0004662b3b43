// Loading a realistic index pair of one million entries into the in-memory index.
//
//   index_load_bench [benchmark flags]   time repeated loads (Google Benchmark)
//   index_load_bench --load-once         load once and print the time, the size of the two
//                                        files and the peak memory of the process
//   --folder=DIR                         use the pair in DIR (generated there when missing)
//                                        and keep it
//
// Without --folder the pair is generated into a fresh temporary folder and removed at the end.
#include "base/paths.h"
#include "index/group_list.h"
#include "index/index_files.h"
#include "index/mp3_index.h"
#include "platform/scripted_dialogs.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

namespace fs = std::filesystem;
using namespace harlune;

namespace {

constexpr size_t kEntries = 1000000;

const char* const kWords[] = {"Love",  "Night", "Dance",  "Heart", "Fire",   "Rain",  "Summer",
                              "Blue",  "Dream", "Road",   "Light", "Shadow", "River", "Gold",
                              "Angel", "Storm", "Street", "Time",  "Moon",   "Wild"};
const char* const kModes[] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
const char* const kGroups[] = {"", "", "", "Party", "Chill", "Oldies", "Rock", "Kinder"};

struct Rng {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t below(uint32_t n) { return next() % n; }
};

std::string words(Rng& rng, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += kWords[rng.below(20)];
    }
    return out;
}

// Writes the pair <folder>/Bench.m3u and Bench.alb: entries grouped by artist and album, each
// with a title line, a Windows path and a full twelve-field album record.
std::string generatePair(const std::string& folder) {
    const std::string listPath = joinPath(folder, "Bench.m3u");
    std::FILE* m3u = std::fopen(fsPath(listPath).c_str(), "wb");
    std::FILE* alb = std::fopen(fsPath(joinPath(folder, "Bench.alb")).c_str(), "wb");
    if (!m3u || !alb)
        throw std::runtime_error("cannot write the benchmark files");
    std::fputs("#EXTM3U\r\n", m3u);
    std::fputs("#EXTALB\r\n", alb);
    Rng rng;
    std::string artist, album, title, line;
    char buf[512];
    for (size_t i = 0; i < kEntries; ++i) {
        if (i % 120 == 0)
            artist = words(rng, 1 + rng.below(3)) + " " + std::to_string(i / 120);
        if (i % 12 == 0)
            album = words(rng, 1 + rng.below(4));
        int track = static_cast<int>(i % 12) + 1;
        title = words(rng, 1 + rng.below(5));
        int seconds = 90 + static_cast<int>(rng.below(400));
        std::snprintf(buf, sizeof buf, "#EXTINF:%d,%s - %s\r\n", seconds, artist.c_str(),
                      title.c_str());
        std::fputs(buf, m3u);
        std::snprintf(buf, sizeof buf, "D:\\MP3\\%s\\%s\\%02d - %s - %s.mp3\r\n", artist.c_str(),
                      album.c_str(), track, artist.c_str(), title.c_str());
        std::fputs(buf, m3u);
        std::snprintf(buf, sizeof buf,
                      "%s\xA1%d:%02d\xA1MPEG 1\xA1Layer 3\xA1%s\xA1%s\xA1%d kbit\xA1 \xA1%d\xA1%s"
                      "\xA1%04d-%02d-%02d\xA1%d\xA1\r\n",
                      album.c_str(), seconds / 60, seconds % 60, kModes[rng.below(4)],
                      rng.below(4) ? "44100 Hz" : "48000 Hz", rng.below(2) ? 192 : 128,
                      static_cast<int>(rng.below(6)), kGroups[rng.below(8)],
                      1995 + static_cast<int>(rng.below(30)), 1 + static_cast<int>(rng.below(12)),
                      1 + static_cast<int>(rng.below(28)), track);
        std::fputs(buf, alb);
    }
    if (std::fclose(m3u) != 0 || std::fclose(alb) != 0)
        throw std::runtime_error("cannot write the benchmark files");
    return listPath;
}

class BenchFolder {
public:
    explicit BenchFolder(std::string keep) : keep_(!keep.empty()) {
        if (keep_) {
            path_ = std::move(keep);
            std::error_code ec;
            fs::create_directories(fsPath(path_), ec);
            listPath_ = joinPath(path_, "Bench.m3u");
            if (!fileExists(listPath_) || !fileExists(albumFileFor(listPath_)))
                generatePair(path_);
        } else {
            std::string pattern = (fs::temp_directory_path() / "harlune-bench-XXXXXX").string();
            if (!::mkdtemp(pattern.data()))
                throw std::runtime_error("mkdtemp failed");
            path_ = fromFsPath(pattern);
            listPath_ = generatePair(path_);
        }
        std::error_code ec;
        bytes_ = fs::file_size(fsPath(listPath_), ec) +
                 fs::file_size(fsPath(albumFileFor(listPath_)), ec);
    }
    ~BenchFolder() {
        std::error_code ec;
        if (!keep_)
            fs::remove_all(fsPath(path_), ec);
    }
    const std::string& listPath() const { return listPath_; }
    uintmax_t fileBytes() const { return bytes_; }

private:
    bool keep_;
    std::string path_, listPath_;
    uintmax_t bytes_ = 0;
};

BenchFolder* folder = nullptr;

bool load(MP3Index& index, GroupList& groups) {
    ScriptedDialogs dialogs;
    std::string error;
    bool ok = Listehinzufuegen(index, groups, dialogs, folder->listPath(), error);
    if (!ok)
        std::fprintf(stderr, "load failed: %s\n", error.c_str());
    return ok;
}

void BM_LoadIndexPair(benchmark::State& state) {
    size_t entries = 0, memory = 0;
    for (auto _ : state) {
        MP3Index index;
        GroupList groups;
        if (!load(index, groups)) {
            state.SkipWithError("load failed");
            break;
        }
        entries = index.size();
        memory = index.memoryBytes();
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["file_MB"] = static_cast<double>(folder->fileBytes()) / 1e6;
    state.counters["index_MB"] = static_cast<double>(memory) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * folder->fileBytes()));
}
BENCHMARK(BM_LoadIndexPair)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScanAllTitles(benchmark::State& state) {
    MP3Index index;
    GroupList groups;
    if (!load(index, groups)) {
        state.SkipWithError("load failed");
        return;
    }
    for (auto _ : state) {
        // A plain substring test per title: what a pass over all titles costs at the least.
        size_t hits = 0;
        index.forEachTitle([&](size_t, std::string_view title) {
            hits += title.find("Love") != std::string_view::npos;
        });
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * index.size()));
}
BENCHMARK(BM_ScanAllTitles)->Unit(benchmark::kMillisecond);

double maxResidentMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

int loadOnce() {
    const double before = maxResidentMB();
    MP3Index index;
    GroupList groups;
    auto start = std::chrono::steady_clock::now();
    bool ok = load(index, groups);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double peak = maxResidentMB();
    const double fileMB = static_cast<double>(folder->fileBytes()) / (1024.0 * 1024.0);
    std::printf("entries          %zu\n", index.size());
    std::printf("files (M3U+ALB)  %.1f MiB\n", fileMB);
    std::printf("load time        %.3f s\n", seconds);
    std::printf("index memory     %.1f MiB (texts, offsets, tables)\n",
                static_cast<double>(index.memoryBytes()) / (1024.0 * 1024.0));
    std::printf("peak RSS         %.1f MiB (%.1f MiB before loading)\n", peak, before);
    std::printf("peak / files     %.2f\n", peak / fileMB);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    bool once = false;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--load-once") == 0)
            once = true;
        else if (std::strncmp(argv[i], "--folder=", 9) == 0)
            keep = argv[i] + 9;
    }
    BenchFolder generated(keep);
    folder = &generated;
    if (once)
        return loadOnce();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
