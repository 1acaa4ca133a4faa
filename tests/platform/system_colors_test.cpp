#include "platform/system_colors.h"

#include <gtest/gtest.h>

TEST(SystemColors, SystemColoursResolveOthersStayAsTheyAre) {
    EXPECT_EQ(ColorToRGB(0x00FF8040), 0x00FF8040);
    EXPECT_EQ(ColorToRGB(0), 0);
    const auto System = [](std::uint32_t Index) {
        return static_cast<std::int32_t>(0x80000000U | Index);
    };
    EXPECT_EQ(ColorToRGB(System(15)), 0x00C0C0C0); // button face
    EXPECT_EQ(ColorToRGB(System(1)), 0x00808000);  // desktop: teal
    EXPECT_EQ(ColorToRGB(System(24)), 0x00E1FFFF); // tooltip background
    EXPECT_EQ(ColorToRGB(System(200)), 0);         // unknown: black
    EXPECT_EQ(ColorToRGB(-1), 0);
}
