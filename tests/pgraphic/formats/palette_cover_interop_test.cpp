// Pictures whose pixels use indices beyond their palette, converted into every format with a
// palette: each peer (netpbm, ImageMagick, PIL; netpbm and ImageMagick read PNG through libpng)
// must accept the files and see the colours we see, black for the missing entries.

#include "bmp_builder.h"
#include "peer_image.h"

namespace {

const TColor kRed = RGB(255, 0, 0);
const TColor kGreen = RGB(0, 255, 0);

// The netpbm programs that decode a file of an extension into an 8-bit pixmap.
std::vector<std::string> NetpbmDecoder(const std::string& Extension, const std::string& File) {
    const std::string Program = Extension == "bmp"   ? "bmptopnm"
                                : Extension == "png" ? "pngtopam"
                                : Extension == "tga" ? "tgatoppm"
                                                     : "tifftopnm";
    return {"sh", "-c", Program + " '" + File + "' | pamtopnm | pamdepth 255"};
}

class PaletteCoverInterop : public PeerTest {
protected:
    // Writes Image in every format with a palette and has every peer read the files back.
    void ExpectEveryPeerSeesTheImage(TPixelGraphic& Image, const std::string& What) {
        const std::string Python = PythonWithPil();
        for (const std::string Extension : {"bmp", "png", "tga", "tif"}) {
            const std::string File = Path(What + "." + Extension);
            Image.SaveToFile(File);
            const std::string Case = What + " as " + Extension;
            ExpectSamePixels(Image, PeerPixmap(NetpbmDecoder(Extension, File)), Case + " / netpbm");
            ExpectSamePixels(Image, ImageMagickPixels(File), Case + " / ImageMagick");
            if (!Python.empty()) {
                ExpectSamePixels(Image, PilPixels(Python, File), Case + " / PIL");
            }
        }
        if (Python.empty()) {
            GTEST_SKIP() << "no python3 with PIL is installed: PIL's part was left out";
        }
    }
};

} // namespace

TEST_F(PaletteCoverInterop, ConvertedFilesAreValidForEveryPeer) {
    VESPERA_REQUIRE_PEERS("convert", "bmptopnm", "pngtopam", "tgatoppm", "tifftopnm", "pamdepth");
    // An 8-bit file with two colours used and the pixels 00 01 05 C8.
    TBmpBuilder B;
    B.FileHeader().InfoHeader(4, 1, 8, 0, 0, 2).Color(255, 0, 0).Color(0, 255, 0);
    WriteFileBytes(Path("source.bmp"), B.Raw({0x00, 0x01, 0x05, 0xC8}).Bytes);
    TPixelGraphic Image;
    Image.LoadFromFile(Path("source.bmp"));
    EXPECT_EQ(Image.PixelColors(0, 0), kRed);
    EXPECT_EQ(Image.PixelColors(1, 0), kGreen);
    EXPECT_EQ(Image.PixelColors(2, 0), RGB(0, 0, 0));
    EXPECT_EQ(Image.PixelColors(3, 0), RGB(0, 0, 0));
    ExpectEveryPeerSeesTheImage(Image, "loaded");
}

TEST_F(PaletteCoverInterop, ImagesBuiltWithAShortPaletteAreWrittenValid) {
    VESPERA_REQUIRE_PEERS("convert", "bmptopnm", "pngtopam", "tgatoppm", "tifftopnm", "pamdepth");
    // Inside the library an index beyond the palette shows as entry 0; in the files the
    // written palette's black entries stand for them. Entry 0 is black here, so both agree.
    TPixelGraphic Image;
    Image.SetSize(4, 1, bc8);
    Image.SetPaletteCount(2);
    Image.SetPaletteColors(0, RGB(0, 0, 0));
    Image.SetPaletteColors(1, kGreen);
    for (int X = 0; X < 4; ++X) {
        Image.SetPixel(X, 0, std::vector<std::uint32_t>{1, 0, 7, 200}[static_cast<std::size_t>(X)]);
    }
    ExpectEveryPeerSeesTheImage(Image, "built");
}
