// TIFF files written by ImageMagick, netpbm and libtiff's tiffcp decode to the pixels those
// programs report, and the files we write are read back identically by them and pass tiffinfo
// without warnings.

#include "peer_image.h"
#include "pgraphic/formats/tiff/tiff.h"

namespace {

class TiffInterop : public PeerTest {
protected:
    void TearDown() override {
        SetTIFFCompression(1);
        SetTIFFBigEndian(false);
        SetTIFFWhiteIsZero(false);
        SetTIFFWriteCMYK(false);
        SetTIFFMultiImage(false);
        PeerTest::TearDown();
    }

    // Our decode of a file equals ImageMagick's.
    void Check(const std::string& File) {
        TPixelGraphic Image;
        Image.LoadFromFile(Path(File));
        ExpectSamePixels(Image, ImageMagickPixels(Path(File)), File);
    }

    // tiffinfo reads the file without a word on standard error.
    void ExpectTiffinfoQuiet(const std::string& File) {
        const TProcessResult Result = RunProcess({"tiffinfo", Path(File)});
        EXPECT_EQ(Result.ExitCode, 0) << File;
        EXPECT_EQ(Result.Err, "") << File;
    }

    // The pixels libtiff's own decoder reports (tiff2rgba), read from its RGBA file.
    TPeerImage LibtiffPixels(const std::string& File) {
        const std::string Rgba = File + ".rgba.tif";
        Run({"tiff2rgba", "-c", "none", Path(File), Path(Rgba)});
        return ImageMagickPixels(Path(Rgba));
    }

    // The raw samples ImageMagick decodes from a CMYK file, four per pixel.
    std::string CmykSamples(const std::string& File) {
        return RunProcess({"convert", Path(File), "-depth", "8", "cmyk:-"}).Out;
    }
};

// An image of every writable colour resolution with a pattern that has runs and noise.
void FillPattern(TPixelGraphic& Image, TPGBitCount Depth, TPaletteIdent Ident) {
    Image.SetSize(61, 29, Depth);
    if (Ident == pUnknown) {
        Image.SetPaletteCount(Image.MaxPaletteCount());
        for (int I = 0; I < Image.PaletteCount(); ++I) {
            Image.SetPaletteColors(I, RGB(I * 37, 255 - I * 5, I * 131 + 7));
        }
    } else if (Depth != bc24) {
        Image.SetPaletteIdent(Ident);
    }
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            const auto V = static_cast<std::uint32_t>(X < 20 ? Y * 3 : X * 91 + Y * 17 + X * Y);
            Image.SetPixel(X, Y, Depth == bc24 ? V * 2654435761u & 0xFFFFFF : (V & 0xFF) % 256);
        }
    }
}

} // namespace

TEST_F(TiffInterop, FilesWrittenByImageMagick) {
    VESPERA_REQUIRE_PEERS("convert");
    WriteSourcePixmap("true.ppm", 67, 23, 0);
    WriteSourcePixmap("few.ppm", 45, 19, 12);
    WriteSourcePixmap("many.ppm", 52, 21, 180);
    const std::vector<std::pair<std::string, std::vector<std::string>>> Cases = {
        {"rgb.tif", {"true.ppm", "-compress", "None"}},
        {"rgb_packbits.tif", {"true.ppm", "-compress", "RLE"}}, // PackBits in a TIFF
        {"rgb_msb.tif", {"true.ppm", "-endian", "MSB", "-compress", "RLE"}},
        {"rgba.tif", {"true.ppm", "-alpha", "set", "-channel", "A", "-fx", "0.5"}},
        {"palette8.tif", {"many.ppm", "-type", "Palette"}},
        {"palette4.tif", {"few.ppm", "-type", "Palette", "-compress", "RLE"}},
        {"grey8.tif", {"true.ppm", "-colorspace", "Gray"}},
        {"grey4.tif", {"true.ppm", "-colorspace", "Gray", "-depth", "4"}},
        {"bilevel.tif", {"true.ppm", "-monochrome", "-depth", "1"}},
    };
    for (const auto& [Name, Arguments] : Cases) {
        std::vector<std::string> Argv = {"convert", Path(Arguments[0])};
        Argv.insert(Argv.end(), Arguments.begin() + 1, Arguments.end());
        Argv.push_back(Path(Name));
        Run(Argv);
        Check(Name);
    }
}

TEST_F(TiffInterop, MinIsWhiteFilesWrittenByNetpbm) {
    VESPERA_REQUIRE_PEERS("convert", "pnmtotiff", "ppmtopgm", "pamthreshold");
    WriteSourcePixmap("true.ppm", 43, 17, 0);
    RunToFile({"ppmtopgm", Path("true.ppm")}, Path("grey.pgm"));
    RunToFile({"pamthreshold", Path("grey.pgm")}, Path("bits.pam"));
    RunToFile({"pnmtotiff", "-miniswhite", Path("grey.pgm")}, Path("white8.tif"));
    RunToFile({"pnmtotiff", "-miniswhite", "-packbits", Path("bits.pam")}, Path("white1.tif"));
    Check("white8.tif");
    Check("white1.tif");
}

TEST_F(TiffInterop, TiffcpByteOrdersCompressionsAndStrips) {
    VESPERA_REQUIRE_PEERS("convert", "tiffcp");
    WriteSourcePixmap("true.ppm", 75, 31, 0);
    WriteSourcePixmap("few.ppm", 75, 31, 200);
    Run({"convert", Path("true.ppm"), Path("rgb.tif")});
    Run({"convert", Path("few.ppm"), "-type", "Palette", Path("palette.tif")});
    Run({"convert", Path("true.ppm"), "-colorspace", "Gray", "-depth", "4", Path("grey4.tif")});
    Run({"convert", Path("true.ppm"), "-monochrome", "-depth", "1", Path("bilevel.tif")});
    const std::vector<std::vector<std::string>> Variants = {
        {"-c", "none"},       {"-c", "packbits"},
        {"-B", "-c", "none"}, {"-B", "-c", "packbits"},
        {"-r", "1"},          {"-r", "7", "-c", "packbits"},
        {"-B", "-r", "16"},   {"-r", "64", "-c", "packbits"}};
    int Count = 0;
    for (const std::string Base : {"rgb.tif", "palette.tif", "grey4.tif", "bilevel.tif"}) {
        for (const auto& Options : Variants) {
            const std::string Name = "cp" + std::to_string(Count++) + ".tif";
            std::vector<std::string> Argv = {"tiffcp"};
            Argv.insert(Argv.end(), Options.begin(), Options.end());
            Argv.push_back(Path(Base));
            Argv.push_back(Path(Name));
            Run(Argv);
            SCOPED_TRACE(Base + " " + ::testing::PrintToString(Options));
            Check(Name);
        }
    }
}

TEST_F(TiffInterop, CmykFilesReadByTheAdditiveRule) {
    VESPERA_REQUIRE_PEERS("convert");
    WriteSourcePixmap("true.ppm", 33, 14, 0);
    Run({"convert", Path("true.ppm"), "-colorspace", "CMYK", Path("cmyk.tif")});
    const std::string Samples = CmykSamples("cmyk.tif");
    TPixelGraphic Image;
    Image.LoadFromFile(Path("cmyk.tif"));
    ASSERT_EQ(Samples.size(), 4u * 33 * 14);
    for (int Y = 0; Y < 14; ++Y) {
        for (int X = 0; X < 33; ++X) {
            const auto* S =
                reinterpret_cast<const std::uint8_t*>(Samples.data()) + 4 * (Y * 33 + X);
            const auto Channel = [&](int Ink) { return std::max(255 - Ink - S[3], 0); };
            ASSERT_EQ(Image.PixelColors(X, Y), RGB(Channel(S[0]), Channel(S[1]), Channel(S[2])))
                << X << "," << Y;
        }
    }
}

TEST_F(TiffInterop, OurFilesReadIdenticallyByImageMagickAndQuietInTiffinfo) {
    VESPERA_REQUIRE_PEERS("convert", "tiffinfo", "tiff2rgba");
    const std::pair<TPGBitCount, TPaletteIdent> Kinds[] = {
        {bc1, pBlackWhite}, {bc4, pGray16},  {bc4, pSys16},     {bc4, pUnknown},
        {bc8, pGray256},    {bc8, pUnknown}, {bc24, pTrueColor}};
    int Count = 0;
    for (const auto& [Depth, Ident] : Kinds) {
        for (const std::uint32_t Compression : {1u, 32773u}) {
            for (const bool BigEndian : {false, true}) {
                for (const bool WhiteIsZero : {false, true}) {
                    SetTIFFCompression(Compression);
                    SetTIFFBigEndian(BigEndian);
                    SetTIFFWhiteIsZero(WhiteIsZero);
                    TPixelGraphic Image;
                    FillPattern(Image, Depth, Ident);
                    const std::string Name = "ours" + std::to_string(Count++) + ".tif";
                    Image.SaveToFile(Path(Name));
                    SCOPED_TRACE(::testing::Message()
                                 << Name << ": depth " << static_cast<int>(Depth) << ", palette "
                                 << static_cast<int>(Ident) << ", compression " << Compression
                                 << ", big-endian " << BigEndian << ", white is zero "
                                 << WhiteIsZero);
                    ExpectTiffinfoQuiet(Name);
                    ExpectSamePixels(Image, LibtiffPixels(Name), Name + " / libtiff");
                    // ImageMagick 6 reads 4-bit WhiteIsZero data as if it were BlackIsZero
                    // (netpbm's files of that kind too), so it is asked only about the rest.
                    if (!(Depth == bc4 && WhiteIsZero && Ident == pGray16)) {
                        ExpectSamePixels(Image, ImageMagickPixels(Path(Name)),
                                         Name + " / ImageMagick");
                    }
                }
            }
        }
    }
}

TEST_F(TiffInterop, OurCmykAndMultiImageFiles) {
    VESPERA_REQUIRE_PEERS("convert", "identify", "tiffinfo");
    SetTIFFWriteCMYK(true);
    TPixelGraphic Colour;
    FillPattern(Colour, bc24, pTrueColor);
    for (const std::uint32_t Compression : {1u, 32773u}) {
        SetTIFFCompression(Compression);
        Colour.SaveToFile(Path("cmyk.tif"));
        ExpectTiffinfoQuiet("cmyk.tif");
        const std::string Samples = CmykSamples("cmyk.tif");
        ASSERT_EQ(Samples.size(), 4u * 61 * 29);
        for (int Y = 0; Y < 29; ++Y) {
            for (int X = 0; X < 61; ++X) {
                const TColor C = Colour.PixelColors(X, Y);
                const int Cyan = 255 - GetRValue(C), Magenta = 255 - GetGValue(C),
                          Yellow = 255 - GetBValue(C);
                const int K = std::min({Cyan, Magenta, Yellow});
                const auto* S =
                    reinterpret_cast<const std::uint8_t*>(Samples.data()) + 4 * (Y * 61 + X);
                ASSERT_EQ((std::vector<int>{S[0], S[1], S[2], S[3]}),
                          (std::vector<int>{Cyan - K, Magenta - K, Yellow - K, K}))
                    << X << "," << Y;
            }
        }
    }
    SetTIFFWriteCMYK(false);

    // Three images of different kinds in one file, the writer's own multi-image protocol.
    TPixelGraphic Images[3];
    FillPattern(Images[0], bc8, pGray256);
    FillPattern(Images[1], bc24, pTrueColor);
    FillPattern(Images[2], bc4, pSys16);
    {
        TFileStream File(Path("three.tif"), TFileMode::fmCreate);
        TTIFFileFormatWriter Writer;
        Writer.BeginFile(File);
        for (TPixelGraphic& Image : Images) {
            Writer.AddImage(File, Image);
        }
        Writer.EndFile(File);
    }
    ExpectTiffinfoQuiet("three.tif");
    EXPECT_EQ(RunProcess({"identify", Path("three.tif")}).Out.find("three.tif[2]") !=
                  std::string::npos,
              true);
    SetTIFFMultiImage(true);
    for (int I = 0; I < 3; ++I) {
        TPixelGraphic Back;
        Back.LoadFromFileExt(Path("three.tif"), I);
        ExpectSamePixels(Images[I],
                         ImageMagickPixels(Path("three.tif") + "[" + std::to_string(I) + "]"),
                         "image " + std::to_string(I));
        ExpectSamePixels(Back, ImageMagickPixels(Path("three.tif") + "[" + std::to_string(I) + "]"),
                         "ours, image " + std::to_string(I));
    }
}
