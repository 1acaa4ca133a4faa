#include "format_test_util.h"
#include "message_box_recorder.h"
#include "pgraphic/formats/png/png.h"
#include "pgraphic/formats/png/png_library.h"
#include "pgraphic/formats/png/png_settings.h"
#include "pgraphic/image/pg_exceptions.h"
#include "png_codec.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const TPNGFileFormatReader Reader;

// A palette of Count clearly different colours.
std::vector<png_color> Colours(int Count) {
    std::vector<png_color> Palette;
    for (int I = 0; I < Count; ++I) {
        Palette.push_back({static_cast<png_byte>(I * 37 + 5), static_cast<png_byte>(200 - I * 11),
                           static_cast<png_byte>(I * 73 % 256)});
    }
    return Palette;
}

const TFileFormatReader* RegisteredReader(const std::string& Extension) {
    for (const auto& R : FileFormatReaders()) {
        if (R->Extension() == Extension) {
            return R.get();
        }
    }
    return nullptr;
}

unsigned Pattern(int X, int Y, int C, int Bits) {
    return static_cast<unsigned>(X * 7 + Y * 13 + C * 29 + X * Y) % (1u << Bits);
}

png_color_16 Grey16(png_uint_16 Level) {
    png_color_16 C{};
    C.gray = Level;
    return C;
}

png_color_16 Rgb16(png_uint_16 R, png_uint_16 G, png_uint_16 B) {
    png_color_16 C{};
    C.red = R;
    C.green = G;
    C.blue = B;
    return C;
}

// Stored value a over b with alpha out of Max, rounded.
int Over(double Colour, double Background, double Alpha, double Max) {
    return static_cast<int>(std::lround((Alpha * Colour + (Max - Alpha) * Background) / Max));
}

class PngWarnings : public TMessageBoxTest {
protected:
    std::string Load(const TBytes& File, TPGWarningAction Action) {
        TPixelGraphic Image;
        Image.SetReadWarningAction(Action);
        try {
            LoadBytes(Image, File, "png");
        } catch (const std::exception& E) {
            return E.what();
        }
        return "no error";
    }
};

} // namespace

TEST(PngFormat, EveryColourTypeAndBitDepthMapsOntoTheImage) {
    struct TCase {
        int ColorType;
        int BitDepth;
        TPGBitCount BitCount;
        TPaletteIdent Ident;
    };
    const TCase Cases[] = {
        {PNG_COLOR_TYPE_GRAY, 1, bc1, pBlackWhite},
        {PNG_COLOR_TYPE_GRAY, 2, bc4, pGray4},
        {PNG_COLOR_TYPE_GRAY, 4, bc4, pGray16},
        {PNG_COLOR_TYPE_GRAY, 8, bc8, pGray256},
        {PNG_COLOR_TYPE_GRAY, 16, bc8, pGray256},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, bc8, pGray256},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 16, bc8, pGray256},
        {PNG_COLOR_TYPE_PALETTE, 1, bc1, pUnknown},
        {PNG_COLOR_TYPE_PALETTE, 2, bc4, pUnknown},
        {PNG_COLOR_TYPE_PALETTE, 4, bc4, pUnknown},
        {PNG_COLOR_TYPE_PALETTE, 8, bc8, pUnknown},
        {PNG_COLOR_TYPE_RGB, 8, bc24, pTrueColor},
        {PNG_COLOR_TYPE_RGB, 16, bc24, pTrueColor},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8, bc24, pTrueColor},
        {PNG_COLOR_TYPE_RGB_ALPHA, 16, bc24, pTrueColor},
    };
    for (const TCase& Case : Cases) {
        for (const bool Interlaced : {false, true}) {
            SCOPED_TRACE("colour type " + std::to_string(Case.ColorType) + ", depth " +
                         std::to_string(Case.BitDepth) + (Interlaced ? ", interlaced" : ""));
            const bool Palette = Case.ColorType == PNG_COLOR_TYPE_PALETTE;
            const int Entries = std::min(1 << Case.BitDepth, 20);
            TPngPlan Plan;
            Plan.Width = 11; // odd, and not a multiple of a byte's pixels
            Plan.Height = 9;
            Plan.BitDepth = Case.BitDepth;
            Plan.ColorType = Case.ColorType;
            Plan.Interlaced = Interlaced;
            const int Alpha =
                (Case.ColorType & PNG_COLOR_MASK_ALPHA) != 0 ? ChannelsOf(Case.ColorType) - 1 : -1;
            Plan.Sample = [&](int X, int Y, int C) {
                if (C == Alpha) {
                    return (1u << Case.BitDepth) - 1; // opaque: compositing is tested below
                }
                return Palette ? Pattern(X, Y, C, Case.BitDepth) % static_cast<unsigned>(Entries)
                               : Pattern(X, Y, C, Case.BitDepth);
            };
            if (Palette) {
                Plan.Palette = Colours(Entries);
            }
            TPixelGraphic Image;
            LoadBytes(Image, WritePng(Plan), "png");
            ASSERT_EQ(Image.Width(), 11);
            ASSERT_EQ(Image.Height(), 9);
            EXPECT_EQ(Image.BitCount(), Case.BitCount);
            EXPECT_EQ(Image.PaletteIdent(), Case.Ident);
            if (Palette) {
                ASSERT_EQ(Image.PaletteCount(), Entries);
                for (int I = 0; I < Entries; ++I) {
                    const png_color& C = Plan.Palette[static_cast<std::size_t>(I)];
                    EXPECT_EQ(Image.PaletteColors(I), RGB(C.red, C.green, C.blue));
                }
            }
            const int Shift = Case.BitDepth == 16 ? 8 : 0; // the high byte of 16-bit samples
            for (int Y = 0; Y < 9; ++Y) {
                for (int X = 0; X < 11; ++X) {
                    if (Case.BitCount == bc24) {
                        const auto S = [&](int C) {
                            return static_cast<int>(Plan.Sample(X, Y, C) >> Shift);
                        };
                        ASSERT_EQ(Image.PixelColors(X, Y), RGB(S(0), S(1), S(2))) << X << "," << Y;
                    } else {
                        ASSERT_EQ(Image.Pixels(X, Y), Plan.Sample(X, Y, 0) >> Shift)
                            << X << "," << Y;
                    }
                }
            }
        }
    }
}

TEST(PngFormat, TransparencyIsCompositedAgainstTheFileBackground) {
    TPngPlan Plan;
    Plan.Width = 4;
    Plan.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    const unsigned Alphas[] = {0, 64, 128, 255};
    Plan.Sample = [&](int X, int, int C) {
        return C == 3 ? Alphas[X] : (C == 0 ? 200u : C == 1 ? 100u : 50u);
    };
    Plan.Background = Rgb16(10, 220, 30);
    const TBytes File = WritePng(Plan);
    TPixelGraphic Image;
    LoadBytes(Image, File, "png");
    EXPECT_EQ(Image.BackGroundColor(), RGB(10, 220, 30)); // an 8-bit background as it is
    for (int X = 0; X < 4; ++X) {
        const double A = Alphas[X];
        EXPECT_EQ(Image.PixelColors(X, 0),
                  RGB(Over(200, 10, A, 255), Over(100, 220, A, 255), Over(50, 30, A, 255)));
    }

    // Without the file's background the image's own colour is used, and it stays.
    SetPNGUseFileBackground(false);
    TPixelGraphic Own;
    Own.SetBackGroundColor(RGB(0, 0, 255));
    LoadBytes(Own, File, "png");
    SetPNGUseFileBackground(true);
    EXPECT_EQ(Own.BackGroundColor(), RGB(0, 0, 255));
    EXPECT_EQ(Own.PixelColors(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(Own.PixelColors(2, 0),
              RGB(Over(200, 0, 128, 255), Over(100, 0, 128, 255), Over(50, 255, 128, 255)));

    // 16-bit samples are composited, then cut to their high byte; the background chunk's
    // components become the image's background the same way.
    Plan.BitDepth = 16;
    Plan.Sample = [&](int X, int, int C) { return C == 3 ? Alphas[X] * 257 : 0x1234u * (C + 1); };
    Plan.Background = Rgb16(0xFF00, 0x8000, 0x0100);
    LoadBytes(Image, WritePng(Plan), "png");
    EXPECT_EQ(Image.BackGroundColor(), RGB(0xFF, 0x80, 0x01));
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0xFF, 0x80, 0x01));
    EXPECT_EQ(Image.PixelColors(3, 0), RGB(0x12, 0x24, 0x36));
    const int Mixed = Over(0x1234, 0xFF00, 128 * 257, 65535) >> 8;
    EXPECT_NEAR(GetRValue(Image.PixelColors(2, 0)), Mixed, 1);
}

TEST(PngFormat, TransparencyOfPaletteGreyAndColourKeys) {
    // A palette's entries are composited; the file's background names one of them.
    TPngPlan Plan;
    Plan.Width = 4;
    Plan.BitDepth = 2;
    Plan.ColorType = PNG_COLOR_TYPE_PALETTE;
    Plan.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 10, 10}};
    Plan.PaletteAlpha = {0, 128, 255, 64};
    Plan.Sample = [](int X, int, int) { return static_cast<unsigned>(X); };
    Plan.Background = png_color_16{2, 0, 0, 0, 0};
    TPixelGraphic Image;
    LoadBytes(Image, WritePng(Plan), "png");
    ASSERT_EQ(Image.BitCount(), bc4);
    EXPECT_EQ(Image.Pixels(3, 0), 3u); // indices stay, spread from 2 to 4 bits
    EXPECT_EQ(Image.PaletteColors(0), RGB(0, 0, 255));
    EXPECT_EQ(Image.PaletteColors(1), RGB(0, Over(255, 0, 128, 255), Over(0, 255, 128, 255)));
    EXPECT_EQ(Image.PaletteColors(2), RGB(0, 0, 255));
    EXPECT_EQ(Image.PaletteColors(3),
              RGB(Over(10, 0, 64, 255), Over(10, 0, 64, 255), Over(10, 255, 64, 255)));
    EXPECT_EQ(Image.BackGroundColor(), RGB(0, 0, 255));

    // A grey key at 2 bits: transparent pixels take the background level.
    TPngPlan Grey;
    Grey.Width = 4;
    Grey.BitDepth = 2;
    Grey.ColorType = PNG_COLOR_TYPE_GRAY;
    Grey.Sample = [](int X, int, int) { return static_cast<unsigned>(X); };
    Grey.TransColor = Grey16(2);
    Grey.Background = Grey16(1);
    LoadBytes(Image, WritePng(Grey), "png");
    EXPECT_EQ(Image.PaletteIdent(), pGray4);
    EXPECT_EQ(Image.Pixels(2, 0), 1u);
    EXPECT_EQ(Image.Pixels(3, 0), 3u);
    EXPECT_EQ(Image.BackGroundColor(), RGB(85, 85, 85));
    // ... or the image's own colour, as a level of the file's depth.
    Grey.Background.reset();
    TPixelGraphic White;
    White.SetBackGroundColor(RGB(255, 255, 255));
    LoadBytes(White, WritePng(Grey), "png");
    EXPECT_EQ(White.Pixels(2, 0), 3u);

    // An RGB colour key, against the image's colour.
    TPngPlan Key;
    Key.Width = 2;
    Key.Sample = [](int X, int, int C) { return static_cast<unsigned>(X * 100 + C + 1); };
    Key.TransColor = Rgb16(1, 2, 3);
    TPixelGraphic Green;
    Green.SetBackGroundColor(RGB(0, 255, 0));
    LoadBytes(Green, WritePng(Key), "png");
    EXPECT_EQ(Green.PixelColors(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(Green.PixelColors(1, 0), RGB(101, 102, 103));

    // Grey with alpha, against the average of the image's colour.
    TPngPlan GreyAlpha;
    GreyAlpha.ColorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    GreyAlpha.Sample = [](int, int, int C) { return C == 0 ? 100u : 128u; };
    TPixelGraphic Mid;
    Mid.SetBackGroundColor(RGB(30, 60, 90));
    LoadBytes(Mid, WritePng(GreyAlpha), "png");
    EXPECT_EQ(Mid.Pixels(0, 0), static_cast<std::uint32_t>(Over(100, 60, 128, 255)));
}

TEST(PngFormat, FileGammaBecomesTheImagesGammaAndIsCorrected) {
    TPngPlan Plan;
    Plan.Width = 3;
    Plan.ColorType = PNG_COLOR_TYPE_GRAY;
    Plan.Sample = [](int X, int, int) { return static_cast<unsigned>(X * 64 + 64); };
    Plan.Gamma = 0.45455;
    const TBytes File = WritePng(Plan);

    TPixelGraphic Raw;
    TBlockStream Stream = StreamOver(File);
    Reader.ReadImage(Stream, Raw, 0);
    EXPECT_NEAR(static_cast<double>(Raw.Gamma()), 2.2, 0.001);
    EXPECT_EQ(Raw.Pixels(1, 0), 128u); // libpng leaves the samples alone

    // Loading corrects the grey palette with exponent 2.2 / 1.8.
    TPixelGraphic Image;
    LoadBytes(Image, File, "png");
    EXPECT_DOUBLE_EQ(static_cast<double>(Image.Gamma()), 1.8);
    const TColor Level = Image.PixelColors(1, 0);
    EXPECT_EQ(GetRValue(Level), std::lround(255 * std::pow(128 / 255.0, 2.19998 / 1.8)));

    // An sRGB chunk is no gamma chunk, though libpng derives a gamma from it.
    Plan.Gamma.reset();
    const TBytes Srgb = InsertChunk(WritePng(Plan), "IDAT", "sRGB", std::string(1, '\0'));
    LoadBytes(Image, Srgb, "png");
    EXPECT_EQ(GetRValue(Image.PixelColors(1, 0)), 128);

    // A gamma within 5 % of the display's is left alone.
    Plan.Gamma = 1 / 1.85;
    LoadBytes(Image, WritePng(Plan), "png");
    EXPECT_EQ(GetRValue(Image.PixelColors(1, 0)), 128);
}

TEST(PngFormat, InterlacedProgressAndAbort) {
    TPngPlan Plan;
    Plan.Width = 5;
    Plan.Height = 6;
    Plan.BitDepth = 2;
    Plan.ColorType = PNG_COLOR_TYPE_PALETTE;
    Plan.Palette = Colours(4);
    Plan.Sample = [](int X, int Y, int) { return static_cast<unsigned>(X + Y) % 4; };
    Plan.Interlaced = true;
    TPixelGraphic Image;
    TProgressLog Log;
    Log.Attach(Image);
    LoadBytes(Image, WritePng(Plan), "png");
    EXPECT_EQ(Log.Max, 42); // seven passes over six rows
    ASSERT_EQ(Log.Steps.size(), 42u);
    EXPECT_EQ(Log.Steps.front(), 0);
    EXPECT_EQ(Log.Steps.back(), 41);
    EXPECT_EQ(Log.Starts, 1);
    EXPECT_EQ(Log.Ends, 1);
    EXPECT_TRUE(Log.AllFrom(RegisteredReader("png")));

    // An abort ends quietly: the rows read so far stay (spread to 4 bits), the rest of the file
    // is not read.
    Plan.Interlaced = false;
    const TBytes File = WritePng(Plan);
    TPixelGraphic Aborted;
    TProgressLog Stop;
    Stop.AbortAfter = 2;
    Stop.Attach(Aborted);
    TBlockStream Stream = StreamOver(File);
    Reader.ReadImage(Stream, Aborted, 0);
    EXPECT_EQ(Stop.Ends, 1);
    EXPECT_TRUE(Stop.AllFrom(&Reader));
    EXPECT_LT(Stream.Position(), static_cast<std::int64_t>(File.size()));
    for (int X = 0; X < 5; ++X) {
        EXPECT_EQ(Aborted.Pixels(X, 1), static_cast<std::uint32_t>(X + 1) % 4);
        EXPECT_EQ(Aborted.Pixels(X, 2), 0u);
    }
}

TEST(PngFormat, WriterColourTypesPaletteAndGammaChunk) {
    TPixelGraphic True;
    True.SetSize(3, 2, bc24);
    True.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(255, 0, 0)));
    True.SetPixel(2, 1, static_cast<std::uint32_t>(RGB(1, 2, 3)));
    TPngFacts Facts = ReadPng(SaveBytes(True, "png"));
    EXPECT_EQ(Facts.ColorType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(Facts.BitDepth, 8);
    ASSERT_TRUE(Facts.Gamma.has_value());
    EXPECT_NEAR(*Facts.Gamma, 0.55556, 0.00001);
    EXPECT_EQ(Facts.Rows[0][0], 255); // red first in the file
    EXPECT_EQ(Facts.Rows[0][2], 0);
    EXPECT_EQ(Facts.Rows[1][6], 1);
    EXPECT_EQ(Facts.Rows[1][8], 3);

    True.SetGamma(2.2L);
    EXPECT_NEAR(*ReadPng(SaveBytes(True, "png")).Gamma, 1 / 2.2, 0.00001);
    SetPNGWriteGamma(false);
    EXPECT_FALSE(ReadPng(SaveBytes(True, "png")).Gamma.has_value());
    SetPNGWriteGamma(true);

    TPixelGraphic Grey;
    Grey.SetSize(2, 2, bc8);
    Grey.SetPaletteIdent(pGray256);
    Grey.SetPixel(1, 0, 77);
    Facts = ReadPng(SaveBytes(Grey, "png"));
    EXPECT_EQ(Facts.ColorType, PNG_COLOR_TYPE_GRAY);
    EXPECT_EQ(Facts.Rows[0][1], 77);

    // Black and white stays a 1-bit palette file, not grey.
    TPixelGraphic Mono;
    Mono.SetSize(9, 1, bc1);
    Mono.SetPaletteIdent(pBlackWhite);
    Mono.SetPixel(8, 0, 1);
    Facts = ReadPng(SaveBytes(Mono, "png"));
    EXPECT_EQ(Facts.ColorType, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(Facts.BitDepth, 1);
    EXPECT_EQ(Facts.Palette.size(), 2u);
    EXPECT_EQ(Facts.Rows[0][8], 1);

    TPixelGraphic Special;
    Special.SetSize(2, 2, bc8);
    Special.SetPaletteIdent(pSpecial252);
    Special.SetPixel(0, 1, 251);
    const TBytes File = SaveBytes(Special, "png");
    Facts = ReadPng(File);
    EXPECT_EQ(Facts.BitDepth, 8);
    EXPECT_EQ(Facts.Palette.size(), 252u);
    TPixelGraphic Back;
    LoadBytes(Back, File, "png");
    EXPECT_EQ(Back.PaletteIdent(), pSpecial252);
    EXPECT_EQ(Back.Pixels(0, 1), 251u);

    // A palette longer than the pixels can index is cut to what a palette chunk may hold.
    TPixelGraphic Sixteen;
    Sixteen.SetSize(3, 3, bc4);
    Sixteen.SetPaletteIdent(pSys16);
    Sixteen.SetPaletteCount(40);
    Facts = ReadPng(SaveBytes(Sixteen, "png"));
    EXPECT_EQ(Facts.BitDepth, 4);
    EXPECT_EQ(Facts.Palette.size(), 16u);

    // Progress: every row, Max one less than the height, the writer as sender.
    TProgressLog Log;
    Log.AbortAfter = 1;
    Log.Attach(True);
    TPNGFileFormatWriter Writer;
    TMemoryStream Out;
    Writer.WriteImage(Out, True);
    EXPECT_EQ(Log.Steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(Log.Max, 1);
    EXPECT_TRUE(Log.AllFrom(&Writer));

    std::vector<std::uint8_t> Small(60);
    TBlockStream Full(static_cast<void*>(Small.data()), static_cast<std::int64_t>(Small.size()));
    try {
        Writer.WriteImage(Full, True);
        ADD_FAILURE() << "no error";
    } catch (const EPGPNGFileFormatReaderWriter& E) {
        EXPECT_STREQ(E.what(), "PNG: Write Error");
    }
}

TEST(PngFormat, InformationTexts) {
    TPngPlan Plan;
    Plan.Width = 7;
    Plan.Height = 3;
    Plan.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    Plan.Interlaced = true;
    TPGImageFileInfo Info = InfoOf(WritePng(Plan), "png");
    EXPECT_EQ(Info.Description, "Portable Network Graphics");
    EXPECT_EQ(Info.Width, 7);
    EXPECT_EQ(Info.Height, 3);
    EXPECT_EQ(Info.ImageCount, 1);
    EXPECT_EQ(Info.BitsPerPixel, 32);
    EXPECT_EQ(Info.ColorsText, "16.7M?");
    EXPECT_EQ(Info.SubFormatText, "RGB, alpha, interlaced");
    EXPECT_EQ(Info.DetailsText, "");

    TPngPlan Palette;
    Palette.BitDepth = 4;
    Palette.ColorType = PNG_COLOR_TYPE_PALETTE;
    Palette.Palette = Colours(16);
    Palette.PaletteAlpha = {0};
    Palette.Background = png_color_16{1, 0, 0, 0, 0};
    Palette.Gamma = 0.45455;
    Info = InfoOf(WritePng(Palette), "png");
    EXPECT_EQ(Info.SubFormatText, "palette");
    EXPECT_EQ(Info.DetailsText, "(gama, plte, trns, bkgd)");
    EXPECT_EQ(Info.BitsPerPixel, 4);
    EXPECT_EQ(Info.ColorsText, "16");

    TPngPlan Offsets;
    Offsets.ColorType = PNG_COLOR_TYPE_GRAY;
    Offsets.BitDepth = 16;
    Offsets.Offsets = true;
    Info = InfoOf(WritePng(Offsets), "png");
    EXPECT_EQ(Info.DetailsText, "(offs)");
    EXPECT_EQ(Info.SubFormatText, "GrayScale");
    EXPECT_EQ(Info.ColorsText, "64K?");

    const std::pair<std::pair<int, int>, const char*> Colours[] = {
        {{PNG_COLOR_TYPE_GRAY, 1}, "2"},    {{PNG_COLOR_TYPE_GRAY, 2}, "4"},
        {{PNG_COLOR_TYPE_GRAY, 8}, "256"},  {{PNG_COLOR_TYPE_GRAY_ALPHA, 8}, "64K?"},
        {{PNG_COLOR_TYPE_RGB, 8}, "16.7M"}, {{PNG_COLOR_TYPE_RGB, 16}, "?"},
    };
    for (const auto& [Type, Text] : Colours) {
        TPngPlan Kind;
        Kind.ColorType = Type.first;
        Kind.BitDepth = Type.second;
        Info = InfoOf(WritePng(Kind), "png");
        EXPECT_EQ(Info.ColorsText, Text) << Type.first << "/" << Type.second;
        EXPECT_EQ(Info.SubFormatText, Type.first == PNG_COLOR_TYPE_GRAY_ALPHA ? "GrayScale, alpha"
                                      : Type.first == PNG_COLOR_TYPE_RGB      ? "RGB"
                                                                              : "GrayScale");
    }

    // libpng derives gamma and chromaticities from an sRGB chunk; only chunks in the file count.
    const TBytes Srgb = InsertChunk(WritePng(TPngPlan{}), "IDAT", "sRGB", std::string(1, '\0'));
    EXPECT_EQ(InfoOf(Srgb, "png").DetailsText, "");

    const TBytes File = WritePng(Plan);
    EXPECT_EQ(InfoError(Reader, File, 1), "PNG: Invalid value for Index");
    EXPECT_EQ(ReadError(Reader, File, 1), "PNG: Index invalid");
}

TEST(PngFormat, BrokenFilesEndInLibpngsMessage) {
    TPngPlan Plan;
    Plan.Width = 40;
    Plan.Height = 30;
    Plan.Sample = [](int X, int Y, int C) { return Pattern(X, Y, C, 8); };
    const TBytes File = WritePng(Plan);

    const TBytes Truncated(File.begin(),
                           File.begin() + static_cast<std::ptrdiff_t>(File.size() / 2));
    EXPECT_EQ(LoadError(Truncated, "png"), "PNG: Read Error");

    TBytes BadCrc = File;
    BadCrc[ChunkOffset(File, "IDAT") + 8 +
           ((BadCrc[ChunkOffset(File, "IDAT") + 2] << 8) |
            BadCrc[ChunkOffset(File, "IDAT") + 3])] ^= 0x55;
    EXPECT_EQ(LoadError(BadCrc, "png"), "PNG: IDAT: CRC error");

    TBytes BadHeader = File;
    BadHeader[16 + 8] = 3; // bit depth 3
    EXPECT_EQ(LoadError(BadHeader, "png").rfind("PNG: ", 0), 0u);

    // Corrupt compressed data: libpng's message, whatever zlib found.
    TBytes Corrupt = WritePng(Plan);
    const std::size_t Data = ChunkOffset(Corrupt, "IDAT") + 8;
    for (std::size_t I = Data + 2; I < Data + 40; ++I) {
        Corrupt[I] = static_cast<std::uint8_t>(Corrupt[I] ^ 0xA5);
    }
    RecomputeCrc(Corrupt, Data - 8);
    const std::string Message = LoadError(Corrupt, "png");
    EXPECT_EQ(Message.rfind("PNG: ", 0), 0u) << Message;

    // 100000 x 100000 pixels: the size error, before libpng allocates anything for the image.
    TBytes Bomb = File;
    Bomb[16] = 0, Bomb[17] = 1, Bomb[18] = 0x86, Bomb[19] = 0xA0;
    Bomb[20] = 0, Bomb[21] = 1, Bomb[22] = 0x86, Bomb[23] = 0xA0;
    RecomputeCrc(Bomb, 8);
    EXPECT_EQ(InfoOf(Bomb, "png").Width, 100000);
    TPixelGraphic Image;
    EXPECT_THROW(LoadBytes(Image, Bomb, "png"), EPGInvalidSize);
}

TEST(PngFormat, LibpngMemoryIsBoundedWhileReading) {
    // Rows of 1.8 MB: libpng holds two of them, which a 1 MB budget refuses.
    TPngPlan Wide;
    Wide.Width = 300000;
    Wide.BitDepth = 16;
    const TBytes File = WritePng(Wide);
    TPixelGraphic Image;
    LoadBytes(Image, File, "png");
    EXPECT_EQ(Image.Width(), 300000);
    SetPNGMaxReadingBytes(1 << 20);
    const std::string Refused = LoadError(File, "png");
    SetPNGMaxReadingBytes(std::size_t{64} << 20);
    EXPECT_EQ(Refused.rfind("PNG: ", 0), 0u) << Refused;

    // A text chunk declaring 1.6 GB of data in a short file: libpng gets no such buffer, skips
    // the chunk and finds the file too short.
    TBytes Bomb = InsertChunk(WritePng(TPngPlan{}), "IDAT", "zTXt", "Comment");
    const std::size_t At = ChunkOffset(Bomb, "zTXt");
    Bomb[At] = 0x64, Bomb[At + 1] = 0, Bomb[At + 2] = 0, Bomb[At + 3] = 0x20;
    Image.SetReadWarningAction(pgwaIgnore);
    try {
        LoadBytes(Image, Bomb, "png");
        ADD_FAILURE() << "no error";
    } catch (const EPGPNGFileFormatReaderWriter& E) {
        EXPECT_STREQ(E.what(), "PNG: Read Error");
    }
}

TEST_F(PngWarnings, WarningsAsTheImageSaysAndAlwaysFatalInTheInformation) {
    TPngPlan Plan;
    Plan.Width = 3;
    Plan.Height = 2;
    // A text chunk with a bad checksum is dropped with a warning.
    const TBytes File =
        InsertChunk(WritePng(Plan), "IDAT", "tEXt", std::string("Title\0x", 7), true);
    EXPECT_EQ(Load(File, pgwaIgnore), "no error");
    EXPECT_TRUE(Messages.empty());

    EXPECT_EQ(Load(File, pgwaOKBox), "no error");
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Caption, "PNG Warning");
    EXPECT_EQ(Messages[0].Text, "tEXt: CRC error");
    EXPECT_EQ(Messages[0].Type, TMsgDlgType::mtWarning);

    Answer = TModalResult::mrCancel;
    EXPECT_EQ(Load(File, pgwaOKCancelBox), "PNG: Operation aborted on user request");
    EXPECT_EQ(Load(File, pgwaRaise), "PNG: tEXt: CRC error");

    bool Found = true;
    InfoOf(File, "png", &Found);
    EXPECT_FALSE(Found);
    EXPECT_EQ(InfoError(Reader, File, 0), "PNG: tEXt: CRC error");
}

TEST(PngLibrary, VersionsAgreeInMajorAndMinor) {
    EXPECT_TRUE(png::SameMajorMinor("1.6.39", "1.6.43"));
    EXPECT_TRUE(png::SameMajorMinor("1.2.13", "1.2.13.1-motley"));
    EXPECT_FALSE(png::SameMajorMinor("1.6.39", "1.5.39"));
    EXPECT_FALSE(png::SameMajorMinor("1.6", "1.60"));
    EXPECT_FALSE(png::SameMajorMinor("1.", "1."));
    EXPECT_FALSE(png::SameMajorMinor("", ""));
    EXPECT_NO_THROW(png::CheckLibraryVersions());
}

// A palette file whose pixels use indices beyond its palette loads with black entries for them;
// an image whose pixels do so is written with a palette chunk that covers them, which libpng
// then reads without complaint.
TEST(PngFormat, PaletteIndicesBeyondThePalette) {
    // libpng writes no such file: a full palette is cut down to red and green afterwards.
    TPngPlan Plan;
    Plan.Width = 4;
    Plan.ColorType = PNG_COLOR_TYPE_PALETTE;
    Plan.Palette = Colours(256);
    Plan.Palette[0] = {255, 0, 0};
    Plan.Palette[1] = {0, 255, 0};
    Plan.Sample = [](int X, int, int) {
        return std::vector<unsigned>{0, 1, 5, 200}[static_cast<std::size_t>(X)];
    };
    TBytes Short = WritePng(Plan);
    const std::size_t Cut = ChunkOffset(Short, "PLTE");
    ASSERT_NE(Cut, std::string::npos);
    Short[Cut + 2] = 0;
    Short[Cut + 3] = 6;
    Short.erase(Short.begin() + static_cast<std::ptrdiff_t>(Cut + 8 + 6),
                Short.begin() + static_cast<std::ptrdiff_t>(Cut + 8 + 768));
    RecomputeCrc(Short, Cut);
    TPixelGraphic Image;
    Image.SetReadWarningAction(pgwaIgnore);
    LoadBytes(Image, Short, "png");
    ASSERT_EQ(Image.PaletteCount(), 201);
    EXPECT_EQ(Image.PaletteColors(1), RGB(0, 255, 0));
    EXPECT_EQ(Image.PaletteColors(200), RGB(0, 0, 0));
    EXPECT_EQ(Image.PixelColors(3, 0), RGB(0, 0, 0));

    // Now the image's own palette is short, as an image built through the interface can be.
    Image.SetPaletteCount(2);
    Image.SetReadWarningAction(pgwaRaise); // any libpng warning fails the save
    const TBytes Written = SaveBytes(Image, "png");
    const TPngFacts Facts = ReadPng(Written);
    EXPECT_EQ(Facts.Palette.size(), 201u);
    const std::size_t Plte = ChunkOffset(Written, "PLTE");
    ASSERT_NE(Plte, std::string::npos);
    EXPECT_EQ(Written[Plte + 2] * 256 + Written[Plte + 3], 3 * 201);
}
