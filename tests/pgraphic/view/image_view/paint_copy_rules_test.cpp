#include "pgraphic/view/image_view/paint_copy_rules.h"

#include <gtest/gtest.h>

namespace {

TPGPaintCopyQuery Picture(int Bits, TPaletteIdent Palette, int Screen) {
    TPGPaintCopyQuery Q;
    Q.ImageBits = Bits;
    Q.ImagePalette = Palette;
    Q.ImageWidth = Q.BoxWidth = 64;
    Q.ImageHeight = Q.BoxHeight = 48;
    Q.ScreenBits = Screen;
    return Q;
}

} // namespace

TEST(PaintCopyRules, TrueColourDisplayNeedsACopyOnlyToResample) {
    EXPECT_FALSE(PGPaintCopyNeed(Picture(24, pTrueColor, 24)).Needed);
    TPGPaintCopyQuery Q = Picture(24, pTrueColor, 24);
    Q.BoxWidth = 32;
    EXPECT_FALSE(PGPaintCopyNeed(Q).Needed); // smFast: the painter scales
    Q.StretchMode = smPrecise;
    EXPECT_TRUE(PGPaintCopyNeed(Q).Needed);
    EXPECT_TRUE(PGPaintCopyNeed(Q).Stretch);
    Q.BoxWidth = 64;
    EXPECT_FALSE(PGPaintCopyNeed(Q).Needed);
}

TEST(PaintCopyRules, PaletteDisplays) {
    EXPECT_TRUE(PGPaintCopyNeed(Picture(24, pTrueColor, 8)).Needed);
    // An 8-bit picture in the chosen palette, or with pSource chosen, is shown as it is.
    EXPECT_TRUE(PGPaintCopyNeed(Picture(8, pGray256, 8)).Needed);
    TPGPaintCopyQuery Same = Picture(8, pSpecial216, 8);
    Same.Palette8BitSys8BitGraphic = pSpecial216;
    EXPECT_FALSE(PGPaintCopyNeed(Same).Needed);
    TPGPaintCopyQuery Source = Picture(8, pUnknown, 8);
    Source.Palette8BitSys8BitGraphic = pSource;
    EXPECT_FALSE(PGPaintCopyNeed(Source).Needed);
    // Reduced on load: only an invalid copy is made again.
    TPGPaintCopyQuery Reduced = Picture(8, pUnknown, 8);
    Reduced.ReduceOnLoad = true;
    EXPECT_FALSE(PGPaintCopyNeed(Reduced).Needed);
    Reduced.Invalid = true;
    EXPECT_TRUE(PGPaintCopyNeed(Reduced).Needed);
    // 16 colours: only the system palette is shown directly.
    EXPECT_FALSE(PGPaintCopyNeed(Picture(4, pSys16, 4)).Needed);
    EXPECT_TRUE(PGPaintCopyNeed(Picture(4, pGray16, 4)).Needed);
    EXPECT_TRUE(PGPaintCopyNeed(Picture(8, pSys16, 4)).Needed);
    EXPECT_FALSE(PGPaintCopyNeed(Picture(1, pBlackWhite, 24)).Needed);
}

TEST(PaintCopyRules, TargetFormats) {
    const auto Sixteen = PGPaintTargetFormat(4, bc24, pOptimized252Sys16, pOptimized252Sys16);
    EXPECT_EQ(Sixteen.BitCount, bc4);
    EXPECT_EQ(Sixteen.PaletteIdent, pSys16);
    EXPECT_EQ(PGPaintTargetFormat(24, bc8, pSpecial216, pSource).BitCount, bc24);
    const auto Optimised = PGPaintTargetFormat(8, bc24, pOptimized252Sys16, pSource);
    EXPECT_EQ(Optimised.BitCount, bc8);
    EXPECT_TRUE(Optimised.OptimizePalette);
    EXPECT_FALSE(Optimised.PaletteIdent);
    EXPECT_EQ(PGPaintTargetFormat(8, bc24, pSpecial252, pSource).PaletteIdent, pSpecial252);
    EXPECT_EQ(PGPaintTargetFormat(8, bc8, pSpecial252, pGray256).PaletteIdent, pGray256);
    EXPECT_TRUE(PGPaintTargetFormat(8, bc4, pSpecial252, pOptimized252Sys16).OptimizePalette);
    EXPECT_TRUE(PGPaintTargetFormat(8, bc8, pSpecial252, pSource).CopyPalette);
    EXPECT_TRUE(PGStretchFirst(true, true, 8, pOptimized252Sys16));
    EXPECT_FALSE(PGStretchFirst(true, true, 4, pOptimized252Sys16));
    EXPECT_FALSE(PGStretchFirst(true, false, 8, pOptimized252Sys16));
    EXPECT_FALSE(PGStretchFirst(true, true, 8, pSpecial252));
}
