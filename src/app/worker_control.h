#pragma once
// Start and stop points of the extra-information worker, the one background thread that fills
// in the extra information of the shown result rows. Every operation that changes the result
// rows, their companion rows or the in-memory index first stops it at a numbered point; the
// number is written to the crash marker, so a hang while stopping shows where it happened.
#include <functional>
#include <string>

namespace harlune {

class Clock;

// The worker as the main thread sees it. The implementation owns the thread and its three
// shared flags (stop request, finished, running).
class ExtraInfoWorker {
public:
    virtual ~ExtraInfoWorker() = default;
    virtual bool running() const = 0;
    virtual bool finished() const = 0;
    // Sets the stop request; the worker ends after the row it is filling.
    virtual void requestStop() = 0;
    // Sets the stop request and waits until the thread has ended.
    virtual void requestStopAndWait() = 0;
    // Starts a new pass over the current result rows. A previous pass that is still running
    // (its stop request is set) is waited for first: at most one pass runs at a time.
    virtual void startPass() = 0;
};

// The numbered stop points.
enum class WorkerStopPoint : int {
    TagEditor = 1,
    DeleteFile = 2,
    CopyMove = 3,
    IndexSelectionChanged = 4,
    Shutdown = 5,
    OpenImport = 6,
    EnterSearch = 8,
    DelayedSearch = 9,
    PassStart = 10,
    BuilderOrSpecialSearch = 11,
};

// "Thread 01:" + number + " stoppen".
std::string workerStopText(WorkerStopPoint point);

// Announces the stop point in the crash marker and stops a running worker (null: none yet).
void stopWorker(ExtraInfoWorker* worker, WorkerStopPoint point);
// Stops a running worker without an announcement (the caller announced its own step).
void haltWorker(ExtraInfoWorker* worker);

// How long a new pass waits for the old one to notice its stop request: 0.864 s (1/100000 day).
inline constexpr double kPassRestartWaitDays = 0.00001;

// Lets the waiting main thread idle briefly between two looks at the worker.
using WaitStep = std::function<void()>;

// Restarts the worker over the current result rows (`getdateilaenge`). Does nothing when the
// extra information is switched off (`Zusatzinfosladen`). Otherwise announces stop point 10;
// if a pass is running, requests its stop and waits until it reports finished or
// kPassRestartWaitDays have passed on `clock`, calling `wait` between looks; then starts a new
// pass. Returns whether a pass was started.
bool getdateilaenge(ExtraInfoWorker& worker, bool zusatzinfosladen, const Clock& clock,
                    const WaitStep& wait);

} // namespace harlune
