#include "pgraphic/view/image_view/tiling.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const TPGTile* Find(const std::vector<TPGTile>& Tiles, int Column, int Row) {
    const auto It = std::find_if(Tiles.begin(), Tiles.end(), [&](const TPGTile& T) {
        return T.Column == Column && T.Row == Row;
    });
    return It == Tiles.end() ? nullptr : &*It;
}

} // namespace

TEST(Tiling, MirroredTilesAroundACentredBox) {
    // A 10 x 10 box centred in 100 x 100 sits at 45, 45: rows and columns -5 .. 5 cover it all.
    const TPGRect Box{45, 45, 55, 55};
    const TPGRect All{0, 0, 100, 100};
    const auto Tiles = PGVisibleTiles(Box, 100, 100, All, tMirror, false, false);
    ASSERT_EQ(Tiles.size(), 121U);
    EXPECT_EQ(Tiles.front().Column, -5);
    EXPECT_EQ(Tiles.front().Row, -5);
    EXPECT_EQ(Tiles.front().Rect, (TPGRect{-5, -5, 5, 5}));
    EXPECT_EQ(Tiles.back().Rect, (TPGRect{95, 95, 105, 105}));
    EXPECT_EQ(Find(Tiles, 0, 0)->Mirror, mNone);
    EXPECT_EQ(Find(Tiles, 1, 0)->Mirror, mHorizontal);
    EXPECT_EQ(Find(Tiles, -1, 0)->Mirror, mHorizontal);
    EXPECT_EQ(Find(Tiles, 0, -3)->Mirror, mVertical);
    EXPECT_EQ(Find(Tiles, -5, 5)->Mirror, mBoth);
    const auto Counts = PGMirrorCounts(Tiles);
    EXPECT_EQ(Counts[mNone], 25);
    EXPECT_EQ(Counts[mHorizontal], 30);
    EXPECT_EQ(Counts[mVertical], 30);
    EXPECT_EQ(Counts[mBoth], 36);
}

TEST(Tiling, FlipsMirrorEveryTileAndModesTurnOddOnesBack) {
    EXPECT_EQ(PGTileMirror(0, 0, tNone, true, false), mHorizontal);
    EXPECT_EQ(PGTileMirror(0, 0, tNone, true, true), mBoth);
    EXPECT_EQ(PGTileMirror(1, 0, tMirrorHorizontal, true, false), mNone);
    EXPECT_EQ(PGTileMirror(1, 1, tMirrorHorizontal, false, false), mHorizontal);
    EXPECT_EQ(PGTileMirror(1, 1, tMirrorVertical, false, false), mVertical);
    EXPECT_EQ(PGTileMirror(3, -1, tRepeat, false, false), mNone);
}

TEST(Tiling, OnlyTilesTouchingTheClipAreKept) {
    const TPGRect Box{0, 0, 10, 10};
    // Clip edges count as touching: the tile at 10..20 touches a clip ending at 10.
    const auto Tiles = PGVisibleTiles(Box, 100, 100, {0, 0, 10, 5}, tRepeat, false, false);
    ASSERT_EQ(Tiles.size(), 2U);
    EXPECT_EQ(Tiles[1].Column, 1);
    const auto Far = PGVisibleTiles(Box, 100, 100, {61, 61, 69, 69}, tRepeat, false, false);
    ASSERT_EQ(Far.size(), 1U);
    EXPECT_EQ(Far[0].Rect, (TPGRect{60, 60, 70, 70}));
}

TEST(Tiling, ScrolledBoxesEmptyBoxesAndNoTiling) {
    // Scrolled up and left: no tiles before the box.
    EXPECT_EQ(PGTileRange(-30, 100, 50, true).First, 0);
    EXPECT_EQ(PGTileRange(-30, 100, 50, true).Last, 0);
    EXPECT_EQ(PGTileRange(5, 10, 100, true).First, -1);
    EXPECT_EQ(PGTileRange(5, 10, 100, true).Last, 9);
    EXPECT_EQ(PGTileRange(45, 10, 100, false).Last, 0);
    EXPECT_TRUE(
        PGVisibleTiles({5, 5, 5, 9}, 100, 100, {0, 0, 100, 100}, tMirror, false, false).empty());
    const auto Single =
        PGVisibleTiles({45, 45, 55, 55}, 100, 100, {0, 0, 100, 100}, tNone, false, false);
    ASSERT_EQ(Single.size(), 1U);
}
