#include "pgraphic/image/palettes.h"

#include <gtest/gtest.h>
#include <set>

TEST(FixedPalettes, SizesAndLevels) {
    EXPECT_EQ(FixedPalette(pBlackWhite).size(), 2u);
    EXPECT_EQ(FixedPalette(pSysGray4).size(), 4u);
    EXPECT_EQ(FixedPalette(pSys16).size(), 16u);
    EXPECT_EQ(FixedPalette(pGray4).size(), 4u);
    EXPECT_EQ(FixedPalette(pGray16).size(), 16u);
    EXPECT_EQ(FixedPalette(pGray236).size(), 236u);
    EXPECT_EQ(FixedPalette(pGray256).size(), 256u);
    EXPECT_EQ(FixedPalette(pSpecial125).size(), 125u);
    EXPECT_EQ(FixedPalette(pSpecial216).size(), 216u);
    EXPECT_EQ(FixedPalette(pSpecial252).size(), 252u);
    EXPECT_TRUE(FixedPalette(pUnknown).empty());
    EXPECT_TRUE(FixedPalette(pSource).empty());

    EXPECT_EQ(FixedPalette(pGray4)[1], RGB(85, 85, 85));
    EXPECT_EQ(FixedPalette(pGray16)[1], RGB(17, 17, 17));
    EXPECT_EQ(FixedPalette(pSysGray4)[2], RGB(192, 192, 192));
    EXPECT_EQ(FixedPalette(pSys16)[3], RGB(128, 128, 0));
    EXPECT_EQ(FixedPalette(pSys16)[12], RGB(0, 0, 255));
    // Levels 0, 64, 128, 192, 255 and 0, 51, ..., 255; index r * 25 + g * 5 + b.
    EXPECT_EQ(FixedPalette(pSpecial125)[1 * 25 + 2 * 5 + 3], RGB(64, 128, 192));
    EXPECT_EQ(FixedPalette(pSpecial125)[124], RGB(255, 255, 255));
    EXPECT_EQ(FixedPalette(pSpecial216)[1 * 36 + 2 * 6 + 3], RGB(51, 102, 153));
    EXPECT_EQ(FixedPalette(pSpecial216)[5 * 36 + 4 * 6 + 5], RGB(255, 204, 255));
}

TEST(FixedPalettes, Special252IsDistinctAndStartsWithTheSystemColours) {
    const auto P = FixedPalette(pSpecial252);
    const auto Sys = FixedPalette(pSys16);
    for (std::size_t I = 0; I < 16; ++I) {
        EXPECT_EQ(P[I], Sys[I]);
    }
    EXPECT_EQ(std::set<TColor>(P.begin(), P.end()).size(), 252u);
    EXPECT_EQ(P[16], RGB(0, 0, 0x40));
    EXPECT_EQ(P[251], RGB(0xE0, 0x60, 0xC0));
    for (std::size_t I = 16; I < P.size(); ++I) {
        for (const int C : {GetRValue(P[I]), GetGValue(P[I]), GetBValue(P[I])}) {
            EXPECT_TRUE(C % 32 == 0 || C == 255) << I;
        }
    }
}

TEST(FixedPalettes, Special252CandidatesAreNonEmptyAndInIndexOrder) {
    for (int R = 0; R < 256; R += 32) {
        for (int G = 0; G < 256; G += 32) {
            for (int B = 0; B < 256; B += 32) {
                const auto List = Special252Candidates(R, G, B);
                ASSERT_FALSE(List.empty());
                EXPECT_TRUE(std::is_sorted(List.begin(), List.end()));
            }
        }
    }
}
