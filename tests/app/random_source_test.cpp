#include "app/records/random_source.h"
#include "tests/app/fixed_clock.h"

#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono_literals;

TEST(RandomSource, MultiplierIncrementAndUpperHalfOfTheProduct) {
    TRandomSource Random(0);
    std::vector<std::uint32_t> Got;
    for (int I = 0; I < 4; ++I) {
        Got.push_back(Random.RandomInt(1000));
    }
    EXPECT_EQ(Got, (std::vector<std::uint32_t>{0, 31, 861, 202}));
    EXPECT_EQ(Random.Seed(), 870078620u);

    Random.SetSeed(0xFFFFFFFFu); // the state wraps modulo 2^32
    EXPECT_EQ(Random.RandomInt(0xFFFFFFFFu), 4160191483u);
    EXPECT_EQ(Random.RandomInt(7), 1u);
    EXPECT_EQ(Random.Seed(), 866343917u);
}

TEST(RandomSource, ZeroRangeGivesZeroAndStillStepsTheState) {
    TRandomSource Random(45296789);
    EXPECT_EQ(Random.RandomInt(0), 0u);
    EXPECT_EQ(Random.RandomInt(10), 2u); // the second value of this seed's sequence
}

TEST(RandomSource, SeedIsTheMillisecondsSinceMidnightInUniversalTime) {
    TFixedClock Clock(12h + 34min + 56s + 789ms);
    TRandomSource Random;
    Random.Randomize();
    EXPECT_EQ(Random.Seed(), 45296789u);
    Clock.Set(23h + 59min + 59s + 999ms);
    Random.Randomize();
    EXPECT_EQ(Random.Seed(), 86399999u);
    Clock.Set(0ms);
    Random.Randomize();
    EXPECT_EQ(Random.Seed(), 0u);
}
