#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/mirrored_copy.h"

#include <gtest/gtest.h>

TEST(MirroredCopy, TurnsTrueColourAndPalettePicturesAround) {
    TPixelGraphic True;
    True.SetSize(3, 2, bc24);
    for (int Y = 0; Y < 2; ++Y) {
        for (int X = 0; X < 3; ++X) {
            True.SetPixel(X, Y, static_cast<std::uint32_t>(RGB(X * 50, Y * 90, 7)));
        }
    }
    const auto Both = PGMirroredCopy(True, true, true);
    ASSERT_EQ(Both->Width(), 3);
    ASSERT_EQ(Both->BitCount(), bc24);
    for (int Y = 0; Y < 2; ++Y) {
        for (int X = 0; X < 3; ++X) {
            EXPECT_EQ(Both->Pixels(X, Y), True.Pixels(2 - X, 1 - Y));
        }
    }
    // An odd width of four-bit pixels, with its palette.
    TPixelGraphic Four;
    Four.SetSize(5, 3, bc4);
    Four.SetPaletteIdent(pSys16);
    for (int Y = 0; Y < 3; ++Y) {
        for (int X = 0; X < 5; ++X) {
            Four.SetPixel(X, Y, static_cast<std::uint32_t>((X + 5 * Y) % 16));
        }
    }
    const auto Across = PGMirroredCopy(Four, true, false);
    EXPECT_EQ(Across->PaletteIdent(), pSys16);
    const auto Down = PGMirroredCopy(Four, false, true);
    for (int Y = 0; Y < 3; ++Y) {
        for (int X = 0; X < 5; ++X) {
            EXPECT_EQ(Across->Pixels(X, Y), Four.Pixels(4 - X, Y));
            EXPECT_EQ(Down->Pixels(X, Y), Four.Pixels(X, 2 - Y));
        }
    }
    EXPECT_TRUE(PGMirroredCopy(TPixelGraphic(), true, true)->IsEmpty());
}
