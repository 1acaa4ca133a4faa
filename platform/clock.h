#pragma once

#include <chrono>
#include <functional>

// The system clock, replaceable so that tests can fix the time.

using TClockTime = std::chrono::system_clock::time_point;
using TClockSource = std::function<TClockTime()>;

// The current time of the clock source in use.
TClockTime ClockNow();

// Makes Source the clock; an empty source brings back the system clock.
void SetClockSource(TClockSource Source);

// A moment in universal time, broken into its calendar fields.
struct TSystemTime {
    int Year = 1970;
    int Month = 1;     // 1..12
    int DayOfWeek = 4; // 0 = Sunday
    int Day = 1;       // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Milliseconds = 0;
};

// Time in universal time (no time zone, no leap seconds).
TSystemTime ToSystemTime(TClockTime Time);

// The clock's current time in universal time.
TSystemTime GetSystemTime();
