#include "app/extra_info_worker.h"
#include "base/datetime.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

using namespace harlune;
using harlune::test::TempDir;

namespace {

struct Received {
    std::mutex lock;
    std::vector<std::tuple<uint64_t, size_t, std::string>> rows;
    std::vector<std::pair<uint64_t, bool>> states;
};

GetlengthWorker makeWorker(std::vector<WorkerRow>& rows, Received& got) {
    return GetlengthWorker([&] { return rows; },
                           [&](uint64_t pass, size_t row, const std::string& record) {
                               std::lock_guard g(got.lock);
                               got.rows.emplace_back(pass, row, record);
                           },
                           [&](uint64_t pass, bool running) {
                               std::lock_guard g(got.lock);
                               got.states.emplace_back(pass, running);
                           });
}

} // namespace

TEST(ExtraInfoWorker, FillsEveryRowOfItsPassAndReportsItsState) {
    std::vector<WorkerRow> rows;
    for (int i = 0; i < 10000; ++i)
        rows.push_back({"Title " + std::to_string(i), "/none/x.mp3",
                        "A\xA1"
                        "3:30\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                        "0\xA1\xA1\xA1-\xA1"});
    rows.push_back({"x", "/none/skipped.mp3", "bare"}); // one character: skipped
    Received got;
    GetlengthWorker worker = makeWorker(rows, got);
    worker.startPass();
    worker.requestStopAndWait(); // may stop early; run a full pass next
    got.rows.clear();
    got.states.clear();
    worker.startPass();
    while (!worker.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    worker.requestStopAndWait();
    ASSERT_EQ(got.rows.size(), 10000u);
    EXPECT_EQ(std::get<0>(got.rows.front()), worker.pass());
    EXPECT_EQ(std::get<1>(got.rows.back()), 9999u);
    EXPECT_EQ(got.states, (std::vector<std::pair<uint64_t, bool>>{{2, true}, {2, false}}));
    EXPECT_FALSE(worker.running());
}

TEST(ExtraInfoWorker, ABareAlbumNameIsCompletedFromTheFile) {
    TempDir dir;
    std::string mp3 = dir.write("a.mp3", std::string(1000, '\0'));
    std::vector<WorkerRow> rows{{"Some title", mp3, "My Album"}};
    Received got;
    GetlengthWorker worker = makeWorker(rows, got);
    worker.startPass();
    while (!worker.finished() || got.rows.empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    worker.requestStopAndWait();
    const std::string& record = std::get<2>(got.rows.at(0));
    EXPECT_TRUE(record.starts_with("My Album\xA1")) << record;
    EXPECT_EQ(std::count(record.begin(), record.end(), '\xA1'), 12);
}

TEST(ExtraInfoWorker, ANewPassStopsTheRunningOneWithinTheWait) {
    std::vector<WorkerRow> rows(2000000, WorkerRow{"Title", "/none/x.mp3", "A\xA1"});
    Received got;
    GetlengthWorker worker = makeWorker(rows, got);
    worker.startPass();
    while (!worker.running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SystemClock clock;
    ASSERT_TRUE(getdateilaenge(worker, true, clock,
                               [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }));
    EXPECT_EQ(worker.pass(), 2u);
    worker.requestStopAndWait();
    // The first pass was stopped part-way: not all of its rows were delivered.
    size_t firstPass = 0;
    for (const auto& r : got.rows)
        firstPass += std::get<0>(r) == 1;
    EXPECT_LT(firstPass, rows.size());
    EXPECT_FALSE(getdateilaenge(worker, false, clock, [] {})); // switched off: no pass
}
