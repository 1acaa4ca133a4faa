#include "pgraphic/view/worker/progress_throttle.h"

#include <chrono>

void TPGProgressThrottle::Start(std::int64_t Now) {
    FLastPercent = 0;
    FLastTick = Now;
}

std::optional<int> TPGProgressThrottle::Report(int Step, int Max, std::int64_t Now) {
    if (Max <= 0 && !FRule.FullWithoutMax) {
        return std::nullopt;
    }
    const int Percent =
        Max <= 0 ? 100 : static_cast<int>(std::int64_t{Step} * 100 / std::int64_t{Max});
    if (Percent == FLastPercent) {
        return std::nullopt;
    }
    const std::int64_t Bucket = FRule.BucketMilliseconds > 0 ? FRule.BucketMilliseconds : 1;
    const bool NewBucket = Now / Bucket != FLastTick / Bucket;
    const bool NewBand =
        FRule.PercentBand > 0 && Percent / FRule.PercentBand != FLastPercent / FRule.PercentBand;
    if (!NewBucket && !NewBand) {
        return std::nullopt;
    }
    FLastPercent = Percent;
    FLastTick = Now;
    return Percent;
}

std::int64_t TPGProgressThrottle::Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
