#include "bmp_builder.h"
#include "format_test_util.h"
#include "pgraphic/formats/tga/tga.h"
#include "pgraphic/image/pg_exceptions.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

struct TTgaSpec {
    int ImageType = 2;
    int Width = 1, Height = 1;
    int Depth = 24;
    int Descriptor = 0;
    int MapType = 0, First = 0, Length = 0, EntrySize = 0;
    std::string Id;
};

TBmpBuilder TgaHeader(const TTgaSpec& S) {
    TBmpBuilder B;
    B.U8(static_cast<std::uint32_t>(S.Id.size()))
        .U8(static_cast<std::uint32_t>(S.MapType))
        .U8(static_cast<std::uint32_t>(S.ImageType))
        .U16(static_cast<std::uint32_t>(S.First))
        .U16(static_cast<std::uint32_t>(S.Length))
        .U8(static_cast<std::uint32_t>(S.EntrySize))
        .U16(0)
        .U16(0)
        .U16(static_cast<std::uint32_t>(S.Width))
        .U16(static_cast<std::uint32_t>(S.Height))
        .U8(static_cast<std::uint32_t>(S.Depth))
        .U8(static_cast<std::uint32_t>(S.Descriptor));
    return B.Raw(BytesOf(S.Id));
}

TTgaSpec Spec(int Type, int Width, int Height, int Depth, int Descriptor = 0) {
    TTgaSpec S;
    S.ImageType = Type;
    S.Width = Width;
    S.Height = Height;
    S.Depth = Depth;
    S.Descriptor = Descriptor;
    return S;
}

TBmpBuilder& Bgr(TBmpBuilder& B, int R, int G, int Bl) {
    return B.U8(static_cast<std::uint32_t>(Bl))
        .U8(static_cast<std::uint32_t>(G))
        .U8(static_cast<std::uint32_t>(R));
}

const TTGAFileFormatReader Reader;

} // namespace

TEST(TgaReader, RowOrderAndDirectionFollowTheDescriptor) {
    // 2 x 2, first stored row red, green; second blue, white.
    for (const int Descriptor : {0x00, 0x10, 0x20, 0x30}) {
        for (const int Depth : {24, 32}) {
            TBmpBuilder B = TgaHeader(Spec(2, 2, 2, Depth, Descriptor));
            const int Colors[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
            for (const auto& C : Colors) {
                Bgr(B, C[0], C[1], C[2]);
                if (Depth == 32) {
                    B.U8(0x55);
                }
            }
            TPixelGraphic Image;
            LoadBytes(Image, B.Bytes, "tga");
            ASSERT_EQ(Image.BitCount(), bc24);
            const bool TopDown = (Descriptor & 0x20) != 0, RightToLeft = (Descriptor & 0x10) != 0;
            const int FirstRow = TopDown ? 0 : 1, Left = RightToLeft ? 1 : 0;
            EXPECT_EQ(Image.PixelColors(Left, FirstRow), RGB(255, 0, 0)) << Descriptor << Depth;
            EXPECT_EQ(Image.PixelColors(1 - Left, FirstRow), RGB(0, 255, 0));
            EXPECT_EQ(Image.PixelColors(Left, 1 - FirstRow), RGB(0, 0, 255));
        }
    }
}

TEST(TgaReader, SixteenBitPixelsAndGreyImages) {
    TBmpBuilder B = TgaHeader(Spec(2, 2, 1, 16));
    B.U16(0x7FFF).U16((1u << 10) | (2u << 5) | 3u);
    TPixelGraphic Image;
    LoadBytes(Image, B.Bytes, "tga");
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(248, 248, 248));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(8, 16, 24));

    // 8 bits without a colour map: grey levels.
    TBmpBuilder Grey = TgaHeader(Spec(3, 3, 1, 8));
    Grey.U8(0).U8(128).U8(255);
    LoadBytes(Image, Grey.Bytes, "tga");
    EXPECT_EQ(Image.BitCount(), bc8);
    EXPECT_EQ(Image.PaletteIdent(), pGray256);
    EXPECT_EQ(Image.Pixels(1, 0), 128u);
}

TEST(TgaReader, ColourMaps) {
    // 24-bit entries after an image ID; the pixels index them.
    TTgaSpec S = Spec(1, 2, 1, 8);
    S.Id = "made by hand";
    S.MapType = 1;
    S.Length = 3;
    S.EntrySize = 24;
    TBmpBuilder B = TgaHeader(S);
    Bgr(B, 10, 20, 30);
    Bgr(B, 40, 50, 60);
    Bgr(B, 70, 80, 90);
    B.U8(2).U8(0);
    TPixelGraphic Image;
    LoadBytes(Image, B.Bytes, "tga");
    EXPECT_EQ(Image.PaletteCount(), 3);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(70, 80, 90));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(10, 20, 30));

    // 16- and 32-bit entries; a map whose first index is 2 fills the palette from entry 2.
    S.Id.clear();
    S.First = 2;
    S.Length = 2;
    S.EntrySize = 16;
    TBmpBuilder Short = TgaHeader(S);
    Short.U16(0x001F).U16(0x7C00).U8(2).U8(3);
    LoadBytes(Image, Short.Bytes, "tga");
    ASSERT_EQ(Image.PaletteCount(), 4);
    EXPECT_EQ(Image.PaletteColors(0), RGB(0, 0, 0));
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0, 0, 248));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(248, 0, 0));
    S.First = 0;
    S.EntrySize = 32;
    TBmpBuilder Long = TgaHeader(S);
    Long.U32(0xFF010203).U32(0xFF040506).U8(1).U8(0);
    LoadBytes(Image, Long.Bytes, "tga");
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(4, 5, 6));

    // A map on a true-colour file is skipped.
    TTgaSpec True = Spec(2, 1, 1, 24);
    True.MapType = 1;
    True.Length = 2;
    True.EntrySize = 24;
    TBmpBuilder Skipped = TgaHeader(True);
    Skipped.Raw(TBytes(6, 0xEE));
    Bgr(Skipped, 1, 2, 3);
    LoadBytes(Image, Skipped.Bytes, "tga");
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(1, 2, 3));
    // 15-bit entries take two bytes each.
    True.EntrySize = 15;
    TBmpBuilder Fifteen = TgaHeader(True);
    Fifteen.Raw(TBytes(4, 0xEE));
    Bgr(Fifteen, 4, 5, 6);
    LoadBytes(Image, Fifteen.Bytes, "tga");
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(4, 5, 6));

    // A colour map without entries leaves the pixels grey levels.
    S.First = 0;
    S.Length = 0;
    S.EntrySize = 24;
    LoadBytes(Image, TgaHeader(S).U8(9).U8(200).Bytes, "tga");
    EXPECT_EQ(Image.PaletteIdent(), pGray256);
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(200, 200, 200));

    // Other entry sizes are not supported; a map longer than the file is a read error.
    S.EntrySize = 15;
    EXPECT_EQ(LoadError(TgaHeader(S).U16(0).U16(0).U8(0).U8(0).Bytes, "tga"),
              "TGA: Not supported subformat");
    S.EntrySize = 24;
    S.Length = 60000;
    EXPECT_EQ(LoadError(TgaHeader(S).Raw(TBytes(30, 0)).Bytes, "tga"), "Stream read error");
}

TEST(TgaReader, RunLengthPackets) {
    // 32 bits, run-length encoded: loads as bc24, the fourth byte ignored.
    TBmpBuilder B = TgaHeader(Spec(10, 3, 2, 32, 0x20));
    B.U8(0x82).U32(0xAA010203);                 // a run of three
    B.U8(0x01).U32(0x00040506).U32(0x00070809); // two raw pixels
    B.U8(0x80).U32(0x000A0B0C);                 // one
    TPixelGraphic Image;
    LoadBytes(Image, B.Bytes, "tga");
    EXPECT_EQ(Image.BitCount(), bc24);
    EXPECT_EQ(Image.PixelColors(2, 0), RGB(1, 2, 3));
    EXPECT_EQ(Image.PixelColors(0, 1), RGB(4, 5, 6));
    EXPECT_EQ(Image.PixelColors(1, 1), RGB(7, 8, 9));
    EXPECT_EQ(Image.PixelColors(2, 1), RGB(10, 11, 12));

    // Pixels of a packet beyond the end of a row are dropped; the next row starts afresh.
    TBmpBuilder Over = TgaHeader(Spec(11, 2, 2, 8, 0x20));
    Over.U8(0x84).U8(7);             // a run of five in a row of two
    Over.U8(0x02).U8(1).U8(2).U8(3); // three raw pixels in a row of two
    LoadBytes(Image, Over.Bytes, "tga");
    EXPECT_EQ(Image.Pixels(1, 0), 7u);
    EXPECT_EQ(Image.Pixels(0, 1), 1u);
    EXPECT_EQ(Image.Pixels(1, 1), 2u);

    // Cut data.
    EXPECT_EQ(LoadError(TgaHeader(Spec(10, 4, 1, 24)).U8(0x03).U8(1).U8(2).Bytes, "tga"),
              "TGA: Unexpected end of file");
}

TEST(TgaReader, MalformedAndHostileFiles) {
    EXPECT_EQ(LoadError(TgaHeader(Spec(2, 1, 1, 15)).U16(0).Bytes, "tga"),
              "TGA: Not supported subformat");
    EXPECT_EQ(LoadError(TBytes(17, 0), "tga"), "Stream read error");
    EXPECT_EQ(LoadError(TgaHeader(Spec(2, 2, 2, 24)).Raw(TBytes(11, 0)).Bytes, "tga"),
              "Stream read error");
    // The largest sizes the header allows, with almost no data.
    EXPECT_EQ(LoadError(TgaHeader(Spec(2, 65535, 65535, 8)).Raw(TBytes(10, 0)).Bytes, "tga"),
              "Stream read error");
    EXPECT_EQ(LoadError(TgaHeader(Spec(10, 65535, 65535, 8)).Raw(TBytes(10, 0)).Bytes, "tga"),
              "TGA: Unexpected end of file");
    // Found by extension only.
    const TBytes Good = TgaHeader(Spec(2, 1, 1, 24)).U8(3).U8(2).U8(1).Bytes;
    EXPECT_EQ(LoadError(Good, "bmp"), "Unknown file format");
    EXPECT_EQ(LoadError(Good, ""), "Unknown file format");
    EXPECT_EQ(LoadError(Good, ".TGA"), "no error");
    EXPECT_EQ(ReadError(Reader, Good, 1), "TGA: Index invalid");
}

TEST(TgaReader, ProgressComesFromTheReader) {
    TBmpBuilder B = TgaHeader(Spec(3, 1, 3, 8));
    B.U8(1).U8(2).U8(3);
    TPixelGraphic Image;
    TProgressLog Log;
    Log.AbortAfter = 1;
    Log.Attach(Image);
    ReadBytes(Reader, B.Bytes, Image);
    EXPECT_TRUE(Log.AllFrom(&Reader));
    EXPECT_EQ(Log.Steps, std::vector<int>{0});
    EXPECT_EQ(Log.Max, 3);
    EXPECT_EQ(Log.Ends, 1);
    EXPECT_EQ(Image.Pixels(0, 2), 1u); // the first stored row is the bottom row
    EXPECT_EQ(Image.Pixels(0, 1), 0u);
}

TEST(TgaReader, Information) {
    const std::tuple<int, const char*, const char*> Types[] = {
        {1, "Uncompressed", "Color-mapped"},
        {2, "Uncompressed", "True-color"},
        {3, "Uncompressed", "\"Black-and-white\""},
        {9, "Run-length encoded", "Color-mapped"},
        {10, "Run-length encoded", "True-color"},
        {11, "Run-length encoded", "\"Black-and-white\""}};
    for (const auto& [Type, Sub, Details] : Types) {
        const TPGImageFileInfo Info = InfoOf(TgaHeader(Spec(Type, 320, 200, 8)).Bytes, "tga");
        EXPECT_EQ(Info.Description, "Truevision Targa");
        EXPECT_EQ(Info.SubFormatText, Sub);
        EXPECT_EQ(Info.DetailsText, Details);
        EXPECT_EQ(Info.Width, 320);
        EXPECT_EQ(Info.Height, 200);
        EXPECT_EQ(Info.BitsPerPixel, 8);
        EXPECT_EQ(Info.ColorsText, "256");
    }
    const std::pair<int, const char*> Depths[] = {
        {16, "65536"}, {23, "8388608"}, {24, "16.7M"}, {32, "16.7M ?"}};
    for (const auto& [Depth, Colors] : Depths) {
        EXPECT_EQ(InfoOf(TgaHeader(Spec(2, 1, 1, Depth)).Bytes, "tga").ColorsText, Colors);
    }
    EXPECT_EQ(InfoError(Reader, TgaHeader(Spec(0, 1, 1, 8)).Bytes, 0),
              "TGA: Invalid value for ImageType");
    EXPECT_EQ(InfoError(Reader, TgaHeader(Spec(32, 1, 1, 8)).Bytes, 0),
              "TGA: Invalid value for ImageType");
    EXPECT_EQ(InfoError(Reader, TgaHeader(Spec(2, 1, 1, 8)).Bytes, 1),
              "TGA: Invalid value for Index");
}

TEST(TgaWriter, PaletteAndTrueColourFiles) {
    // 100 x 50 with 252 colours: header, 756 bytes of map, 5000 bytes of pixels.
    TPixelGraphic Image;
    Image.SetSize(100, 50, bc8);
    Image.SetPaletteIdent(pSpecial252);
    for (int Y = 0; Y < 50; ++Y) {
        for (int X = 0; X < 100; ++X) {
            Image.SetPixel(X, Y, static_cast<std::uint32_t>((X + 3 * Y) % 252));
        }
    }
    TBytes Bytes = SaveBytes(Image, "tga");
    ASSERT_EQ(Bytes.size(), 18u + 756u + 5000u);
    EXPECT_EQ(Bytes[1], 1);
    EXPECT_EQ(Bytes[2], 1);
    EXPECT_EQ(Bytes[5] | Bytes[6] << 8, 252);
    EXPECT_EQ(Bytes[7], 24);
    EXPECT_EQ(Bytes[12] | Bytes[13] << 8, 100);
    EXPECT_EQ(Bytes[16], 8);
    EXPECT_EQ(Bytes[17], 0);
    EXPECT_EQ(Bytes[18 + 3 * 1 + 2], 0x80);          // entry 1 is dark red, stored blue, green, red
    EXPECT_EQ(Bytes[18 + 756], Image.Pixels(0, 49)); // the bottom row comes first
    TPixelGraphic Back;
    LoadBytes(Back, Bytes, "tga");
    EXPECT_EQ(Back.PaletteIdent(), pSpecial252);
    for (int Y = 0; Y < 50; ++Y) {
        EXPECT_EQ(std::memcmp(Back.ScanLine(Y), Image.ScanLine(Y), 100), 0);
    }

    Image.SetSize(3, 2, bc24);
    Image.SetPixel(2, 0, static_cast<std::uint32_t>(RGB(1, 2, 3)));
    Bytes = SaveBytes(Image, "tga");
    ASSERT_EQ(Bytes.size(), 18u + 18u);
    EXPECT_EQ(Bytes[1], 0);
    EXPECT_EQ(Bytes[2], 2);
    EXPECT_EQ(Bytes[7], 0);
    EXPECT_EQ(Bytes[16], 24);
    EXPECT_EQ(Bytes[18 + 9 + 6], 3); // top row, last pixel: blue first
    LoadBytes(Back, Bytes, "tga");
    EXPECT_EQ(Back.PixelColors(2, 0), RGB(1, 2, 3));
}

TEST(TgaWriter, OtherResolutionsAreConvertedOrRefused) {
    TPixelGraphic Image;
    Image.SetSaveColorResWarningAction(pgwaIgnore);
    Image.SetSize(4, 4, bc1);
    Image.SetPaletteIdent(pBlackWhite);
    Image.SetPixel(1, 1, 1);
    TPixelGraphic Back;
    LoadBytes(Back, SaveBytes(Image, "tga"), "tga");
    EXPECT_EQ(Back.BitCount(), bc8); // an optimised palette of 256 colours
    EXPECT_EQ(Back.PixelColors(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(Back.PixelColors(0, 0), RGB(0, 0, 0));

    // Called directly with a format it cannot describe, or a size its header cannot hold.
    TTGAFileFormatWriter Writer;
    TMemoryStream Stream;
    EXPECT_THROW(Writer.WriteImage(Stream, Image), EPGTGAFileFormatWriter);
    Image.SetSize(70000, 1, bc24);
    try {
        Writer.WriteImage(Stream, Image);
        ADD_FAILURE() << "written";
    } catch (const EPGTGAFileFormatWriter& E) {
        EXPECT_STREQ(E.what(), "TGA: Invalid size of image");
    }
    EXPECT_EQ(Stream.Size(), 0);

    // Progress as the image, not stopped by Abort.
    Image.SetSize(1, 3, bc24);
    TProgressLog Log;
    Log.AbortAfter = 1;
    Log.Attach(Image);
    Writer.WriteImage(Stream, Image);
    EXPECT_TRUE(Log.AllFrom(&Image));
    EXPECT_EQ(Log.Steps, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Stream.Size(), 18 + 9);
}
