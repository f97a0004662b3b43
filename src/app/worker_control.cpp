#include "app/worker_control.h"

#include "base/crash_marker.h"
#include "base/datetime.h"

#include <cmath>

namespace harlune {

std::string workerStopText(WorkerStopPoint point) {
    return "Thread 01:" + std::to_string(static_cast<int>(point)) + " stoppen";
}

void haltWorker(ExtraInfoWorker* worker) {
    if (worker && worker->running())
        worker->requestStopAndWait();
}

void stopWorker(ExtraInfoWorker* worker, WorkerStopPoint point) {
    Debug(workerStopText(point));
    haltWorker(worker);
}

bool getdateilaenge(ExtraInfoWorker& worker, bool zusatzinfosladen, const Clock& clock,
                    const WaitStep& wait) {
    if (!zusatzinfosladen)
        return false;
    Debug(workerStopText(WorkerStopPoint::PassStart));
    if (worker.running()) {
        worker.requestStop();
        const double start = clock.now();
        while (!worker.finished() && std::abs(clock.now() - start) < kPassRestartWaitDays) {
            if (wait)
                wait();
        }
    }
    worker.startPass();
    return true;
}

} // namespace harlune
