#include "image_test_util.h"
#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pixel_graphic.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TPixelGraphic> PaletteImage(TPaletteIdent Kind) {
    auto Image = std::make_unique<TPixelGraphic>();
    Image->SetSize(1, 1, bc8);
    Image->SetPaletteIdent(Kind);
    return Image;
}

TColor Grey(int V) {
    return RGB(V, V, V);
}

} // namespace

TEST(GrayValue, WeightedAndPlain) {
    EXPECT_EQ(GrayValue(RGB(255, 255, 255), true), 765);
    EXPECT_EQ(GrayValue(RGB(255, 255, 255), false), 765);
    EXPECT_EQ(GrayValue(RGB(100, 0, 0), true), 89);
    EXPECT_EQ(GrayValue(RGB(0, 100, 0), true), 176);
    EXPECT_EQ(GrayValue(RGB(0, 0, 100), true), 34);
    EXPECT_EQ(GrayValue(RGB(1, 2, 3), false), 6);
}

TEST(NearestIndex, FixedFormulasAtTheirEdges) {
    auto BW = PaletteImage(pBlackWhite);
    BW->SetRGBWeighting(false);
    EXPECT_EQ(BW->NearestIndex(RGB(127, 127, 128)), 0); // grey sum 382
    EXPECT_EQ(BW->NearestIndex(RGB(127, 128, 128)), 1); // grey sum 383

    auto S125 = PaletteImage(pSpecial125);
    EXPECT_EQ(S125->NearestIndex(Grey(224)), 124);
    EXPECT_EQ(S125->NearestIndex(Grey(223)), 3 * 25 + 3 * 5 + 3);
    EXPECT_EQ(S125->NearestIndex(RGB(255, 0, 33)), 4 * 25 + 0 + 1);

    auto S216 = PaletteImage(pSpecial216);
    EXPECT_EQ(S216->NearestIndex(RGB(26, 0, 0)), 0);
    EXPECT_EQ(S216->NearestIndex(RGB(27, 0, 0)), 36);
    EXPECT_EQ(S216->NearestIndex(RGB(255, 255, 255)), 215);

    auto SysGray = PaletteImage(pSysGray4);
    SysGray->SetRGBWeighting(false);
    EXPECT_EQ(SysGray->NearestIndex(RGB(64, 64, 64)), 0); // 192
    EXPECT_EQ(SysGray->NearestIndex(RGB(64, 64, 65)), 1); // 193
    EXPECT_EQ(SysGray->NearestIndex(RGB(160, 160, 161)), 2);
    EXPECT_EQ(SysGray->NearestIndex(RGB(223, 224, 224)), 3); // 671 > 670
    EXPECT_EQ(SysGray->NearestIndex(RGB(223, 223, 224)), 2); // 670
    EXPECT_EQ(SysGray->NearestIndex(RGB(224, 224, 223)), 3); // 671

    auto Gray4 = PaletteImage(pGray4);
    EXPECT_EQ(Gray4->NearestIndex(Grey(42)), 0);
    EXPECT_EQ(Gray4->NearestIndex(Grey(43)), 1);
    auto Gray16 = PaletteImage(pGray16);
    EXPECT_EQ(Gray16->NearestIndex(Grey(255)), 15);
    EXPECT_EQ(Gray16->NearestIndex(Grey(8)), 0);
    EXPECT_EQ(Gray16->NearestIndex(Grey(9)), 1);
    auto Gray256 = PaletteImage(pGray256);
    for (int V = 0; V < 256; ++V) {
        EXPECT_EQ(Gray256->NearestIndex(Grey(V)), V);
    }
}

TEST(NearestIndex, GreyPalettesFindTheNearestLevel) {
    auto Gray236 = PaletteImage(pGray236);
    Gray236->SetRGBWeighting(false);
    const auto Levels = FixedPalette(pGray236);
    for (int Sum = 0; Sum <= 765; ++Sum) {
        const TColor C = RGB(Sum / 3, Sum / 3 + (Sum % 3 > 0), Sum / 3 + (Sum % 3 > 1));
        ASSERT_EQ(GrayValue(C, false), Sum);
        // Brute force: level nearest to Sum / 3, the lower index on a tie.
        int Best = 0;
        for (int I = 1; I < 236; ++I) {
            if (std::abs(3 * GetRValue(Levels[static_cast<std::size_t>(I)]) - Sum) <
                std::abs(3 * GetRValue(Levels[static_cast<std::size_t>(Best)]) - Sum)) {
                Best = I;
            }
        }
        EXPECT_EQ(Gray236->NearestIndex(C), Best) << "grey sum " << Sum;
    }
}

TEST(NearestIndex, System16UsesItsCandidateTable) {
    auto Sys16 = PaletteImage(pSys16);
    EXPECT_EQ(Sys16->NearestIndex(RGB(0, 0, 0)), 0);
    EXPECT_EQ(Sys16->NearestIndex(RGB(255, 255, 255)), 15);
    EXPECT_EQ(Sys16->NearestIndex(RGB(192, 192, 192)), 7);
    EXPECT_EQ(Sys16->NearestIndex(RGB(130, 128, 126)), 8);
    EXPECT_EQ(Sys16->NearestIndex(RGB(255, 0, 0)), 9);
    // Key 27 (R 1, G 2, B 3) offers 7, 8 and 14 in turn, each taken only when strictly nearer.
    EXPECT_EQ(Sys16->NearestIndex(RGB(100, 160, 250)), 7);
    EXPECT_EQ(Sys16->NearestIndex(RGB(64, 128, 255)), 8); // 14 is as near, not nearer
    EXPECT_EQ(Sys16->NearestIndex(RGB(64, 191, 255)), 14);
    // The candidates are the whole story: key 1 only offers 4 (navy), even for a colour
    // that lies as near to black.
    EXPECT_EQ(Sys16->NearestIndex(RGB(0, 0, 64)), 4);
}

TEST(NearestIndex, Special252AlwaysFindsAnEntryAtLeastDistance) {
    auto Special = PaletteImage(pSpecial252);
    const auto Palette =
        std::vector<TColor>(FixedPalette(pSpecial252).begin(), FixedPalette(pSpecial252).end());
    std::mt19937 Rng(252);
    for (int I = 0; I < 200000; ++I) {
        const TColor C = RandomColor(Rng);
        const int Index = Special->NearestIndex(C);
        ASSERT_EQ(
            SquaredDistance(Palette[static_cast<std::size_t>(Index)], C),
            SquaredDistance(Palette[static_cast<std::size_t>(BruteForceNearest(Palette, C))], C))
            << std::hex << C;
    }
    // Lattice cell borders and the channel extremes.
    for (int R = 0; R < 256; R += 15) {
        for (int G = 0; G < 256; G += 16) {
            for (int B : {0, 15, 16, 17, 47, 48, 240, 255}) {
                const TColor C = RGB(R, G, B);
                ASSERT_EQ(Special->NearestIndex(C), BruteForceNearest(Palette, C));
            }
        }
    }
}

TEST(NearestIndex, UnknownWithoutCacheIsTheExactNearestLowestIndexFirst) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc8);
    Image.SetUseColorCache(false);
    std::mt19937 Rng(7);
    RandomPalette(Image, 256, Rng);
    Image.SetPaletteColors(200, Image.PaletteColors(10)); // a duplicate: index 10 must win
    for (int I = 0; I < 100000; ++I) {
        const TColor C = RandomColor(Rng);
        ASSERT_EQ(Image.NearestIndex(C), BruteForceNearest(Image.Palette(), C));
    }
    EXPECT_EQ(Image.NearestIndex(Image.PaletteColors(10)), 10);
}

// Reference model of the colour cache: the pre-filled cells, then the exact nearest entry of
// the first colour looked up in a cell for every later colour of that cell.
class TReferenceCache {
public:
    explicit TReferenceCache(const std::vector<TColor>& Palette) : FPalette(Palette) {
        FCells.assign(65536, -1);
        for (int Radius = 0; Radius <= 4; ++Radius) {
            for (std::size_t I = 0; I < Palette.size(); ++I) {
                const int R5 = GetRValue(Palette[I]) / 8, G6 = GetGValue(Palette[I]) / 4,
                          B5 = GetBValue(Palette[I]) / 8;
                for (int R = R5 - Radius; R <= R5 + Radius; ++R) {
                    for (int G = G6 - Radius; G <= G6 + Radius; ++G) {
                        for (int B = B5 - Radius; B <= B5 + Radius; ++B) {
                            const int Ring =
                                std::max({std::abs(R - R5), std::abs(G - G6), std::abs(B - B5)});
                            if (Ring != Radius || R < 0 || R > 31 || G < 0 || G > 63 || B < 0 ||
                                B > 31) {
                                continue;
                            }
                            int& Cell = FCells[static_cast<std::size_t>(R * 2048 + G * 32 + B)];
                            if (Cell < 0) {
                                Cell = static_cast<int>(I);
                            }
                        }
                    }
                }
            }
        }
    }

    int Lookup(TColor C) {
        int& Cell = FCells[static_cast<std::size_t>(GetRValue(C) / 8 * 2048 +
                                                    GetGValue(C) / 4 * 32 + GetBValue(C) / 8)];
        if (Cell < 0) {
            Cell = BruteForceNearest(FPalette, C);
        }
        return Cell;
    }

private:
    std::vector<TColor> FPalette;
    std::vector<int> FCells;
};

TEST(NearestIndex, UnknownWithCacheMatchesTheCacheModel) {
    for (const int Count : {2, 17, 256}) {
        TPixelGraphic Image;
        Image.SetSize(1, 1, bc8);
        std::mt19937 Rng(static_cast<unsigned>(Count));
        RandomPalette(Image, Count, Rng);
        TReferenceCache Reference(Image.Palette());
        for (int I = 0; I < 200000; ++I) {
            const TColor C = RandomColor(Rng);
            ASSERT_EQ(Image.NearestIndex(C), Reference.Lookup(C)) << Count << " " << std::hex << C;
        }
    }
}

TEST(NearestIndex, CacheAndMemoFollowPaletteChanges) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc8);
    Image.SetPaletteCount(2);
    Image.SetPaletteColors(0, RGB(0, 0, 0));
    Image.SetPaletteColors(1, RGB(255, 255, 255));
    EXPECT_EQ(Image.NearestIndex(RGB(200, 200, 200)), 1);
    Image.SetPaletteColors(0, RGB(200, 200, 200));
    EXPECT_EQ(Image.NearestIndex(RGB(200, 200, 200)), 0); // memo and cache were dropped
    Image.SetPaletteCount(1);
    EXPECT_EQ(Image.NearestIndex(RGB(255, 255, 255)), 0);

    // The memo knows weighting changes.
    auto Gray = PaletteImage(pGray256);
    EXPECT_EQ(Gray->NearestIndex(RGB(0, 255, 0)), (GrayValue(RGB(0, 255, 0), true) + 1) / 3);
    Gray->SetRGBWeighting(false);
    EXPECT_EQ(Gray->NearestIndex(RGB(0, 255, 0)), 85);
}

// The cache holds one byte per cell, too small for the indices of a longer palette: such a
// palette is searched exactly, with or without the cache.
TEST(NearestIndex, PalettesBeyond256EntriesGetTheirExactIndex) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc8);
    std::mt19937 Rng(299);
    RandomPalette(Image, 300, Rng);
    Image.SetPaletteColors(299, RGB(1, 2, 3));
    ASSERT_TRUE(Image.UseColorCache());
    EXPECT_EQ(Image.NearestIndex(RGB(1, 2, 3)), 299);
    for (int I = 0; I < 20000; ++I) {
        const TColor C = RandomColor(Rng);
        ASSERT_EQ(Image.NearestIndex(C), BruteForceNearest(Image.Palette(), C)) << std::hex << C;
    }
    // Back at 256 entries the cache serves again, as its model says.
    Image.SetPaletteCount(256);
    TReferenceCache Reference(Image.Palette());
    for (int I = 0; I < 20000; ++I) {
        const TColor C = RandomColor(Rng);
        ASSERT_EQ(Image.NearestIndex(C), Reference.Lookup(C)) << std::hex << C;
    }
}
