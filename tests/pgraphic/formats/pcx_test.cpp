#include "bmp_builder.h"
#include "format_test_util.h"
#include "pgraphic/formats/pcx/pcx.h"
#include "pgraphic/image/pg_exceptions.h"

#include <gtest/gtest.h>

namespace {

struct TPcxSpec {
    int Version = 5;
    int Bits = 8;
    int Planes = 1;
    int XMin = 0, YMin = 0, XMax = 0, YMax = 0;
    int BytesPerLine = 0;
    int PaletteInfo = 1;
    int Reserved = 0;
    TBytes Palette16;
};

TBmpBuilder PcxHeader(const TPcxSpec& S) {
    TBmpBuilder B;
    B.U8(0x0A)
        .U8(static_cast<std::uint32_t>(S.Version))
        .U8(1)
        .U8(static_cast<std::uint32_t>(S.Bits));
    for (const int V : {S.XMin, S.YMin, S.XMax, S.YMax, 72, 72}) {
        B.U16(static_cast<std::uint32_t>(V));
    }
    TBytes Palette = S.Palette16;
    Palette.resize(48);
    B.Raw(Palette)
        .U8(static_cast<std::uint32_t>(S.Reserved))
        .U8(static_cast<std::uint32_t>(S.Planes));
    B.U16(static_cast<std::uint32_t>(S.BytesPerLine))
        .U16(static_cast<std::uint32_t>(S.PaletteInfo));
    B.Raw(TBytes(58, 0));
    return B;
}

// Encodes bytes the simplest valid way: each byte as a run of one.
TBytes Encoded(const TBytes& Line) {
    TBytes Out;
    for (const std::uint8_t V : Line) {
        Out.push_back(0xC1);
        Out.push_back(V);
    }
    return Out;
}

TBytes Palette256() {
    TBytes P{0x0C};
    for (int I = 0; I < 768; ++I) {
        P.push_back(static_cast<std::uint8_t>(I * 7));
    }
    return P;
}

TPcxSpec Spec(int Bits, int Planes, int Width, int Height, int BytesPerLine) {
    TPcxSpec S;
    S.Bits = Bits;
    S.Planes = Planes;
    S.XMax = Width - 1;
    S.YMax = Height - 1;
    S.BytesPerLine = BytesPerLine;
    return S;
}

const TPCXFileFormatReader Reader;

} // namespace

TEST(PcxReader, SixteenColoursFromFourPlanes) {
    // 640 x 480, 1 bit in 4 planes: pixel x has plane k's bit as bit k of its index.
    TPcxSpec S = Spec(1, 4, 640, 480, 80);
    for (int I = 0; I < 48; ++I) {
        S.Palette16.push_back(static_cast<std::uint8_t>(I * 5));
    }
    TBmpBuilder B = PcxHeader(S);
    for (int Y = 0; Y < 480; ++Y) {
        TBytes Line(320, 0);
        Line[0] = 0x80;         // plane 0: pixel 0
        Line[80] = 0x80 | 0x40; // plane 1: pixels 0 and 1
        Line[240 + 79] = 0x01;  // plane 3: the last pixel
        B.Raw(Encoded(Line));
    }
    TPixelGraphic Image;
    LoadBytes(Image, B.Bytes, "pcx");
    ASSERT_EQ(Image.BitCount(), bc4);
    EXPECT_EQ(Image.Width(), 640);
    EXPECT_EQ(Image.Height(), 480);
    EXPECT_EQ(Image.PaletteCount(), 16);
    EXPECT_EQ(Image.PaletteColors(1), RGB(15, 20, 25));
    EXPECT_EQ(Image.Pixels(0, 479), 3u);
    EXPECT_EQ(Image.Pixels(1, 0), 2u);
    EXPECT_EQ(Image.Pixels(2, 0), 0u);
    EXPECT_EQ(Image.Pixels(639, 17), 8u);

    // Version 3 takes the system colours instead of the header's.
    B.Bytes[1] = 3;
    LoadBytes(Image, B.Bytes, "pcx");
    EXPECT_EQ(Image.PaletteIdent(), pSys16);
}

TEST(PcxReader, OtherFormatsAndTheirPalettes) {
    TPixelGraphic Image;
    // 1 bit: black and white; bits past the width are cleared.
    TBmpBuilder Mono = PcxHeader(Spec(1, 1, 12, 1, 2));
    Mono.Raw(Encoded({0xA5, 0xFF}));
    LoadBytes(Image, Mono.Bytes, "pcx");
    EXPECT_EQ(Image.BitCount(), bc1);
    EXPECT_EQ(Image.PaletteIdent(), pBlackWhite);
    EXPECT_EQ(Image.ScanLine(0)[0], 0xA5);
    EXPECT_EQ(Image.ScanLine(0)[1], 0xF0);

    // 8 bits: the palette comes from the end of the file, after the pixel data.
    TBmpBuilder Vga = PcxHeader(Spec(8, 1, 3, 2, 4));
    Vga.Raw(Encoded({1, 2, 3, 0})).Raw(Encoded({4, 5, 6, 0})).Raw(Palette256());
    LoadBytes(Image, Vga.Bytes, "pcx");
    EXPECT_EQ(Image.BitCount(), bc8);
    EXPECT_EQ(Image.PaletteCount(), 256);
    EXPECT_EQ(Image.PaletteColors(1), RGB(21, 28, 35));
    EXPECT_EQ(Image.Pixels(0, 0), 1u);
    EXPECT_EQ(Image.Pixels(2, 1), 6u);

    // 24 bits: red, green and blue planes.
    TBmpBuilder Rgb = PcxHeader(Spec(8, 3, 2, 1, 2));
    Rgb.Raw(Encoded({10, 11, 20, 21, 30, 31}));
    LoadBytes(Image, Rgb.Bytes, "pcx");
    EXPECT_EQ(Image.BitCount(), bc24);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(11, 21, 31));
}

TEST(PcxReader, RunsAreCutAtTheEndOfTheRow) {
    // A run of 63 that starts 10 bytes before the end of a line fills those 10 bytes; the next
    // row starts with a new code byte. Bytes below 0xC0 stand for themselves.
    TBmpBuilder B = PcxHeader(Spec(8, 1, 12, 2, 12));
    B.U8(7).U8(8).U8(0xFF).U8(9);
    B.U8(0xC2).U8(4).U8(0xCA).U8(5);
    B.Raw(Palette256());
    TPixelGraphic Image;
    LoadBytes(Image, B.Bytes, "pcx");
    EXPECT_EQ(Image.Pixels(0, 0), 7u);
    EXPECT_EQ(Image.Pixels(1, 0), 8u);
    for (int X = 2; X < 12; ++X) {
        EXPECT_EQ(Image.Pixels(X, 0), 9u);
    }
    EXPECT_EQ(Image.Pixels(0, 1), 4u);
    EXPECT_EQ(Image.Pixels(1, 1), 4u);
    EXPECT_EQ(Image.Pixels(11, 1), 5u);
}

TEST(PcxReader, RowsWhoseStrideHasNoPaddingStayInside) {
    // Width 32 of 1 bit: the byte after the last whole byte is outside the row.
    TBmpBuilder B = PcxHeader(Spec(1, 1, 32, 2, 4));
    B.Raw(Encoded({1, 2, 3, 4})).Raw(Encoded({5, 6, 7, 8}));
    TPixelGraphic Image;
    LoadBytes(Image, B.Bytes, "pcx");
    EXPECT_EQ(Image.ScanLine(0)[3], 4);
    EXPECT_EQ(Image.ScanLine(1)[0], 5);
}

TEST(PcxReader, MalformedFilesRaiseTheReadersMessage) {
    TBytes Good = PcxHeader(Spec(8, 1, 2, 1, 2)).Raw(Encoded({1, 2})).Raw(Palette256()).Bytes;
    EXPECT_EQ(LoadError(Good, "pcx"), "no error");

    TBytes NoMarker = Good;
    NoMarker[NoMarker.size() - 769] = 0x0B;
    EXPECT_EQ(LoadError(NoMarker, "pcx"), "PCX: Unknown subformat");
    // A palette that would begin before the stream does.
    EXPECT_EQ(LoadError(PcxHeader(Spec(8, 1, 1, 1, 2)).U8(0xC2).U8(0).Bytes, "pcx"),
              "PCX: Unknown subformat");

    TPcxSpec Grey = Spec(8, 1, 2, 1, 2);
    Grey.PaletteInfo = 2;
    EXPECT_EQ(LoadError(PcxHeader(Grey).Raw(Encoded({1, 2})).Bytes, "pcx"),
              "PCX: Unknown subformat");
    TPcxSpec Reserved = Spec(8, 3, 2, 1, 2);
    Reserved.Reserved = 1;
    EXPECT_EQ(LoadError(PcxHeader(Reserved).Bytes, "pcx"), "PCX: Unknown subformat");
    EXPECT_EQ(LoadError(PcxHeader(Spec(2, 1, 2, 1, 2)).Bytes, "pcx"), "PCX: Unknown subformat");
    EXPECT_EQ(LoadError(PcxHeader(Spec(8, 4, 2, 1, 2)).Bytes, "pcx"), "PCX: Unknown subformat");

    // Cut anywhere: in the header, in a row, in a run.
    TBytes Rgb = PcxHeader(Spec(8, 3, 2, 2, 2)).Raw(Encoded(TBytes(12, 3))).Bytes;
    for (const std::size_t Size :
         {std::size_t{1}, std::size_t{127}, std::size_t{129}, Rgb.size() - 1}) {
        EXPECT_EQ(
            LoadError(TBytes(Rgb.begin(), Rgb.begin() + static_cast<std::ptrdiff_t>(Size)), "pcx"),
            "PCX: Unexpected end of file")
            << Size;
    }
}

TEST(PcxReader, HostileSizesFailBeforeAllocating) {
    // x max below x min: the size error of the image.
    TPcxSpec Backwards = Spec(8, 3, 1, 1, 2);
    Backwards.XMin = 10;
    Backwards.XMax = 5;
    TPixelGraphic Image;
    try {
        LoadBytes(Image, PcxHeader(Backwards).Raw(TBytes(64, 0)).Bytes, "pcx");
        ADD_FAILURE() << "loaded";
    } catch (const EPGInvalidSize& E) {
        EXPECT_STREQ(E.what(), "Negative width");
    }
    // Bytes per line that do not cover the width.
    EXPECT_EQ(LoadError(PcxHeader(Spec(8, 3, 100, 1, 50)).Raw(TBytes(600, 0)).Bytes, "pcx"),
              "PCX: BytesPerLine invalid");
    EXPECT_EQ(LoadError(PcxHeader(Spec(1, 4, 17, 1, 2)).Raw(TBytes(600, 0)).Bytes, "pcx"),
              "PCX: BytesPerLine invalid");
    // 60000 x 60000 true colour is beyond the image size limit; 10000 x 10000 would fit it but
    // not the 200 bytes of data.
    EXPECT_EQ(
        LoadError(PcxHeader(Spec(8, 3, 10000, 10000, 10000)).Raw(TBytes(200, 0xC0)).Bytes, "pcx"),
        "PCX: Unexpected end of file");
}

TEST(PcxReader, ProgressComesFromTheReaderAndAbortKeepsTheRowsRead) {
    TBmpBuilder B = PcxHeader(Spec(8, 3, 1, 3, 1));
    for (int Y = 0; Y < 3; ++Y) {
        B.Raw(Encoded({9, 9, 9}));
    }
    TPixelGraphic Image;
    TProgressLog Log;
    Log.AbortAfter = 1;
    Log.Attach(Image);
    ReadBytes(Reader, B.Bytes, Image);
    EXPECT_TRUE(Log.AllFrom(&Reader));
    EXPECT_EQ(Log.Steps, std::vector<int>{0});
    EXPECT_EQ(Log.Max, 3);
    EXPECT_EQ(Log.Starts, 1);
    EXPECT_EQ(Log.Ends, 1);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(Image.PixelColors(0, 1), 0);

    // The end event also comes when reading fails.
    TProgressLog Failing;
    Failing.Attach(Image);
    const TBytes Cut(B.Bytes.begin(), B.Bytes.end() - 3);
    EXPECT_THROW(ReadBytes(Reader, Cut, Image), EPGPCXFileFormatReader);
    EXPECT_EQ(Failing.Starts, 1);
    EXPECT_EQ(Failing.Ends, 1);
}

TEST(PcxReader, IndexAndInformation) {
    TBytes Bytes = PcxHeader(Spec(1, 4, 640, 350, 80)).Bytes;
    EXPECT_EQ(ReadError(Reader, Bytes, 1), "PCX: Index invalid");
    EXPECT_EQ(InfoError(Reader, Bytes, 1), "PCX: Invalid value for Index");

    TPGImageFileInfo Info = InfoOf(Bytes, "");
    EXPECT_EQ(Info.Description, "Paintbrush");
    EXPECT_EQ(Info.ImageCount, 1);
    EXPECT_EQ(Info.BitsPerPixel, 4);
    EXPECT_EQ(Info.ColorsText, "16");
    EXPECT_EQ(Info.Width, 640);
    EXPECT_EQ(Info.Height, 350);
    EXPECT_EQ(Info.SubFormatText, "Version 3.0 (5)");
    const std::pair<int, const char*> Versions[] = {{0, "Version 2.5 (0)"},
                                                    {2, "Version 2.8 (2) with Palette"},
                                                    {3, "Version 2.8 (3) without Palette"},
                                                    {4, ""}};
    for (const auto& [Version, Text] : Versions) {
        Bytes[1] = static_cast<std::uint8_t>(Version);
        EXPECT_EQ(InfoOf(Bytes, "").SubFormatText, Text);
    }
    Bytes[65] = 3;
    Bytes[3] = 8;
    EXPECT_EQ(InfoOf(Bytes, "").ColorsText, "16.7M");
    Bytes[65] = 1;
    EXPECT_EQ(InfoOf(Bytes, "").ColorsText, "256");
    Bytes[68] = 2;
    bool Found = true;
    InfoOf(Bytes, "", &Found);
    EXPECT_FALSE(Found); // "Unknown subformat" makes the query fail
}

TEST(PcxReader, FoundByItsFirstByteWhateverTheName) {
    const TBytes Bytes = PcxHeader(Spec(8, 3, 1, 1, 1)).Raw(Encoded({1, 2, 3})).Bytes;
    TPixelGraphic Image;
    LoadBytes(Image, Bytes, "bmp");
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(1, 2, 3));
}
