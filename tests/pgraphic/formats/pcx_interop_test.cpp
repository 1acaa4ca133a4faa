// PCX files written by netpbm and ImageMagick decode to the pixels those programs report.

#include "peer_image.h"

namespace {

class PcxInterop : public PeerTest {
protected:
    // Loads a peer's PCX file and compares it with what the peers decode.
    void Check(const std::string& File, TPGBitCount Format, bool AskImageMagick = true) {
        TPixelGraphic Image;
        Image.LoadFromFile(Path(File));
        EXPECT_EQ(Image.BitCount(), Format) << File;
        ExpectSamePixels(Image, PeerPixmap({"pcxtoppm", Path(File)}), File + " / pcxtoppm");
        if (AskImageMagick) {
            ExpectSamePixels(Image, ImageMagickPixels(Path(File)), File + " / ImageMagick");
        }
    }
};

} // namespace

TEST_F(PcxInterop, FilesWrittenByNetpbm) {
    VESPERA_REQUIRE_PEERS("ppmtopcx", "pcxtoppm", "pgmtopbm", "ppmtopgm", "convert");
    WriteSourcePixmap("true.ppm", 61, 17, 0);
    WriteSourcePixmap("few.ppm", 45, 13, 16);
    WriteSourcePixmap("many.ppm", 70, 9, 256);
    RunToFile({"ppmtopcx", Path("true.ppm")}, Path("true.pcx"));
    RunToFile({"ppmtopcx", Path("few.ppm")}, Path("few.pcx"));
    RunToFile({"ppmtopcx", Path("many.ppm")}, Path("many.pcx"));
    RunToFile({"ppmtopgm", Path("true.ppm")}, Path("grey.pgm"));
    RunToFile({"pgmtopbm", "-threshold", Path("grey.pgm")}, Path("mono.pbm"));
    RunToFile({"ppmtopcx", Path("mono.pbm")}, Path("mono.pcx"));
    Check("true.pcx", bc24);
    Check("few.pcx", bc4);
    Check("many.pcx", bc8);
    // ImageMagick shows netpbm's one-plane bitmaps inverted (set bits black), against the
    // black-and-white palette in the file's header; netpbm reads its own file as we do.
    Check("mono.pcx", bc1, false);
}

TEST_F(PcxInterop, FilesWrittenByImageMagick) {
    VESPERA_REQUIRE_PEERS("convert", "pcxtoppm");
    WriteSourcePixmap("true.ppm", 33, 21, 0);
    WriteSourcePixmap("many.ppm", 40, 25, 200);
    Run({"convert", Path("true.ppm"), Path("true.pcx")});
    Run({"convert", Path("many.ppm"), "-type", "Palette", Path("many.pcx")});
    Check("true.pcx", bc24);
    Check("many.pcx", bc8);
}
