// The start-up logo: which palette entries the picture and the band use, the bytes of its file,
// and the animation the system plays by rotating the band's entries.

#include "app/logo/logo_file_data.h"
#include "app/logo/startup_logo.h"
#include "core/stream.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr TColor kRed = RGB(255, 0, 0);

// Left half red (a colour of the rainbow band too), right half black (the border's colour too),
// and a grey ramp down the rows so that the picture needs many colours.
void RedBlackRamp(TPixelGraphic& Logo) {
    Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    for (int Y = 0; Y < kLogoHeight; ++Y) {
        for (int X = 0; X < kComposedLogoWidth; ++X) {
            const int Grey = Y * 255 / (kLogoHeight - 1);
            const TColor Color = X < 200 ? kRed : X < 400 ? RGB(0, 0, 0) : RGB(Grey, Grey, Grey);
            Logo.SetPixel(X, Y, static_cast<std::uint32_t>(Color));
        }
    }
}

// The reduction's colour lookup works on 5-6-5 cells, so a pure colour comes back within one.
bool Near(TColor A, TColor B) {
    return std::abs(GetRValue(A) - GetRValue(B)) <= 8 &&
           std::abs(GetGValue(A) - GetGValue(B)) <= 8 && std::abs(GetBValue(A) - GetBValue(B)) <= 8;
}

TPixelGraphic& Read(const std::string& Bytes, TPixelGraphic& Image) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.Seek(0, TSeekOrigin::soBeginning);
    Image.LoadFromStream(Stream);
    return Image;
}

} // namespace

TEST(StartupLogo, OnlyTheBandUsesTheAnimatedEntriesAndTheBorderStaysBlack) {
    TPixelGraphic Composed;
    RedBlackRamp(Composed);
    TStartupBand Bottom;
    TStartupBand Top{.FirstAnimated = 200,
                     .Colors = TBandColors::Gradient,
                     .From = RGB(0, 0, 128),
                     .To = RGB(0, 255, 255),
                     .Height = 40,
                     .Place = TBandPlace::Top};
    TStartupBand None{.On = false};
    for (const TStartupBand& Band : {Bottom, Top, None}) {
        const int First = Band.On ? Band.FirstAnimated : 256;
        const std::string Bytes = StartupLogoFileData(Composed, Band);
        ASSERT_EQ(Bytes.size(), kLogoFileSize) << First;
        EXPECT_EQ(static_cast<unsigned char>(Bytes[0x32]), Band.On ? First : 0);
        TPixelGraphic Logo;
        Read(Bytes, Logo);
        ASSERT_EQ(Logo.BitCount(), bc8);
        ASSERT_EQ(Logo.PaletteCount(), 256);
        EXPECT_EQ(Logo.PaletteColors(0), kStartupBorderColor);

        const TBandRows Rows = BandRows(Band);
        for (int Y = 0; Y < kLogoHeight; ++Y) {
            const bool InBand = Y >= Rows.FirstRow && Y < Rows.FirstRow + Rows.Rows;
            for (int X = 0; X < kInstalledLogoWidth; ++X) {
                const auto Entry = static_cast<int>(Logo.Pixels(X, Y));
                ASSERT_EQ(Entry >= First, InBand) << First << ": " << X << ", " << Y;
                ASSERT_GE(Entry, 1) << First << ": " << X << ", " << Y;
            }
        }
        // The picture is still there in its own entries.
        const int Row = Band.Place == TBandPlace::Top ? 300 : 100;
        EXPECT_TRUE(Near(Logo.PixelColors(50, Row), kRed)) << First;
        EXPECT_TRUE(Near(Logo.PixelColors(150, Row), RGB(0, 0, 0))) << First;
    }
    // The gradient runs from its first colour to its second halfway round and back.
    TPixelGraphic Logo;
    ReduceStartupLogo(Composed, Top, Logo);
    EXPECT_EQ(Logo.PaletteColors(200), Top.From);
    EXPECT_EQ(Logo.PaletteColors(228), Top.To);
    EXPECT_EQ(Logo.PaletteColors(255), Logo.PaletteColors(201));

    Top.Height = kLogoHeight;
    EXPECT_THROW(ReduceStartupLogo(Composed, Top, Logo), EStartupBand);
}

TEST(StartupLogo, OneStepMovesTheBandOneEntryAlongAndAFullTurnComesBack) {
    TPixelGraphic Composed;
    RedBlackRamp(Composed);
    const TStartupBand Band; // 20 entries, 16 columns each, 32 pixels on the screen
    TPixelGraphic Logo;
    ReduceStartupLogo(Composed, Band, Logo);

    TPixelGraphic Start, Next, Turned, Back;
    StartupLogoFrame(Logo, Band.FirstAnimated, 0, Start);
    StartupLogoFrame(Logo, Band.FirstAnimated, 1, Next);
    StartupLogoFrame(Logo, Band.FirstAnimated, 256 - Band.FirstAnimated, Turned);
    StartupLogoFrame(Logo, Band.FirstAnimated, -1, Back);
    // The band's colours move 32 pixels to the left at each step; the picture stays.
    const int BandTop = kLogoHeight - Band.Height;
    const auto Along = [&Start, BandTop](int X, int Y, int By) {
        return Start.PixelColors(
            Y < BandTop ? X : (X + By + kComposedLogoWidth) % kComposedLogoWidth, Y);
    };
    for (int Y = 0; Y < kLogoHeight; ++Y) {
        for (int X = 0; X < kComposedLogoWidth; ++X) {
            ASSERT_EQ(Next.PixelColors(X, Y), Along(X, Y, 32)) << X << ", " << Y;
            ASSERT_EQ(Back.PixelColors(X, Y), Along(X, Y, -32)) << X << ", " << Y;
            ASSERT_EQ(Turned.PixelColors(X, Y), Start.PixelColors(X, Y)) << X << ", " << Y;
        }
    }

    // Entry 255 takes the first animated entry's colour; the picture's entries stay.
    std::vector<TColor> Palette = Logo.Palette();
    RotateStartupPalette(Palette, Band.FirstAnimated, 1);
    EXPECT_EQ(Palette[255], Logo.PaletteColors(Band.FirstAnimated));
    EXPECT_EQ(Palette[Band.FirstAnimated], Logo.PaletteColors(Band.FirstAnimated + 1));
    EXPECT_TRUE(
        std::equal(Palette.begin(), Palette.begin() + Band.FirstAnimated, Logo.Palette().begin()));
    Palette = Logo.Palette();
    RotateStartupPalette(Palette, 0, 5);
    EXPECT_EQ(Palette, Logo.Palette());
}
