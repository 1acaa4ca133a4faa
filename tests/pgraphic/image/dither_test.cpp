#include "image_test_util.h"
#include "pgraphic/image/color_writer.h"
#include "pgraphic/image/pixel_graphic.h"
#include "reference_copy.h"

#include <gtest/gtest.h>

TEST(ErrorLimit, TablesFollowTheKneeRules) {
    const auto Plain = BuildErrorLimitTable(false, 255);
    for (int E = -255; E <= 255; ++E) {
        EXPECT_EQ(Plain[static_cast<std::size_t>(E + 255)], E);
    }
    const auto Hard = BuildErrorLimitTable(false, 32);
    EXPECT_EQ(Hard[255 + 31], 31);
    EXPECT_EQ(Hard[255 + 32], 32);
    EXPECT_EQ(Hard[255 + 200], 32);
    EXPECT_EQ(Hard[255 - 200], -32);
    const auto Soft = BuildErrorLimitTable(true, 32);
    EXPECT_EQ(Soft[255 + 15], 15);
    EXPECT_EQ(Soft[255 + 16], 16); // 16 / 2 + 8
    EXPECT_EQ(Soft[255 + 30], 23); // 30 / 2 + 8
    EXPECT_EQ(Soft[255 + 48], 32); // 48 / 2 + 8
    EXPECT_EQ(Soft[255 + 49], 32);
    EXPECT_EQ(Soft[255 - 30], -23);
    // The soft knee of the widest limit stops short of the last entry.
    const auto Wide = BuildErrorLimitTable(true, 255);
    EXPECT_EQ(Wide[255 + 254], 254 / 2 + 63);
    EXPECT_EQ(Wide[255 + 255], 255);
}

TEST(ErrorLimit, EveryTableMatchesTheRulesEntryByEntry) {
    for (const bool Soft : {false, true}) {
        for (int Limit = 0; Limit <= 255; ++Limit) {
            const auto Table = BuildErrorLimitTable(Soft, Limit);
            for (int E = -255; E <= 255; ++E) {
                ASSERT_EQ(Table[static_cast<std::size_t>(E + 255)],
                          reference::LimitedError(Soft, Limit, E))
                    << "soft " << Soft << " limit " << Limit << " error " << E;
            }
        }
    }
}

TEST(ErrorLimit, AutomaticLimitFollowsThePaletteKind) {
    for (const TPaletteIdent Kind : {pBlackWhite, pSysGray4, pSys16, pGray4, pGray16, pGray236,
                                     pGray256, pSpecial125, pSpecial216, pSpecial252, pUnknown}) {
        TPixelGraphic Target;
        Target.SetSize(1, 1, bc8);
        Target.SetPaletteIdent(Kind);
        Target.SetDitherErrorLimitSoft(false); // not used with the automatic limit
        EXPECT_EQ(ErrorLimitFor(Target), reference::LimitFor(Target)) << static_cast<int>(Kind);
    }
}

TEST(ErrorLimit, AutomaticLimitOfTheGrey256PaletteIsTwo) {
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    Target.SetPaletteIdent(pGray256);
    const auto [Soft, Limit] = ErrorLimitFor(Target);
    const auto Table = BuildErrorLimitTable(Soft, Limit);
    for (const int Entry : Table) {
        EXPECT_LE(std::abs(Entry), 2);
    }
    Target.SetDitherErrorLimitAuto(false);
    Target.SetDitherErrorLimit(77);
    Target.SetDitherErrorLimitSoft(false);
    EXPECT_EQ(ErrorLimitFor(Target), (std::pair<bool, int>{false, 77}));
}

TEST(Dither, MidGreyBecomesAMixtureOfBlackAndWhite) {
    TPixelGraphic Source;
    Source.SetSize(16, 16, bc24);
    Source.SetBackGroundColor(RGB(128, 128, 128));
    Source.Clear();
    for (const bool Dither : {true, false}) {
        TPixelGraphic Target;
        Target.SetSize(16, 16, bc1);
        Target.SetPaletteIdent(pBlackWhite);
        Target.SetDither(Dither);
        Target.CopyRect(0, 0, 16, 16, 0, 0, Source);
        int White = 0;
        for (int Y = 0; Y < 16; ++Y) {
            for (int X = 0; X < 16; ++X) {
                White += static_cast<int>(Target.Pixels(X, Y));
            }
        }
        if (Dither) {
            EXPECT_GT(White, 256 / 2 - 20);
            EXPECT_LT(White, 256 / 2 + 20);
        } else {
            EXPECT_EQ(White, 256); // grey sum 384 rounds to white everywhere
        }
    }
}

TEST(Dither, SerpentineRowsMatchTheReferenceOnSmallImages) {
    std::mt19937 Rng(5);
    for (const TPaletteIdent Kind : {pUnknown, pSys16, pGray16, pSpecial216, pSpecial125}) {
        for (int Trial = 0; Trial < 10; ++Trial) {
            TPixelGraphic Source, Target, Expected;
            Source.SetSize(1 + static_cast<int>(Rng() % 9), 1 + static_cast<int>(Rng() % 7), bc24);
            FillRandom(Source, Rng);
            Target.SetSize(Source.Width(), Source.Height(), bc8);
            if (Kind == pUnknown) {
                RandomPalette(Target, 1 + static_cast<int>(Rng() % 40), Rng);
            } else {
                Target.SetPaletteIdent(Kind);
            }
            Target.SetRGBWeighting(Trial % 2 == 0);
            Target.SetDitherErrorLimitAuto(Trial % 3 != 0);
            Expected.CopyFrom(&Target);
            Target.CopyRect(0, 0, Source.Width(), Source.Height(), 0, 0, Source);
            reference::CopyRect(Expected, 0, 0, Source.Width(), Source.Height(), 0, 0, Source);
            ASSERT_TRUE(SamePixels(Target, Expected)) << int(Kind) << " " << Trial;
            // The copy leaves the colour cache as looking up each pixel does: later lookups of
            // colours near the picture's agree too.
            for (int I = 0; I < 400; ++I) {
                const TColor P = Source.PixelColors(static_cast<int>(Rng() % 9) % Source.Width(),
                                                    static_cast<int>(Rng() % 7) % Source.Height());
                const auto Near = [&Rng](int V) {
                    return std::clamp(V + static_cast<int>(Rng() % 25) - 12, 0, 255);
                };
                const TColor C = RGB(Near(GetRValue(P)), Near(GetGValue(P)), Near(GetBValue(P)));
                ASSERT_EQ(Target.NearestIndex(C), Expected.NearestIndex(C))
                    << int(Kind) << " " << I;
            }
        }
    }
}

TEST(Dither, GreyPalettesDiffuseOnlyTheGreyValue) {
    // A grey palette that is not one of the fixed kinds still takes the grey path.
    std::mt19937 Rng(6);
    TPixelGraphic Source, Target, Expected;
    Source.SetSize(12, 9, bc24);
    FillRandom(Source, Rng);
    Target.SetSize(12, 9, bc4);
    Target.SetPaletteCount(5);
    for (int I = 0; I < 5; ++I) {
        const int V = I * 60;
        Target.SetPaletteColors(I, RGB(V, V, V));
    }
    Expected.CopyFrom(&Target);
    Target.CopyRect(0, 0, 12, 9, 0, 0, Source);
    reference::CopyRect(Expected, 0, 0, 12, 9, 0, 0, Source);
    EXPECT_TRUE(SamePixels(Target, Expected));
    EXPECT_TRUE(Target.IsGrayPalette());
}
