#include "core/tagged_integer.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::uint8_t> Written(std::int32_t Value) {
    TMemoryStream Stream;
    WriteTaggedInteger(Stream, Value);
    return Stream.Bytes();
}

TEST(TaggedInteger, TakesTheSmallestWidthAtEachBoundary) {
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(Written(127), (Bytes{2, 0x7F}));
    EXPECT_EQ(Written(-128), (Bytes{2, 0x80}));
    EXPECT_EQ(Written(128), (Bytes{3, 0x80, 0x00}));
    EXPECT_EQ(Written(-129), (Bytes{3, 0x7F, 0xFF}));
    EXPECT_EQ(Written(32767), (Bytes{3, 0xFF, 0x7F}));
    EXPECT_EQ(Written(32768), (Bytes{4, 0x00, 0x80, 0x00, 0x00}));
    EXPECT_EQ(Written(-2147483647 - 1), (Bytes{4, 0x00, 0x00, 0x00, 0x80}));
}

TEST(TaggedInteger, ReadsBackEveryWidthWithItsSign) {
    for (const std::int32_t Value : {0, 1, -1, 127, -128, 128, -129, 32767, -32768, 32768, -32769,
                                     2147483647, -2147483647 - 1}) {
        TMemoryStream Stream;
        WriteTaggedInteger(Stream, Value);
        Stream.SetPosition(0);
        EXPECT_EQ(ReadTaggedInteger(Stream), Value);
        EXPECT_EQ(Stream.Position(), Stream.Size());
    }
}

TEST(TaggedInteger, UnknownTagsAndShortValuesRaise) {
    const std::uint8_t Unknown[] = {6, 1, 2, 3, 4};
    TBlockStream A(static_cast<const void*>(Unknown), sizeof Unknown);
    try {
        ReadTaggedInteger(A);
        ADD_FAILURE();
    } catch (const EReadError& E) {
        EXPECT_STREQ(E.what(), "Invalid property value");
    }
    const std::uint8_t Short[] = {4, 1, 2};
    TBlockStream B(static_cast<const void*>(Short), sizeof Short);
    EXPECT_THROW(ReadTaggedInteger(B), EReadError);
}

} // namespace
