// JPEG files written by libjpeg-turbo's cjpeg, ImageMagick and PIL decode exactly as djpeg decodes
// them (slow integer transform, or the fast one when the image asks for a fast read); our files
// are read back by djpeg, ImageMagick and PIL as we read them.

#include "peer_image.h"
#include "pgraphic/formats/jpeg/jpeg_settings.h"

namespace {

class JpegInterop : public PeerTest {
protected:
    // Our decode of File equals djpeg's with the matching transform.
    void Check(const std::string& File) {
        for (const bool Fast : {false, true}) {
            TPixelGraphic Image;
            Image.SetFastRead(Fast);
            Image.LoadFromFile(Path(File));
            ExpectSamePixels(
                Image, PeerPixmap({"djpeg", "-dct", Fast ? "fast" : "int", "-pnm", Path(File)}),
                File + (Fast ? " / djpeg -dct fast" : " / djpeg -dct int"));
        }
    }
};

// A smooth picture with some detail, as photographs are.
void Paint(TPixelGraphic& Image) {
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            const int Wave = (X * Y) % 37;
            Image.SetPixel(X, Y,
                           static_cast<std::uint32_t>(RGB(3 * X + Wave, 2 * Y + 40, 255 - X - Y)));
        }
    }
}

} // namespace

TEST_F(JpegInterop, FilesWrittenByCjpegDecodeAsDjpegDecodesThem) {
    VESPERA_REQUIRE_PEERS("cjpeg", "djpeg");
    WriteSourcePixmap("noise.ppm", 67, 45, 0);
    TPixelGraphic Smooth;
    Smooth.SetSize(83, 61, bc24);
    Paint(Smooth);
    Smooth.SaveToFile(Path("smooth.bmp"));
    const std::vector<std::vector<std::string>> Options = {
        {},
        {"-progressive"},
        {"-sample", "1x1"},
        {"-sample", "2x1"},
        {"-sample", "1x2", "-quality", "95"},
        {"-grayscale"},
        {"-grayscale", "-progressive"},
        {"-restart", "2"},
        {"-arithmetic"},
        {"-optimize", "-quality", "30"},
        {"-dct", "float", "-smooth", "10"},
        {"-rgb"},
        {"-baseline", "-quality", "5"},
    };
    int Serial = 0;
    for (const auto& Option : Options) {
        for (const char* Source : {"noise.ppm", "smooth.bmp"}) {
            std::vector<std::string> Argv = {"cjpeg"};
            Argv.insert(Argv.end(), Option.begin(), Option.end());
            Argv.push_back(Path(Source));
            const std::string File = "cjpeg" + std::to_string(Serial++) + ".jpg";
            RunToFile(Argv, Path(File));
            Check(File);
        }
    }
}

TEST_F(JpegInterop, FilesWrittenByImageMagickAndPil) {
    VESPERA_REQUIRE_PEERS("convert", "djpeg");
    WriteSourcePixmap("noise.ppm", 45, 29, 0);
    Run({"convert", Path("noise.ppm"), "-quality", "85", Path("im.jpg")});
    Run({"convert", Path("noise.ppm"), "-interlace", "JPEG", "-sampling-factor", "4:2:2",
         Path("im_progressive.jpg")});
    Run({"convert", Path("noise.ppm"), "-colorspace", "Gray", Path("im_grey.jpg")});
    for (const char* File : {"im.jpg", "im_progressive.jpg", "im_grey.jpg"}) {
        Check(File);
    }
    const std::string Python = PythonWithPil();
    if (Python.empty()) {
        GTEST_SKIP() << "no python3 with PIL is installed: PIL's files were left out";
    }
    Run({Python, "-c",
         "import sys; from PIL import Image; d = sys.argv[1]; i = Image.open(d + '/noise.ppm'); "
         "i.save(d + '/pil444.jpg', subsampling=0, quality=90); "
         "i.save(d + '/pil_progressive.jpg', progressive=True, optimize=True); "
         "i.convert('L').save(d + '/pil_grey.jpg', quality=50)",
         Dir.string()});
    for (const char* File : {"pil444.jpg", "pil_progressive.jpg", "pil_grey.jpg"}) {
        Check(File);
    }
}

TEST_F(JpegInterop, OurFilesReadBackByThePeers) {
    VESPERA_REQUIRE_PEERS("djpeg", "convert");
    const std::string Python = PythonWithPil();
    TPixelGraphic Colour;
    Colour.SetSize(61, 37, bc24);
    Paint(Colour);
    TPixelGraphic Grey;
    Grey.SetSize(29, 17, bc8);
    Grey.SetPaletteIdent(pGray256);
    for (int Y = 0; Y < 17; ++Y) {
        for (int X = 0; X < 29; ++X) {
            Grey.SetPixel(X, Y, static_cast<std::uint32_t>((X * 9 + Y * Y) % 256));
        }
    }
    for (const bool Progressive : {false, true}) {
        SetJPEGProgressive(Progressive);
        Colour.SaveToFile(Path("colour.jpg"));
        Grey.SaveToFile(Path("grey.jpg"));
        SetJPEGProgressive(false);
        for (const char* Name : {"colour.jpg", "grey.jpg"}) {
            const std::string File = Path(Name);
            const std::string What = std::string(Name) + (Progressive ? " (progressive)" : "");
            TPixelGraphic Ours;
            Ours.LoadFromFile(File);
            ExpectSamePixels(Ours, PeerPixmap({"djpeg", "-dct", "int", "-pnm", File}),
                             What + " / djpeg");
            ExpectSamePixels(Ours, ImageMagickPixels(File), What + " / ImageMagick");
            if (!Python.empty()) {
                ExpectSamePixels(
                    Ours,
                    PeerPixmap(
                        {Python, "-c",
                         "import sys; from PIL import Image; i = "
                         "Image.open(sys.argv[1]).convert('RGB'); "
                         "sys.stdout.buffer.write(b'P6 %d %d 255\\n' % i.size + i.tobytes())",
                         File}),
                    What + " / PIL");
            }
        }
    }
    if (Python.empty()) {
        GTEST_SKIP() << "no python3 with PIL is installed: PIL's part was left out";
    }
}
