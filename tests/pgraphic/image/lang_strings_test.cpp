#include "pgraphic/image/lang_strings.h"
#include "pgraphic/image/pg_exceptions.h"

#include <gtest/gtest.h>

TEST(LangStrings, TableIsNumberedFromOneWithoutGaps) {
    int Expected = 1;
    for (const auto& Entry : PGLangStrEntries()) {
        EXPECT_EQ(static_cast<int>(Entry.Id), Expected++);
        EXPECT_FALSE(Entry.English.empty());
    }
}

TEST(LangStrings, PlaceholdersReplaceOnlyTheirFirstOccurrence) {
    EXPECT_EQ(PGLangStr(TPGLangStrId::Failed, "CreateDIBSection"), "CreateDIBSection failed");
    EXPECT_EQ(PGLangStr(TPGLangStrId::InvalidValueFor, "BitCountNum"),
              "Invalid value for BitCountNum");
    EXPECT_EQ(PGLangStr(TPGLangStrId::UnknownFileExtension, "xyz"),
              "Unknown file extension \"xyz\"");
    // An empty argument still replaces its placeholder.
    EXPECT_EQ(PGLangStr(TPGLangStrId::UnknownFileExtension, ""), "Unknown file extension \"\"");
    // Without an argument the placeholder stays.
    EXPECT_EQ(PGLangStr(TPGLangStrId::IsEmpty), "%S1 is empty");
    EXPECT_EQ(ReplaceFirst("%S1 and %S1", "%S1", "a"), "a and %S1");
}

TEST(LangStrings, ThreePlaceholdersInOrder) {
    const auto Text = PGLangStr(TPGLangStrId::SaveColorResolutionChanged, "TGA", "2", "16.7M");
    EXPECT_EQ(Text, "The graphic cannot be saved to a TGA file with the current color resolution "
                    "(2).\r\rThe graphic will be saved with a different color resolution "
                    "(16.7M).");
}

TEST(LangStrings, LibraryExceptionsCarryTheirText) {
    try {
        throw EPGNoPalette(TPGLangStrId::NoPalette);
    } catch (const EPixelGraphic& E) {
        EXPECT_STREQ(E.what(), "No palette");
    }
    const EPGInvalidSize Size(TPGLangStrId::InvalidSizeOf, PGLangStr(TPGLangStrId::ImageWord));
    EXPECT_EQ(Size.Message(), "Invalid size of image");
}
