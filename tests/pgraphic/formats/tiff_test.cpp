#include "format_test_util.h"
#include "pgraphic/formats/tiff/tiff.h"
#include "pgraphic/image/pg_exceptions.h"
#include "platform/message_box.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <thread>

namespace {

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

    static TPixelGraphic& Load(TPixelGraphic& Image, const TBytes& Bytes, int Index = 0) {
        TBlockStream Stream = StreamOver(Bytes);
        Image.LoadFromStreamExt(Stream, "tif", Index);
        return Image;
    }
    static std::string Error(const TBytes& Bytes) { return ReadError(Reader, Bytes); }
    // The failure of a read with the given warning action, or "no error".
    static std::string ErrorWith(const TBytes& Bytes, TPGWarningAction Action) {
        TPixelGraphic Image;
        Image.SetReadWarningAction(Action);
        TBlockStream Stream = StreamOver(Bytes);
        try {
            Reader.ReadImage(Stream, Image, 0);
        } catch (const EPGTIFFileFormatReader& E) {
            return E.what();
        }
        return "no error";
    }
    static TPGImageFileInfo Info(const TBytes& Bytes) {
        TBlockStream Stream = StreamOver(Bytes);
        TPGImageFileInfo Result;
        Reader.GetInfo(Stream, 0, Result);
        return Result;
    }
    static TBytes Save(TPixelGraphic& Image) {
        TMemoryStream Stream;
        TTIFFileFormatWriter().WriteImage(Stream, Image);
        return Stream.Bytes();
    }

    static inline const TTIFFileFormatReader Reader;
    TMessageBoxHook Previous;
    std::vector<TMessageBoxRequest> Messages;
    TModalResult Answer = TModalResult::mrOK;
};

// A one-strip image of the given layout over Data.
TBytes OneStrip(std::uint32_t Width, std::uint32_t Height, std::vector<std::uint32_t> Bits,
                std::uint32_t Photometric, const TBytes& Data, std::uint32_t Compression = 1,
                bool BigEndian = false) {
    TTiffBuilder B(BigEndian);
    const auto Strip = B.Data(Data);
    B.Image(Width, Height, std::move(Bits), Photometric, {Strip}, Height, Compression);
    B.Directory();
    return B.Bytes;
}

// The entries of the first directory of a little-endian file: tag to (type, count, field).
struct TEntry {
    std::uint32_t Type, Count, Field;
};
std::uint32_t U32(const TBytes& B, std::size_t At) {
    return static_cast<std::uint32_t>(B[At] | B[At + 1] << 8 | B[At + 2] << 16 | B[At + 3] << 24);
}
std::map<std::uint32_t, TEntry> Entries(const TBytes& B) {
    const auto U16 = [&](std::size_t At) {
        return static_cast<std::uint32_t>(B[At] | B[At + 1] << 8);
    };
    std::map<std::uint32_t, TEntry> Result;
    const std::size_t Ifd = U32(B, 4);
    for (std::size_t I = 0; I < U16(Ifd); ++I) {
        const std::size_t E = Ifd + 2 + 12 * I;
        Result[U16(E)] = {U16(E + 2), U32(B, E + 4), U32(B, E + 8)};
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

const std::string kStripCountError =
    "TIFF: NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip";

} // namespace

// --- Reading ---------------------------------------------------------------------------------

TEST_F(Tiff, SampleLayoutsAsTheFileStoresThem) {
    TPixelGraphic Image;
    // 1 bit: 0 is black unless WhiteIsZero; the bits beyond the width stay clear.
    for (const std::uint32_t Photometric : {0u, 1u, 3u}) {
        Load(Image, OneStrip(10, 1, {1}, Photometric, {0xA5, 0xC0}));
        EXPECT_EQ(Image.PaletteIdent(), pBlackWhite);
        const std::uint32_t Set = Photometric == 0 ? 0 : 1;
        EXPECT_EQ(Image.Pixels(0, 0), Set);
        EXPECT_EQ(Image.Pixels(1, 0), 1 - Set);
        EXPECT_EQ(Image.Pixels(9, 0), Set);
        EXPECT_EQ(Image.ScanLine(0)[1] & 0x3F, 0);
    }
    Load(Image, OneStrip(3, 1, {4}, 0, {0x0F, 0x30}));
    EXPECT_EQ(Image.PaletteIdent(), pGray16);
    EXPECT_EQ(Image.Pixels(0, 0) << 8 | Image.Pixels(1, 0) << 4 | Image.Pixels(2, 0), 0xF0Cu);
    Load(Image, OneStrip(2, 1, {8}, 0, {0, 100}, 1, true));
    EXPECT_EQ(Image.PaletteIdent(), pGray256);
    EXPECT_EQ(Image.Pixels(1, 0), 155u);

    // Colour maps: all reds, all greens, all blues, 16 bits each, taken div 256; a short map
    // gives as many colours as it has.
    std::vector<std::uint32_t> Map(48, 0);
    Map[1] = 0xFF00, Map[16 + 1] = 0x80FF, Map[32 + 2] = 0x1234;
    TTiffBuilder B;
    const auto Strip = B.Data({0x12});
    B.Image(2, 1, {4}, 3, {Strip}, 1).Tag(320, 3, Map).Directory();
    Load(Image, B.Bytes);
    EXPECT_EQ(Image.PaletteCount(), 16);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 128, 0));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(0, 0, 0x12));
    TTiffBuilder S;
    const auto Pixels = S.Data({0, 1});
    S.Image(2, 1, {8}, 3, {Pixels}, 1).Tag(320, 3, {0x100, 0x200, 0, 0, 0x300, 0xFFFF});
    Load(Image, (S.Directory(), S.Bytes));
    EXPECT_EQ(Image.PaletteCount(), 2);
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(2, 0, 255));

    // RGB in either byte order; a fourth sample ignored; CMYK subtracted, each channel at
    // least 0.
    const TBytes Rgb = {10, 20, 30, 40, 50, 60};
    Load(Image, OneStrip(2, 1, {8, 8, 8}, 2, Rgb, 1, true));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(40, 50, 60));
    EXPECT_EQ(Load(Image, OneStrip(2, 1, {8, 8, 8}, 2, Rgb)).PixelColors(0, 0), RGB(10, 20, 30));
    Load(Image, OneStrip(2, 1, {8, 8, 8, 8}, 2, {1, 2, 3, 99, 4, 5, 6, 99}));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(4, 5, 6));
    Load(Image, OneStrip(3, 1, {8, 8, 8, 8}, 5, {255, 0, 0, 0, 0, 100, 50, 20, 10, 20, 30, 240}));
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0, 255, 255));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(235, 135, 185));
    EXPECT_EQ(Image.PixelColors(2, 0), RGB(5, 0, 0));
}

TEST_F(Tiff, StripsInAnyOrderLastEntryWinsAndRowsPerStripAbsent) {
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
    TTiffBuilder Absent;
    const auto Strip = Absent.Data({1, 2, 3});
    Absent.Long(256, 1).Long(257, 3).Short(258, 8).Short(259, 1).Short(262, 1);
    Absent.Tag(273, 4, {Strip}).Short(277, 1).Directory();
    EXPECT_EQ(Load(Image, Absent.Bytes).Pixels(0, 2), 3u);
}

TEST_F(Tiff, PackBitsRowsAndTheirOverrun) {
    // Row 0: repeat 3 x 7, literal 9; row 1 goes on in the same strip after a -128 no-op.
    TPixelGraphic Image;
    Load(Image, OneStrip(4, 2, {8}, 1, {0xFE, 7, 0, 9, 0x80, 3, 1, 2, 3, 4}, 32773));
    EXPECT_EQ(Image.Pixels(2, 0), 7u);
    EXPECT_EQ(Image.Pixels(3, 0), 9u);
    EXPECT_EQ(Image.Pixels(3, 1), 4u);
    EXPECT_EQ(Error(OneStrip(4, 2, {8}, 1, {3, 1, 2, 3, 4, 0xFC, 5}, 32773)),
              "TIFF (PackBits): Invalid count of bytes in row 1");
}

TEST_F(Tiff, ASingleStripShorterThanTheImageAsksFirst) {
    TTiffBuilder B;
    const auto Strip = B.Data({1, 2, 3, 4});
    B.Image(1, 4, {8}, 1, {Strip}, 1).Directory();
    EXPECT_EQ(ErrorWith(B.Bytes, pgwaRaise), kStripCountError);
    EXPECT_EQ(ErrorWith(B.Bytes, pgwaIgnore), "no error");
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(ErrorWith(B.Bytes, pgwaOKBox), "no error");
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Caption, "TIFF-Warning");
    EXPECT_EQ(Messages[0].Text, kStripCountError);
    EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons::mbOK);
    Answer = TModalResult::mrCancel;
    EXPECT_EQ(ErrorWith(B.Bytes, pgwaOKCancelBox), kStripCountError);
    EXPECT_EQ(Messages.back().Buttons, TMsgDlgButtons::mbOKCancel);
    Answer = TModalResult::mrOK;
    TPixelGraphic Image;
    EXPECT_EQ(Load(Image, B.Bytes).Pixels(0, 3), 4u); // the one strip held the whole image

    // With several strips, or none, a wrong count is an error whatever the action.
    TTiffBuilder Two;
    const auto S = Two.Data({1, 2, 3, 4});
    Two.Image(1, 4, {8}, 1, {S, S}, 1).Directory();
    EXPECT_EQ(ErrorWith(Two.Bytes, pgwaIgnore), kStripCountError);
    TTiffBuilder None;
    None.Image(1, 4, {8}, 1, {}, 1).Directory();
    EXPECT_EQ(ErrorWith(None.Bytes, pgwaIgnore), kStripCountError);
}

TEST_F(Tiff, CompressionsAndInformationTexts) {
    const std::map<std::uint32_t, std::string> Refused = {
        {2, "CCITT 1D"}, {3, "Group 3 Fax"}, {4, "Group 4 Fax"}, {5, "LZW"}, {6, "JPEG"}, {0, "0"},
        {8, "8"}};
    for (const auto& [Code, Name] : Refused) {
        EXPECT_EQ(Error(OneStrip(2, 2, {8, 8, 8}, 2, {}, Code)),
                  "TIFF: Unsupported compression " + Name);
    }
    struct TCase {
        std::vector<std::uint32_t> Bits;
        std::uint32_t Photometric, Compression;
        bool BigEndian;
        const char *SubFormat, *Colors, *Details;
    };
    const TCase Cases[] = {
        {{1}, 0, 1, false, "I, Uncompr., WhiteIsZero", "2", ""},
        {{4}, 1, 32773, false, "I, PackBits, BlackIsZero", "16", ""},
        {{8}, 3, 1, false, "I, Uncompr., RGB Palette", "256", ""},
        {{8, 8, 8, 8}, 5, 1, false, "I, Uncompr., CMYK", "16.7 M", ""},
        {{8, 8, 8}, 2, 7, false, "I, , RGB", "16.7 M", ""},
        {{8, 8, 8}, 2, 5, true, "M, LZW, RGB", "16.7 M", "(Unsupported compression)"}};
    for (const TCase& C : Cases) {
        const auto Bits = C.Bits;
        const TPGImageFileInfo I =
            Info(OneStrip(640, 480, C.Bits, C.Photometric, {}, C.Compression, C.BigEndian));
        EXPECT_EQ(I.SubFormatText, C.SubFormat);
        EXPECT_EQ(I.ColorsText, C.Colors);
        EXPECT_EQ(I.DetailsText, C.Details);
        EXPECT_EQ(I.BitsPerPixel, static_cast<int>(Bits.size() * Bits[0]));
        EXPECT_EQ(I.Width, 640);
        EXPECT_EQ(I.Height, 480);
        EXPECT_EQ(I.ImageCount, 1);
    }
    bool Found = false;
    EXPECT_EQ(InfoOf(OneStrip(1, 1, {8}, 1, {0}), "", &Found).Description,
              "Tagged Image File Format");
    EXPECT_TRUE(Found);
}

TEST_F(Tiff, DirectoryErrors) {
    const auto Tagged = [](auto&& Fill) {
        TTiffBuilder B;
        Fill(B);
        B.Directory();
        return B.Bytes;
    };
    TBytes NotTiff = OneStrip(1, 1, {8}, 1, {0});
    NotTiff[2] = 43;
    EXPECT_EQ(Error(NotTiff), "TIFF: Not a TIF file");
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) { B.Image(2, 2, {8}, 1, {8}, 2).Short(284, 2); })),
              "TIFF: PlanarConfiguration invalid");
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) {
                  B.Image(2, 2, {8, 8}, 1, {8}, 2);
              })),
              "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) {
                  B.Image(2, 2, {8, 8, 8}, 2, {8}, 2).Short(277, 4);
              })),
              "TIFF: Invalid count of SamplesPerPixel");
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) { B.Image(2, 2, {16}, 1, {8}, 2); })),
              "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) {
                  B.Image(2, 2, {8, 8, 8}, 5, {8}, 2);
              })),
              "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) {
                  B.Image(2, 2, {8}, 1, {8, 9}, 0);
              })),
              "TIFF: Invalid RowsPerStrip");
    EXPECT_EQ(
        Error(Tagged([](TTiffBuilder& B) { B.Image(2, 2, {8}, 1, {8}, 2).Raw(256, 5, 1, 8); })),
        "TIFF: Unsupported field Type: 5");
    // Tags that are not read may have any type.
    EXPECT_EQ(Error(Tagged([](TTiffBuilder& B) {
                  B.Image(1, 1, {8}, 1, {0}, 1).Raw(282, 5, 1, 0).Raw(700, 99, 1, 0);
              })),
              "no error");
    EXPECT_EQ(ReadError(Reader, OneStrip(1, 1, {8}, 1, {0}), 1), "TIFF: Index invalid");
}

TEST_F(Tiff, HostileFilesEndInErrorsNotInAllocations) {
    const std::string ReadFailure = "Stream read error";
    // Pixel data the file does not hold, for a large declared size: refused before the image
    // is sized (400 MB would be allowed), uncompressed and PackBits (64:1 at most).
    for (const TBytes& Huge :
         {OneStrip(20000, 20000, {8}, 1, {0}), OneStrip(20000, 20000, {8}, 1, {0x81, 0}, 32773)}) {
        TPixelGraphic Image;
        TBlockStream Stream = StreamOver(Huge);
        EXPECT_THROW(Reader.ReadImage(Stream, Image, 0), EReadError);
        EXPECT_TRUE(Image.IsEmpty());
    }
    // Thousands of PackBits strips that share 50000 no-op bytes: stopped once the input read
    // exceeds what real data and the file's no-ops can account for, not read 50000 times each.
    TTiffBuilder NoOps;
    TBytes Padding(50000, 0x80);
    Padding.insert(Padding.end(), {0, 7});
    const auto Shared = NoOps.Data(Padding);
    NoOps.Image(1, 20000, {8}, 1, std::vector<std::uint32_t>(20000, Shared), 1, 32773);
    NoOps.Directory();
    EXPECT_EQ(Error(NoOps.Bytes).rfind("TIFF (PackBits): Invalid count of bytes in row ", 0), 0u);
    // Strip offsets past the end, arrays of billions of values, a directory past the end, a
    // header cut short.
    TTiffBuilder Past;
    Past.Image(4, 4, {8}, 1, {1u << 30}, 4).Directory();
    EXPECT_EQ(Error(Past.Bytes), ReadFailure);
    TTiffBuilder Billions;
    Billions.Image(4, 4, {8}, 1, {8}, 4).Raw(273, 4, 3000000000u, 8).Directory();
    EXPECT_EQ(Error(Billions.Bytes), ReadFailure);
    TBytes Dangling = OneStrip(1, 1, {8}, 1, {0});
    Dangling[5] = 0x70;
    EXPECT_EQ(Error(Dangling), ReadFailure);
    EXPECT_EQ(Error({'I', 'I', 42}), ReadFailure);
    // Sizes beyond what an image can have; RowsPerStrip far beyond the height (one strip).
    EXPECT_EQ(Error(OneStrip(0x80000000u, 1, {8}, 1, {0})), "Invalid size of image");
    TTiffBuilder Tall;
    const auto Data = Tall.Data({1, 2});
    Tall.Image(1, 2, {8}, 1, {Data}, 0xFFFFFFFFu).Directory();
    EXPECT_EQ(Error(Tall.Bytes), "no error");
    // No rows: an empty image, and no row buffer for 680 million CMYK pixels.
    TPixelGraphic Image;
    EXPECT_TRUE(Load(Image, OneStrip(5, 0, {8}, 1, {})).IsEmpty());
    EXPECT_TRUE(Load(Image, OneStrip(682164237, 0, {8, 8, 8, 8}, 5, {})).IsEmpty());
}

TEST_F(Tiff, DirectoryChainsWithManyImages) {
    TTiffBuilder B;
    for (std::uint8_t I = 0; I < 3; ++I) {
        const auto Strip = B.Data({static_cast<std::uint8_t>(10 * I + 1)});
        B.Image(1, 1, {8}, 1, {Strip}, 1).Directory();
    }
    EXPECT_EQ(Info(B.Bytes).ImageCount, 1);
    EXPECT_EQ(ReadError(Reader, B.Bytes, 2), "TIFF: Index invalid");
    SetTIFFMultiImage(true);
    EXPECT_EQ(Info(B.Bytes).ImageCount, 3);
    TPixelGraphic Image;
    EXPECT_EQ(Load(Image, B.Bytes, 2).Pixels(0, 0), 21u);
    EXPECT_EQ(ReadError(Reader, B.Bytes, 3), "TIFF: Index invalid");
    // Beyond the bound, looping (whatever the bound) or leaving the file: one image, the first.
    SetTIFFMaxImages(2);
    EXPECT_EQ(Info(B.Bytes).ImageCount, 1);
    SetTIFFMaxImages(2000000000);
    TTiffBuilder Loop;
    const auto Strip = Loop.Data({7});
    const auto First = Loop.Image(1, 1, {8}, 1, {Strip}, 1).Directory();
    Loop.Image(1, 1, {8}, 1, {Strip}, 1).Directory(First);
    EXPECT_EQ(Info(Loop.Bytes).ImageCount, 1);
    TTiffBuilder Away;
    Away.Image(1, 1, {8}, 1, {8}, 1).Directory(0x7FFFFFF0);
    EXPECT_EQ(Info(Away.Bytes).ImageCount, 1);
}

TEST_F(Tiff, ProgressComesFromTheReaderAndAbortKeepsTheRest) {
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
    Load(Image, OneStrip(1, 4, {8}, 1, {1, 2, 3, 4}));
    EXPECT_NE(dynamic_cast<TTIFFileFormatReader*>(Sender), nullptr);
    EXPECT_EQ(Steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(Image.Pixels(0, 1), 2u);
    EXPECT_EQ(Image.Pixels(0, 2), 0u);
    EXPECT_EQ(Ends, 1);
    Image.OnProgress = nullptr;
    EXPECT_THROW(Load(Image, OneStrip(1, 2, {8}, 1, {0xF0, 1}, 32773)), EPGTIFFileFormatReader);
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
    EXPECT_EQ(E[262].Field, 3u);
    EXPECT_EQ(E[320].Type, 3u);
    EXPECT_EQ(E[320].Count, 768u);
    EXPECT_EQ(E[258].Field, 8u);
    EXPECT_EQ(E[296].Field, 2u);
    EXPECT_EQ(U32(Bytes, E[282].Field), 300u);
    EXPECT_EQ(U32(Bytes, E[282].Field + 4), 1u);
    EXPECT_EQ(U32(Bytes, E[279].Field), 109u * 300);
    EXPECT_EQ(U32(Bytes, E[279].Field + 4), 91u * 300);
    EXPECT_EQ(Bytes.size(), U32(Bytes, E[273].Field + 4) + 91u * 300);
    // Colour components span 0..65535 (times 257); entries beyond the palette are 0.
    const std::size_t Map = E[320].Field;
    EXPECT_EQ(Bytes[Map + 2 * 9] << 8 | Bytes[Map + 2 * 9 + 1], 0xFFFF);     // red of FF0000
    EXPECT_EQ(Bytes[Map + 2 * 258] << 8 | Bytes[Map + 2 * 258 + 1], 0x8080); // green of 008000
    EXPECT_EQ(Bytes[Map + 2 * 255 + 1], 0);
    TPixelGraphic Back;
    ExpectSamePixels(Image, Load(Back, Bytes));
}

TEST_F(Tiff, EveryResolutionRoundTripsInEveryVariant) {
    const std::pair<TPGBitCount, TPaletteIdent> Kinds[] = {
        {bc1, pBlackWhite}, {bc4, pGray16},  {bc4, pSys16},     {bc4, pUnknown},
        {bc8, pGray256},    {bc8, pUnknown}, {bc24, pTrueColor}};
    for (const auto& [Depth, Ident] : Kinds) {
        TPixelGraphic Image;
        Image.SetSize(37, 23, Depth);
        Image.SetPaletteIdent(Ident);
        if (Ident == pUnknown) {
            Image.SetPaletteCount(Image.MaxPaletteCount());
            for (int I = 0; I < Image.PaletteCount(); ++I) {
                Image.SetPaletteColors(I, RGB(I * 7, 255 - I, I * 3));
            }
        }
        for (int Y = 0; Y < 23; ++Y) {
            for (int X = 0; X < 37; ++X) {
                const auto V = static_cast<std::uint32_t>(X < 5 ? 1 : X * 7 + Y * 13 + X / 5 * 101);
                Image.SetPixel(X, Y, Depth == bc24 ? V * 2654435761u & 0xFFFFFF : V % 256);
            }
        }
        for (int Variant = 0; Variant < 8; ++Variant) {
            SetTIFFCompression(Variant & 1 ? 32773 : 1);
            SetTIFFBigEndian(Variant & 2);
            SetTIFFWhiteIsZero(Variant & 4);
            SetTIFFWriteCMYK(Variant & 4);
            SCOPED_TRACE(::testing::Message() << "depth " << static_cast<int>(Depth) << " palette "
                                              << static_cast<int>(Ident) << " variant " << Variant);
            TPixelGraphic Back;
            const TBytes Bytes = Save(Image);
            ExpectSamePixels(Image, Load(Back, Bytes));
            EXPECT_EQ(Back.PaletteIdent(), Ident);
            EXPECT_EQ(Info(Bytes).SubFormatText.substr(0, 3), Variant & 2 ? "M, " : "I, ");
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
    EXPECT_EQ(TBytes(Bytes.begin() + E[273].Field, Bytes.end()), (TBytes{0, 100, 150, 55}));
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
    ASSERT_EQ(E[273].Count, 8u);
    EXPECT_EQ(E[259].Field, 32773u);
    for (std::size_t S = 0; S < 8; ++S) {
        EXPECT_EQ(U32(Bytes, E[273].Field + 4 * S) % 2, 0u) << S;
    }
    TPixelGraphic Back;
    ExpectSamePixels(Image, Load(Back, Bytes));
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
        Reader.ReadImage(Stream, Image, I);
        EXPECT_EQ(Image.Width(), I + 1);
        EXPECT_EQ(Image.Pixels(0, 0), static_cast<std::uint32_t>(I + 1));
    }
    Stream.SetPosition(101);
    TPGImageFileInfo I;
    Reader.GetInfo(Stream, 0, I);
    EXPECT_EQ(I.ImageCount, 3);
}

// The writer keeps what it needs between BeginFile and EndFile per file: two files built at
// the same time through one writer each get their own images.
TEST_F(Tiff, SeveralFilesBuiltAtOnceThroughOneWriter) {
    TTIFFileFormatWriter Writer;
    TMemoryStream First, Second;
    const TBytes Junk(13, 0xAA);
    Second.WriteBuffer(Junk.data(), 13);
    Writer.BeginFile(First);
    Writer.BeginFile(Second);
    for (int I = 1; I <= 2; ++I) {
        TPixelGraphic A, B;
        A.SetSize(I, 1, bc24);
        B.SetSize(1, 10 * I, bc24);
        Writer.AddImage(First, A);
        Writer.AddImage(Second, B);
    }
    Writer.EndFile(Second);
    Writer.EndFile(First);
    // Adding after the end is the same mistake as adding before the beginning.
    TPixelGraphic Late;
    Late.SetSize(1, 1, bc24);
    EXPECT_THROW(Writer.AddImage(First, Late), EPGTIFFileFormatWriter);

    SetTIFFMultiImage(true);
    for (int I = 0; I < 2; ++I) {
        TPixelGraphic A, B;
        First.SetPosition(0);
        Reader.ReadImage(First, A, I);
        EXPECT_EQ(A.Width(), I + 1);
        Second.SetPosition(13);
        Reader.ReadImage(Second, B, I);
        EXPECT_EQ(B.Height(), 10 * (I + 1));
    }
}

// The one registered writer serves threads that each save their own image into their own
// stream: every file is the one a lone save writes.
TEST_F(Tiff, ConcurrentSavesThroughTheRegisteredWriter) {
    constexpr int kThreads = 8, kFiles = 300;
    std::vector<TBytes> Expected;
    std::vector<std::unique_ptr<TPixelGraphic>> Images;
    for (int T = 0; T < kThreads; ++T) {
        Images.push_back(std::make_unique<TPixelGraphic>());
        Images.back()->SetSize(20 + T, 30 + 7 * T, T % 2 == 0 ? bc24 : bc8);
        for (int Y = 0; Y < Images.back()->Height(); ++Y) {
            for (int X = 0; X < Images.back()->Width(); ++X) {
                Images.back()->SetPixel(X, Y, static_cast<std::uint32_t>(X * 31 + Y * 17 + T));
            }
        }
        TMemoryStream Stream;
        Images.back()->SaveToStreamExt(Stream, "tif");
        Expected.push_back(Stream.Bytes());
    }
    std::vector<int> Wrong(kThreads, 0);
    std::vector<std::thread> Threads;
    for (int T = 0; T < kThreads; ++T) {
        Threads.emplace_back([&, T] {
            for (int F = 0; F < kFiles; ++F) {
                TMemoryStream Stream;
                Images[static_cast<std::size_t>(T)]->SaveToStreamExt(Stream, "tif");
                Wrong[static_cast<std::size_t>(T)] +=
                    Stream.Bytes() == Expected[static_cast<std::size_t>(T)] ? 0 : 1;
            }
        });
    }
    for (auto& Thread : Threads) {
        Thread.join();
    }
    EXPECT_EQ(Wrong, std::vector<int>(kThreads, 0));
}

TEST_F(Tiff, WriterFailuresResolutionsAndProgress) {
    TPixelGraphic Image;
    Image.SetSize(3, 5, bc24);
    TMemoryStream Stream;
    TTIFFileFormatWriter Writer;
    const auto Failure = [&](auto&& Write) -> std::string {
        try {
            Write();
        } catch (const EPGTIFFileFormatWriter& E) {
            return E.what();
        }
        return "no error";
    };
    EXPECT_EQ(Failure([&] { Writer.AddImage(Stream, Image); }), "TIFF: Internal Error");
    SetTIFFCompression(5);
    EXPECT_EQ(Failure([&] { Save(Image); }), "TIFF: Internal Error");
    SetTIFFCompression(1);
    TPixelGraphic Empty;
    EXPECT_EQ(Failure([&] { Save(Empty); }), "TIFF: Width = 0 or Height = 0");

    SetTIFFResolutionUnit(truNone);
    SetTIFFXResolution({72, 1});
    SetTIFFYResolution({150, 2});
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
    EXPECT_EQ(U32(Bytes, E[282].Field), 72u);
    EXPECT_EQ(U32(Bytes, E[283].Field), 150u);
    EXPECT_EQ(U32(Bytes, E[283].Field + 4), 2u);
}
