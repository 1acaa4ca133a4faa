#include "platform/clock.h"

#include <gtest/gtest.h>

using namespace std::chrono;

TEST(Clock, ReplaceableSourceAndUniversalTimeFields) {
    const TClockTime Fixed = sys_days(year(2024) / February / 29) + 23h + 59min + 58s + 999ms;
    SetClockSource([Fixed] { return Fixed; });
    EXPECT_EQ(ClockNow(), Fixed);
    const TSystemTime T = GetSystemTime();
    EXPECT_EQ(T.Year, 2024);
    EXPECT_EQ(T.Month, 2);
    EXPECT_EQ(T.Day, 29);
    EXPECT_EQ(T.DayOfWeek, 4); // a Thursday
    EXPECT_EQ(T.Hour, 23);
    EXPECT_EQ(T.Minute, 59);
    EXPECT_EQ(T.Second, 58);
    EXPECT_EQ(T.Milliseconds, 999);

    SetClockSource(nullptr);
    const auto Before = system_clock::now();
    const auto Now = ClockNow();
    EXPECT_GE(Now, Before);
    EXPECT_LT(Now - Before, 10s);
}

TEST(Clock, TimesBeforeTheEpochAndPartsOfMillisecondsRoundDown) {
    const TSystemTime T =
        ToSystemTime(sys_days(year(1969) / December / 31) + 22h + 1min + 2s + 3ms + 999us);
    EXPECT_EQ(T.Year, 1969);
    EXPECT_EQ(T.Month, 12);
    EXPECT_EQ(T.Day, 31);
    EXPECT_EQ(T.Hour, 22);
    EXPECT_EQ(T.Minute, 1);
    EXPECT_EQ(T.Second, 2);
    EXPECT_EQ(T.Milliseconds, 3);
}
