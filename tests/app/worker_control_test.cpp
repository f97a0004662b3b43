#include "app/worker_control.h"

#include "app/startup.h"
#include "base/crash_marker.h"
#include "fake_clock.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace harlune {
namespace {

using test::FakeClock;
using test::TempDir;

// A worker that notices a stop request after `looksToFinish` looks at its finished flag
// (-1: never, like one stuck in a slow file read).
struct FakeWorker : ExtraInfoWorker {
    bool isRunning = false;
    int looksToFinish = -1;
    int stopRequests = 0, stopAndWaits = 0, passes = 0;

    bool running() const override { return isRunning; }
    bool finished() const override {
        if (!isRunning || looksToFinish == 0)
            return true;
        if (stopRequests > 0 && looksToFinish > 0)
            --const_cast<FakeWorker*>(this)->looksToFinish;
        return false;
    }
    void requestStop() override { ++stopRequests; }
    void requestStopAndWait() override {
        ++stopAndWaits;
        isRunning = false;
    }
    void startPass() override {
        ++passes;
        isRunning = true;
    }
};

std::string lastAction(const TempDir& dir) {
    const std::string text = TempDir::read(dir.file("Debug.TMP"));
    const size_t start = text.find("\r\n\r\n");
    return start == std::string::npos ? "" : text.substr(start + 4, text.size() - start - 6);
}

TEST(WorkerControl, StopPointIsAnnouncedAndARunningWorkerStopped) {
    TempDir dir;
    initCrashMarker(dir.path());
    FakeWorker worker;
    stopWorker(&worker, WorkerStopPoint::IndexSelectionChanged);
    EXPECT_EQ(lastAction(dir), "Thread 01:4 stoppen");
    EXPECT_EQ(worker.stopAndWaits, 0);

    worker.isRunning = true;
    stopWorker(&worker, WorkerStopPoint::BuilderOrSpecialSearch);
    EXPECT_EQ(lastAction(dir), "Thread 01:11 stoppen");
    EXPECT_EQ(worker.stopAndWaits, 1);

    stopWorker(nullptr, WorkerStopPoint::TagEditor); // before the first pass
    EXPECT_EQ(lastAction(dir), "Thread 01:1 stoppen");
}

TEST(WorkerControl, NewPassWaitsForTheOldOneAtMostAFraction) {
    struct Case {
        bool running;
        int looksToFinish;
        int expectedWaits; // one wait = 0.1 s on the fake clock
    };
    const Case cases[] = {
        {false, -1, 0}, // idle: start at once
        {true, 3, 3},   // stops after three looks
        {true, -1, 9},  // never stops: gives up after 0.864 s
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.looksToFinish);
        TempDir dir;
        initCrashMarker(dir.path());
        FakeClock clock;
        FakeWorker worker;
        worker.isRunning = c.running;
        worker.looksToFinish = c.looksToFinish;
        int waits = 0;
        EXPECT_TRUE(getdateilaenge(worker, true, clock, [&] {
            ++waits;
            clock.advanceSeconds(0.1);
        }));
        EXPECT_EQ(lastAction(dir), "Thread 01:10 stoppen");
        EXPECT_EQ(worker.stopRequests, c.running ? 1 : 0);
        EXPECT_EQ(waits, c.expectedWaits);
        EXPECT_EQ(worker.passes, 1);
    }
}

TEST(WorkerControl, NoPassWhenExtraInformationIsOff) {
    TempDir dir;
    initCrashMarker(dir.path());
    Debug("vorher");
    FakeClock clock;
    FakeWorker worker;
    EXPECT_FALSE(getdateilaenge(worker, false, clock, {}));
    EXPECT_EQ(worker.passes, 0);
    EXPECT_EQ(lastAction(dir), "vorher");
}

} // namespace
} // namespace harlune
