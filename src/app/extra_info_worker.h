#pragma once
// The extra-information worker (`Getlength`): one background thread that fills in the extra
// information of the shown result rows. It works on a copy of the rows taken when its pass
// starts and never touches the rows or any window itself: every result and every change of its
// state is handed to `deliver` / `stateChanged`, which the window forwards to its own thread.
// Each pass has a number; results of an earlier pass must be dropped by the receiver.
#include "app/worker_control.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace harlune {

struct WorkerRow {
    std::string displayText; // the row's title (rows of at most one character are skipped)
    std::string path;
    std::string record; // the stored album record
};

class GetlengthWorker final : public ExtraInfoWorker {
public:
    // The rows as they stand when a pass starts (called on the caller's thread).
    using Snapshot = std::function<std::vector<WorkerRow>()>;
    // A filled row: pass number, row, its full record (called on the worker thread).
    using Deliver = std::function<void(uint64_t pass, size_t row, const std::string& record)>;
    // Running or not (the red dot), with the pass number (called on the worker thread).
    using StateChanged = std::function<void(uint64_t pass, bool running)>;

    GetlengthWorker(Snapshot snapshot, Deliver deliver, StateChanged stateChanged);
    ~GetlengthWorker() override;

    bool running() const override { return running_.load(); }
    bool finished() const override { return finished_.load(); }
    void requestStop() override { stopRequest_.store(true); }
    void requestStopAndWait() override;
    void startPass() override;
    // The number of the pass started last (0 before the first).
    uint64_t pass() const { return pass_; }

private:
    void run(uint64_t pass, std::vector<WorkerRow> rows);

    Snapshot snapshot_;
    Deliver deliver_;
    StateChanged stateChanged_;
    // The three flags shared with the main thread.
    std::atomic<bool> stopRequest_{false}, finished_{true}, running_{false};
    std::thread thread_;
    uint64_t pass_ = 0;
};

} // namespace harlune
