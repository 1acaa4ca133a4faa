#include "image_test_util.h"
#include "pgraphic/image/color_merge.h"
#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pixel_graphic.h"
#include "reference_octree.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

std::vector<TColor> Sys16() {
    const auto P = FixedPalette(pSys16);
    return {P.begin(), P.end()};
}

std::vector<TColor> Tail(const std::vector<TColor>& V, std::size_t N) {
    return {V.end() - static_cast<std::ptrdiff_t>(N), V.end()};
}

// A bc24 image whose pixels are the given colours, one per pixel in a row.
std::unique_ptr<TPixelGraphic> RowOf(const std::vector<TColor>& Colors) {
    auto Image = std::make_unique<TPixelGraphic>();
    Image->SetSize(static_cast<int>(Colors.size()), 1, bc24);
    for (std::size_t I = 0; I < Colors.size(); ++I) {
        Image->SetPixel(static_cast<int>(I), 0, static_cast<std::uint32_t>(Colors[I]));
    }
    return Image;
}

// A bc8 image with the given palette, using each entry Uses[i] times.
std::unique_ptr<TPixelGraphic> PaletteRow(const std::vector<TColor>& Palette,
                                          const std::vector<int>& Uses) {
    int Width = 0;
    for (const int U : Uses) {
        Width += U;
    }
    auto Image = std::make_unique<TPixelGraphic>();
    Image->SetSize(Width, 1, bc8);
    Image->SetPaletteCount(static_cast<int>(Palette.size()));
    for (std::size_t I = 0; I < Palette.size(); ++I) {
        Image->SetPaletteColors(static_cast<int>(I), Palette[I]);
    }
    int X = 0;
    for (std::size_t I = 0; I < Uses.size(); ++I) {
        for (int K = 0; K < Uses[I]; ++K) {
            Image->SetPixel(X++, 0, static_cast<std::uint32_t>(I));
        }
    }
    return Image;
}

} // namespace

TEST(OptimizedPalette, TrueColourGetsComputedColoursThenTheSystemColours) {
    std::mt19937 Rng(8);
    TPixelGraphic Source, Target;
    Source.SetSize(64, 64, bc24);
    FillRandom(Source, Rng);
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(Source, 256, true);
    EXPECT_EQ(Target.PaletteCount(), 256);
    EXPECT_EQ(Target.PaletteIdent(), pUnknown);
    EXPECT_EQ(Tail(Target.Palette(), 16), Sys16());

    const auto One = RowOf({RGB(100, 100, 100), RGB(100, 100, 100)});
    Target.CreateOptimizedPalette(*One, 256, true);
    ASSERT_EQ(Target.PaletteCount(), 17);
    EXPECT_EQ(Target.PaletteColors(0), RGB(100, 102, 100)); // the centre of its 5-6-5 cell
    EXPECT_EQ(Tail(Target.Palette(), 16), Sys16());
}

TEST(OptimizedPalette, EmptySourcesGiveTheSystemColours) {
    TPixelGraphic Empty, Target;
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(Empty, 256, true);
    EXPECT_EQ(Target.Palette(), Sys16());
    EXPECT_EQ(Target.PaletteIdent(), pSys16);
    Target.CreateOptimizedPalette(Empty, 8, false);
    const auto System = Sys16();
    EXPECT_EQ(Target.Palette(), std::vector<TColor>(System.begin(), System.begin() + 8));
    // Room only for the system colours: the same.
    const auto One = RowOf({RGB(1, 2, 3)});
    Target.CreateOptimizedPalette(*One, 16, true);
    EXPECT_EQ(Target.Palette(), Sys16());
}

TEST(OptimizedPalette, MedianCutSplitsTheWidestAxisAndAveragesCellCentres) {
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    // Black and white: the green extent is weighted heaviest, the split keeps black below.
    Target.CreateOptimizedPalette(*RowOf({RGB(0, 0, 0), RGB(255, 255, 255)}), 2, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(4, 2, 4), RGB(252, 254, 252)}));

    // One box: the count-weighted mean of the cell centres, rounded.
    Target.CreateOptimizedPalette(*RowOf({RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(8, 0, 0)}),
                                  1, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(6, 2, 4)}));

    // Blue wins the split when its extent outweighs green's: 16 * 31 > 12 * 20.
    Target.CreateOptimizedPalette(*RowOf({RGB(0, 0, 0), RGB(0, 80, 255)}), 2, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(4, 2, 4), RGB(4, 82, 252)}));

    // Never more colours than distinct cells.
    Target.CreateOptimizedPalette(*RowOf({RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 0)}), 200, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(4, 2, 4), RGB(252, 2, 4)}));
}

TEST(OptimizedPalette, MedianCutSplitsByCellCountFirstThenBySpread) {
    // 32 dark blues along the blue axis and one yellow. The first split (by cell count, the
    // only box) cuts green and isolates yellow; the second (by spread, boxes now more than half
    // the count) halves the blues.
    std::vector<TColor> Pixels;
    for (int B = 0; B < 256; B += 8) {
        Pixels.push_back(RGB(0, 0, B));
    }
    Pixels.push_back(RGB(255, 255, 0));
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(*RowOf(Pixels), 3, false);
    EXPECT_EQ(Target.Palette(),
              (std::vector<TColor>{RGB(4, 2, 64), RGB(252, 254, 4), RGB(4, 2, 192)}));
}

TEST(OptimizedPalette, HistogramAbortKeepsTheRowsCounted) {
    TPixelGraphic Source, Target;
    Source.SetSize(2, 3, bc24);
    Source.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(255, 0, 0)));
    Source.SetPixel(1, 0, static_cast<std::uint32_t>(RGB(255, 0, 0)));
    // Rows 1 and 2 are black; stopping after row 0 leaves only red.
    Target.SetSize(1, 1, bc8);
    std::vector<int> Steps;
    Target.OnProgress = [&](TObject* Sender, int Step, int Max, bool& Abort) {
        EXPECT_EQ(Sender, &Target);
        EXPECT_EQ(Max, 2);
        Steps.push_back(Step);
        Abort = true;
    };
    Target.CreateOptimizedPalette(Source, 4, false);
    EXPECT_EQ(Steps, std::vector<int>{0});
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(252, 2, 4)}));
}

TEST(OptimizedPalette, OctreeKeepsFewColoursExactlyInTreeOrder) {
    const auto Source =
        PaletteRow({RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)}, {3, 2, 1, 0});
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(*Source, 256, false);
    // Children by (red bit, green bit, blue bit): blue 1, green 2, red 4; unused entries ignored.
    EXPECT_EQ(Target.Palette(),
              (std::vector<TColor>{RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 0)}));
}

TEST(OctreePalette, TooFewLeavesGiveWayToTheClosestColoursMerged) {
    // Black and near black, white and near white. The fourth insertion lists the root (the
    // only node entered again while it had two children), and reducing it would fold the whole
    // tree into one weighted mean although two colours were allowed. Instead the closest pairs
    // of colours merge, each into its weighted mean, in tree order.
    const auto Source = PaletteRow(
        {RGB(0, 0, 0), RGB(0, 0, 1), RGB(255, 255, 255), RGB(255, 255, 254)}, {10, 1, 10, 1});
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(*Source, 2, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(0, 0, 0), RGB(255, 255, 254)}));
}

TEST(OptimizedPalette, OctreeNeverReturnsMoreColoursThanAskedFor) {
    // Two colours that share no branch list no node at all; the result must still fit.
    const auto Source = PaletteRow({RGB(0, 0, 0), RGB(255, 255, 255)}, {1, 3});
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(*Source, 1, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(191, 191, 191)}));

    std::mt19937 Rng(9);
    for (const int Count : {2, 5, 16, 100}) {
        TPixelGraphic Random;
        Random.SetSize(40, 40, bc8);
        RandomPalette(Random, 256, Rng);
        FillRandom(Random, Rng);
        Target.CreateOptimizedPalette(Random, Count, false);
        EXPECT_LE(Target.PaletteCount(), Count);
        EXPECT_GE(Target.PaletteCount(), 1);
    }
}

TEST(OctreePalette, SixColoursInAnEightBitSourceKeepAsManyEntriesAsAllowed) {
    const std::vector<TColor> Six = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                                     RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)};
    const auto Source = PaletteRow(Six, {5, 4, 3, 2, 1, 1});
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    for (int Count = 1; Count <= 8; ++Count) {
        Target.CreateOptimizedPalette(*Source, Count, false);
        EXPECT_EQ(Target.PaletteCount(), std::min(Count, 6)) << Count;
    }
    // All six fit: the colours themselves, in tree order.
    EXPECT_EQ(Target.Palette(),
              (std::vector<TColor>{RGB(0, 0, 255), RGB(0, 255, 0), RGB(0, 255, 255), RGB(255, 0, 0),
                                   RGB(255, 0, 255), RGB(255, 255, 0)}));
}

TEST(OctreePalette, MergingJoinsTheNearestPairIntoItsWeightedMean) {
    const auto Source = PaletteRow({RGB(200, 0, 0), RGB(0, 0, 0), RGB(0, 0, 10)}, {1, 3, 1});
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    Target.CreateOptimizedPalette(*Source, 2, false);
    EXPECT_EQ(Target.Palette(), (std::vector<TColor>{RGB(0, 0, 2), RGB(200, 0, 0)}));
}

TEST(OctreePalette, RandomColoursDoNotCollapse) {
    std::mt19937 Rng(16);
    TPixelGraphic Source;
    Source.SetSize(64, 64, bc8);
    RandomPalette(Source, 256, Rng);
    for (int I = 0; I < 256; ++I) {
        Source.SetPixel(I % 64, I / 64, static_cast<std::uint32_t>(I)); // every entry used
    }
    TPixelGraphic Target;
    Target.SetSize(1, 1, bc8);
    for (const int Count : {2, 16, 100, 236}) {
        Target.CreateOptimizedPalette(Source, Count, false);
        EXPECT_EQ(Target.PaletteCount(), Count);
    }
    Target.CreateOptimizedPalette(Source, 256, true);
    EXPECT_EQ(Target.PaletteCount(), 256);
    EXPECT_EQ(Tail(Target.Palette(), 16), Sys16());
}

// Wherever the literal rules give a palette of at least min(Count, distinct colours) and at
// most Count entries, that palette is the result, entry for entry; elsewhere the result still
// keeps within those bounds.
TEST(OctreePalette, ResultsThatFitAreTheLiteralRulesOnes) {
    std::mt19937 Rng(2024);
    int Fitting = 0, Mended = 0;
    for (int Trial = 0; Trial < 600; ++Trial) {
        const int Size = 1 + static_cast<int>(Rng() % 256);
        // Colours spread over the cube, clustered around a few centres, or on a coarse grid
        // (which repeats colours), so that trees of every shape are built.
        const int Kind = Trial % 3;
        std::vector<TColor> Centres;
        for (int I = 0; I < 4; ++I) {
            Centres.push_back(RandomColor(Rng));
        }
        std::vector<TColor> Palette;
        std::vector<int> Uses;
        for (int I = 0; I < Size; ++I) {
            TColor C = RandomColor(Rng);
            if (Kind == 1) {
                const TColor Centre = Centres[Rng() % 4];
                const auto Near = [&](int V) {
                    return std::clamp(V + static_cast<int>(Rng() % 9) - 4, 0, 255);
                };
                C = RGB(Near(GetRValue(Centre)), Near(GetGValue(Centre)), Near(GetBValue(Centre)));
            } else if (Kind == 2) {
                C = RGB(85 * (Rng() % 4), 85 * (Rng() % 4), 85 * (Rng() % 4));
            }
            Palette.push_back(C);
            Uses.push_back(static_cast<int>(Rng() % 4)); // some entries unused
        }
        Uses[0] = std::max(Uses[0], 1);
        const int Count = 1 + static_cast<int>(Rng() % (Trial % 2 == 0 ? 16 : 256));

        TReferenceOctree Literal(Count);
        std::set<TColor> Distinct;
        for (std::size_t I = 0; I < Palette.size(); ++I) {
            if (Uses[I] > 0) {
                Literal.Insert(Palette[I], static_cast<std::uint64_t>(Uses[I]));
                Distinct.insert(Palette[I]);
            }
        }
        const auto Expected = Literal.Colors();
        const int Least = std::min(Count, static_cast<int>(Distinct.size()));

        const auto Source = PaletteRow(Palette, Uses);
        TPixelGraphic Target;
        Target.SetSize(1, 1, bc8);
        Target.CreateOptimizedPalette(*Source, Count, false);
        SCOPED_TRACE(testing::Message() << "trial " << Trial << " count " << Count);
        if (static_cast<int>(Expected.size()) >= Least &&
            static_cast<int>(Expected.size()) <= Count) {
            ++Fitting;
            ASSERT_EQ(Target.Palette(), Expected);
        } else {
            ++Mended;
            EXPECT_GE(Target.PaletteCount(), Least);
            EXPECT_LE(Target.PaletteCount(), Count);
        }
    }
    EXPECT_GT(Fitting, 200);
    EXPECT_GT(Mended, 50);
}

// The merging keeps track of nearest pairs incrementally; it must give what merging the
// nearest pair of the current colours (the first pair on a tie) each time gives.
TEST(ColorMerge, MatchesMergingTheNearestPairEachTime) {
    std::mt19937 Rng(77);
    for (int Trial = 0; Trial < 500; ++Trial) {
        std::vector<TPGColorSum> Groups(1 + Rng() % 40);
        for (auto& G : Groups) {
            // Coarse levels on a line, in a plane or in space make equal distances, and so
            // ties, common.
            const auto Level = [&] { return static_cast<std::uint64_t>(16 * (Rng() % 5)); };
            G.Pixels = 1 + Rng() % 3;
            G.R = Level() * G.Pixels;
            G.G = Trial % 2 == 0 ? 0 : Level() * G.Pixels;
            G.B = Trial % 4 == 0 ? 0 : Level() * G.Pixels;
        }
        const int Count = 1 + static_cast<int>(Rng() % Groups.size());

        std::vector<TPGColorSum> Plain = Groups;
        while (static_cast<int>(Plain.size()) > Count) {
            std::size_t A = 0, B = 1;
            for (std::size_t I = 0; I < Plain.size(); ++I) {
                for (std::size_t J = I + 1; J < Plain.size(); ++J) {
                    if (SquaredDistance(Plain[I].Mean(), Plain[J].Mean()) <
                        SquaredDistance(Plain[A].Mean(), Plain[B].Mean())) {
                        A = I;
                        B = J;
                    }
                }
            }
            Plain[A].Add(Plain[B]);
            Plain.erase(Plain.begin() + static_cast<std::ptrdiff_t>(B));
        }
        std::vector<TColor> Expected;
        for (const auto& G : Plain) {
            Expected.push_back(G.Mean());
        }
        ASSERT_EQ(MergeClosestColors(Groups, Count), Expected) << "trial " << Trial;
    }
}
