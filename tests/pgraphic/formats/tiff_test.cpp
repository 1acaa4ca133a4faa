#include "core/pg_exceptions.h"
#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/formats/tiff/tiff.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/message_box.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>
#include <map>

namespace {

using TBytes = std::vector<std::uint8_t>;

// Restores the TIFF settings and the message box after each test, and records messages.
class Tiff : public ::testing::Test {
protected:
    void SetUp() override {
        Previous = SetMessageBoxHook([this](const TMessageBoxRequest& Request) {
            Messages.push_back(Request);
            return Answer;
        });
    }
    void TearDown() override {
        SetMessageBoxHook(Previous);
        SetTIFFMultiImage(false);
        SetTIFFMaxImages(1000);
        SetTIFFCompression(1);
        SetTIFFWriteCMYK(false);
        SetTIFFWhiteIsZero(false);
        SetTIFFBigEndian(false);
        SetTIFFResolutionUnit(truInch);
        SetTIFFXResolution({});
        SetTIFFYResolution({});
    }

    static void Load(TPixelGraphic& Image, const TBytes& Bytes, int Index = 0) {
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        Image.LoadFromStreamExt(Stream, "tif", Index);
    }
    std::string LoadError(const TBytes& Bytes, TPGWarningAction Action = pgwaRaise) {
        TPixelGraphic Image;
        Image.SetReadWarningAction(Action);
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        try {
            TTIFFileFormatReader().ReadImage(Stream, Image, 0);
        } catch (const EPGTIFFileFormatReader& E) {
            return E.what();
        } catch (const EReadError& E) {
            return std::string("read error: ") + E.what();
        } catch (const EPGInvalidSize& E) {
            return std::string("size error: ") + E.what();
        }
        return "no error";
    }
    static TPGImageFileInfo Info(const TBytes& Bytes, int Index = 0) {
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        TPGImageFileInfo Result;
        TTIFFileFormatReader().GetInfo(Stream, Index, Result);
        return Result;
    }
    static TBytes Save(TPixelGraphic& Image) {
        TMemoryStream Stream;
        TTIFFileFormatWriter().WriteImage(Stream, Image);
        return Stream.Bytes();
    }

    TMessageBoxHook Previous;
    std::vector<TMessageBoxRequest> Messages;
    TModalResult Answer = TModalResult::mrOK;
};

// A 3 x 2 RGB image in one strip, in either byte order.
TBytes Rgb3x2(bool BigEndian) {
    TTiffBuilder B(BigEndian);
    const auto Strip = B.Data({10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    B.Image(3, 2, {8, 8, 8}, 2, {Strip}, 2);
    B.Directory();
    return B.Bytes;
}

// The entries of the first directory of a little-endian file: tag to (type, count, field).
struct TEntry {
    std::uint32_t Type, Count, Field;
};
std::map<std::uint32_t, TEntry> Entries(const TBytes& B) {
    const auto U16 = [&](std::size_t At) {
        return static_cast<std::uint32_t>(B[At] | B[At + 1] << 8);
    };
    const auto U32 = [&](std::size_t At) { return U16(At) | U16(At + 2) << 16; };
    std::map<std::uint32_t, TEntry> Result;
    const std::size_t Ifd = U32(4);
    for (std::size_t I = 0; I < U16(Ifd); ++I) {
        const std::size_t E = Ifd + 2 + 12 * I;
        Result[U16(E)] = {U16(E + 2), U32(E + 4), U32(E + 8)};
    }
    return Result;
}

void ExpectSamePixels(const TPixelGraphic& A, const TPixelGraphic& B) {
    ASSERT_EQ(A.Width(), B.Width());
    ASSERT_EQ(A.Height(), B.Height());
    ASSERT_EQ(A.BitCount(), B.BitCount());
    for (int Y = 0; Y < A.Height(); ++Y) {
        for (int X = 0; X < A.Width(); ++X) {
            ASSERT_EQ(A.PixelColors(X, Y), B.PixelColors(X, Y)) << X << "," << Y;
        }
    }
}

} // namespace

// --- Reading ---------------------------------------------------------------------------------

TEST_F(Tiff, BothByteOrdersReadToTheSamePixels) {
    TPixelGraphic Little, Big;
    Load(Little, Rgb3x2(false));
    Load(Big, Rgb3x2(true));
    ASSERT_EQ(Little.BitCount(), bc24);
    EXPECT_EQ(Little.PixelColors(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(Little.PixelColors(2, 1), RGB(7, 8, 9));
    ExpectSamePixels(Little, Big);
}

TEST_F(Tiff, GreyBilevelAndWhiteIsZeroLayouts) {
    // 1 bit, 10 pixels wide: 0 = black for BlackIsZero and palette, inverted for WhiteIsZero.
    for (const std::uint32_t Photometric : {0u, 1u, 3u}) {
        TTiffBuilder B;
        const auto Strip = B.Data({0xA5, 0xC0});
        B.Image(10, 1, {1}, Photometric, {Strip}, 1);
        B.Directory();
        TPixelGraphic Image;
        Load(Image, B.Bytes);
        ASSERT_EQ(Image.BitCount(), bc1);
        EXPECT_EQ(Image.PaletteIdent(), pBlackWhite);
        const std::uint32_t Set = Photometric == 0 ? 0 : 1;
        EXPECT_EQ(Image.Pixels(0, 0), Set);
        EXPECT_EQ(Image.Pixels(1, 0), 1 - Set);
        EXPECT_EQ(Image.Pixels(8, 0), Set);
        EXPECT_EQ(Image.Pixels(9, 0), Set);
        // Bits beyond the width stay clear in the pixel buffer.
        EXPECT_EQ(Image.ScanLine(0)[1] & 0x3F, 0);
    }
    TTiffBuilder B;
    const auto Strip = B.Data({0x0F, 0x30, 0x00, 0xFF});
    B.Image(3, 1, {4}, 0, {Strip}, 1).Directory();
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    ASSERT_EQ(Image.BitCount(), bc4);
    EXPECT_EQ(Image.PaletteIdent(), pGray16);
    EXPECT_EQ(Image.Pixels(0, 0), 15u);
    EXPECT_EQ(Image.Pixels(1, 0), 0u);
    EXPECT_EQ(Image.Pixels(2, 0), 12u);

    TTiffBuilder G(true);
    const auto Grey = G.Data({0, 100, 255});
    G.Image(3, 1, {8}, 0, {Grey}, 1).Directory();
    Load(Image, G.Bytes);
    EXPECT_EQ(Image.PaletteIdent(), pGray256);
    EXPECT_EQ(Image.Pixels(0, 0), 255u);
    EXPECT_EQ(Image.Pixels(1, 0), 155u);
}

TEST_F(Tiff, ColourMapsGiveThePalette) {
    std::vector<std::uint32_t> Map(48, 0);
    Map[1] = 0xFF00;      // red of entry 1
    Map[16 + 1] = 0x80FF; // green of entry 1
    Map[32 + 2] = 0x1234; // blue of entry 2
    TTiffBuilder B;
    const auto Strip = B.Data({0x12});
    B.Image(2, 1, {4}, 3, {Strip}, 1).Tag(320, 3, Map).Directory();
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    ASSERT_EQ(Image.BitCount(), bc4);
    EXPECT_EQ(Image.PaletteCount(), 16);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 128, 0));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(0, 0, 0x12));

    // An 8-bit image with a short map gets as many colours as the map has.
    TTiffBuilder S;
    const auto Pixels = S.Data({0, 1});
    S.Image(2, 1, {8}, 3, {Pixels}, 1).Tag(320, 3, {0x100, 0x200, 0, 0, 0x300, 0xFFFF}).Directory();
    Load(Image, S.Bytes);
    ASSERT_EQ(Image.BitCount(), bc8);
    EXPECT_EQ(Image.PaletteCount(), 2);
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(2, 0, 255));
}

TEST_F(Tiff, FourSamplesRgbaAndCmyk) {
    TTiffBuilder B;
    const auto Strip = B.Data({255, 0, 0, 0, 0, 100, 50, 20, 10, 20, 30, 240});
    B.Image(3, 1, {8, 8, 8, 8}, 5, {Strip}, 1).Directory();
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0, 255, 255));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(235, 135, 185));
    EXPECT_EQ(Image.PixelColors(2, 0), RGB(5, 0, 0)); // each channel floors at 0 separately
    TTiffBuilder A;
    const auto Rgba = A.Data({1, 2, 3, 99, 4, 5, 6, 99});
    A.Image(2, 1, {8, 8, 8, 8}, 2, {Rgba}, 1).Directory();
    Load(Image, A.Bytes);
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(4, 5, 6));
}

TEST_F(Tiff, StripsInAnyOrderAndTheLastEntryOfATagWins) {
    TTiffBuilder B;
    const auto Third = B.Data({5, 6});
    const auto First = B.Data({1, 2});
    const auto Second = B.Data({3, 4, 0});
    B.Long(256, 99).Image(1, 5, {8}, 1, {First, Second, Third}, 2).Directory();
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    ASSERT_EQ(Image.Width(), 1);
    for (int Y = 0; Y < 5; ++Y) {
        EXPECT_EQ(Image.Pixels(0, Y), static_cast<std::uint32_t>(Y + 1));
    }
}

TEST_F(Tiff, PackBitsRowsAndTheirOverrun) {
    TTiffBuilder B;
    // Row 0: repeat 3 x 7 then literal 9; row 1 continues in the same strip; -128 is skipped.
    const auto Strip = B.Data({0xFE, 7, 0, 9, 0x80, 3, 1, 2, 3, 4});
    B.Image(4, 2, {8}, 1, {Strip}, 2, 32773).Directory();
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.Pixels(2, 0), 7u);
    EXPECT_EQ(Image.Pixels(3, 0), 9u);
    EXPECT_EQ(Image.Pixels(3, 1), 4u);

    TTiffBuilder Bad;
    const auto Over = Bad.Data({3, 1, 2, 3, 4, 0xFC, 5});
    Bad.Image(4, 2, {8}, 1, {Over}, 2, 32773).Directory();
    EXPECT_EQ(LoadError(Bad.Bytes), "TIFF (PackBits): Invalid count of bytes in row 1");
}

TEST_F(Tiff, ASingleStripShorterThanTheImageAsksFirst) {
    TTiffBuilder B;
    const auto Strip = B.Data({1, 2, 3, 4});
    B.Image(1, 4, {8}, 1, {Strip}, 1).Directory();
    const std::string Text = "TIFF: NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip";
    EXPECT_EQ(LoadError(B.Bytes, pgwaRaise), Text);
    EXPECT_EQ(LoadError(B.Bytes, pgwaIgnore), "no error");
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(LoadError(B.Bytes, pgwaOKBox), "no error");
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Caption, "TIFF-Warning");
    EXPECT_EQ(Messages[0].Text, Text);
    EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons::mbOK);
    Answer = TModalResult::mrCancel;
    EXPECT_EQ(LoadError(B.Bytes, pgwaOKCancelBox), Text);
    EXPECT_EQ(Messages.back().Buttons, TMsgDlgButtons::mbOKCancel);
    Answer = TModalResult::mrOK;
    TPixelGraphic Image;
    Image.SetReadWarningAction(pgwaOKCancelBox);
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.Pixels(0, 3), 4u); // the one strip held the whole image

    // With several strips a wrong count is an error whatever the action.
    TTiffBuilder Two;
    const auto S = Two.Data({1, 2, 3, 4});
    Two.Image(1, 4, {8}, 1, {S, S}, 1).Directory();
    EXPECT_EQ(LoadError(Two.Bytes, pgwaIgnore), Text);
    TTiffBuilder None;
    None.Image(1, 4, {8}, 1, {}, 1).Directory();
    EXPECT_EQ(LoadError(None.Bytes, pgwaIgnore), Text);
}

TEST_F(Tiff, UnsupportedCompressionsAreNamedButStillDescribed) {
    const std::map<std::uint32_t, std::string> Names = {
        {2, "CCITT 1D"}, {3, "Group 3 Fax"}, {4, "Group 4 Fax"}, {5, "LZW"}, {6, "JPEG"}, {0, "0"},
        {8, "8"}};
    for (const auto& [Code, Name] : Names) {
        TTiffBuilder B;
        B.Image(2, 2, {8, 8, 8}, 2, {8}, 2, Code).Directory();
        EXPECT_EQ(LoadError(B.Bytes), "TIFF: Unsupported compression " + Name);
    }
    TTiffBuilder Lzw(true);
    Lzw.Image(640, 480, {8, 8, 8}, 2, {8}, 480, 5).Directory();
    const TPGImageFileInfo I = Info(Lzw.Bytes);
    EXPECT_EQ(I.SubFormatText, "M, LZW, RGB");
    EXPECT_EQ(I.DetailsText, "(Unsupported compression)");
    EXPECT_EQ(I.Width, 640);
    EXPECT_EQ(I.Height, 480);
    EXPECT_EQ(I.BitsPerPixel, 24);
    EXPECT_EQ(I.ColorsText, "16.7 M");
    EXPECT_EQ(I.ImageCount, 1);
}

TEST_F(Tiff, InformationTexts) {
    struct TCase {
        std::vector<std::uint32_t> Bits;
        std::uint32_t Photometric, Compression;
        const char* SubFormat;
        const char* Colors;
    };
    const TCase Cases[] = {{{1}, 0, 1, "I, Uncompr., WhiteIsZero", "2"},
                           {{4}, 1, 32773, "I, PackBits, BlackIsZero", "16"},
                           {{8}, 3, 1, "I, Uncompr., RGB Palette", "256"},
                           {{8, 8, 8, 8}, 5, 1, "I, Uncompr., CMYK", "16.7 M"},
                           {{8, 8, 8}, 2, 7, "I, , RGB", "16.7 M"}};
    for (const TCase& C : Cases) {
        TTiffBuilder B;
        B.Image(5, 4, C.Bits, C.Photometric, {8}, 4, C.Compression).Directory();
        const TPGImageFileInfo I = Info(B.Bytes);
        EXPECT_EQ(I.SubFormatText, C.SubFormat);
        EXPECT_EQ(I.ColorsText, C.Colors);
        EXPECT_EQ(I.DetailsText, "");
    }
    TPGImageFileInfo Found;
    const TBytes Bytes = Rgb3x2(false);
    TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                        static_cast<std::int64_t>(Bytes.size()));
    ASSERT_TRUE(GetImageFileInfoFromStream(Stream, "", 0, Found));
    EXPECT_EQ(Found.Description, "Tagged Image File Format");
    EXPECT_EQ(Found.BitsPerPixel, 24);
}

TEST_F(Tiff, DirectoryErrors) {
    const auto Build = [](auto&& Fill) {
        TTiffBuilder B;
        Fill(B);
        B.Directory();
        return B.Bytes;
    };
    TBytes NotTiff = Rgb3x2(false);
    NotTiff[2] = 43;
    EXPECT_EQ(LoadError(NotTiff), "TIFF: Not a TIF file");
    EXPECT_EQ(
        LoadError(Build([](TTiffBuilder& B) { B.Image(2, 2, {8}, 1, {8}, 2).Short(284, 2); })),
        "TIFF: PlanarConfiguration invalid");
    EXPECT_EQ(LoadError(Build([](TTiffBuilder& B) {
                  B.Image(2, 2, {8, 8}, 1, {8}, 2);
              })),
              "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(LoadError(Build([](TTiffBuilder& B) {
                  B.Image(2, 2, {8, 8, 8}, 2, {8}, 2).Short(277, 4);
              })),
              "TIFF: Invalid count of SamplesPerPixel");
    EXPECT_EQ(LoadError(Build([](TTiffBuilder& B) { B.Image(2, 2, {16}, 1, {8}, 2); })),
              "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(LoadError(Build([](TTiffBuilder& B) {
                  B.Image(2, 2, {8, 8, 8}, 5, {8}, 2);
              })),
              "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(LoadError(Build([](TTiffBuilder& B) {
                  B.Image(2, 2, {8}, 1, {8, 9}, 0);
              })),
              "TIFF: Invalid RowsPerStrip");
    EXPECT_EQ(
        LoadError(Build([](TTiffBuilder& B) { B.Image(2, 2, {8}, 1, {8}, 2).Raw(256, 5, 1, 8); })),
        "TIFF: Unsupported field Type: 5");
    // Tags that are not read may have any type.
    EXPECT_EQ(LoadError(Build([](TTiffBuilder& B) {
                  B.Image(1, 1, {8}, 1, {0}, 1).Raw(282, 5, 1, 0).Raw(700, 99, 1, 0);
              })),
              "no error");
    TPixelGraphic Image;
    EXPECT_THROW(Load(Image, Rgb3x2(false), 1), EPGTIFFileFormatReader);
}

TEST_F(Tiff, RowsPerStripAbsentMeansOneStrip) {
    TTiffBuilder B;
    const auto Strip = B.Data({1, 2, 3});
    B.Long(256, 1).Long(257, 3).Short(258, 8).Short(259, 1).Short(262, 1).Tag(273, 4, {Strip});
    B.Short(277, 1).Directory();
    TPixelGraphic Image;
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.Pixels(0, 2), 3u);
}

TEST_F(Tiff, HostileFilesEndInErrorsNotInAllocations) {
    // Pixel data that the file does not hold, for a large declared size: refused before the
    // image is sized.
    TTiffBuilder Huge;
    Huge.Image(20000, 20000, {8}, 1, {8}, 20000).Directory();
    EXPECT_EQ(LoadError(Huge.Bytes), "read error: Stream read error");
    TTiffBuilder HugePacked;
    const auto Few = HugePacked.Data({0x81, 0});
    HugePacked.Image(20000, 20000, {8}, 1, {Few}, 20000, 32773).Directory();
    EXPECT_EQ(LoadError(HugePacked.Bytes), "read error: Stream read error");
    // Strip offsets past the end, arrays of billions of values, a directory past the end.
    TTiffBuilder Past;
    Past.Image(4, 4, {8}, 1, {1u << 30}, 4).Directory();
    EXPECT_EQ(LoadError(Past.Bytes), "read error: Stream read error");
    TTiffBuilder Billions;
    Billions.Image(4, 4, {8}, 1, {8}, 4).Raw(273, 4, 3000000000u, 8).Directory();
    EXPECT_EQ(LoadError(Billions.Bytes), "read error: Stream read error");
    TBytes Dangling = Rgb3x2(false);
    Dangling[4] = 0xF0;
    EXPECT_EQ(LoadError(Dangling), "read error: Stream read error");
    EXPECT_EQ(LoadError({'I', 'I', 42}), "read error: Stream read error");
    // Sizes beyond what an image can have.
    TTiffBuilder Wide;
    Wide.Image(0x80000000u, 1, {8}, 1, {8}, 1).Directory();
    EXPECT_EQ(LoadError(Wide.Bytes), "size error: Invalid size of image");
    // RowsPerStrip far beyond the height: one strip.
    TTiffBuilder Tall;
    const auto Data = Tall.Data({1, 2});
    Tall.Image(1, 2, {8}, 1, {Data}, 0xFFFFFFFFu).Directory();
    EXPECT_EQ(LoadError(Tall.Bytes), "no error");
    // No rows at all: an empty image, whatever the strips say, and no row buffer for a width
    // of 680 million CMYK pixels.
    TTiffBuilder Empty;
    Empty.Image(5, 0, {8}, 1, {}, 0).Tag(273, 4, {8}).Directory();
    TPixelGraphic Image;
    Load(Image, Empty.Bytes);
    EXPECT_TRUE(Image.IsEmpty());
    TTiffBuilder Wider;
    Wider.Image(682164237, 0, {8, 8, 8, 8}, 5, {8}, 1).Directory();
    Load(Image, Wider.Bytes);
    EXPECT_TRUE(Image.IsEmpty());
}

TEST_F(Tiff, DirectoryChainsWithManyImages) {
    TTiffBuilder B;
    for (std::uint8_t I = 0; I < 3; ++I) {
        const auto Strip = B.Data({static_cast<std::uint8_t>(10 * I + 1)});
        B.Image(1, 1, {8}, 1, {Strip}, 1).Directory();
    }
    EXPECT_EQ(Info(B.Bytes).ImageCount, 1);
    TPixelGraphic Image;
    EXPECT_THROW(Load(Image, B.Bytes, 2), EPGTIFFileFormatReader);
    SetTIFFMultiImage(true);
    EXPECT_EQ(Info(B.Bytes).ImageCount, 3);
    Load(Image, B.Bytes, 2);
    EXPECT_EQ(Image.Pixels(0, 0), 21u);
    try {
        Load(Image, B.Bytes, 3);
        FAIL();
    } catch (const EPGTIFFileFormatReader& E) {
        EXPECT_STREQ(E.what(), "TIFF: Index invalid");
    }
    // Beyond the bound, or looping, or leaving the file: one image, the first.
    SetTIFFMaxImages(2);
    EXPECT_EQ(Info(B.Bytes).ImageCount, 1);
    SetTIFFMaxImages(1000);
    TTiffBuilder Loop;
    const auto Strip = Loop.Data({7});
    const auto First = Loop.Image(1, 1, {8}, 1, {Strip}, 1).Directory();
    Loop.Image(1, 1, {8}, 1, {Strip}, 1).Directory(First);
    EXPECT_EQ(Info(Loop.Bytes).ImageCount, 1);
    SetTIFFMaxImages(2000000000);
    EXPECT_EQ(Info(Loop.Bytes).ImageCount, 1);
    TTiffBuilder Away;
    Away.Image(1, 1, {8}, 1, {8}, 1).Directory(0x7FFFFFF0);
    EXPECT_EQ(Info(Away.Bytes).ImageCount, 1);
}

TEST_F(Tiff, ProgressComesFromTheReaderAndAbortKeepsTheRest) {
    TTiffBuilder B;
    const auto Strip = B.Data({1, 2, 3, 4});
    B.Image(1, 4, {8}, 1, {Strip}, 4).Directory();
    TPixelGraphic Image;
    std::vector<int> Steps;
    TObject* Sender = nullptr;
    int Ends = 0;
    Image.OnProgressStart = [&](TObject* S) { Sender = S; };
    Image.OnProgress = [&](TObject* S, int Step, int Max, bool& Abort) {
        EXPECT_EQ(S, Sender);
        EXPECT_EQ(Max, 4);
        Steps.push_back(Step);
        Abort = Step == 1;
    };
    Image.OnProgressEnd = [&](TObject*) { ++Ends; };
    Load(Image, B.Bytes);
    EXPECT_NE(Sender, &Image);
    EXPECT_NE(dynamic_cast<TTIFFileFormatReader*>(Sender), nullptr);
    EXPECT_EQ(Steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(Image.Pixels(0, 1), 2u);
    EXPECT_EQ(Image.Pixels(0, 2), 0u);
    EXPECT_EQ(Ends, 1);

    TTiffBuilder Bad;
    const auto Over = Bad.Data({0xF0, 1});
    Bad.Image(1, 2, {8}, 1, {Over}, 2, 32773).Directory();
    Image.OnProgress = nullptr;
    EXPECT_THROW(Load(Image, Bad.Bytes), EPGTIFFileFormatReader);
    EXPECT_EQ(Ends, 2);
}

// --- Writing ---------------------------------------------------------------------------------

TEST_F(Tiff, A300x200PaletteImageLayout) {
    TPixelGraphic Image;
    Image.SetSize(300, 200, bc8);
    Image.SetPaletteIdent(pSpecial252);
    Image.SetPixel(299, 199, 251);
    const TBytes Bytes = Save(Image);
    auto E = Entries(Bytes);
    ASSERT_EQ(E.size(), 14u);
    EXPECT_EQ(E[278].Field, 109u);
    EXPECT_EQ(E[273].Count, 2u);
    EXPECT_EQ(E[279].Count, 2u);
    EXPECT_EQ(E[262].Field, 3u);
    EXPECT_EQ(E[320].Type, 3u);
    EXPECT_EQ(E[320].Count, 768u);
    EXPECT_EQ(E[258].Field, 8u);
    EXPECT_EQ(E[259].Field, 1u);
    EXPECT_EQ(E[296].Field, 2u);
    EXPECT_EQ(E[282].Type, 5u);
    const auto U32 = [&](std::size_t At) {
        return static_cast<std::uint32_t>(Bytes[At] | Bytes[At + 1] << 8 | Bytes[At + 2] << 16 |
                                          Bytes[At + 3] << 24);
    };
    EXPECT_EQ(U32(E[282].Field), 300u);
    EXPECT_EQ(U32(E[282].Field + 4), 1u);
    EXPECT_EQ(U32(E[279].Field), 109u * 300);
    EXPECT_EQ(U32(E[279].Field + 4), 91u * 300);
    EXPECT_EQ(Bytes.size(), U32(E[273].Field + 4) + 91u * 300);
    // Colour components span 0..65535 (times 257); entries beyond the palette are 0.
    const std::size_t Map = E[320].Field;
    EXPECT_EQ(Bytes[Map + 2 * 9 + 1], 0xFF); // red of entry 9 (FF0000)
    EXPECT_EQ(Bytes[Map + 2 * 9], 0xFF);
    EXPECT_EQ(Bytes[Map + 2 * 258 + 1], 0x80); // green of entry 2 (008000): 0x8080
    EXPECT_EQ(Bytes[Map + 2 * 258], 0x80);
    EXPECT_EQ(Bytes[Map + 2 * 255 + 1], 0);
    TPixelGraphic Back;
    Load(Back, Bytes);
    ExpectSamePixels(Image, Back);
    EXPECT_EQ(Back.PaletteCount(), 256);
}

TEST_F(Tiff, EveryResolutionRoundTripsInEveryVariant) {
    const auto Fill = [](TPixelGraphic& Image, TPGBitCount Depth, TPaletteIdent Ident) {
        Image.SetSize(37, 23, Depth);
        if (Depth != bc24) {
            Image.SetPaletteIdent(Ident);
            if (Ident == pUnknown) {
                Image.SetPaletteCount(Image.MaxPaletteCount());
                for (int I = 0; I < Image.PaletteCount(); ++I) {
                    Image.SetPaletteColors(I, RGB(I * 7, 255 - I, I * 3));
                }
            }
        }
        for (int Y = 0; Y < 23; ++Y) {
            for (int X = 0; X < 37; ++X) {
                const auto V = static_cast<std::uint32_t>((X * 7 + Y * 13 + (X / 5) * 101) % 256);
                Image.SetPixel(X, Y,
                               Depth == bc24 ? static_cast<std::uint32_t>(
                                                   RGB(static_cast<int>(V), X * 5, Y * 9))
                                             : (X < 5 ? 3u : V));
            }
        }
    };
    const std::pair<TPGBitCount, TPaletteIdent> Kinds[] = {
        {bc1, pBlackWhite}, {bc4, pGray16},  {bc4, pSys16},     {bc4, pUnknown},
        {bc8, pGray256},    {bc8, pUnknown}, {bc24, pTrueColor}};
    for (const auto& [Depth, Ident] : Kinds) {
        for (const std::uint32_t Compression : {1u, 32773u}) {
            for (const bool BigEndian : {false, true}) {
                for (const bool Variant : {false, true}) {
                    SetTIFFCompression(Compression);
                    SetTIFFBigEndian(BigEndian);
                    SetTIFFWhiteIsZero(Variant);
                    SetTIFFWriteCMYK(Variant);
                    TPixelGraphic Image, Back;
                    Fill(Image, Depth, Ident);
                    const TBytes Bytes = Save(Image);
                    Load(Back, Bytes);
                    SCOPED_TRACE(::testing::Message()
                                 << static_cast<int>(Depth) << " " << static_cast<int>(Ident) << " "
                                 << Compression << " " << BigEndian << " " << Variant);
                    ExpectSamePixels(Image, Back);
                    EXPECT_EQ(Back.PaletteIdent(), Ident);
                    EXPECT_EQ(Info(Bytes).SubFormatText.substr(0, 3), BigEndian ? "M, " : "I, ");
                }
            }
        }
    }
}

TEST_F(Tiff, WhiteIsZeroAndCmykAsStored) {
    SetTIFFWhiteIsZero(true);
    TPixelGraphic Grey;
    Grey.SetSize(2, 1, bc8);
    Grey.SetPaletteIdent(pGray256);
    Grey.SetPixel(0, 0, 10);
    TBytes Bytes = Save(Grey);
    EXPECT_EQ(Entries(Bytes)[262].Field, 0u);
    EXPECT_EQ(Bytes[Entries(Bytes)[273].Field], 245);
    EXPECT_EQ(Info(Bytes).SubFormatText, "I, Uncompr., WhiteIsZero");
    // A palette image keeps its indices and its colour map.
    Grey.SetPaletteColors(0, RGB(1, 2, 3));
    Bytes = Save(Grey);
    EXPECT_EQ(Entries(Bytes)[262].Field, 3u);
    EXPECT_EQ(Bytes[Entries(Bytes)[273].Field], 10);

    SetTIFFWriteCMYK(true);
    TPixelGraphic Colour;
    Colour.SetSize(1, 1, bc24);
    Colour.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(200, 100, 50)));
    Bytes = Save(Colour);
    auto E = Entries(Bytes);
    EXPECT_EQ(E[262].Field, 5u);
    EXPECT_EQ(E[277].Field, 4u);
    EXPECT_EQ(E[258].Count, 4u);
    const std::size_t Pixel = E[273].Field;
    EXPECT_EQ(TBytes(Bytes.begin() + static_cast<std::ptrdiff_t>(Pixel), Bytes.end()),
              (TBytes{0, 100, 150, 55}));
}

TEST_F(Tiff, PackBitsStripsAndEvenOffsets) {
    SetTIFFCompression(32773);
    TPixelGraphic Image;
    Image.SetSize(1, 40000, bc24); // rows of 3 bytes: 5461 rows per strip, 8 strips
    for (int Y = 0; Y < 40000; ++Y) {
        Image.SetPixel(0, Y, static_cast<std::uint32_t>(Y * 2654435761u) & 0xFFFFFF);
    }
    const TBytes Bytes = Save(Image);
    auto E = Entries(Bytes);
    EXPECT_EQ(E[278].Field, 5461u);
    EXPECT_EQ(E[273].Count, 8u);
    EXPECT_EQ(E[259].Field, 32773u);
    for (std::size_t S = 0; S < 8; ++S) {
        const std::size_t At = E[273].Field + 4 * S;
        EXPECT_EQ(Bytes[At] % 2, 0) << S;
    }
    TPixelGraphic Back;
    Load(Back, Bytes);
    ExpectSamePixels(Image, Back);
}

TEST_F(Tiff, SeveralImagesInOneFileInTheMiddleOfAStream) {
    TMemoryStream Stream;
    const TBytes Junk(101, 0x55);
    Stream.WriteBuffer(Junk.data(), 101);
    TTIFFileFormatWriter Writer;
    Writer.BeginFile(Stream);
    for (int I = 1; I <= 3; ++I) {
        TPixelGraphic Image;
        Image.SetSize(I, I, I == 2 ? bc24 : bc8);
        if (I != 2) {
            Image.SetPaletteIdent(pGray256);
        }
        Image.SetPixel(0, 0, static_cast<std::uint32_t>(I));
        Writer.AddImage(Stream, Image);
        EXPECT_EQ(Stream.Position(), Stream.Size());
    }
    Writer.EndFile(Stream);
    Stream.WriteBuffer(Junk.data(), 7);
    SetTIFFMultiImage(true);
    for (int I = 0; I < 3; ++I) {
        TPixelGraphic Image;
        Stream.SetPosition(101);
        TTIFFileFormatReader().ReadImage(Stream, Image, I);
        EXPECT_EQ(Image.Width(), I + 1);
        EXPECT_EQ(Image.Pixels(0, 0), static_cast<std::uint32_t>(I + 1));
    }
    Stream.SetPosition(101);
    TPGImageFileInfo I;
    TTIFFileFormatReader().GetInfo(Stream, 0, I);
    EXPECT_EQ(I.ImageCount, 3);
}

TEST_F(Tiff, WriterFailures) {
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc24);
    TMemoryStream Stream;
    TTIFFileFormatWriter Writer;
    try {
        Writer.AddImage(Stream, Image); // no BeginFile
        FAIL();
    } catch (const EPGTIFFileFormatWriter& E) {
        EXPECT_STREQ(E.what(), "TIFF: Internal Error");
    }
    SetTIFFCompression(5);
    EXPECT_THROW(Save(Image), EPGTIFFileFormatWriter);
    SetTIFFCompression(1);
    TPixelGraphic Empty;
    try {
        Save(Empty);
        FAIL();
    } catch (const EPGTIFFileFormatWriter& E) {
        EXPECT_STREQ(E.what(), "TIFF: Width = 0 or Height = 0");
    }
}

TEST_F(Tiff, ResolutionsAndWriterProgress) {
    SetTIFFResolutionUnit(truNone);
    SetTIFFXResolution({72, 1});
    SetTIFFYResolution({150, 2});
    TPixelGraphic Image;
    Image.SetSize(3, 5, bc24);
    std::vector<int> Steps;
    Image.OnProgress = [&](TObject* S, int Step, int Max, bool& Abort) {
        EXPECT_EQ(S, &Image);
        EXPECT_EQ(Max, 4);
        Steps.push_back(Step);
        Abort = true; // not honoured: every row is written
    };
    const TBytes Bytes = Save(Image);
    EXPECT_EQ(Steps, (std::vector<int>{0, 1, 2, 3, 4}));
    auto E = Entries(Bytes);
    EXPECT_EQ(E[296].Field, 1u);
    EXPECT_EQ(Bytes[E[282].Field], 72);
    EXPECT_EQ(Bytes[E[283].Field], 150);
    EXPECT_EQ(Bytes[E[283].Field + 4], 2);
}

TEST_F(Tiff, RegisteredAsTheSpecificationListsThem) {
    TPixelGraphic Image;
    Image.SetSize(4, 4, bc1);
    Image.SetPaletteIdent(pBlackWhite);
    Image.SetPaletteColors(1, RGB(255, 0, 0)); // two colours: written as 16 colours
    Image.SetSaveColorResWarningAction(pgwaIgnore);
    TMemoryStream Stream;
    Image.SaveToStreamExt(Stream, ".tiff");
    TPixelGraphic Back;
    Stream.SetPosition(0);
    Back.LoadFromStream(Stream);
    EXPECT_EQ(Back.BitCount(), bc4);
    EXPECT_EQ(Back.PixelColors(0, 0), RGB(0, 0, 0));
    TTIFFFileFormatWriter Alias;
    EXPECT_FALSE(Alias.Listed());
    EXPECT_TRUE(Alias.MultiImage());
    EXPECT_FALSE(Contains(Alias.CanWriteResolutions(), cr2Colors));
    EXPECT_EQ(Alias.ClassName(), "TTIFFFileFormatWriter");
    TTIFFFileFormatReader Reader;
    EXPECT_EQ(Reader.Extension(), "tiff");
    TPGSignature Header{};
    Header[0] = Header[1] = 'M';
    Header[3] = 42;
    EXPECT_TRUE(Reader.CheckSignature(Header));
    Header[2] = 42;
    EXPECT_FALSE(Reader.CheckSignature(Header));
}
