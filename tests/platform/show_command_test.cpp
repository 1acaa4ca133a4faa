// The show command the program starts with: normal unless $VESPERA_SHOW_COMMAND gives a code;
// and the environment numbers it is read as.

#include "platform/environment_number.h"
#include "platform/show_command.h"
#include "tests/support/environment.h"

#include <gtest/gtest.h>

TEST(ShowCommand, FromTheEnvironmentWithinTheCodesElseNormal) {
    TEnvironment Env;
    Env.Set("VESPERA_SHOW_COMMAND", std::nullopt);
    EXPECT_EQ(StartupShowCommand(), kShowNormal);
    for (const auto& [Text, Command] : std::vector<std::pair<std::string, int>>{
             {"3", 3}, {"7", 7}, {"0", 0}, {"11", 11}, {"12", 1}, {"-1", 1}, {"3x", 1}, {"", 1}}) {
        Env.Set("VESPERA_SHOW_COMMAND", Text);
        EXPECT_EQ(StartupShowCommand(), Command) << Text;
    }
}

TEST(EnvironmentNumber, OnlyAWholeDecimalNumberCounts) {
    TEnvironment Env;
    Env.Set("VESPERA_TEST_NUMBER", std::nullopt);
    EXPECT_EQ(EnvironmentNumber("VESPERA_TEST_NUMBER"), std::nullopt);
    for (const auto& [Text, Number] : std::vector<std::pair<std::string, std::optional<long long>>>{
             {"0", 0},
             {"-12", -12},
             {"1607040000000", 1607040000000LL},
             {"", std::nullopt},
             {"+3", std::nullopt},
             {" 3", std::nullopt},
             {"3 ", std::nullopt},
             {"0x10", std::nullopt},
             {"99999999999999999999", std::nullopt}}) {
        Env.Set("VESPERA_TEST_NUMBER", Text);
        EXPECT_EQ(EnvironmentNumber("VESPERA_TEST_NUMBER"), Number) << Text;
    }
}
