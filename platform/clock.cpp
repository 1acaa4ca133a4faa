#include "platform/clock.h"

#include <mutex>

namespace {

std::mutex ClockLock;
TClockSource CurrentSource;

} // namespace

TClockTime ClockNow() {
    TClockSource Source;
    {
        const std::lock_guard<std::mutex> Guard(ClockLock);
        Source = CurrentSource;
    }
    return Source ? Source() : std::chrono::system_clock::now();
}

void SetClockSource(TClockSource Source) {
    const std::lock_guard<std::mutex> Guard(ClockLock);
    CurrentSource = std::move(Source);
}

TSystemTime ToSystemTime(TClockTime Time) {
    using namespace std::chrono;
    const auto Millis = floor<milliseconds>(Time);
    const auto Day = floor<days>(Millis);
    const year_month_day Date(Day);
    const hh_mm_ss Clock(Millis - Day);
    TSystemTime Result;
    Result.Year = static_cast<int>(Date.year());
    Result.Month = static_cast<int>(static_cast<unsigned>(Date.month()));
    Result.Day = static_cast<int>(static_cast<unsigned>(Date.day()));
    Result.DayOfWeek = static_cast<int>(weekday(Day).c_encoding());
    Result.Hour = static_cast<int>(Clock.hours().count());
    Result.Minute = static_cast<int>(Clock.minutes().count());
    Result.Second = static_cast<int>(Clock.seconds().count());
    Result.Milliseconds = static_cast<int>(Clock.subseconds().count());
    return Result;
}

TSystemTime GetSystemTime() {
    return ToSystemTime(ClockNow());
}
