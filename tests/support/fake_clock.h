#pragma once
#include "base/datetime.h"

namespace harlune::test {

// A clock that stands still until the test moves it (in days, as the program counts time).
class FakeClock : public Clock {
public:
    explicit FakeClock(double days = 46000.5) : now_(days) {}
    double now() const override { return now_; }
    void set(double days) { now_ = days; }
    void advanceSeconds(double seconds) { now_ += seconds / 86400.0; }

private:
    double now_;
};

} // namespace harlune::test
