#include "bmp_builder.h"
#include "core/stream.h"
#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

void Load(TPixelGraphic& Image, const std::vector<std::uint8_t>& Bytes) {
    TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                        static_cast<std::int64_t>(Bytes.size()));
    Image.LoadFromStreamExt(Stream, "bmp", 0);
}

std::string LoadError(const std::vector<std::uint8_t>& Bytes) {
    TPixelGraphic Image;
    try {
        Load(Image, Bytes);
    } catch (const std::exception& E) {
        return E.what();
    }
    return "no error";
}

std::vector<std::uint8_t> Save(TPixelGraphic& Image) {
    TMemoryStream Stream;
    TBMPFileFormatWriter Writer;
    Writer.WriteImage(Stream, Image);
    return Stream.Bytes();
}

std::uint32_t At32(const std::vector<std::uint8_t>& B, std::size_t Offset) {
    std::uint32_t V;
    std::memcpy(&V, B.data() + Offset, 4);
    return V;
}

} // namespace

TEST(BmpWriter, TheShutdownLogoLayoutByteForByte) {
    TPixelGraphic Logo;
    Logo.SetSize(320, 400, bc8);
    Logo.SetPaletteIdent(pGray256);
    Logo.SetPixel(0, 399, 77); // bottom left: the first pixel byte of the file
    const auto Bytes = Save(Logo);
    ASSERT_EQ(Bytes.size(), 129078u);
    EXPECT_EQ(Bytes[0], 'B');
    EXPECT_EQ(Bytes[1], 'M');
    EXPECT_EQ(At32(Bytes, 2), 129078u);
    EXPECT_EQ(At32(Bytes, 6), 0u);
    EXPECT_EQ(At32(Bytes, 10), 1078u);
    EXPECT_EQ(At32(Bytes, 14), 40u);
    EXPECT_EQ(At32(Bytes, 18), 320u);
    EXPECT_EQ(At32(Bytes, 22), 400u);
    EXPECT_EQ(Bytes[26] | Bytes[27] << 8, 1);
    EXPECT_EQ(Bytes[28] | Bytes[29] << 8, 8);
    EXPECT_EQ(At32(Bytes, 30), 0u);
    EXPECT_EQ(At32(Bytes, 34), 128000u);
    EXPECT_EQ(At32(Bytes, 46), 256u);
    EXPECT_EQ(At32(Bytes, 50), 0u);
    EXPECT_EQ(At32(Bytes, 54 + 4 * 200), 0x00C8C8C8u); // grey 200, reserved 0
    EXPECT_EQ(Bytes[1078], 77);
    EXPECT_EQ(std::memcmp(Bytes.data() + 1078, Logo.ScanLines(), 128000), 0);
}

TEST(BmpWriter, TrueColourAndShortPalettes) {
    TPixelGraphic Image;
    Image.SetSize(3, 1, bc24);
    auto Bytes = Save(Image);
    EXPECT_EQ(Bytes.size(), 54u + 12);
    EXPECT_EQ(At32(Bytes, 46), 0u);
    EXPECT_EQ(At32(Bytes, 34), 12u);

    Image.SetSize(3, 1, bc8);
    Image.SetPaletteIdent(pSpecial252);
    Bytes = Save(Image);
    EXPECT_EQ(At32(Bytes, 46), 252u);
    EXPECT_EQ(At32(Bytes, 10), 54u + 4 * 252);
}

TEST(BmpWriter, PaletteImagesWithoutColoursWriteAWholeBlackTable) {
    // Colours-used 0 means a whole table to every reader, so one is written: the pixels come
    // back as they were instead of being taken for palette entries.
    for (const TPGBitCount Format : {bc1, bc4, bc8}) {
        TPixelGraphic Image;
        Image.SetSize(5, 3, Format);
        ASSERT_EQ(Image.PaletteCount(), 0);
        Image.SetPixel(1, 1, 1);
        Image.SetPixel(4, 2, 1);
        const auto Bytes = Save(Image);
        const std::uint32_t Entries = 1u << Image.BitCountNum();
        EXPECT_EQ(At32(Bytes, 46), Entries);
        EXPECT_EQ(At32(Bytes, 10), 54 + 4 * Entries);
        EXPECT_EQ(Bytes.size(), 54 + 4 * Entries + Image.ImageSize());
        EXPECT_EQ(At32(Bytes, 54 + 4 * (Entries - 1)), 0u);
        TPixelGraphic Back;
        Load(Back, Bytes);
        EXPECT_EQ(std::memcmp(Back.ScanLines(), Image.ScanLines(), Image.ImageSize()), 0);
        std::uint32_t Format8 = 0;
        EXPECT_EQ(Image.CopyClipboardData(Format8).size(), 40 + 4 * Entries + Image.ImageSize());
    }
}

TEST(BmpReader, RoundTripsEveryFormatAndPalette) {
    for (const TPGBitCount Format : {bc1, bc4, bc8, bc24}) {
        TPixelGraphic Image;
        Image.SetSize(13, 7, Format);
        if (Format != bc24) {
            Image.SetPaletteIdent(Format == bc1   ? pBlackWhite
                                  : Format == bc4 ? pSys16
                                                  : pSpecial216);
        }
        // Indices within the palette: a file holds no others.
        const auto Values =
            static_cast<std::uint32_t>(Format == bc24 ? 1 << 24 : Image.PaletteCount());
        for (int Y = 0; Y < 7; ++Y) {
            for (int X = 0; X < 13; ++X) {
                Image.SetPixel(X, Y,
                               static_cast<std::uint32_t>(X * 31 + Y * 7 + X * Y * 1013) % Values);
            }
        }
        TPixelGraphic Back;
        Load(Back, Save(Image));
        EXPECT_EQ(Back.BitCount(), Format);
        EXPECT_EQ(Back.PaletteIdent(), Image.PaletteIdent());
        EXPECT_EQ(Back.ImageSize(), Image.ImageSize());
        EXPECT_EQ(std::memcmp(Back.ScanLines(), Image.ScanLines(), Image.ImageSize()), 0);
    }
}

TEST(BmpReader, PaletteLengthsFollowColoursUsed) {
    auto Make = [](std::uint32_t ClrUsed, int Entries) {
        TBmpBuilder B;
        B.FileHeader().InfoHeader(2, 1, 4, 0, 0, ClrUsed);
        for (int I = 0; I < Entries; ++I) {
            B.Color(I, I, I);
        }
        return B.U8(0x12).U8(0).U8(0).U8(0).Bytes;
    };
    TPixelGraphic Image;
    Load(Image, Make(0, 16));
    EXPECT_EQ(Image.PaletteCount(), 16);
    Load(Image, Make(5, 5));
    EXPECT_EQ(Image.PaletteCount(), 5);
    EXPECT_EQ(Image.Pixels(0, 0), 1u);
    EXPECT_EQ(Image.Pixels(1, 0), 2u);
    // More colours than four bits can index: the usable ones are kept, the rest skipped.
    Load(Image, Make(20, 20));
    EXPECT_EQ(Image.PaletteCount(), 16);
    EXPECT_EQ(Image.Pixels(1, 0), 2u);
}

TEST(BmpReader, SixteenAndThirtyTwoBitFields) {
    // Default 5-5-5 masks: 0x7C00 is pure red; one in each channel is 16, 16, 16.
    TBmpBuilder B;
    B.FileHeader().InfoHeader(3, 1, 16).U16(0x7C00).U16(0x0421).U16(0x7FFF).U16(0);
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.BitCount(), bc24);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(16, 16, 16));
    EXPECT_EQ(Image.PixelColors(2, 0), RGB(255, 255, 255));

    // 5-6-5 bit fields.
    TBmpBuilder F;
    F.FileHeader()
        .InfoHeader(2, 1, 16, 3)
        .U32(0xF800)
        .U32(0x07E0)
        .U32(0x001F)
        .U16(0x07E0)
        .U16(0x0020);
    Load(Image, F.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(0, 8, 0)); // 6-bit 1: 4 + offset 4

    // 32 bits, default masks, and a zero mask giving a zero channel.
    TBmpBuilder T;
    T.FileHeader().InfoHeader(1, 1, 32).U32(0x00123456);
    Load(Image, T.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0x12, 0x34, 0x56));
    TBmpBuilder Z;
    Z.FileHeader().InfoHeader(1, 1, 32, 3).U32(0xFF0000).U32(0).U32(0xFF).U32(0x00FFFFFF);
    Load(Image, Z.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 0, 255));
    // Channels wider than 8 bits put their top bit on bit 7.
    TBmpBuilder W;
    W.FileHeader()
        .InfoHeader(1, 1, 32, 3)
        .U32(0x3FF00000)
        .U32(0x000FFC00)
        .U32(0x3FF)
        .U32(0x3FF00000 | 0x200);
    Load(Image, W.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 0, 128));
}

TEST(BmpReader, TopDownRowsAndCoreHeaders) {
    TBmpBuilder B;
    B.FileHeader().InfoHeader(1, -2, 24).U8(1).U8(2).U8(3).U8(0).U8(4).U8(5).U8(6).U8(0);
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(3, 2, 1)); // the first stored row is the top
    EXPECT_EQ(Image.PixelColors(0, 1), RGB(6, 5, 4));

    TBmpBuilder C;
    C.FileHeader().CoreHeader(2, 1, 1).U8(0).U8(0).U8(0).U8(255).U8(255).U8(255).U32(0x40);
    Load(Image, C.Bytes);
    EXPECT_EQ(Image.BitCount(), bc1);
    EXPECT_EQ(Image.PaletteIdent(), pBlackWhite);
    EXPECT_EQ(Image.Pixels(1, 0), 1u);
}

TEST(BmpReader, ImagesWithoutColumnsEndAtOnceWhateverTheirHeight) {
    // A width of 0 leaves no pixels; neither turning a top-down file over nor a bit-field row
    // loop may walk the two billion rows the header claims.
    for (const auto& [Height, Bits] :
         {std::pair{-INT32_MAX, 24}, std::pair{INT32_MAX, 16}, std::pair{-INT32_MAX, 32}}) {
        TBmpBuilder B;
        B.FileHeader().InfoHeader(0, Height, Bits).U32(0x12345678);
        TPixelGraphic Image;
        Load(Image, B.Bytes);
        EXPECT_TRUE(Image.IsEmpty());
        EXPECT_EQ(Image.Height(), INT32_MAX);
    }
}

TEST(BmpReader, ShortTopDownFilesPutTheirRowsAtTheTopAndCostOnlyTheirData) {
    // Two of five rows: the top two get them, the rest stays zero; also after an abort.
    TBmpBuilder B;
    B.FileHeader().InfoHeader(1, -5, 24).U32(0x00030201).U32(0x00060504);
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(3, 2, 1));
    EXPECT_EQ(Image.PixelColors(0, 1), RGB(6, 5, 4));
    for (int Y = 2; Y < 5; ++Y) {
        EXPECT_EQ(Image.PixelColors(0, Y), 0) << Y;
    }
    TBmpBuilder Long;
    Long.FileHeader().InfoHeader(1, -40, 24);
    for (std::uint32_t R = 0; R < 40; ++R) {
        Long.U32((R + 1) << 16); // red R + 1
    }
    Image.OnProgress = [](TObject*, int Step, int, bool& Abort) { Abort = Step == 3; };
    Load(Image, Long.Bytes);
    Image.OnProgress = nullptr;
    EXPECT_EQ(Image.Pixels(0, 0), 1u);
    EXPECT_EQ(Image.Pixels(0, 11), 12u); // three tenths of 160 bytes: 12 rows
    EXPECT_EQ(Image.Pixels(0, 12), 0u);
    EXPECT_EQ(Image.Pixels(0, 39), 0u);

    // Millions of claimed rows with a few bytes of data: the rows read are placed, quickly.
    for (const int Bits : {8, 32}) {
        TBmpBuilder Tall;
        Tall.FileHeader().InfoHeader(4, -4000000, Bits);
        if (Bits == 8) {
            for (int I = 0; I < 256; ++I) {
                Tall.Color(I, I, I);
            }
        }
        Tall.U32(0x07070707).U32(0x07070707).U32(0x07070707).U32(0x07070707);
        Load(Image, Tall.Bytes);
        EXPECT_EQ(Image.Height(), 4000000);
        EXPECT_EQ(Image.PixelColors(3, 0), RGB(7, 7, 7));
        EXPECT_EQ(Image.PixelColors(0, Bits == 8 ? 4 : 1), 0); // four rows of 8 bits, one of 32
        EXPECT_EQ(Image.PixelColors(0, 3999999), 0);
    }
}

TEST(BmpReader, RunLengthEncodedData) {
    // 03 05 00 00 00 01 on a 4 x 2 image: three pixels of index 5 at the bottom left, then end.
    TBmpBuilder B;
    B.FileHeader().InfoHeader(4, 2, 8, 1, 6, 6);
    for (int I = 0; I < 6; ++I) {
        B.Color(I, I, I);
    }
    B.Raw({3, 5, 0, 0, 0, 1});
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.Pixels(0, 1), 5u);
    EXPECT_EQ(Image.Pixels(2, 1), 5u);
    EXPECT_EQ(Image.Pixels(3, 1), 0u);
    EXPECT_EQ(Image.Pixels(0, 0), 0u);

    // Absolute runs, a delta and a run past the right edge.
    TBmpBuilder A;
    A.FileHeader().InfoHeader(4, 3, 8, 1, 14, 0);
    for (int I = 0; I < 256; ++I) {
        A.Color(I, I, I);
    }
    A.Raw({0, 3, 7, 8, 9, 0, 0, 2, 0, 1, 6, 4, 0, 1});
    Load(Image, A.Bytes);
    EXPECT_EQ(Image.Pixels(0, 2), 7u);
    EXPECT_EQ(Image.Pixels(1, 2), 8u);
    EXPECT_EQ(Image.Pixels(2, 2), 9u);
    EXPECT_EQ(Image.Pixels(3, 1), 4u); // after the delta (up one row), the run's rest is dropped
    EXPECT_EQ(Image.Pixels(0, 1), 0u);

    // RLE4: nibbles alternate, high first.
    TBmpBuilder N;
    N.FileHeader().InfoHeader(5, 1, 4, 2, 8, 2).Color(0, 0, 0).Color(1, 1, 1);
    N.Raw({3, 0x12, 0, 3, 0x34, 0x50, 0, 1});
    Load(Image, N.Bytes);
    const std::uint32_t Expected[5] = {1, 2, 1, 3, 4};
    for (int X = 0; X < 5; ++X) {
        EXPECT_EQ(Image.Pixels(X, 0), Expected[X]) << X;
    }
}

TEST(BmpReader, RejectsWhatItCannotReadWithItsMessages) {
    auto Header = [](int Bits, std::uint32_t Compression, std::int32_t Height = 1, int Planes = 1) {
        TBmpBuilder B;
        B.FileHeader().InfoHeader(1, Height, Bits, Compression, 0, 0, Planes);
        return B.Bytes;
    };
    EXPECT_EQ(LoadError(Header(8, 1, -1)), "BMP: BitmapInfoHeader.biCompression invalid");
    EXPECT_EQ(LoadError(Header(24, 3)), "BMP: BitmapInfoHeader.biCompression invalid");
    EXPECT_EQ(LoadError(Header(8, 2)), "BMP: BitmapInfoHeader.biCompression invalid");
    EXPECT_EQ(LoadError(Header(8, 4)), "BMP: BitmapInfoHeader.biCompression invalid");
    EXPECT_EQ(LoadError(Header(2, 0)), "BMP: BitmapInfoHeader.biBitCount invalid");
    EXPECT_EQ(LoadError(Header(8, 0, 1, 2)), "BMP: BitmapInfoHeader.biPlanes invalid");
    TBmpBuilder V5;
    V5.FileHeader().U32(108);
    EXPECT_EQ(LoadError(V5.Bytes), "BMP: Invalid size of BitmapInfoHeader/BitmapCoreHeader");
    TBmpBuilder Core;
    Core.FileHeader().CoreHeader(1, 1, 16);
    EXPECT_EQ(LoadError(Core.Bytes), "BMP: BitmapCoreHeader.bcBitCount invalid");
    TBmpBuilder CorePlanes;
    CorePlanes.FileHeader().CoreHeader(1, 1, 8, 0);
    EXPECT_EQ(LoadError(CorePlanes.Bytes), "BMP: BitmapCoreHeader.bcPlanes invalid");
    TBmpBuilder Negative;
    Negative.FileHeader().InfoHeader(-1, 1, 24);
    EXPECT_EQ(LoadError(Negative.Bytes), "Negative width");
    // Cut headers count their missing bytes as zero: the header size 0 is refused.
    EXPECT_EQ(LoadError({'B', 'M', 0, 0}),
              "BMP: Invalid size of BitmapInfoHeader/BitmapCoreHeader");
    // Sizes beyond what one image may hold.
    TBmpBuilder Huge;
    Huge.FileHeader().InfoHeader(100000, 100000, 24);
    EXPECT_EQ(LoadError(Huge.Bytes), "Invalid size of image");
    TBmpBuilder Tall;
    Tall.FileHeader().InfoHeader(1, INT32_MIN, 24);
    EXPECT_EQ(LoadError(Tall.Bytes), "Invalid size of image");

    TPixelGraphic Image;
    TBmpBuilder Good;
    Good.FileHeader().InfoHeader(1, 1, 24).U32(0);
    TBlockStream Stream(static_cast<const void*>(Good.Bytes.data()),
                        static_cast<std::int64_t>(Good.Bytes.size()));
    TBMPFileFormatReader Reader;
    try {
        Reader.ReadImage(Stream, Image, 1);
        ADD_FAILURE();
    } catch (const EPGBMPFileFormatReader& E) {
        EXPECT_STREQ(E.what(), "BMP: Index invalid");
    }
}

TEST(BmpReader, ShortPixelDataKeepsTheRestAndProgressBracketsTheRead) {
    TBmpBuilder B;
    B.FileHeader().InfoHeader(4, 40, 24).Raw(std::vector<std::uint8_t>(100, 0xFF));
    TPixelGraphic Image;
    std::vector<std::string> Events;
    Image.OnProgressStart = [&](TObject*) { Events.push_back("start"); };
    Image.OnProgress = [&](TObject*, int Step, int Max, bool&) {
        Events.push_back(std::to_string(Step) + "/" + std::to_string(Max));
    };
    Image.OnProgressEnd = [&](TObject*) { Events.push_back("end"); };
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 39), RGB(255, 255, 255));
    EXPECT_EQ(Image.PixelColors(0, 0), 0);
    ASSERT_EQ(Events.size(), 12u);
    EXPECT_EQ(Events.front(), "start");
    EXPECT_EQ(Events[1], "1/10");
    EXPECT_EQ(Events[10], "10/10");
    EXPECT_EQ(Events.back(), "end");

    // Abort after the second part stops reading; the end event still comes, once.
    Events.clear();
    Image.OnProgress = [&](TObject*, int Step, int, bool& Abort) {
        Events.push_back(std::to_string(Step));
        Abort = Step == 2;
    };
    Load(Image, B.Bytes);
    EXPECT_EQ(Events, (std::vector<std::string>{"start", "1", "2", "end"}));

    // A failure after the start still ends the progress, once.
    Events.clear();
    TBmpBuilder Bad;
    Bad.FileHeader().InfoHeader(1, 1, 7);
    EXPECT_THROW(Load(Image, Bad.Bytes), EPGBMPFileFormatReader);
    EXPECT_EQ(Events, (std::vector<std::string>{"start", "end"}));
}

TEST(BmpReader, InfoDescribesWithoutReadingPixels) {
    auto Info = [](const std::vector<std::uint8_t>& Bytes) {
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        TPGImageFileInfo Result;
        TBMPFileFormatReader().GetInfo(Stream, 0, Result);
        return Result;
    };
    TBmpBuilder A;
    A.FileHeader().InfoHeader(640, -400, 24);
    auto I = Info(A.Bytes);
    EXPECT_EQ(I.Width, 640);
    EXPECT_EQ(I.Height, -400);
    EXPECT_EQ(I.BitsPerPixel, 24);
    EXPECT_EQ(I.SubFormatText, "Windows, RGB, Top-Down");
    EXPECT_EQ(I.ColorsText, "16.7M");
    EXPECT_EQ(I.ImageCount, 1);
    TBmpBuilder R;
    R.FileHeader().InfoHeader(4, 4, 8, 1);
    EXPECT_EQ(Info(R.Bytes).SubFormatText, "Windows, RLE8");
    EXPECT_EQ(Info(R.Bytes).ColorsText, "256");
    TBmpBuilder F;
    F.FileHeader().InfoHeader(4, 4, 16, 3);
    EXPECT_EQ(Info(F.Bytes).SubFormatText, "Windows");
    EXPECT_EQ(Info(F.Bytes).ColorsText, "64K");
    TBmpBuilder C;
    C.FileHeader().CoreHeader(4, 4, 4);
    EXPECT_EQ(Info(C.Bytes).SubFormatText, "OS/2");
    EXPECT_EQ(Info(C.Bytes).ColorsText, "16");

    TBlockStream Stream(static_cast<const void*>(A.Bytes.data()),
                        static_cast<std::int64_t>(A.Bytes.size()));
    TPGImageFileInfo Result;
    try {
        TBMPFileFormatReader().GetInfo(Stream, 2, Result);
        ADD_FAILURE();
    } catch (const EPGBMPFileFormatReader& E) {
        EXPECT_STREQ(E.what(), "BMP: Invalid value for Index");
    }
}
