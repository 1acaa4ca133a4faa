#include "image_test_util.h"
#include "pgraphic/image/pixel_graphic.h"
#include "reference_copy.h"

#include <gtest/gtest.h>

TEST(StretchRect, EveryModeMatchesThePlainFormulas) {
    std::mt19937 Rng(2);
    const auto Pick = [&Rng](int Lo, int Hi) {
        return Lo + static_cast<int>(Rng() % static_cast<unsigned>(Hi - Lo + 1));
    };
    for (const TStretchMode Mode : {smFast, smMedium, smPrecise}) {
        for (int Trial = 0; Trial < 60; ++Trial) {
            TPixelGraphic Source, Target, Expected;
            Source.SetSize(Pick(1, 29), Pick(1, 23), Trial % 5 == 0 ? bc8 : bc24);
            if (Source.BitCount() == bc8) {
                RandomPalette(Source, 256, Rng);
            }
            FillRandom(Source, Rng);
            Target.SetSize(Pick(1, 31), Pick(1, 19), Trial % 3 == 0 ? bc8 : bc24);
            if (Target.BitCount() == bc8) {
                RandomPalette(Target, 256, Rng);
            }
            FillRandom(Target, Rng);
            Target.SetStretchMode(Mode);
            Expected.CopyFrom(&Target);
            // Mostly the whole images, sometimes rectangles that stick out on any side.
            const bool Whole = Trial % 4 == 0;
            const int DX = Whole ? 0 : Pick(-6, 8), DY = Whole ? 0 : Pick(-6, 8);
            const int DW = Whole ? Target.Width() : Pick(1, 40),
                      DH = Whole ? Target.Height() : Pick(1, 30);
            const int SX = Whole ? 0 : Pick(-5, 10), SY = Whole ? 0 : Pick(-5, 10);
            const int SW = Whole ? Source.Width() : Pick(1, 35),
                      SH = Whole ? Source.Height() : Pick(1, 30);
            Target.StretchRect(DX, DY, DW, DH, SX, SY, SW, SH, Source);
            reference::StretchRect(Expected, DX, DY, DW, DH, SX, SY, SW, SH, Source);
            ASSERT_TRUE(SamePixels(Target, Expected))
                << "mode " << int(Mode) << " trial " << Trial << ": " << DX << "," << DY << " "
                << DW << "x" << DH << " from " << SX << "," << SY << " " << SW << "x" << SH;
        }
    }
}

TEST(StretchRect, OnePixelFillsTheTargetInEveryMode) {
    TPixelGraphic Source;
    Source.SetSize(1, 1, bc24);
    Source.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(200, 100, 50)));
    for (const TStretchMode Mode : {smFast, smMedium, smPrecise}) {
        TPixelGraphic Target;
        Target.SetSize(4, 4, bc24);
        Target.SetStretchMode(Mode);
        Target.StretchFrom(Source);
        for (int Y = 0; Y < 4; ++Y) {
            for (int X = 0; X < 4; ++X) {
                EXPECT_EQ(Target.PixelColors(X, Y), RGB(200, 100, 50)) << int(Mode);
            }
        }
    }
}

TEST(StretchRect, PreciseShrinkingAveragesPairs) {
    TPixelGraphic Source, Target;
    Source.SetSize(4, 1, bc24);
    const int Values[] = {10, 20, 101, 200};
    for (int X = 0; X < 4; ++X) {
        Source.SetPixel(X, 0, static_cast<std::uint32_t>(RGB(Values[X], 0, 255)));
    }
    Target.SetSize(2, 1, bc24);
    Target.StretchFrom(Source);
    EXPECT_EQ(Target.PixelColors(0, 0), RGB(15, 0, 255));
    EXPECT_EQ(Target.PixelColors(1, 0), RGB(150, 0, 255)); // (101 + 200) / 2 truncated

    // Halving a rectangle that reaches past the source's edges leaves the columns without a
    // source as they were.
    std::mt19937 Rng(9);
    TPixelGraphic Wide, Half, Expected;
    Wide.SetSize(16, 3, bc24);
    FillRandom(Wide, Rng);
    Half.SetSize(9, 3, bc24);
    FillRandom(Half, Rng);
    Expected.CopyFrom(&Half);
    Half.StretchRect(0, 0, 9, 3, -4, 0, 18, 3, Wide);
    reference::StretchRect(Expected, 0, 0, 9, 3, -4, 0, 18, 3, Wide);
    EXPECT_TRUE(SamePixels(Half, Expected));
}

TEST(StretchRect, EqualSizesCopy) {
    std::mt19937 Rng(3);
    TPixelGraphic Source, Target;
    Source.SetSize(5, 4, bc24);
    FillRandom(Source, Rng);
    Target.SetSize(5, 4, bc24);
    Target.StretchFrom(Source);
    EXPECT_TRUE(SamePixels(Target, Source));
}

TEST(StretchRect, EmptySourceRectanglesDrawNothing) {
    TPixelGraphic Source, Target;
    Source.SetSize(4, 4, bc24);
    Source.SetBackGroundColor(RGB(1, 2, 3));
    Source.Clear();
    Target.SetSize(4, 4, bc24);
    Target.StretchRect(0, 0, 4, 4, 0, 0, 0, 3, Source);
    Target.StretchRect(0, 0, 4, 4, 0, 0, -2, 3, Source);
    for (int Y = 0; Y < 4; ++Y) {
        for (int X = 0; X < 4; ++X) {
            EXPECT_EQ(Target.PixelColors(X, Y), 0);
        }
    }
}

TEST(StretchRect, AbortStopsAfterTheCurrentRow) {
    TPixelGraphic Source, Target;
    Source.SetSize(2, 2, bc24);
    Source.SetBackGroundColor(RGB(7, 7, 7));
    Source.Clear();
    Target.SetSize(4, 4, bc24);
    int Rows = 0, Ends = 0, Starts = 0;
    Target.OnProgressStart = [&](TObject*) { ++Starts; };
    Target.OnProgressEnd = [&](TObject*) { ++Ends; };
    Target.OnProgress = [&](TObject*, int Step, int Max, bool& Abort) {
        EXPECT_EQ(Max, 3);
        ++Rows;
        Abort = Step == 0;
    };
    Target.StretchFrom(Source);
    EXPECT_EQ(Rows, 1);
    EXPECT_EQ(Starts, 1);
    EXPECT_EQ(Ends, 1);
    EXPECT_EQ(Target.PixelColors(3, 0), RGB(7, 7, 7));
    EXPECT_EQ(Target.PixelColors(0, 1), 0);
}

TEST(StretchRect, LargeFactorsStayExact) {
    // A wide shrink makes long column sums; the result must still be the exact truncated mean.
    TPixelGraphic Source, Target;
    Source.SetSize(3001, 2, bc24);
    for (int X = 0; X < 3001; ++X) {
        Source.SetPixel(X, 0, static_cast<std::uint32_t>(RGB(X % 256, 255, 0)));
        Source.SetPixel(X, 1, static_cast<std::uint32_t>(RGB(X % 256, 255, 0)));
    }
    Target.SetSize(1, 1, bc24);
    Target.StretchFrom(Source);
    long long Sum = 0;
    for (int X = 0; X < 3001; ++X) {
        Sum += X % 256;
    }
    EXPECT_EQ(Target.PixelColors(0, 0), RGB(static_cast<int>(Sum / 3001), 255, 0));
}
