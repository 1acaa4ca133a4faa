// The show command the program starts with: normal unless $VESPERA_SHOW_COMMAND gives a code.

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
