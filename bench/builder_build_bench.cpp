// Files per second of building an index: the folder walk alone, and the whole build (walk, tags,
// frame header, writing the pair) with all extra information and with the album name only; and
// the whole build with the status window's model (StatusModel on the system clock) as its
// progress instead of a progress that does nothing, which is what the status window costs.
//
// The files come from HARLUNE_MP3_DIR when it is set (e.g. made by scripts/make_test_mp3s.py),
// else 3,000 small files (ID3v2.3 tag, one frame header, 20 KB of audio, ID3v1 tag) are made in
// a temporary folder in 30 subfolders. Figures are for files in the page cache.
#include "app/status_model.h"
#include "base/datetime.h"
#include "base/paths.h"
#include "index/builder.h"
#include "quiet_services.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace harlune;
using harlune::bench::QuietDialogs;
using harlune::bench::QuietProgress;
namespace fs = std::filesystem;

namespace {

std::string textFrame(const std::string& id, const std::string& text) {
    std::string data = std::string(1, '\0') + text;
    std::string f = id;
    const auto n = static_cast<uint32_t>(data.size());
    for (int shift : {24, 16, 8, 0})
        f += static_cast<char>((n >> shift) & 0xFF);
    f += std::string(2, '\0');
    return f + data;
}

std::string makeFile(int n) {
    std::string frames = textFrame("TIT2", "Titel " + std::to_string(n)) +
                         textFrame("TPE1", "Artist " + std::to_string(n % 50)) +
                         textFrame("TALB", "Album " + std::to_string(n % 97)) +
                         textFrame("TRCK", std::to_string(n % 12 + 1));
    const size_t size = frames.size() + 256; // with padding
    std::string tag = "ID3";
    tag += '\3';
    tag += std::string(2, '\0');
    for (int shift : {21, 14, 7, 0})
        tag += static_cast<char>((size >> shift) & 0x7F);
    tag += frames + std::string(256, '\0');
    std::string audio(20000, '\x55');
    audio.replace(0, 4, "\xFF\xFB\x90\x44");
    std::string v1(128, '\0');
    v1.replace(0, 3, "TAG");
    v1.replace(3, 5, "Titel");
    return tag + audio + v1;
}

struct Files {
    std::string root;
    std::string indexFolder;
    bool own = false;
    Files() {
        std::string pattern = (fs::temp_directory_path() / "harlune-bench-XXXXXX").string();
        indexFolder = ::mkdtemp(pattern.data()) ? pattern : "/tmp";
        if (const char* dir = std::getenv("HARLUNE_MP3_DIR")) {
            root = dir;
            return;
        }
        own = true;
        root = indexFolder + "/music";
        for (int i = 0; i < 3000; ++i) {
            fs::path folder = fs::path(root) / ("Folder " + std::to_string(i % 30));
            fs::create_directories(folder);
            std::ofstream(folder / ("Song " + std::to_string(i) + ".mp3"), std::ios::binary)
                << makeFile(i);
        }
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(indexFolder, ec);
    }
};

Files& files() {
    static Files f;
    return f;
}

void BM_Walk(benchmark::State& state) {
    QuietDialogs dialogs;
    size_t count = 0;
    for (auto _ : state) {
        DirectoryWalk walk = Getfilepath(fromFsPath(files().root), {}, dialogs);
        count = walk.files.size();
    }
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(count) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}

void runBuild(benchmark::State& state, Progress& progress, bool allExtraInfo) {
    QuietDialogs dialogs;
    IndexBuilder builder(fromFsPath(files().indexFolder), dialogs, progress);
    builder.options.alles_eintragen = allExtraInfo;
    builder.add(Getfilepath(fromFsPath(files().root), {}, dialogs));
    IndexSelector selector;
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.doerstellen(false, selector).written);
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(builder.files().size()) * state.iterations(),
                           benchmark::Counter::kIsRate);
}

void BM_Build(benchmark::State& state) {
    QuietProgress progress;
    runBuild(state, progress, state.range(0) != 0);
}

// All extra information; 0: a progress that does nothing, 1: the status window's model.
void BM_BuildStatus(benchmark::State& state) {
    QuietProgress quiet;
    SystemClock clock;
    StatusModel model(clock);
    runBuild(state, state.range(0) != 0 ? static_cast<Progress&>(model) : quiet, true);
}

} // namespace

BENCHMARK(BM_Walk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Build)->Arg(1)->Arg(0)->ArgName("alles_eintragen")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildStatus)->Arg(0)->Arg(1)->ArgName("status_model")->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
