#include "platform/system_colors.h"

#include <gtest/gtest.h>

TEST(SystemColors, ClassicSchemeUnlessASourceIsInstalled) {
    EXPECT_EQ(ResolveSysColor(0x00FF8040), 0x00FF8040);
    EXPECT_EQ(ResolveSysColor(0), 0);
    EXPECT_EQ(ResolveSysColor(clBtnFace), RGB(192, 192, 192));
    EXPECT_EQ(ResolveSysColor(SystemColor(COLOR_BACKGROUND)), RGB(0, 128, 128));
    EXPECT_EQ(ResolveSysColor(SystemColor(COLOR_INFOBK)), RGB(255, 255, 225));
    EXPECT_EQ(ResolveSysColor(static_cast<TColor>(0x800000C8)), 0); // unknown: black
    EXPECT_EQ(ResolveSysColor(-1), 0);

    const TSysColorSource Old =
        SetSysColorSource([](int Index) { return RGB(Index, Index + 1, Index + 2); });
    EXPECT_EQ(ResolveSysColor(clBtnFace), RGB(15, 16, 17));
    EXPECT_EQ(ResolveSysColor(RGB(1, 2, 3)), RGB(1, 2, 3));
    SetSysColorSource(Old);
    EXPECT_EQ(ResolveSysColor(clBtnFace), RGB(192, 192, 192));
}
