// Anymap files written by netpbm and ImageMagick decode to the pixels those programs report, and
// the files we write, plain and raw, are read back identically by them.

#include "peer_image.h"
#include "pgraphic/formats/pnm/pnm.h"

namespace {

class PnmInterop : public PeerTest {
protected:
    void Check(const std::string& File, TPGBitCount Format) {
        TPixelGraphic Image;
        Image.LoadFromFile(Path(File));
        EXPECT_EQ(Image.BitCount(), Format) << File;
        ExpectSamePixels(Image, ImageMagickPixels(Path(File)), File + " / ImageMagick");
        ExpectSamePixels(Image, NetpbmPixels(File), File + " / netpbm");
    }

    // The pixels netpbm reports: the file scaled to a maximum of 255.
    TPeerImage NetpbmPixels(const std::string& File) {
        return PeerPixmap({"pamdepth", "255", Path(File)});
    }

    // Our file as ImageMagick and netpbm read it.
    void CheckOurs(TPixelGraphic& Image, const std::string& File, bool Raw) {
        SetPxMBinary(Raw);
        try {
            Image.SaveToFile(Path(File));
        } catch (...) {
            SetPxMBinary(false);
            throw;
        }
        SetPxMBinary(false);
        const std::string What = File + (Raw ? " (raw)" : " (plain)");
        ExpectSamePixels(Image, ImageMagickPixels(Path(File)), What + " / ImageMagick");
        ExpectSamePixels(Image, NetpbmPixels(File), What + " / netpbm");
    }
};

void FillPattern(TPixelGraphic& Image) {
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            Image.SetPixel(X, Y,
                           static_cast<std::uint32_t>(X) * 2654435761u ^
                               static_cast<std::uint32_t>(Y) * 40503u);
        }
    }
}

} // namespace

TEST_F(PnmInterop, FilesWrittenByNetpbm) {
    VESPERA_REQUIRE_PEERS("convert", "pnmtoplainpnm", "ppmtopgm", "pgmtopbm", "pamdepth");
    WriteSourcePixmap("source.ppm", 53, 19, 0);
    RunToFile({"ppmtopgm", Path("source.ppm")}, Path("grey.pgm"));
    RunToFile({"pgmtopbm", "-threshold", Path("grey.pgm")}, Path("mono.pbm"));
    RunToFile({"pnmtoplainpnm", Path("source.ppm")}, Path("plain.ppm"));
    RunToFile({"pnmtoplainpnm", Path("grey.pgm")}, Path("plain.pgm"));
    RunToFile({"pnmtoplainpnm", Path("mono.pbm")}, Path("plain.pbm"));
    // Maxima that divide 255 scale exactly, whoever rounds how.
    RunToFile({"pamdepth", "15", Path("source.ppm")}, Path("depth15.ppm"));
    RunToFile({"pamdepth", "51", Path("grey.pgm")}, Path("depth51.pgm"));
    RunToFile({"pnmtoplainpnm", Path("depth15.ppm")}, Path("plain15.ppm"));
    Check("source.ppm", bc24);
    Check("grey.pgm", bc8);
    Check("mono.pbm", bc1);
    Check("plain.ppm", bc24);
    Check("plain.pgm", bc8);
    Check("depth15.ppm", bc24);
    Check("depth51.pgm", bc8);
    Check("plain15.ppm", bc24);
    // netpbm writes plain bitmaps without separators between the pixels; our number reader
    // takes each run of digits as one number, so such a file runs out of numbers.
    TPixelGraphic Image;
    try {
        Image.LoadFromFile(Path("plain.pbm"));
        ADD_FAILURE() << "read a plain bitmap without separators";
    } catch (const std::exception& E) {
        EXPECT_STREQ(E.what(), "PBM, PGM, PPM: Unexpected end of file");
    }
}

TEST_F(PnmInterop, SixteenBitFiles) {
    VESPERA_REQUIRE_PEERS("convert", "pamdepth", "pnmtoplainpnm", "ppmtopgm");
    WriteSourcePixmap("source.ppm", 9, 7, 0);
    RunToFile({"ppmtopgm", Path("source.ppm")}, Path("grey.pgm"));
    RunToFile({"pamdepth", "65535", Path("grey.pgm")}, Path("wide.pgm"));
    RunToFile({"pnmtoplainpnm", Path("wide.pgm")}, Path("plain_wide.pgm"));
    // Plain files of any maximum are read; raw samples of two bytes are not supported.
    Check("plain_wide.pgm", bc8);
    TPixelGraphic Image;
    try {
        Image.LoadFromFile(Path("wide.pgm"));
        ADD_FAILURE() << "a 16-bit raw graymap was read";
    } catch (const std::exception& E) {
        EXPECT_STREQ(E.what(), "PBM, PGM, PPM: Not supported subformat");
    }
}

TEST_F(PnmInterop, FilesWrittenByImageMagick) {
    VESPERA_REQUIRE_PEERS("convert", "pamdepth");
    WriteSourcePixmap("source.ppm", 41, 23, 0);
    Run({"convert", Path("source.ppm"), "-compress", "none", Path("plain.ppm")});
    Run({"convert", Path("source.ppm"), "-colorspace", "Gray", Path("grey.pgm")});
    Run({"convert", Path("source.ppm"), "-colorspace", "Gray", "-compress", "none",
         Path("plain.pgm")});
    Run({"convert", Path("source.ppm"), "-monochrome", Path("mono.pbm")});
    Run({"convert", Path("source.ppm"), "-monochrome", "-compress", "none", Path("plain.pbm")});
    Check("plain.ppm", bc24);
    Check("grey.pgm", bc8);
    Check("plain.pgm", bc8);
    Check("mono.pbm", bc1);
    Check("plain.pbm", bc1);
}

TEST_F(PnmInterop, OurFilesPlainAndRaw) {
    VESPERA_REQUIRE_PEERS("convert", "pamdepth");
    for (const bool Raw : {false, true}) {
        TPixelGraphic Image;
        Image.SetSize(67, 11, bc24);
        FillPattern(Image);
        CheckOurs(Image, "ours.ppm", Raw);
        Image.SetSize(67, 11, bc8);
        Image.SetPaletteIdent(pGray256);
        FillPattern(Image);
        CheckOurs(Image, "ours.pgm", Raw);
        Image.SetSize(67, 11, bc1);
        Image.SetPaletteIdent(pBlackWhite);
        FillPattern(Image);
        CheckOurs(Image, "ours.pbm", Raw);
    }
}
