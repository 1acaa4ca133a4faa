#include "platform/clock.h"

#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono;

TEST(Clock, ReplaceableSourceGivesUniversalTimeFields) {
    const TClockTime Fixed = sys_days(year(2024) / February / 29) + 23h + 59min + 58s + 999ms;
    SetClockSource([Fixed] { return Fixed; });
    const TSystemTime T = GetSystemTime();
    EXPECT_EQ((std::vector<int>{T.Year, T.Month, T.Day, T.DayOfWeek, T.Hour, T.Minute, T.Second,
                                T.Milliseconds}),
              (std::vector<int>{2024, 2, 29, 4, 23, 59, 58, 999}));

    // Before 1970, parts of a millisecond still round down.
    const TSystemTime Old = ToSystemTime(sys_days(year(1969) / December / 31) + 22h + 3ms + 999us);
    EXPECT_EQ((std::vector<int>{Old.Year, Old.Day, Old.Hour, Old.Milliseconds}),
              (std::vector<int>{1969, 31, 22, 3}));

    SetClockSource(nullptr);
    const auto Before = system_clock::now();
    const auto Now = ClockNow();
    EXPECT_GE(Now, Before);
    EXPECT_LT(Now - Before, 10s);
}
