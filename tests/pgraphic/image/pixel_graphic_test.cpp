#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace {

std::uint32_t HeaderField32(const TPixelGraphic& Image, std::size_t Offset) {
    std::uint32_t V = 0;
    std::memcpy(&V, Image.BitmapInfo().data() + Offset, 4);
    return V;
}

std::uint16_t HeaderField16(const TPixelGraphic& Image, std::size_t Offset) {
    std::uint16_t V = 0;
    std::memcpy(&V, Image.BitmapInfo().data() + Offset, 2);
    return V;
}

TColor ColorTableEntry(const TPixelGraphic& Image, int Index) {
    const std::uint8_t* P = Image.BitmapInfo().data() + 40 + 4 * static_cast<std::size_t>(Index);
    EXPECT_EQ(P[3], 0);
    return RGB(P[2], P[1], P[0]);
}

template <typename E>
void ExpectFailure(const std::function<void()>& F, const char* Message) {
    try {
        F();
        ADD_FAILURE() << "no exception, expected \"" << Message << "\"";
    } catch (const E& Error) {
        EXPECT_STREQ(Error.what(), Message);
    }
}

struct TCountingSurface : TPGSurface {
    int* Flushes;
    int* Releases;
    TCountingSurface(int* F, int* R) : Flushes(F), Releases(R) {}
    void Flush() override { ++*Flushes; }
    void ReleaseHandle() override { ++*Releases; }
};

} // namespace

TEST(PixelGraphicLayout, RowsArePaddedToFourBytes) {
    TPixelGraphic Image;
    Image.SetSize(3, 2, bc24);
    EXPECT_EQ(Image.BytesPerLine(), 12u);
    EXPECT_EQ(Image.ImageSize(), 24u);
    Image.SetSize(1, 1, bc1);
    EXPECT_EQ(Image.BytesPerLine(), 4u);
    Image.SetSize(33, 1, bc1);
    EXPECT_EQ(Image.BytesPerLine(), 8u);
    Image.SetSize(9, 3, bc4);
    EXPECT_EQ(Image.BytesPerLine(), 8u);
    EXPECT_EQ(Image.ImageSize(), 24u);
    Image.SetSize(5, 1, bc8);
    EXPECT_EQ(Image.BytesPerLine(), 8u);
}

TEST(PixelGraphicLayout, RowsAreStoredBottomUpWithPixelsPackedAsSpecifiedPerFormat) {
    TPixelGraphic Image;
    Image.SetSize(10, 3, bc24);
    Image.SetPixel(1, 0, static_cast<std::uint32_t>(RGB(0x11, 0x22, 0x33)));
    const std::uint8_t* Top = Image.ScanLines() + 2 * Image.BytesPerLine();
    EXPECT_EQ(Image.ScanLine(0), Top);
    EXPECT_EQ(Top[3], 0x33); // blue first
    EXPECT_EQ(Top[4], 0x22);
    EXPECT_EQ(Top[5], 0x11);
    EXPECT_EQ(Image.ScanLine(3), nullptr);
    EXPECT_EQ(Image.ScanLine(-1), nullptr);

    Image.SetSize(10, 2, bc1);
    Image.SetPixel(0, 1, 1);
    Image.SetPixel(9, 1, 1);
    EXPECT_EQ(Image.ScanLines()[0], 0x80);
    EXPECT_EQ(Image.ScanLines()[1], 0x40);

    Image.SetSize(3, 1, bc4);
    Image.SetPixel(0, 0, 0xA);
    Image.SetPixel(1, 0, 0x15); // only the low 4 bits are stored
    Image.SetPixel(2, 0, 0x7);
    EXPECT_EQ(Image.ScanLines()[0], 0xA5);
    EXPECT_EQ(Image.ScanLines()[1], 0x70);
    EXPECT_EQ(Image.Pixels(1, 0), 5u);

    Image.SetSize(2, 1, bc8);
    Image.SetPixel(1, 0, 0x1FF);
    EXPECT_EQ(Image.Pixels(1, 0), 0xFFu);
}

TEST(PixelGraphicLayout, OnlyOneSetsABlackAndWhitePixel) {
    TPixelGraphic Image;
    Image.SetSize(8, 1, bc1);
    Image.SetPixel(3, 0, 1);
    EXPECT_EQ(Image.Pixels(3, 0), 1u);
    Image.SetPixel(3, 0, 2);
    EXPECT_EQ(Image.Pixels(3, 0), 0u);
    Image.SetPixel(3, 0, 1);
    Image.SetPixel(3, 0, 0xFFFFFFFF);
    EXPECT_EQ(Image.Pixels(3, 0), 0u);
}

TEST(PixelGraphicLayout, HeaderDescribesThePixelsAndMirrorsThePalette) {
    TPixelGraphic Image;
    EXPECT_TRUE(Image.BitmapInfo().empty());
    Image.SetPaletteIdent(pSys16);
    Image.SetSize(7, 5, bc8);
    ASSERT_EQ(Image.BitmapInfo().size(), 40u + 256 * 4);
    EXPECT_EQ(HeaderField32(Image, 0), 40u);
    EXPECT_EQ(HeaderField32(Image, 4), 7u);
    EXPECT_EQ(HeaderField32(Image, 8), 5u);
    EXPECT_EQ(HeaderField16(Image, 12), 1u);
    EXPECT_EQ(HeaderField16(Image, 14), 8u);
    EXPECT_EQ(HeaderField32(Image, 16), 0u);
    EXPECT_EQ(HeaderField32(Image, 20), Image.ImageSize());
    EXPECT_EQ(HeaderField32(Image, 32), 256u);
    EXPECT_EQ(ColorTableEntry(Image, 9), RGB(255, 0, 0));
    EXPECT_EQ(ColorTableEntry(Image, 200), ColorTableEntry(Image, 0)); // beyond the palette

    Image.SetPaletteColors(3, RGB(1, 2, 3));
    EXPECT_EQ(ColorTableEntry(Image, 3), RGB(1, 2, 3));
    Image.SetPaletteCount(20);
    EXPECT_EQ(HeaderField32(Image, 32), 20u);
    EXPECT_EQ(ColorTableEntry(Image, 19), 0);

    Image.SetSize(7, 5, bc24);
    EXPECT_EQ(Image.BitmapInfo().size(), 40u);
    EXPECT_EQ(Image.PaletteIdent(), pTrueColor);
}

TEST(PixelGraphicSize, NegativeSizesRaiseWidthFirst) {
    TPixelGraphic Image;
    ExpectFailure<EPGInvalidSize>([&] { Image.SetSize(-1, -1, bc24); }, "Negative width");
    ExpectFailure<EPGInvalidSize>([&] { Image.SetSize(1, -1, bc24); }, "Negative height");
    ExpectFailure<EPGInvalidSize>([&] { Image.SetWidth(-5); }, "Negative width");
}

TEST(PixelGraphicSize, SizesBeyondTheLimitRaiseBeforeAnythingChanges) {
    TPixelGraphic Image;
    Image.SetSize(4, 4, bc8);
    // 100000 x 100000 x 3 bytes does not fit the 32-bit image size.
    ExpectFailure<EPGInvalidSize>([&] { Image.SetSize(100000, 100000, bc24); },
                                  "Invalid size of image");
    // Nor does the widest row of a 24-bit image.
    ExpectFailure<EPGInvalidSize>([&] { Image.SetSize(2147483647, 1, bc24); },
                                  "Invalid size of image");
    EXPECT_EQ(Image.Width(), 4);
    EXPECT_EQ(Image.Height(), 4);
    EXPECT_EQ(Image.BitCount(), bc8);
    EXPECT_FALSE(Image.IsEmpty());

    const auto Saved = PGMaxImageBytes();
    SetPGMaxImageBytes(1000);
    ExpectFailure<EPGInvalidSize>([&] { Image.SetSize(100, 100, bc8); }, "Invalid size of image");
    EXPECT_NO_THROW(Image.SetSize(100, 10, bc8));
    SetPGMaxImageBytes(Saved);
}

TEST(PixelGraphicSize, ZeroAreaLeavesTheImageWithoutPixels) {
    TPixelGraphic Image;
    EXPECT_TRUE(Image.IsEmpty());
    Image.SetSize(5, 0, bc24);
    EXPECT_TRUE(Image.IsEmpty());
    EXPECT_EQ(Image.BytesPerLine(), 16u);
    EXPECT_EQ(Image.ImageSize(), 0u);
    EXPECT_EQ(Image.ScanLine(0), nullptr);
    EXPECT_EQ(Image.Pixels(0, 0), 0u);
}

TEST(PixelGraphicSize, SameSizeAndFormatClearsToTheBackground) {
    int Changes = 0;
    TPixelGraphic Image;
    Image.OnChange = [&](TObject*) { ++Changes; };
    Image.SetSize(3, 3, bc24);
    EXPECT_EQ(Changes, 1);
    Image.SetBackGroundColor(RGB(10, 20, 30));
    Image.SetPixel(1, 1, 0);
    const std::uint8_t* Before = Image.ScanLines();
    Image.SetSize(3, 3, bc24);
    EXPECT_EQ(Image.ScanLines(), Before); // not reallocated
    EXPECT_EQ(Changes, 2);
    for (int Y = 0; Y < 3; ++Y) {
        for (int X = 0; X < 3; ++X) {
            EXPECT_EQ(Image.PixelColors(X, Y), RGB(10, 20, 30));
        }
    }
    // Padding bytes are left alone.
    EXPECT_EQ(Image.ScanLine(0)[9], 0);
}

TEST(PixelGraphicSize, ClearFillsEveryFormat) {
    for (const TPGBitCount Format : {bc1, bc4, bc8}) {
        TPixelGraphic Image;
        Image.SetPaletteIdent(pSys16);
        Image.SetSize(13, 3, Format);
        const auto Max =
            static_cast<std::uint32_t>(std::min(Image.MaxPaletteCount(), Image.PaletteCount()) - 1);
        Image.SetBackGroundColor(Image.PaletteColors(static_cast<int>(Max)));
        EXPECT_EQ(Image.BackGroundValue(), Max);
        Image.Clear();
        for (int Y = 0; Y < 3; ++Y) {
            for (int X = 0; X < 13; ++X) {
                EXPECT_EQ(Image.Pixels(X, Y), Max) << "format " << int(Format);
            }
        }
    }
    int Changes = 0;
    TPixelGraphic Empty;
    Empty.OnChange = [&](TObject*) { ++Changes; };
    Empty.Clear();
    EXPECT_EQ(Changes, 0);
}

TEST(PixelGraphicSize, ChangingTheFormatCutsThePalette) {
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc8);
    Image.SetPaletteIdent(pGray256);
    Image.SetBitCount(bc1);
    EXPECT_EQ(Image.PaletteCount(), 2);
    EXPECT_EQ(Image.PaletteIdent(), pUnknown);
    Image.SetBitCount(bc24);
    EXPECT_EQ(Image.PaletteCount(), 0);
    EXPECT_EQ(Image.PaletteIdent(), pTrueColor);
}

TEST(PixelGraphicSize, BitCountNumbers) {
    EXPECT_EQ(TPixelGraphic::BitCountNumToBitCount(1), bc1);
    EXPECT_EQ(TPixelGraphic::BitCountNumToBitCount(4), bc4);
    EXPECT_EQ(TPixelGraphic::BitCountNumToBitCount(8), bc8);
    EXPECT_EQ(TPixelGraphic::BitCountNumToBitCount(24), bc24);
    ExpectFailure<EPGInvalidBitCountNum>([] { TPixelGraphic::BitCountNumToBitCount(16); },
                                         "Invalid value for BitCountNum");
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc4);
    EXPECT_EQ(Image.BitCountNum(), 4);
    EXPECT_EQ(Image.MaxPaletteCount(), 16);
    Image.SetBitCount(bc24);
    EXPECT_EQ(Image.MaxPaletteCount(), 0);
}

TEST(PixelGraphicPixels, OutsideReadsTheBackgroundAndIgnoresWrites) {
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc24);
    Image.SetBackGroundColor(RGB(1, 2, 3));
    EXPECT_EQ(Image.Pixels(-1, 0), static_cast<std::uint32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(Image.Pixels(0, 2), static_cast<std::uint32_t>(RGB(1, 2, 3)));
    Image.SetPixel(-1, 0, 0xFFFFFF);
    Image.SetPixel(2, 0, 0xFFFFFF);
    for (int Y = 0; Y < 2; ++Y) {
        for (int X = 0; X < 2; ++X) {
            EXPECT_EQ(Image.Pixels(X, Y), 0u);
        }
    }
    Image.SetRaiseXYError(true);
    ExpectFailure<EPGXYIndexOutOfRange>([&] { Image.Pixels(-1, 0); }, "X, Y index out of range");
    ExpectFailure<EPGXYIndexOutOfRange>([&] { Image.SetPixel(0, 5, 0); },
                                        "X, Y index out of range");
}

TEST(PixelGraphicPixels, ColoursGoThroughThePalette) {
    TPixelGraphic Image;
    Image.SetSize(2, 1, bc4);
    Image.SetPaletteIdent(pSys16);
    Image.SetPixelColor(0, 0, RGB(250, 5, 5));
    EXPECT_EQ(Image.Pixels(0, 0), 9u);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 0, 0));
    Image.SetBackGroundColor(RGB(0, 0, 250));
    EXPECT_EQ(Image.BackGroundValue(), 12u);
    EXPECT_EQ(Image.BackGroundColor(), RGB(0, 0, 255));
    // An index beyond a short palette shows as entry 0.
    Image.SetPaletteCount(4);
    Image.SetPixel(1, 0, 14);
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(0, 0, 0));
}

TEST(PixelGraphicPalette, TrueColourHasNoEntriesButNamesIndices) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc24);
    EXPECT_EQ(Image.PaletteColors(5), 5);
    ExpectFailure<EPGNoPalette>([&] { Image.SetPaletteColors(0, 0); }, "No palette");
    EXPECT_EQ(Image.NearestIndex(RGB(1, 2, 3)), RGB(1, 2, 3));

    TPixelGraphic Palette;
    Palette.SetSize(1, 1, bc8);
    EXPECT_EQ(Palette.PaletteIdent(), pTrueColor);
    Palette.SetPaletteIdent(pNone);
    ExpectFailure<EPGNoPalette>([&] { Palette.SetPaletteColors(0, 0); }, "No palette");
    ExpectFailure<EPGNoPalette>([&] { Palette.NearestIndex(0); }, "No palette");
    Palette.SetPaletteCount(3);
    ExpectFailure<EPGInvalidPaletteIndex>([&] { Palette.PaletteColors(3); },
                                          "Invalid palette index");
    ExpectFailure<EPGInvalidPaletteIndex>([&] { Palette.SetPaletteColors(-1, 0); },
                                          "Invalid palette index");
}

TEST(PixelGraphicPalette, IdentifyFindsTheFixedPalettesByContentAndOrder) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc8);
    Image.SetPaletteIdent(pGray4);
    Image.IdentifyPalette();
    EXPECT_EQ(Image.PaletteIdent(), pGray4);
    EXPECT_TRUE(Image.IsGrayPalette());

    for (const TPaletteIdent Kind : {pBlackWhite, pSysGray4, pSys16, pGray16, pGray236, pGray256,
                                     pSpecial125, pSpecial216, pSpecial252}) {
        TPixelGraphic Other;
        Other.SetSize(1, 1, bc8);
        const auto Entries = FixedPalette(Kind);
        Other.SetPaletteCount(static_cast<int>(Entries.size()));
        for (std::size_t I = 0; I < Entries.size(); ++I) {
            Other.SetPaletteColors(static_cast<int>(I), Entries[I]);
        }
        EXPECT_EQ(Other.PaletteIdent(), pUnknown);
        Other.IdentifyPalette();
        EXPECT_EQ(Other.PaletteIdent(), Kind);
    }

    // The 16 system colours in another order are not the system palette.
    auto Shuffled = std::vector<TColor>(FixedPalette(pSys16).begin(), FixedPalette(pSys16).end());
    std::swap(Shuffled[1], Shuffled[2]);
    Image.SetPaletteCount(16);
    for (int I = 0; I < 16; ++I) {
        Image.SetPaletteColors(I, Shuffled[static_cast<std::size_t>(I)]);
    }
    Image.IdentifyPalette();
    EXPECT_EQ(Image.PaletteIdent(), pUnknown);
    EXPECT_FALSE(Image.IsGrayPalette());

    Image.SetPaletteCount(0);
    Image.IdentifyPalette();
    EXPECT_EQ(Image.PaletteIdent(), pNone);
    TPixelGraphic True;
    True.IdentifyPalette();
    EXPECT_EQ(True.PaletteIdent(), pTrueColor);
}

TEST(PixelGraphicPalette, CopyPaletteTakesEntriesAndKind) {
    TPixelGraphic Source, Target;
    Source.SetSize(1, 1, bc8);
    Source.SetPaletteIdent(pSpecial216);
    Target.SetSize(1, 1, bc8);
    Target.CopyPalette(Source);
    EXPECT_EQ(Target.PaletteIdent(), pSpecial216);
    EXPECT_EQ(Target.Palette(), Source.Palette());
}

TEST(PixelGraphicPalette, HandleIsBuiltLazilyAndRebuiltAfterChanges) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc24);
    EXPECT_EQ(Image.PaletteHandle(), nullptr);
    Image.SetSize(1, 1, bc8);
    Image.SetPaletteIdent(pBlackWhite);
    const TPGLogPalette* Handle = Image.PaletteHandle();
    ASSERT_NE(Handle, nullptr);
    EXPECT_EQ(Handle->Version, 0x300);
    ASSERT_EQ(Handle->Entries.size(), 2u);
    EXPECT_EQ(Handle->Entries[1].Red, 255);
    Image.SetPaletteColors(1, RGB(0, 9, 0));
    Handle = Image.PaletteHandle();
    ASSERT_NE(Handle, nullptr);
    EXPECT_EQ(Handle->Entries[1].Green, 9);
    EXPECT_EQ(Handle->Entries[1].Red, 0);
}

TEST(PixelGraphicPalette, Gray236FollowsItsRounding) {
    const auto Gray = FixedPalette(pGray236);
    ASSERT_EQ(Gray.size(), 236u);
    EXPECT_EQ(GetRValue(Gray[0]), 0);
    EXPECT_EQ(GetRValue(Gray[235]), 255);
    for (int I = 0; I < 236; ++I) {
        // (255 i - 20/235) / 235, rounded to nearest.
        const double Exact = (255.0 * I - 20.0 / 235.0) / 235.0;
        EXPECT_NEAR(GetRValue(Gray[static_cast<std::size_t>(I)]), Exact, 0.5) << I;
    }
    EXPECT_EQ(GetRValue(Gray[47]), 51); // 51 - a hair
    EXPECT_EQ(GetRValue(Gray[1]), 1);   // 1.085...
    EXPECT_EQ(GetRValue(Gray[6]), 7);   // 6.51...
}

TEST(PixelGraphicNotification, UpdatesNestAndNotifyOnceAtLevelZero) {
    int Changes = 0;
    TPixelGraphic Image;
    Image.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Image);
        ++Changes;
    };
    Image.BeginUpdate();
    Image.BeginUpdate();
    Image.SetSize(2, 2, bc24);
    Image.Clear();
    Image.EndUpdate();
    EXPECT_EQ(Changes, 0);
    Image.EndUpdate();
    EXPECT_EQ(Changes, 1);

    Image.SetUseColorCache(false);
    EXPECT_EQ(Changes, 2);
    Image.SetUseColorCache(false);
    Image.SetRGBWeighting(false);
    Image.SetDither(false);
    Image.SetGamma(2.2L);
    Image.SetPixel(0, 0, 5);
    EXPECT_EQ(Changes, 2);
}

TEST(PixelGraphicCopy, CopyFromTakesEverything) {
    TPixelGraphic Source;
    Source.SetSize(5, 3, bc8);
    Source.SetPaletteIdent(pSpecial252);
    Source.SetPixel(4, 2, 200);
    Source.SetBackGroundColor(RGB(255, 0, 0));
    Source.SetDither(false);
    Source.SetDitherErrorLimit(7);
    Source.SetGamma(2.5L);
    Source.SetStretchMode(smFast);
    Source.SetRaiseXYError(true);
    Source.SetTransparent(true);
    Source.SetReadWarningAction(pgwaRaise);

    int Changes = 0;
    TPixelGraphic Target;
    Target.OnChange = [&](TObject*) { ++Changes; };
    Target.CopyFrom(&Source);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Target.Width(), 5);
    EXPECT_EQ(Target.BitCount(), bc8);
    EXPECT_EQ(Target.Pixels(4, 2), 200u);
    EXPECT_EQ(Target.PaletteIdent(), pSpecial252);
    EXPECT_EQ(Target.Palette(), Source.Palette());
    EXPECT_EQ(Target.BackGroundValue(), 9u);
    EXPECT_FALSE(Target.Dither());
    EXPECT_EQ(Target.DitherErrorLimit(), 7);
    EXPECT_EQ(Target.Gamma(), 2.5L);
    EXPECT_EQ(Target.StretchMode(), smFast);
    EXPECT_TRUE(Target.RaiseXYError());
    EXPECT_TRUE(Target.Transparent());
    EXPECT_EQ(Target.ReadWarningAction(), pgwaRaise);
    EXPECT_EQ(std::memcmp(Target.ScanLines(), Source.ScanLines(), Source.ImageSize()), 0);

    Target.CopyFrom(nullptr);
    EXPECT_TRUE(Target.IsEmpty());
    EXPECT_EQ(Target.BitCount(), bc24);
    EXPECT_EQ(Target.Width(), 0);
}

TEST(PixelGraphicSurface, PendingDrawingIsFlushedBeforeDirectAccess) {
    int Flushes = 0, Releases = 0;
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc8);
    Image.SetPaletteIdent(pGray4);
    Image.SetSurface(std::make_unique<TCountingSurface>(&Flushes, &Releases));
    Image.Pixels(0, 0);
    EXPECT_EQ(Flushes, 0); // nothing pending
    Image.SetCanvasPending();
    Image.Pixels(0, 0);
    EXPECT_EQ(Flushes, 1);
    Image.Pixels(0, 0);
    EXPECT_EQ(Flushes, 1);
    Image.SetCanvasPending();
    Image.ScanLine(0);
    EXPECT_EQ(Flushes, 2);
    // Size and palette changes release the surface's device view.
    Image.SetPaletteColors(0, RGB(1, 1, 1));
    Image.SetSize(3, 3, bc8);
    EXPECT_EQ(Releases, 2);
}
