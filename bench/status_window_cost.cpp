// What the status window costs the index build: the same build (all extra information) with a
// progress that does nothing, with the window's model alone (StatusModel), and with the Qt window
// itself (Tstatusframe, shown, on the offscreen platform unless QT_QPA_PLATFORM says otherwise),
// and with the window minus its action texts.
//
//     HARLUNE_MP3_DIR=FOLDER status_window_cost [benchmark options]
//
// FOLDER holds the MP3 files (e.g. made by scripts/make_test_mp3s.py). Figures are for files in
// the page cache.
#include "app/status_model.h"
#include "base/datetime.h"
#include "base/paths.h"
#include "gui/Tstatusframe.h"
#include "index/builder.h"
#include "quiet_services.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace harlune;
using harlune::bench::QuietDialogs;
using harlune::bench::QuietProgress;
namespace fs = std::filesystem;

namespace {

// The window without the action texts: shows how much of its cost the action label's repaints
// (four per file) make.
class WithoutActions : public Progress {
public:
    explicit WithoutActions(Progress& window) : window_(window) {}
    void show() override { window_.show(); }
    void setaktion(std::string_view) override {}
    bool pos(long long current, long long total, bool quadratic, std::string_view path) override {
        return window_.pos(current, total, quadratic, path);
    }
    void addlog(std::string_view first, std::string_view second) override {
        window_.addlog(first, second);
    }
    void closeframe() override { window_.closeframe(); }

private:
    Progress& window_;
};

std::string musicFolder;
std::string indexFolder;

// 0: no-op progress, 1: StatusModel, 2: Tstatusframe, 3: Tstatusframe without action texts.
void BM_BuildProgress(benchmark::State& state) {
    QuietDialogs dialogs;
    QuietProgress quiet;
    SystemClock clock;
    StatusModel model(clock);
    Tstatusframe window(clock);
    WithoutActions windowWithoutActions(window);
    Progress* progress[] = {&quiet, &model, &window, &windowWithoutActions};
    IndexBuilder builder(indexFolder, dialogs, *progress[state.range(0)]);
    builder.add(Getfilepath(musicFolder, {}, dialogs));
    IndexSelector selector;
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.doerstellen(false, selector).written);
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(builder.files().size()) * state.iterations(),
                           benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_BuildProgress)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->ArgName("progress")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    const char* dir = std::getenv("HARLUNE_MP3_DIR");
    if (!dir) {
        std::fprintf(stderr, "set HARLUNE_MP3_DIR to a folder of MP3 files\n");
        return 2;
    }
    musicFolder = fromFsPath(fs::path(dir));
    std::string pattern = (fs::temp_directory_path() / "harlune-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    indexFolder = fromFsPath(fs::path(pattern));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(pattern, ec);
    return 0;
}
