#pragma once

#include <cstdint>
#include <optional>

// Decides which progress reports of a worker are passed on to the window, so that a fast loop
// does not flood the event queue: a report goes out only when its percentage changed and either
// a new time bucket has begun or the percentage entered a new band.
class TPGProgressThrottle {
public:
    struct TRule {
        int BucketMilliseconds = 50;
        // Crossing into a new band of this many percent always reports; 0 for no bands.
        int PercentBand = 0;
        // Whether a report without a maximum counts as 100 percent (else it is dropped).
        bool FullWithoutMax = true;
    };

    explicit TPGProgressThrottle(TRule Rule) : FRule(Rule) {}

    // Starts a run at time Now (milliseconds of a steady clock) at 0 percent.
    void Start(std::int64_t Now);

    // The percentage to report for Step of Max at time Now, or none.
    std::optional<int> Report(int Step, int Max, std::int64_t Now);

    // Milliseconds of the steady clock.
    static std::int64_t Now();

private:
    TRule FRule;
    int FLastPercent = 0;
    std::int64_t FLastTick = 0;
};
