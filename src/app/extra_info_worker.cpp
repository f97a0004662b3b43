#include "app/extra_info_worker.h"

#include "meta/tag_reader.h"

namespace harlune {

GetlengthWorker::GetlengthWorker(Snapshot snapshot, Deliver deliver, StateChanged stateChanged)
    : snapshot_(std::move(snapshot)), deliver_(std::move(deliver)),
      stateChanged_(std::move(stateChanged)) {}

GetlengthWorker::~GetlengthWorker() {
    requestStopAndWait();
}

void GetlengthWorker::requestStopAndWait() {
    if (thread_.joinable()) {
        stopRequest_.store(true);
        thread_.join();
    }
}

void GetlengthWorker::startPass() {
    // At most one pass at a time: one that is still winding down is waited for.
    if (thread_.joinable())
        thread_.join();
    std::vector<WorkerRow> rows = snapshot_ ? snapshot_() : std::vector<WorkerRow>{};
    const uint64_t pass = ++pass_;
    // Running from now on, so that the main thread refuses sorting at once, not only once the
    // thread has been scheduled.
    finished_.store(false);
    running_.store(true);
    thread_ =
        std::thread([this, pass, rows = std::move(rows)]() mutable { run(pass, std::move(rows)); });
}

void GetlengthWorker::run(uint64_t pass, std::vector<WorkerRow> rows) {
    if (stopRequest_.exchange(false)) {
        finished_.store(true);
        running_.store(false);
        if (stateChanged_)
            stateChanged_(pass, false);
        return;
    }
    finished_.store(false);
    running_.store(true);
    if (stateChanged_)
        stateChanged_(pass, true);
    for (size_t row = 0; row < rows.size(); ++row) {
        if (stopRequest_.load())
            break;
        std::string record = rows[row].record;
        if (ReadExtraInfo(rows[row].displayText, rows[row].path, record) !=
                ExtraInfoOrigin::Skipped &&
            deliver_)
            deliver_(pass, row, record);
    }
    stopRequest_.store(false);
    finished_.store(true);
    running_.store(false);
    if (stateChanged_)
        stateChanged_(pass, false);
}

} // namespace harlune
