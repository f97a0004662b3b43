#include "base/datetime.h"

#include <gtest/gtest.h>

using namespace harlune;

TEST(DateTime, DayCountsStartAt30December1899) {
    CivilDateTime t = fromDays(0);
    EXPECT_EQ(formatDateDMY(t), "30.12.1899");
    EXPECT_EQ(formatDateISO(fromDays(36526)), "2000-01-01");
    EXPECT_DOUBLE_EQ(toDays({2000, 1, 1, 12, 0, 0, 0}), 36526.5);
    // A duration of 1.5 days shown as a date lands on 31.12.1899, noon.
    CivilDateTime d = fromDays(1.5);
    EXPECT_EQ(d.day, 31);
    EXPECT_EQ(formatTimeHNS(d), "12:00:00");
}

TEST(DateTime, RoundTripAndFormats) {
    CivilDateTime t{2026, 12, 11, 7, 5, 9, 0};
    CivilDateTime back = fromDays(toDays(t));
    EXPECT_EQ(formatDateDMY(back), "11.12.2026");
    EXPECT_EQ(formatTimeHNS(back), "07:05:09");
    EXPECT_EQ(formatDateISO(back), "2026-12-11");
    // 23:59:59.9996 rounds to the next day's midnight, never to "24:00:00".
    EXPECT_EQ(formatTimeHNS(fromDays(1 - 0.0004 / 86400)), "00:00:00");
}
