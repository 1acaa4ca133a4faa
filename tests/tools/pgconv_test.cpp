// Runs the built pgconv program on files made here and checks its output, files and exit codes.

#include "pgraphic/formats/registry.h"
#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pixel_graphic.h"
#include "tests/platform/test_files.h"
#include "tests/support/run_process.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TProcessResult PgConv(std::vector<std::string> Args) {
    Args.insert(Args.begin(), PGCONV_PATH);
    return RunProcess(Args);
}

// A picture whose left half is Left and right half Right.
void WriteHalves(const std::string& FileName, int Width, int Height, TColor Left, TColor Right) {
    TPixelGraphic Image;
    Image.SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = 0; X < Width; ++X) {
            Image.SetPixel(X, Y, static_cast<std::uint32_t>(X < Width / 2 ? Left : Right));
        }
    }
    Image.SaveToFile(FileName);
}

bool HasColor(const TPixelGraphic& Image, TColor Color) {
    const auto& Palette = Image.Palette();
    return std::find(Palette.begin(), Palette.end(), Color) != Palette.end();
}

// Optimised palettes hold the mean of colour cells, so a pure colour comes back within a cell.
bool Near(TColor A, TColor B) {
    return std::abs(GetRValue(A) - GetRValue(B)) <= 8 &&
           std::abs(GetGValue(A) - GetGValue(B)) <= 8 && std::abs(GetBValue(A) - GetBValue(B)) <= 8;
}

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

} // namespace

TEST(PgConv, UsageErrorsExitTwoWithTheUsageText) {
    const std::vector<std::vector<std::string>> Wrong = {
        {},
        {"paint", "a.bmp"},
        {"info"},
        {"convert", "in.bmp"},
        {"logo", "in.bmp", "out.bmp", "extra.bmp"},
        {"formats", "x"},
        {"convert", "in.bmp", "out.bmp", "--colors", "0"},
        {"convert", "in.bmp", "out.bmp", "--colors=257"},
        {"convert", "in.bmp", "out.bmp", "--colors", "12abc"},
        {"convert", "in.bmp", "out.bmp", "--colors"},
        {"convert", "in.bmp", "out.bmp", "--size", "640"},
        {"convert", "in.bmp", "out.bmp", "--size", "0x400"},
        {"convert", "in.bmp", "out.bmp", "--size", "64x-4"},
        {"convert", "in.bmp", "out.bmp", "--size", "64x48", "--stretch", "slow"},
        {"convert", "in.bmp", "out.bmp", "--stretch", "fast"},
        {"convert", "in.bmp", "out.bmp", "--system-colors"},
        {"convert", "in.bmp", "out.bmp", "--no-dither"},
        {"convert", "in.bmp", "out.bmp", "--no-dither=yes", "--colors", "4"},
        {"convert", "in.bmp", "out.bmp", "--sharpen"},
        {"logo", "in.bmp", "out.bmp", "--colors", "16"},
        {"logo", "in.bmp", "out.bmp", "--band-top"},
        {"convert", "in.bmp", "out.bmp", "--startup"},
        {"logo", "--startup", "--no-band", "--rainbow", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--rainbow", "--band-colors", "000000,FFFFFF", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--band-colors", "000000", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--band-colors", "00000g,ffffff", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--band-height", "0", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--band-height=400", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--first-animated", "17", "in.bmp", "out.bmp"},
        {"logo", "--startup", "--first-animated", "255", "in.bmp", "out.bmp"},
    };
    for (const auto& Args : Wrong) {
        const TProcessResult R = PgConv(Args);
        std::string Line;
        for (const auto& A : Args) {
            Line += A + " ";
        }
        EXPECT_EQ(R.ExitCode, 2) << Line;
        EXPECT_EQ(R.Err.rfind("pgconv: ", 0), 0u) << Line << R.Err;
        EXPECT_NE(R.Err.find("Usage:"), std::string::npos) << Line;
        EXPECT_TRUE(R.Out.empty()) << Line;
    }
    EXPECT_NE(PgConv({"paint"}).Err.find("unknown command \"paint\""), std::string::npos);
    EXPECT_NE(PgConv({"convert", "a", "b", "--stretch", "fast"}).Err.find("--stretch needs --size"),
              std::string::npos);

    for (const auto& Args :
         std::vector<std::vector<std::string>>{{"--help"}, {"convert", "--help"}}) {
        const TProcessResult R = PgConv(Args);
        EXPECT_EQ(R.ExitCode, 0);
        EXPECT_EQ(R.Out.rfind("Usage:", 0), 0u);
        EXPECT_TRUE(R.Err.empty());
    }
}

TEST(PgConv, InfoPrintsTheFieldsOfEveryFileAndReportsTheOnesItCannotRead) {
    TTempDir Dir;
    WriteHalves(Dir / "wide.bmp", 3, 2, kRed, kBlue);
    TPixelGraphic Gray;
    Gray.SetSize(5, 4, bc8);
    Gray.SetPaletteIdent(pGray256);
    Gray.SaveToFile(Dir / "gray.dib");
    WriteFile(Dir / "text.bmp", "plain text, no picture");

    const TProcessResult R =
        PgConv({"info", Dir / "wide.bmp", Dir / "missing.bmp", Dir / "gray.dib", Dir / "text.bmp"});
    EXPECT_EQ(R.ExitCode, 1);
    EXPECT_EQ(R.Out, "File: " + (Dir / "wide.bmp") +
                         "\nDescription: Bitmap\nSubFormat: Windows, RGB\nDetails:\nWidth: 3\n"
                         "Height: 2\nColors: 16.7M\nBitsPerPixel: 24\nImageCount: 1\n\n"
                         "File: " +
                         (Dir / "gray.dib") +
                         "\nDescription: Bitmap\nSubFormat: Windows, RGB\nDetails:\nWidth: 5\n"
                         "Height: 4\nColors: 256\nBitsPerPixel: 8\nImageCount: 1\n");
    EXPECT_EQ(R.Err, "pgconv: " + (Dir / "missing.bmp") + ": No such file or directory\n" +
                         "pgconv: " + (Dir / "text.bmp") + ": Unknown file format\n");

    // A file the BMP reader refuses names the reader's reason.
    WriteFile(Dir / "v5.bmp", std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0\x7c\0\0\0", 18));
    const TProcessResult V5 = PgConv({"info", Dir / "v5.bmp"});
    EXPECT_EQ(V5.ExitCode, 1);
    EXPECT_EQ(V5.Err, "pgconv: " + (Dir / "v5.bmp") +
                          ": BMP: Invalid size of BitmapInfoHeader/BitmapCoreHeader\n");
}

TEST(PgConv, ConvertResamplesAndReducesToTheSmallestPaletteFormat) {
    TTempDir Dir;
    WriteHalves(Dir / "in.bmp", 40, 30, kRed, kBlue);

    TProcessResult R = PgConv(
        {"convert", Dir / "in.bmp", Dir / "big.bmp", "--size", "80x10", "--stretch", "fast"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    EXPECT_TRUE(R.Out.empty() && R.Err.empty());
    TPixelGraphic Out;
    Out.LoadFromFile(Dir / "big.bmp");
    EXPECT_EQ(Out.Width(), 80);
    EXPECT_EQ(Out.Height(), 10);
    EXPECT_EQ(Out.BitCount(), bc24);
    EXPECT_EQ(Out.PixelColors(39, 5), kRed);
    EXPECT_EQ(Out.PixelColors(40, 5), kBlue);

    // The stretch mode reaches the resampling: averaging mixes the two halves where nearest
    // pixels do not.
    R = PgConv({"convert", Dir / "in.bmp", Dir / "small.bmp", "--size=3x3", "--stretch=precise"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    Out.LoadFromFile(Dir / "small.bmp");
    const TColor Middle = Out.PixelColors(1, 1);
    EXPECT_TRUE(GetRValue(Middle) > 0 && GetBValue(Middle) > 0) << std::hex << Middle;
    R = PgConv(
        {"convert", Dir / "in.bmp", Dir / "small.bmp", "--size", "3x3", "--stretch", "fast"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    Out.LoadFromFile(Dir / "small.bmp");
    EXPECT_TRUE(Out.PixelColors(1, 1) == kRed || Out.PixelColors(1, 1) == kBlue);

    const std::pair<const char*, TPGBitCount> Depths[] = {{"1", bc1},  {"2", bc1},  {"3", bc4},
                                                          {"16", bc4}, {"17", bc8}, {"256", bc8}};
    for (const auto& [Colors, Format] : Depths) {
        R = PgConv({"convert", Dir / "in.bmp", Dir / "few.bmp", "--colors", Colors});
        ASSERT_EQ(R.ExitCode, 0) << Colors << R.Err;
        Out.LoadFromFile(Dir / "few.bmp");
        EXPECT_EQ(Out.BitCount(), Format) << Colors;
        EXPECT_LE(Out.PaletteCount(), std::atoi(Colors)) << Colors;
    }
    // Two colours get an entry each: every pixel keeps its side.
    R = PgConv({"convert", Dir / "in.bmp", Dir / "two.bmp", "--colors", "2", "--no-dither"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    Out.LoadFromFile(Dir / "two.bmp");
    for (int Y = 0; Y < 30; ++Y) {
        EXPECT_TRUE(Near(Out.PixelColors(0, Y), kRed) && Near(Out.PixelColors(19, Y), kRed) &&
                    Near(Out.PixelColors(20, Y), kBlue) && Near(Out.PixelColors(39, Y), kBlue))
            << Y;
    }

    // With the system colours the palette holds all sixteen of them.
    R = PgConv({"convert", Dir / "in.bmp", Dir / "sys.bmp", "--colors", "64", "--system-colors"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    Out.LoadFromFile(Dir / "sys.bmp");
    for (int I = 0; I < 16; ++I) {
        EXPECT_TRUE(HasColor(Out, FixedPalette(pSys16)[static_cast<std::size_t>(I)])) << I;
    }
}

TEST(PgConv, ConvertFailuresPrintTheLibraryMessageAndLeaveNoFileBehind) {
    TTempDir Dir;
    WriteHalves(Dir / "in.bmp", 4, 4, kRed, kBlue);
    WriteFile(Dir / "junk.bmp", "junk");
    const struct {
        std::vector<std::string> Args;
        std::string Message;
    } Cases[] = {
        {{"convert", Dir / "in.bmp", Dir / "out.xyz"}, "pgconv: Unknown file extension \"xyz\"\n"},
        {{"convert", Dir / "junk.bmp", Dir / "out.bmp"}, "pgconv: Unknown file format\n"},
        {{"convert", Dir / "none.bmp", Dir / "out.bmp"},
         "pgconv: Cannot open file \"" + (Dir / "none.bmp") + "\". No such file or directory\n"},
        {{"convert", Dir / "in.bmp", Dir / "no/out.bmp"},
         "pgconv: Cannot create file \"" + (Dir / "no/out.bmp") +
             "\". No such file or directory\n"},
        {{"convert", Dir / "in.bmp", Dir / "huge.bmp", "--size", "100000x100000"},
         "pgconv: Invalid size of image\n"},
        {{"logo", Dir / "junk.bmp", Dir / "out.bmp"}, "pgconv: Unknown file format\n"},
    };
    for (const auto& Case : Cases) {
        const TProcessResult R = PgConv(Case.Args);
        EXPECT_EQ(R.ExitCode, 1) << Case.Message;
        EXPECT_EQ(R.Err, Case.Message);
        EXPECT_TRUE(R.Out.empty());
    }
    for (const char* Name : {"out.xyz", "out.bmp", "huge.bmp"}) {
        EXPECT_FALSE(std::filesystem::exists(Dir / Name)) << Name;
    }
}

TEST(PgConv, ConvertWarnsOnTheConsoleWhenTheFormatNeedsOtherColours) {
    bool HasGrayWriter = false;
    for (const auto& Writer : FileFormatWriters()) {
        HasGrayWriter = HasGrayWriter || Writer->Extension() == "pgm";
    }
    if (!HasGrayWriter) {
        GTEST_SKIP() << "no PGM writer registered: nothing to convert to";
    }
    TTempDir Dir;
    WriteHalves(Dir / "in.bmp", 4, 4, kRed, kBlue);
    const TProcessResult R = PgConv({"convert", Dir / "in.bmp", Dir / "out.pgm"});
    EXPECT_EQ(R.ExitCode, 0);
    EXPECT_EQ(R.Err, "pgconv: Warning: The graphic cannot be saved to a Portable Graymap file "
                     "with the current color resolution (16.7 million colors).\n\nThe graphic "
                     "will be saved with a different color resolution (256 shades of gray).\n");
    TPixelGraphic Out;
    Out.LoadFromFile(Dir / "out.pgm");
    EXPECT_EQ(Out.PaletteIdent(), pGray256);
}

TEST(PgConv, LogoIsTheInstalledShutdownPictureUnderAnyName) {
    TTempDir Dir;
    WriteHalves(Dir / "picture.bmp", 100, 10, kRed, kBlue);
    const TProcessResult R = PgConv({"logo", Dir / "picture.bmp", Dir / "logow.sys"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    EXPECT_EQ(ReadFile(Dir / "logow.sys").size(), 129078u);

    TPixelGraphic Logo;
    Logo.LoadFromFile(Dir / "logow.sys");
    EXPECT_EQ(Logo.Width(), 320);
    EXPECT_EQ(Logo.Height(), 400);
    EXPECT_EQ(Logo.BitCount(), bc8);
    EXPECT_EQ(Logo.PaletteCount(), 256);
    for (int I = 0; I < 16; ++I) {
        EXPECT_TRUE(HasColor(Logo, FixedPalette(pSys16)[static_cast<std::size_t>(I)])) << I;
    }
    // The picture covers the whole logo, whatever its proportions.
    EXPECT_TRUE(Near(Logo.PixelColors(0, 0), kRed));
    EXPECT_TRUE(Near(Logo.PixelColors(150, 399), kRed));
    EXPECT_TRUE(Near(Logo.PixelColors(170, 0), kBlue));
    EXPECT_TRUE(Near(Logo.PixelColors(319, 399), kBlue));
}

// The start-up logo as PIL reads it: size, mode, palette entry 0, and whether the pixels of the
// band's rows (argv[2] to argv[3]) alone use the entries from argv[4] on, none using entry 0.
constexpr const char* kPilStartupCheck = R"(import sys
from PIL import Image
im = Image.open(sys.argv[1])
first_row, end_row, first = (int(a) for a in sys.argv[2:5])
px = im.load()
apart = all((px[x, y] >= first) == (first_row <= y < end_row) and px[x, y] > 0
            for y in range(im.size[1]) for x in range(im.size[0]))
print(im.size[0], im.size[1], im.mode, tuple(im.getpalette()[:3]), apart)
)";

TEST(PgConv, StartupLogoKeepsItsBandInTheAnimatedEntriesAndPeersReadIt) {
    TTempDir Dir;
    WriteHalves(Dir / "picture.bmp", 100, 10, kRed, kBlue);
    TProcessResult R =
        PgConv({"logo", "--startup", "--band-top", "--band-height", "30", "--band-colors",
                "000080,00FFFF", Dir / "picture.bmp", Dir / "logo.sys"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    const std::string Logo = ReadFile(Dir / "logo.sys");
    ASSERT_EQ(Logo.size(), 129078u);
    EXPECT_EQ(static_cast<unsigned char>(Logo[0x32]), 236);
    R = PgConv({"logo", "--startup", "--no-band", Dir / "picture.bmp", Dir / "still.sys"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err;
    EXPECT_EQ(ReadFile(Dir / "still.sys")[0x32], 0);

    const std::string Python = PythonWithPil();
    if (Python.empty()) {
        GTEST_SKIP() << "no Python with PIL (python3-pil) is installed";
    }
    R = RunProcess({Python, "-c", kPilStartupCheck, Dir / "logo.sys", "0", "30", "236"});
    EXPECT_EQ(R.Out, "320 400 P (0, 0, 0) True\n") << R.Err;
    R = RunProcess({Python, "-c", kPilStartupCheck, Dir / "still.sys", "0", "0", "256"});
    EXPECT_EQ(R.Out, "320 400 P (0, 0, 0) True\n") << R.Err;
    const std::string Identify = FindProgram("identify");
    if (Identify.empty()) {
        GTEST_SKIP() << "ImageMagick's identify is not installed";
    }
    R = RunProcess({Identify, "-format", "%m %w %h %z %r\n", Dir / "logo.sys"});
    EXPECT_EQ(R.Out, "BMP3 320 400 8 PseudoClass sRGB \n") << R.Err;
}

TEST(PgConv, FormatsListsReadersWritersAndTheOpenFilter) {
    const TProcessResult R = PgConv({"formats"});
    ASSERT_EQ(R.ExitCode, 0);
    EXPECT_NE(R.Out.find("  bmp   Bitmap                        by content\n"), std::string::npos);
    EXPECT_NE(R.Out.find("  dib   Bitmap                        black and white, 2 colors, "),
              std::string::npos);
    EXPECT_NE(R.Out.find("\nOpen filter:\n" + BuildOpenFilter() + "\n"), std::string::npos);
}
