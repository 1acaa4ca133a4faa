#include "image_test_util.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "reference_copy.h"

#include <gtest/gtest.h>

namespace {

// A target of the given format with a palette fit for it and random pixels.
void MakeTarget(TPixelGraphic& Image, int W, int H, TPGBitCount Format, TPaletteIdent Kind,
                std::mt19937& Rng) {
    Image.SetSize(W, H, Format);
    if (Format != bc24) {
        if (Kind == pUnknown) {
            RandomPalette(Image, Image.MaxPaletteCount(), Rng);
        } else {
            Image.SetPaletteIdent(Kind);
        }
    }
    FillRandom(Image, Rng);
}

struct TCopyCase {
    TPGBitCount SourceFormat, TargetFormat;
    TPaletteIdent TargetKind;
    bool Dither;
};

} // namespace

TEST(CopyRect, MatchesThePlainRulesForEveryFormatAndPlacement) {
    const TCopyCase Cases[] = {
        {bc24, bc24, pTrueColor, false}, {bc8, bc24, pTrueColor, false},
        {bc24, bc8, pUnknown, true},     {bc24, bc8, pUnknown, false},
        {bc24, bc4, pSys16, true},       {bc1, bc8, pGray256, true},
        {bc4, bc1, pBlackWhite, true},   {bc24, bc8, pSpecial252, true},
        {bc24, bc8, pGray236, true},
    };
    std::mt19937 Rng(1);
    for (const auto& Case : Cases) {
        for (int Trial = 0; Trial < 12; ++Trial) {
            TPixelGraphic Source, Target, Expected;
            MakeTarget(Source, 1 + static_cast<int>(Rng() % 23), 1 + static_cast<int>(Rng() % 17),
                       Case.SourceFormat, pUnknown, Rng);
            MakeTarget(Target, 1 + static_cast<int>(Rng() % 19), 1 + static_cast<int>(Rng() % 13),
                       Case.TargetFormat, Case.TargetKind, Rng);
            Target.SetDither(Case.Dither);
            Expected.CopyFrom(&Target);
            const auto Pick = [&Rng](int Lo, int Hi) {
                return Lo + static_cast<int>(Rng() % static_cast<unsigned>(Hi - Lo + 1));
            };
            const int DX = Pick(-8, 15), DY = Pick(-8, 10), W = Pick(0, 30), H = Pick(0, 20),
                      SX = Pick(-8, 20), SY = Pick(-8, 15);
            Target.CopyRect(DX, DY, W, H, SX, SY, Source);
            reference::CopyRect(Expected, DX, DY, W, H, SX, SY, Source);
            ASSERT_TRUE(SamePixels(Target, Expected))
                << "case " << (&Case - Cases) << " trial " << Trial << ": " << DX << "," << DY
                << " " << W << "x" << H << " from " << SX << "," << SY;
        }
    }
}

TEST(CopyRect, NotifiesOnceAndBracketsProgress) {
    TPixelGraphic Source, Target;
    Source.SetSize(4, 4, bc24);
    Target.SetSize(4, 4, bc24);
    std::vector<std::string> Events;
    Target.OnChange = [&](TObject*) { Events.push_back("change"); };
    Target.OnProgressStart = [&](TObject*) { Events.push_back("start"); };
    Target.OnProgressEnd = [&](TObject*) { Events.push_back("end"); };
    Target.OnProgress = [&](TObject*, int Step, int Max, bool&) {
        Events.push_back(std::to_string(Step) + "/" + std::to_string(Max));
    };
    Target.CopyRect(0, 1, 4, 2, 0, 0, Source);
    EXPECT_EQ(Events, (std::vector<std::string>{"start", "0/1", "1/1", "end", "change"}));

    // Without a common column only the notification.
    Events.clear();
    Target.CopyRect(0, 0, 4, 4, 10, 0, Source);
    EXPECT_EQ(Events, (std::vector<std::string>{"change"}));

    // Nothing at all with an empty image.
    Events.clear();
    TPixelGraphic Empty;
    Target.CopyRect(0, 0, 4, 4, 0, 0, Empty);
    EXPECT_TRUE(Events.empty());
}

TEST(CopyRect, AbortStopsAfterTheCurrentRow) {
    TPixelGraphic Source, Target;
    Source.SetSize(3, 5, bc24);
    Source.SetBackGroundColor(RGB(9, 9, 9));
    Source.Clear();
    Target.SetSize(3, 5, bc24);
    int Ends = 0, Changes = 0;
    Target.OnProgress = [](TObject*, int Step, int, bool& Abort) { Abort = Step == 1; };
    Target.OnProgressEnd = [&](TObject*) { ++Ends; };
    Target.OnChange = [&](TObject*) { ++Changes; };
    Target.CopyRect(0, 0, 3, 5, 0, 0, Source);
    for (int X = 0; X < 3; ++X) {
        EXPECT_EQ(Target.PixelColors(X, 0), RGB(9, 9, 9));
        EXPECT_EQ(Target.PixelColors(X, 1), RGB(9, 9, 9));
        EXPECT_EQ(Target.PixelColors(X, 2), 0);
    }
    EXPECT_EQ(Ends, 1);
    EXPECT_EQ(Changes, 1);
}

TEST(CopyRect, TrueColourIntoAPaletteImageWithoutPaletteFails) {
    TPixelGraphic Source, Target;
    Source.SetSize(2, 2, bc24);
    Target.SetSize(2, 2, bc8);
    Target.SetPaletteIdent(pNone);
    EXPECT_THROW(Target.CopyRect(0, 0, 2, 2, 0, 0, Source), EPixelGraphic);
}

// Whatever stops a copy, scaled or not, dithered or not, the progress it started is ended once
// before the failure goes on.
TEST(CopyRect, EveryProgressStartHasItsEndAlsoOnFailure) {
    struct TFailure {};
    for (const bool Scaled : {false, true}) {
        for (const bool Dither : {false, true}) {
            for (const bool HandlerFails : {false, true}) {
                SCOPED_TRACE(testing::Message() << "scaled " << Scaled << " dither " << Dither
                                                << " handler fails " << HandlerFails);
                TPixelGraphic Source, Target;
                Source.SetSize(3, 3, bc24);
                Target.SetSize(Scaled ? 5 : 3, Scaled ? 4 : 3, HandlerFails ? bc24 : bc8);
                Target.SetDither(Dither);
                if (!HandlerFails) {
                    Target.SetPaletteIdent(pNone); // "No palette" on the first pixel
                }
                int Starts = 0, Ends = 0;
                Target.OnProgressStart = [&](TObject*) { ++Starts; };
                Target.OnProgressEnd = [&](TObject*) { ++Ends; };
                Target.OnProgress = [&](TObject*, int, int, bool&) {
                    if (HandlerFails) {
                        throw TFailure{};
                    }
                };
                const auto Copy = [&] { Target.StretchFrom(Source); };
                if (HandlerFails) {
                    EXPECT_THROW(Copy(), TFailure);
                } else {
                    EXPECT_THROW(Copy(), EPGNoPalette);
                }
                EXPECT_EQ(Starts, 1);
                EXPECT_EQ(Ends, 1);
            }
        }
    }
}
