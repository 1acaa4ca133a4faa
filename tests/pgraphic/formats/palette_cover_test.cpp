// Pixels whose index lies beyond the palette of their file: after loading, the palette covers
// every index the pixels use, the missing entries black; and writers store a palette that covers
// the pixels, as their formats demand, also for an image built that way.

#include "bmp_builder.h"
#include "format_test_util.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>

namespace {

const TColor kRed = RGB(255, 0, 0);
const TColor kGreen = RGB(0, 255, 0);

// The palette must be Entries colours: red, green, then black.
void ExpectRedGreenThenBlack(const TPixelGraphic& Image, int Entries) {
    ASSERT_EQ(Image.PaletteCount(), Entries);
    EXPECT_EQ(Image.PaletteColors(0), kRed);
    EXPECT_EQ(Image.PaletteColors(1), kGreen);
    for (int I = 2; I < Entries; ++I) {
        ASSERT_EQ(Image.PaletteColors(I), RGB(0, 0, 0)) << I;
    }
}

// A 4 x 1 BMP of Bits bits with a palette of red and green (ClrUsed entries, 2 unless given) and
// the given row bytes.
TBytes Bmp(int Bits, const TBytes& Row, int Width = 4, std::uint32_t ClrUsed = 2) {
    TBmpBuilder B;
    B.FileHeader().InfoHeader(Width, 1, Bits, 0, 0, ClrUsed);
    B.Color(255, 0, 0);
    if (ClrUsed > 1) {
        B.Color(0, 255, 0);
    }
    return B.Raw(Row).Bytes;
}

// A 4 x 1 8-bit palette image with red and green and the pixels 0, 1, 5, 200, as no reader leaves
// it: the way an image built through the interface can be.
void ShortPaletteImage(TPixelGraphic& Image) {
    Image.SetSize(4, 1, bc8);
    Image.SetPaletteCount(2);
    Image.SetPaletteColors(0, kRed);
    Image.SetPaletteColors(1, kGreen);
    const std::uint32_t Pixels[] = {0, 1, 5, 200};
    for (int X = 0; X < 4; ++X) {
        Image.SetPixel(X, 0, Pixels[X]);
    }
}

std::uint32_t U16At(const TBytes& B, std::size_t At) {
    return B[At] | static_cast<std::uint32_t>(B[At + 1]) << 8;
}

} // namespace

TEST(PaletteCover, LoadedBmpPixelsBeyondThePaletteShowBlack) {
    TPixelGraphic Image;
    LoadBytes(Image, Bmp(8, {0x00, 0x01, 0x05, 0xC8}), "bmp");
    ExpectRedGreenThenBlack(Image, 0xC9);
    EXPECT_EQ(Image.PixelColors(1, 0), kGreen);
    EXPECT_EQ(Image.PixelColors(2, 0), RGB(0, 0, 0));
    EXPECT_EQ(Image.PixelColors(3, 0), RGB(0, 0, 0));

    // 4 bits: pixels 0, 15, 2, 1.
    LoadBytes(Image, Bmp(4, {0x0F, 0x21, 0, 0}), "bmp");
    ExpectRedGreenThenBlack(Image, 16);
    // 1 bit with one colour: a set pixel needs a second entry.
    LoadBytes(Image, Bmp(1, {0x40, 0, 0, 0}, 4, 1), "bmp");
    ASSERT_EQ(Image.PaletteCount(), 2);
    EXPECT_EQ(Image.PaletteColors(1), RGB(0, 0, 0));
}

TEST(PaletteCover, FillerBeyondTheRowIsNoPixel) {
    TPixelGraphic Image;
    // Three 8-bit pixels and a filler byte; three 4-bit pixels and a filler nibble.
    LoadBytes(Image, Bmp(8, {0x00, 0x01, 0x01, 0xFF}, 3), "bmp");
    EXPECT_EQ(Image.PaletteCount(), 2);
    LoadBytes(Image, Bmp(4, {0x01, 0x1F, 0, 0}, 3), "bmp");
    EXPECT_EQ(Image.PaletteCount(), 2);
}

TEST(PaletteCover, ShortTgaColourMapAndTiffColorMap) {
    TBytes Tga = {0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0, 4, 0, 1, 0, 8, 0};
    Tga.insert(Tga.end(), {0, 0, 255, 0, 255, 0}); // blue, green, red: red, green
    Tga.insert(Tga.end(), {0x00, 0x01, 0x05, 0xC8});
    TPixelGraphic Image;
    LoadBytes(Image, Tga, "tga");
    ExpectRedGreenThenBlack(Image, 0xC9);

    TTiffBuilder B;
    const auto Strip = B.Data({0x00, 0x01, 0x05, 0xC8});
    B.Image(4, 1, {8}, 3, {Strip}, 1);
    B.Tag(320, 3, {65535, 0, 0, 65535, 0, 0}); // reds, greens, blues of two entries
    B.Directory();
    LoadBytes(Image, B.Bytes, "tif");
    ExpectRedGreenThenBlack(Image, 0xC9);
}

TEST(PaletteCover, PastedClipboardDataIsCoveredToo) {
    const TBytes File = Bmp(8, {0x00, 0x01, 0x05, 0xC8});
    const TBytes PackedDib(File.begin() + 14, File.end());
    TPixelGraphic Image;
    Image.PasteClipboardData(8, PackedDib.data(), PackedDib.size());
    ExpectRedGreenThenBlack(Image, 0xC9);
}

TEST(PaletteCover, WritersStoreAPaletteCoveringThePixels) {
    TPixelGraphic Image;
    ShortPaletteImage(Image);

    const TBytes Bmp = SaveBytes(Image, "bmp");
    EXPECT_EQ(U16At(Bmp, 46), 0xC9u); // colours used
    EXPECT_EQ(Bmp.size(), 54u + 4 * 0xC9 + 4);
    EXPECT_EQ(U16At(Bmp, 10), 54u + 4 * 0xC9); // where the pixels start
    std::uint32_t Format = 0;
    const auto Dib = Image.CopyClipboardData(Format);
    EXPECT_EQ(U16At(TBytes(Dib.begin(), Dib.end()), 32), 0xC9u);

    const TBytes Tga = SaveBytes(Image, "tga");
    EXPECT_EQ(U16At(Tga, 5), 0xC9u); // colour-map length
    EXPECT_EQ(Tga.size(), 18u + 3 * 0xC9 + 4);

    // Read back, the pixels beyond the image's palette are black, as the files say.
    for (const auto& [Bytes, Extension] : {std::pair{Bmp, "bmp"}, std::pair{Tga, "tga"}}) {
        TPixelGraphic Back;
        LoadBytes(Back, Bytes, Extension);
        ExpectRedGreenThenBlack(Back, 0xC9);
    }
    // The image itself is left as it was.
    EXPECT_EQ(Image.PaletteCount(), 2);
}
