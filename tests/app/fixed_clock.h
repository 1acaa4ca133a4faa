#pragma once

#include "platform/clock.h"

#include <chrono>

// Fixes the platform clock for one test at a time of day (universal time) on a fixed date.
class TFixedClock {
public:
    explicit TFixedClock(std::chrono::milliseconds SinceMidnight) {
        Set(SinceMidnight);
        SetClockSource([this] { return FTime; });
    }
    TFixedClock(const TFixedClock&) = delete;
    TFixedClock& operator=(const TFixedClock&) = delete;
    ~TFixedClock() { SetClockSource(nullptr); }

    void Set(std::chrono::milliseconds SinceMidnight) {
        using namespace std::chrono;
        FTime = sys_days(year(2001) / October / 25) + SinceMidnight;
    }

private:
    TClockTime FTime;
};
