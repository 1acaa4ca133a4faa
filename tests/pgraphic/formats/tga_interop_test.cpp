// Targa files written by netpbm and ImageMagick decode to the pixels those programs report, and
// the files we write are read back identically by them.

#include "peer_image.h"

namespace {

class TgaInterop : public PeerTest {
protected:
    void Check(const std::string& File, TPGBitCount Format) {
        TPixelGraphic Image;
        Image.LoadFromFile(Path(File));
        EXPECT_EQ(Image.BitCount(), Format) << File;
        ExpectSamePixels(Image, ImageMagickPixels(Path(File)), File + " / ImageMagick");
        ExpectSamePixels(Image, PeerPixmap({"tgatoppm", Path(File)}), File + " / tgatoppm");
    }
};

} // namespace

TEST_F(TgaInterop, FilesWrittenByNetpbm) {
    VESPERA_REQUIRE_PEERS("convert", "pamtotga", "tgatoppm", "ppmtopgm");
    WriteSourcePixmap("true.ppm", 150, 13, 0);
    WriteSourcePixmap("few.ppm", 133, 9, 200);
    WriteSourcePixmap("flat.ppm", 300, 3, 1); // runs as long as packets go
    RunToFile({"ppmtopgm", Path("true.ppm")}, Path("grey.pgm"));
    RunToFile({"pamtotga", Path("true.ppm")}, Path("rle.tga"));
    RunToFile({"pamtotga", "-norle", Path("true.ppm")}, Path("true.tga"));
    RunToFile({"pamtotga", "-cmap", Path("few.ppm")}, Path("mapped_rle.tga"));
    RunToFile({"pamtotga", "-cmap", "-norle", Path("few.ppm")}, Path("mapped.tga"));
    RunToFile({"pamtotga", "-mono", Path("grey.pgm")}, Path("grey_rle.tga"));
    RunToFile({"pamtotga", "-mono", "-norle", Path("grey.pgm")}, Path("grey.tga"));
    RunToFile({"pamtotga", "-rgb", Path("flat.ppm")}, Path("flat.tga"));
    Check("rle.tga", bc24);
    Check("true.tga", bc24);
    Check("mapped_rle.tga", bc8);
    Check("mapped.tga", bc8);
    Check("grey_rle.tga", bc8);
    Check("grey.tga", bc8);
    Check("flat.tga", bc24);
}

TEST_F(TgaInterop, FilesWrittenByImageMagick) {
    VESPERA_REQUIRE_PEERS("convert", "tgatoppm");
    WriteSourcePixmap("true.ppm", 141, 17, 0);
    WriteSourcePixmap("few.ppm", 160, 11, 60);
    WriteSourcePixmap("flat.ppm", 290, 4, 1);
    Run({"convert", Path("true.ppm"), Path("true.tga")});
    Run({"convert", Path("flat.ppm"), "-compress", "RLE", Path("rle.tga")});
    Run({"convert", Path("few.ppm"), "-type", "Palette", Path("mapped.tga")});
    Run({"convert", Path("few.ppm"), "-type", "Palette", "-compress", "RLE",
         Path("mapped_rle.tga")});
    Run({"convert", Path("true.ppm"), "-colorspace", "Gray", Path("grey.tga")});
    Check("true.tga", bc24);
    Check("rle.tga", bc24);
    Check("mapped.tga", bc8);
    Check("mapped_rle.tga", bc8);
    Check("grey.tga", bc8);
}

TEST_F(TgaInterop, OurFilesInEveryWritableResolution) {
    VESPERA_REQUIRE_PEERS("convert", "tgatoppm");
    TPixelGraphic Image;
    Image.SetSize(97, 31, bc24);
    for (int Y = 0; Y < 31; ++Y) {
        for (int X = 0; X < 97; ++X) {
            Image.SetPixel(X, Y,
                           (static_cast<std::uint32_t>(X) * 2654435761u ^
                            static_cast<std::uint32_t>(Y) * 40503u) &
                               0xFFFFFF);
        }
    }
    Image.SaveToFile(Path("true.tga"));
    ExpectSamePixels(Image, ImageMagickPixels(Path("true.tga")), "true.tga / ImageMagick");
    ExpectSamePixels(Image, PeerPixmap({"tgatoppm", Path("true.tga")}), "true.tga / tgatoppm");

    TPixelGraphic Mapped;
    Mapped.SetSize(97, 31, bc8);
    Mapped.CreateOptimizedPalette(Image, 252, true);
    Mapped.StretchFrom(Image);
    Mapped.SaveToFile(Path("mapped.tga"));
    ExpectSamePixels(Mapped, ImageMagickPixels(Path("mapped.tga")), "mapped.tga / ImageMagick");
    ExpectSamePixels(Mapped, PeerPixmap({"tgatoppm", Path("mapped.tga")}), "mapped.tga / tgatoppm");
}
