#include "pgraphic/view/image_view/selection_geometry.h"

#include <gtest/gtest.h>

TEST(SelectionGeometry, ConversionsTruncateTowardZeroAndSurviveEmptySizes) {
    const TPGScaling Half{640, 400, 320, 200};
    EXPECT_EQ(PGImageToBox(Half, 3, 5), (TPGPoint{1, 2}));
    EXPECT_EQ(PGBoxToImage(Half, 3, 5), (TPGPoint{6, 10}));
    // Negative coordinates (a selection moved off the picture) truncate toward zero.
    EXPECT_EQ(PGImageToBox(Half, -3, -1), (TPGPoint{-1, 0}));
    const TPGScaling Thirds{100, 100, 300, 30};
    EXPECT_EQ(PGBoxToImage(Thirds, 299, 29), (TPGPoint{99, 96}));
    EXPECT_EQ(PGBoxToImage({10, 10, 0, 0}, 5, 5), (TPGPoint{0, 0}));
    EXPECT_EQ(PGImageToBox({0, -1, 10, 10}, 5, 5), (TPGPoint{0, 0}));
    // Large coordinates multiply in 64 bits.
    EXPECT_EQ(PGImageToBox({50000, 50000, 60000, 60000}, 40000, 0).X, 48000);
    const TPGRect R = PGSelectionOnBox(Half, {10, 20, 5, 7});
    EXPECT_EQ(R, (TPGRect{5, 10, 7, 13}));
}

TEST(SelectionGeometry, HandlesLieOutsideTheFrameInTestOrder) {
    const TPGRect R{20, 20, 40, 30};
    const auto Rects = PGHandleRects(R);
    EXPECT_EQ(Rects[hTopLeft], (TPGRect{12, 12, 17, 17}));
    EXPECT_EQ(Rects[hBottom], (TPGRect{28, 33, 33, 38}));
    EXPECT_EQ(PGHandleAt(R, 12, 12), hTopLeft);
    EXPECT_EQ(PGHandleAt(R, 16, 16), hTopLeft);
    EXPECT_FALSE(PGHandleAt(R, 17, 17)); // right and bottom are exclusive
    EXPECT_EQ(PGHandleAt(R, 47, 27), hRight);
    EXPECT_EQ(PGHandleAt(R, 43, 33), hBottomRight);
    EXPECT_FALSE(PGHandleAt(R, 30, 25)); // inside the frame
    // A tiny selection's handles overlap: the first in test order wins.
    const TPGRect Dot{10, 10, 11, 11};
    EXPECT_EQ(PGHandleAt(Dot, 8, 3), hTop);
    EXPECT_EQ(PGHandleAction(hTopLeft), daSizeTopLeft);
    EXPECT_EQ(PGHandleAction(hBottomRight), daSizeBottomRight);
}

TEST(SelectionGeometry, StripsCoverFrameAndHandles) {
    const auto Strips = PGSelectionStrips({20, 20, 40, 30}, 8);
    EXPECT_EQ(Strips[0], (TPGRect{12, 12, 20, 38}));
    EXPECT_EQ(Strips[1], (TPGRect{12, 12, 48, 20}));
    EXPECT_EQ(Strips[2], (TPGRect{40, 12, 48, 38}));
    EXPECT_EQ(Strips[3], (TPGRect{12, 30, 48, 38}));
    // Every handle lies in one of the strips.
    for (const TPGRect& Handle : PGHandleRects({20, 20, 40, 30})) {
        bool Covered = false;
        for (const TPGRect& S : Strips) {
            Covered = Covered || (S.Left <= Handle.Left && Handle.Right <= S.Right &&
                                  S.Top <= Handle.Top && Handle.Bottom <= S.Bottom);
        }
        EXPECT_TRUE(Covered);
    }
}

TEST(SelectionGeometry, DraggingUpAndLeftKeepsTheAnchorAsLastPixel) {
    const TPGSelectionBounds S = PGSpannedSelection({50, 40}, 20, 10);
    EXPECT_EQ(S, (TPGSelectionBounds{20, 10, 31, 31}));
    EXPECT_EQ(PGSpannedSelection({5, 5}, 5, 5), (TPGSelectionBounds{5, 5, 1, 1}));
}

TEST(SelectionGeometry, ResizingNeverPassesTheOppositeEdge) {
    const TPGSelectionBounds S{10, 10, 20, 20};
    // Grabbed on the left handle 3 pixels left of the edge; dragged far past the right edge.
    const TPGPoint Left = PGDragOffset(daSizeLeft, S, 7, 0);
    EXPECT_EQ(Left, (TPGPoint{-3, 0}));
    EXPECT_EQ(PGResizedSelection(daSizeLeft, S, Left, 500, 0), (TPGSelectionBounds{29, 10, 1, 20}));
    EXPECT_EQ(PGResizedSelection(daSizeLeft, S, Left, 2, 0), (TPGSelectionBounds{5, 10, 25, 20}));
    // The bottom-right handle keeps at least one pixel.
    const TPGPoint Corner = PGDragOffset(daSizeBottomRight, S, 33, 34);
    EXPECT_EQ(Corner, (TPGPoint{13, 14}));
    EXPECT_EQ(PGResizedSelection(daSizeBottomRight, S, Corner, -100, -100),
              (TPGSelectionBounds{10, 10, 1, 1}));
    EXPECT_EQ(PGResizedSelection(daSizeBottomRight, S, Corner, 40, 50),
              (TPGSelectionBounds{10, 10, 27, 36}));
    const TPGPoint Top = PGDragOffset(daSizeTop, S, 15, 8);
    EXPECT_EQ(Top, (TPGPoint{0, -2}));
    EXPECT_EQ(PGResizedSelection(daSizeTop, S, Top, 99, 100), (TPGSelectionBounds{10, 29, 20, 1}));
}

TEST(SelectionGeometry, MovingKeepsOneRowAndColumnOnThePicture) {
    const TPGSelectionBounds S{10, 10, 20, 30};
    const TPGPoint Offset = PGDragOffset(daMoveSelection, S, 15, 12);
    EXPECT_EQ(Offset, (TPGPoint{5, 2}));
    EXPECT_EQ(PGMovedSelection(S, Offset, -1000, 20, 100, 80),
              (TPGSelectionBounds{-19, 18, 20, 30}));
    EXPECT_EQ(PGMovedSelection(S, Offset, 1000, 1000, 100, 80),
              (TPGSelectionBounds{99, 79, 20, 30}));
    EXPECT_EQ(PGMovedSelection(S, Offset, 16, 13, 100, 80), (TPGSelectionBounds{11, 11, 20, 30}));
}

TEST(SelectionGeometry, AntsPatternsMoveWithTheSelection) {
    EXPECT_EQ(PGAntsPatternIndex(0, {0, 0, 5, 5}), 0);
    EXPECT_EQ(PGAntsPatternIndex(7, {3, 2, 9, 9}), 4);
    EXPECT_EQ(PGAntsPatternIndex(0, {-3, -2, 9, 9}), 3);
    // Pattern 0: bands of four, second colour where (x + y) mod 8 > 3.
    EXPECT_FALSE(PGAntsSecondColor(0, 0, 0));
    EXPECT_FALSE(PGAntsSecondColor(0, 2, 1));
    EXPECT_TRUE(PGAntsSecondColor(0, 2, 2));
    EXPECT_TRUE(PGAntsSecondColor(0, 7, 0));
    // Each pattern is the one before shifted by a pixel.
    for (int P = 1; P < 8; ++P) {
        for (int X = 0; X < 8; ++X) {
            EXPECT_EQ(PGAntsSecondColor(P, (X + 1) % 8, 0), PGAntsSecondColor(P - 1, X, 0));
        }
    }
}

TEST(SelectionGeometry, AutoScrollStepsTowardTheMouseWithinTheRange) {
    const TPGScrollState S{10, 0, 100, 3};
    EXPECT_EQ(PGAutoScrolled(S, -1, -1, 50, 50), (TPGPoint{5, 0}));
    EXPECT_EQ(PGAutoScrolled(S, 50, 50, 50, 50), (TPGPoint{15, 3}));
    EXPECT_EQ(PGAutoScrolled(S, 25, 25, 50, 50), (TPGPoint{10, 0}));
    EXPECT_EQ(PGAutoScrolled({2, 0, 0, 0}, -1, 0, 50, 50), (TPGPoint{0, 0}));
}
