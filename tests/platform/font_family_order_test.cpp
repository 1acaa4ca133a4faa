#include "platform/font_family_order.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(FontFamilyOrder, AsciiCaseCountsOnlyBetweenOtherwiseEqualNames) {
    std::vector<std::string> Names{"courier new", "Times", "arial",       "Courier", "\xC3\xA9mile",
                                   "Arial",       "Zapf",  "Arial Black", "ARIAL",   "\xC3\x89mile",
                                   "Aab",         "A_B",   "1942 Report"};
    std::sort(Names.begin(), Names.end(), FontFamilyBefore);
    EXPECT_EQ(Names, (std::vector<std::string>{"1942 Report", "A_B", "Aab", "ARIAL", "Arial",
                                               "arial", "Arial Black", "Courier", "courier new",
                                               "Times", "Zapf", "\xC3\x89mile", "\xC3\xA9mile"}));
}

TEST(FontFamilyOrder, IsAStrictOrder) {
    EXPECT_FALSE(FontFamilyBefore("Arial", "Arial"));
    EXPECT_FALSE(FontFamilyBefore("", ""));
    EXPECT_TRUE(FontFamilyBefore("", "a"));
    EXPECT_TRUE(FontFamilyBefore("arial", "ARIAL BLACK")); // a prefix comes first
    EXPECT_FALSE(FontFamilyBefore("ARIAL BLACK", "arial"));
}
