#include "core/tagged_integer.h"
#include "widgets/color_array.h"

#include <gtest/gtest.h>

namespace {

// A grid whose every cell tells its address: 0x0000CCRR.
TColorArrayClass Numbered(int Columns, int Rows) {
    TColorArrayClass Grid(Columns, Rows);
    for (int C = 1; C <= Columns; ++C) {
        for (int R = 1; R <= Rows; ++R) {
            Grid.SetColors(C, R, C << 8 | R);
        }
    }
    return Grid;
}

TEST(ColorArray, CellsAreAddressedFromOneAndBoundsRaise) {
    TColorArrayClass Grid = Numbered(4, 5);
    EXPECT_EQ(Grid.Colors(1, 1), 0x101);
    EXPECT_EQ(Grid.Colors(4, 5), 0x405);
    for (const auto& [C, R] : {std::pair{0, 1}, {1, 0}, {5, 1}, {1, 6}, {-1, -1}}) {
        try {
            Grid.SetColors(C, R, 0);
            ADD_FAILURE() << C << "," << R;
        } catch (const EColorArrayIndexError& E) {
            EXPECT_STREQ(E.what(), "Array index out of bounds");
        }
        EXPECT_THROW((void)Grid.Colors(C, R), EColorArrayIndexError);
    }
    EXPECT_THROW(TColorArrayClass(0, 5), EColorArrayIndexError);
    EXPECT_THROW(Grid.SetRows(0), EColorArrayIndexError);
}

TEST(ColorArray, NewDimensionsDiscardTheColoursAndTheSameKeepsThem) {
    TColorArrayClass Grid = Numbered(4, 5);
    Grid.SetColumns(4);
    Grid.SetRows(5);
    EXPECT_EQ(Grid.Colors(3, 2), 0x302);
    Grid.SetColumns(2);
    EXPECT_EQ(Grid.Columns(), 2);
    EXPECT_EQ(Grid.Colors(2, 5), 0);
    EXPECT_THROW((void)Grid.Colors(3, 1), EColorArrayIndexError);
}

TEST(ColorArray, AssignmentAndEquality) {
    const TColorArrayClass Source = Numbered(8, 2);
    TColorArrayClass Copy(4, 5);
    EXPECT_FALSE(Copy.Equals(&Source));
    Copy.Assign(Source);
    EXPECT_EQ(Copy.Columns(), 8);
    EXPECT_EQ(Copy.Rows(), 2);
    EXPECT_TRUE(Copy.Equals(&Source));
    EXPECT_TRUE(Source.Equals(&Source));
    EXPECT_FALSE(Source.Equals(nullptr));
    Copy.SetColors(8, 2, 1);
    EXPECT_FALSE(Copy.Equals(&Source));
    // Same cells, other shape: a 2 x 8 grid never equals an 8 x 2 one.
    TColorArrayClass Turned(2, 8);
    TColorArrayClass Flat(8, 2);
    EXPECT_FALSE(Turned.Equals(&Flat));
}

TEST(ColorArray, SavedColorsGoColumnByColumnAfterTheDimensions) {
    const TColorArrayClass Grid = Numbered(2, 3);
    TMemoryStream Stream;
    Grid.WriteSavedColors(Stream);
    const std::vector<std::uint8_t> Expected{
        2,    2,    2, 3,                                      // columns, rows
        0x01, 0x01, 0, 0, 0x02, 0x01, 0, 0, 0x03, 0x01, 0, 0,  // column 1
        0x01, 0x02, 0, 0, 0x02, 0x02, 0, 0, 0x03, 0x02, 0, 0}; // column 2
    EXPECT_EQ(Stream.Bytes(), Expected);

    Stream.SetPosition(0);
    TColorArrayClass Read(1, 1);
    Read.ReadSavedColors(Stream);
    EXPECT_TRUE(Read.Equals(&Grid));
}

TEST(ColorArray, SavedColorsKeepSystemColours) {
    TColorArrayClass Grid(1, 1);
    Grid.SetColors(1, 1, clBtnFace);
    TMemoryStream Stream;
    Grid.WriteSavedColors(Stream);
    Stream.SetPosition(0);
    TColorArrayClass Read(3, 3);
    Read.ReadSavedColors(Stream);
    EXPECT_EQ(Read.Colors(1, 1), clBtnFace);
}

TEST(ColorArray, CorruptSavedColorsRaiseAndLeaveTheGrid) {
    const TColorArrayClass Original = Numbered(4, 5);
    const auto Fails = [&](const std::vector<std::uint8_t>& Bytes) {
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        TColorArrayClass Grid = Original;
        EXPECT_THROW(Grid.ReadSavedColors(Stream), EReadError);
        EXPECT_TRUE(Grid.Equals(&Original));
    };
    Fails({2, 0, 2, 1});                // no columns
    Fails({2, 0xFF, 2, 1, 0, 0, 0, 0}); // negative columns
    Fails({2, 2, 2, 2, 1, 0, 0, 0});    // four colours announced, one present
    Fails({4, 0xFF, 0xFF, 0xFF, 0x7F, 4, 0xFF, 0xFF, 0xFF, 0x7F}); // billions of cells
    Fails({2, 1});                                                 // no rows at all
}

} // namespace
