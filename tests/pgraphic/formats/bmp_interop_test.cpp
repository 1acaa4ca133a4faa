// BMP files exchanged with real peers: ImageMagick, netpbm and Python's PIL. Files they write
// must decode to the pixels they themselves decode; files we write must decode, in each of
// them, to our pixels. A missing peer skips its test with a message.

#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pixel_graphic.h"
#include "tests/platform/test_files.h"
#include "tests/support/run_process.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace {

// Pixels as red, green, blue bytes, top row first.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;
};

// --- Portable anymaps, the exchange format with the peers -------------------------------------

std::string PpmText(const TRgbImage& Image) {
    std::string Text =
        "P6\n" + std::to_string(Image.Width) + " " + std::to_string(Image.Height) + "\n255\n";
    Text.append(Image.Rgb.begin(), Image.Rgb.end());
    return Text;
}

// Reads a binary PBM, PGM or PPM with a maxval of 255 (what the peers write for 8-bit data).
TRgbImage ParsePnm(const std::string& Data) {
    TRgbImage Image;
    std::istringstream In(Data);
    std::string Magic;
    int MaxVal = 1;
    In >> Magic >> Image.Width >> Image.Height;
    if (Magic != "P4") {
        In >> MaxVal;
    }
    In.get(); // the single blank after the header
    if (!In || (Magic != "P4" && Magic != "P5" && Magic != "P6") ||
        (Magic != "P4" && MaxVal != 255)) {
        ADD_FAILURE() << "unexpected anymap header " << Magic << " maxval " << MaxVal;
        return {};
    }
    std::ostringstream Rest;
    Rest << In.rdbuf();
    const std::string Body = Rest.str();
    const auto Pixels =
        static_cast<std::size_t>(Image.Width) * static_cast<std::size_t>(Image.Height);
    Image.Rgb.reserve(3 * Pixels);
    const std::size_t RowBytes = (static_cast<std::size_t>(Image.Width) + 7) / 8;
    for (std::size_t I = 0; I < Pixels; ++I) {
        std::uint8_t R = 0, G = 0, B = 0;
        if (Magic == "P6" && 3 * I + 2 < Body.size()) {
            R = static_cast<std::uint8_t>(Body[3 * I]);
            G = static_cast<std::uint8_t>(Body[3 * I + 1]);
            B = static_cast<std::uint8_t>(Body[3 * I + 2]);
        } else if (Magic == "P5" && I < Body.size()) {
            R = G = B = static_cast<std::uint8_t>(Body[I]);
        } else if (Magic == "P4") {
            const std::size_t X = I % static_cast<std::size_t>(Image.Width);
            const std::size_t Y = I / static_cast<std::size_t>(Image.Width);
            const std::size_t At = Y * RowBytes + X / 8;
            const bool Black = At < Body.size() && (Body[At] & (0x80 >> (X % 8))) != 0;
            R = G = B = Black ? 0 : 255;
        }
        Image.Rgb.insert(Image.Rgb.end(), {R, G, B});
    }
    return Image;
}

TRgbImage ReadPnm(const std::string& FileName) {
    return ParsePnm(ReadFile(FileName));
}

// --- Our side ----------------------------------------------------------------------------------

TRgbImage RgbOf(const TPixelGraphic& Image) {
    TRgbImage Result{Image.Width(), Image.Height(), {}};
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            const TColor C = Image.PixelColors(X, Y);
            Result.Rgb.insert(Result.Rgb.end(), {GetRValue(C), GetGValue(C), GetBValue(C)});
        }
    }
    return Result;
}

TRgbImage LoadWithUs(const std::string& FileName) {
    TPixelGraphic Image;
    Image.LoadFromFile(FileName);
    return RgbOf(Image);
}

// Equal sizes and pixels; the first difference is reported.
::testing::AssertionResult SamePixels(const TRgbImage& Ours, const TRgbImage& Theirs) {
    if (Ours.Width != Theirs.Width || Ours.Height != Theirs.Height) {
        return ::testing::AssertionFailure() << "size " << Ours.Width << "x" << Ours.Height
                                             << " against " << Theirs.Width << "x" << Theirs.Height;
    }
    for (std::size_t I = 0; I < Ours.Rgb.size(); I += 3) {
        if (Ours.Rgb[I] != Theirs.Rgb[I] || Ours.Rgb[I + 1] != Theirs.Rgb[I + 1] ||
            Ours.Rgb[I + 2] != Theirs.Rgb[I + 2]) {
            const std::size_t Pixel = I / 3;
            char Text[96];
            std::snprintf(Text, sizeof Text, "pixel (%zu, %zu): ours %d,%d,%d, theirs %d,%d,%d",
                          Pixel % static_cast<std::size_t>(Ours.Width),
                          Pixel / static_cast<std::size_t>(Ours.Width), Ours.Rgb[I],
                          Ours.Rgb[I + 1], Ours.Rgb[I + 2], Theirs.Rgb[I], Theirs.Rgb[I + 1],
                          Theirs.Rgb[I + 2]);
            return ::testing::AssertionFailure() << Text;
        }
    }
    return ::testing::AssertionSuccess();
}

// --- Test pictures -----------------------------------------------------------------------------

// 37 x 23 (odd, so rows are padded): with Colors > 0 a pattern of that many colours, otherwise
// a smooth true-colour picture.
TRgbImage TestPicture(int Colors) {
    static const std::uint8_t Palette[16][3] = {
        {255, 0, 0}, {0, 255, 0},     {0, 0, 255},   {255, 255, 0},  {0, 255, 255}, {255, 0, 255},
        {0, 0, 0},   {255, 255, 255}, {128, 64, 32}, {10, 200, 90},  {77, 77, 77},  {200, 100, 250},
        {1, 2, 3},   {250, 128, 1},   {33, 66, 99},  {180, 180, 180}};
    TRgbImage Image{37, 23, {}};
    for (int Y = 0; Y < Image.Height; ++Y) {
        for (int X = 0; X < Image.Width; ++X) {
            if (Colors > 0) {
                const auto* C = Palette[(X * 3 + Y * 5 + X * Y / 7) % Colors];
                Image.Rgb.insert(Image.Rgb.end(), {C[0], C[1], C[2]});
            } else {
                Image.Rgb.insert(Image.Rgb.end(), {static_cast<std::uint8_t>(X * 7),
                                                   static_cast<std::uint8_t>(Y * 11),
                                                   static_cast<std::uint8_t>(X * Y)});
            }
        }
    }
    return Image;
}

// Our images of every pixel format, each with a palette of its own kind, by name.
std::vector<std::pair<std::string, std::unique_ptr<TPixelGraphic>>> OurImages() {
    const TRgbImage Smooth = TestPicture(0);
    auto True = std::make_unique<TPixelGraphic>();
    True->SetSize(Smooth.Width, Smooth.Height, bc24);
    for (int Y = 0; Y < Smooth.Height; ++Y) {
        for (int X = 0; X < Smooth.Width; ++X) {
            const std::size_t I = 3 * static_cast<std::size_t>(Y * Smooth.Width + X);
            True->SetPixel(X, Y,
                           static_cast<std::uint32_t>(
                               RGB(Smooth.Rgb[I], Smooth.Rgb[I + 1], Smooth.Rgb[I + 2])));
        }
    }
    const struct {
        TPGBitCount Format;
        TPaletteIdent Kind; // pUnknown: an optimised palette
        int Colors;
    } Kinds[] = {{bc1, pBlackWhite, 0},
                 {bc1, pUnknown, 2},
                 {bc4, pUnknown, 16},
                 {bc8, pUnknown, 200},
                 {bc8, pSpecial252, 0}};
    std::vector<std::pair<std::string, std::unique_ptr<TPixelGraphic>>> Result;
    for (const auto& Kind : Kinds) {
        auto Image = std::make_unique<TPixelGraphic>();
        Image->SetSize(True->Width(), True->Height(), Kind.Format);
        if (Kind.Kind == pUnknown) {
            Image->CreateOptimizedPalette(*True, Kind.Colors, false);
        } else {
            Image->SetPaletteIdent(Kind.Kind);
        }
        Image->StretchFrom(*True);
        Result.emplace_back("bc" + std::to_string(Image->BitCountNum()) + " with " +
                                std::to_string(Image->PaletteCount()) + " colours",
                            std::move(Image));
    }
    Result.emplace_back("bc24", std::move(True));
    return Result;
}

// Describes a file as our reader sees it: "Windows, RGB 8".
std::string Variant(const std::string& FileName) {
    TPGImageFileInfo Info;
    if (!GetImageFileInfo(FileName, 0, Info)) {
        return "not readable";
    }
    return Info.SubFormatText + " " + std::to_string(Info.BitsPerPixel);
}

constexpr const char* kPilDecode = R"(import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB")
open(sys.argv[2], "wb").write(b"P6\n%d %d\n255\n" % im.size + im.tobytes())
)";

constexpr const char* kPilEncode = R"(import sys
from PIL import Image
im = Image.open(sys.argv[1])
mode = sys.argv[3]
if mode == "1":
    im = im.convert("1", dither=Image.Dither.NONE)
elif mode == "P":
    im = im.convert("P", palette=Image.Palette.ADAPTIVE, colors=int(sys.argv[4]))
else:
    im = im.convert(mode)
im.save(sys.argv[2], "BMP")
)";

class BmpInterop : public ::testing::Test {
protected:
    std::string Source(int Colors) {
        const std::string Name = Dir / ("source" + std::to_string(Colors) + ".ppm");
        WriteFile(Name, PpmText(TestPicture(Colors)));
        return Name;
    }
    // Runs a peer; a failure to run is a test failure with its output.
    ::testing::AssertionResult Run(const std::vector<std::string>& Argv) {
        const TProcessResult R = RunProcess(Argv);
        if (R.ExitCode == 0) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << Argv[0] << " exit " << R.ExitCode << ": " << R.Err;
    }

    TTempDir Dir;
};

} // namespace

TEST_F(BmpInterop, ImageMagickFilesDecodeToTheSamePixels) {
    const std::string Convert = FindProgram("convert");
    if (Convert.empty()) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    const struct {
        int Colors;
        std::vector<std::string> Options;
        std::string Variant;
    } Cases[] = {
        {0, {"BMP3"}, "Windows, RGB 24"},
        {0, {"-colors", "200", "-type", "Palette", "-compress", "None", "BMP3"}, "Windows, RGB 8"},
        {0, {"-colors", "200", "-type", "Palette", "-compress", "RLE", "BMP3"}, "Windows, RLE8 8"},
        {12, {"-type", "Palette", "-compress", "RLE", "BMP3"}, "Windows, RLE8 8"},
        {12, {"-type", "Palette", "BMP3"}, "Windows, RGB 4"},
        {2, {"-type", "Bilevel", "BMP3"}, "Windows, RGB 1"},
        {0, {"BMP2"}, "OS/2 24"},
        {0, {"-colors", "200", "-type", "Palette", "BMP2"}, "OS/2 8"},
        {12, {"-type", "Palette", "BMP2"}, "OS/2 4"},
        {2, {"-type", "Bilevel", "BMP2"}, "OS/2 1"},
    };
    int N = 0;
    for (const auto& Case : Cases) {
        const std::string Bmp = Dir / ("im" + std::to_string(++N) + ".bmp");
        const std::string Decoded = Dir / ("im" + std::to_string(N) + ".ppm");
        std::vector<std::string> Argv = {Convert, Source(Case.Colors)};
        Argv.insert(Argv.end(), Case.Options.begin(), Case.Options.end() - 1);
        Argv.push_back(Case.Options.back() + ":" + Bmp);
        ASSERT_TRUE(Run(Argv));
        EXPECT_EQ(Variant(Bmp), Case.Variant) << N;
        ASSERT_TRUE(Run({Convert, Bmp, "-depth", "8", "ppm:" + Decoded}));
        EXPECT_TRUE(SamePixels(LoadWithUs(Bmp), ReadPnm(Decoded))) << Case.Variant;
    }
}

TEST_F(BmpInterop, NetpbmFilesDecodeToTheSamePixels) {
    const std::string Encode = FindProgram("ppmtobmp"), Decode = FindProgram("bmptopnm");
    if (Encode.empty() || Decode.empty()) {
        GTEST_SKIP() << "netpbm's ppmtobmp and bmptopnm are not installed";
    }
    const struct {
        int Colors;
        std::string Header;
        int Bits;
        std::string Variant;
    } Cases[] = {
        {0, "-windows", 24, "Windows, RGB 24"},
        {12, "-windows", 8, "Windows, RGB 8"},
        {12, "-windows", 4, "Windows, RGB 4"},
        {2, "-windows", 1, "Windows, RGB 1"},
        {0, "-os2", 24, "OS/2 24"},
        {16, "-os2", 8, "OS/2 8"},
        {12, "-os2", 4, "OS/2 4"},
        {2, "-os2", 1, "OS/2 1"},
    };
    int N = 0;
    for (const auto& Case : Cases) {
        const std::string Bmp = Dir / ("netpbm" + std::to_string(++N) + ".bmp");
        const std::string Decoded = Dir / ("netpbm" + std::to_string(N) + ".pnm");
        // The tools write to standard output: run them through the shell's redirection.
        ASSERT_TRUE(Run({"/bin/sh", "-c", "\"$0\" \"$1\" -bpp=\"$2\" \"$3\" > \"$4\"", Encode,
                         Case.Header, std::to_string(Case.Bits), Source(Case.Colors), Bmp}));
        EXPECT_EQ(Variant(Bmp), Case.Variant);
        ASSERT_TRUE(Run({"/bin/sh", "-c", "\"$0\" \"$1\" > \"$2\"", Decode, Bmp, Decoded}));
        EXPECT_TRUE(SamePixels(LoadWithUs(Bmp), ReadPnm(Decoded))) << Case.Variant;
    }
}

TEST_F(BmpInterop, PilFilesDecodeToTheSamePixels) {
    const std::string Python = PythonWithPil();
    if (Python.empty()) {
        GTEST_SKIP() << "no Python with PIL (python3-pil) is installed";
    }
    const struct {
        int Colors;
        std::vector<std::string> Mode;
        std::string Variant;
    } Cases[] = {
        {0, {"RGB"}, "Windows, RGB 24"},
        {0, {"P", "200"}, "Windows, RGB 8"},
        {0, {"L"}, "Windows, RGB 8"},
        {2, {"1"}, "Windows, RGB 1"},
    };
    int N = 0;
    for (const auto& Case : Cases) {
        const std::string Bmp = Dir / ("pil" + std::to_string(++N) + ".bmp");
        const std::string Decoded = Dir / ("pil" + std::to_string(N) + ".ppm");
        std::vector<std::string> Argv = {Python, "-c", kPilEncode, Source(Case.Colors), Bmp};
        Argv.insert(Argv.end(), Case.Mode.begin(), Case.Mode.end());
        ASSERT_TRUE(Run(Argv));
        EXPECT_EQ(Variant(Bmp), Case.Variant);
        ASSERT_TRUE(Run({Python, "-c", kPilDecode, Bmp, Decoded}));
        EXPECT_TRUE(SamePixels(LoadWithUs(Bmp), ReadPnm(Decoded))) << Case.Mode[0];
    }
}

TEST_F(BmpInterop, OurFilesDecodeToOurPixelsInEveryPeer) {
    const std::string Convert = FindProgram("convert"), Bmptopnm = FindProgram("bmptopnm");
    const std::string Python = PythonWithPil();
    if (Convert.empty() && Bmptopnm.empty() && Python.empty()) {
        GTEST_SKIP() << "none of ImageMagick, netpbm and PIL is installed";
    }
    int N = 0;
    for (const auto& [Name, Image] : OurImages()) {
        const std::string Bmp = Dir / ("ours" + std::to_string(++N) + ".bmp");
        Image->SaveToFile(Bmp);
        const TRgbImage Ours = RgbOf(*Image);
        if (!Convert.empty()) {
            ASSERT_TRUE(Run({Convert, Bmp, "-depth", "8", "ppm:" + Dir / "im.ppm"}));
            EXPECT_TRUE(SamePixels(Ours, ReadPnm(Dir / "im.ppm"))) << "ImageMagick, " << Name;
        }
        if (!Bmptopnm.empty()) {
            ASSERT_TRUE(Run(
                {"/bin/sh", "-c", "\"$0\" \"$1\" > \"$2\"", Bmptopnm, Bmp, Dir / "netpbm.pnm"}));
            EXPECT_TRUE(SamePixels(Ours, ReadPnm(Dir / "netpbm.pnm"))) << "netpbm, " << Name;
        }
        if (!Python.empty()) {
            ASSERT_TRUE(Run({Python, "-c", kPilDecode, Bmp, Dir / "pil.ppm"}));
            EXPECT_TRUE(SamePixels(Ours, ReadPnm(Dir / "pil.ppm"))) << "PIL, " << Name;
        }
    }
    if (Convert.empty() || Bmptopnm.empty() || Python.empty()) {
        GTEST_SKIP() << "checked only with the peers installed: "
                     << (Convert.empty() ? "" : "ImageMagick ")
                     << (Bmptopnm.empty() ? "" : "netpbm ") << (Python.empty() ? "" : "PIL");
    }
}
