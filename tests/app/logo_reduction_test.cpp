// The reduction of a composed logo to the installed format, checked on pictures drawn without
// fonts, so that their bytes are the same on every machine.

#include "app/composition/background.h"
#include "app/logo/logo_file_data.h"
#include "app/logo/logo_image.h"
#include "pgraphic/image/pixel_graphic.h"
#include "tests/platform/test_files.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>

namespace {

// A gradient with blocks of plain colour on it, the way lines of text sit on a background.
void BlocksOnGradient(TPixelGraphic& Logo) {
    BuildBackground(Logo, {.GradientTop = RGB(0, 128, 128),
                           .GradientBottom = RGB(255, 255, 0),
                           .Background = TBackgroundKind::Degraded});
    std::mt19937 Rng(1);
    const TColor Inks[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(200, 30, 30)};
    for (int Block = 0; Block < 40; ++Block) {
        const int Left = static_cast<int>(Rng() % 600), Top = static_cast<int>(Rng() % 380);
        const TColor Ink = Inks[Rng() % 3];
        for (int Y = Top; Y < Top + 20; ++Y) {
            for (int X = Left; X < Left + 40; ++X) {
                Logo.SetPixel(X, Y, static_cast<std::uint32_t>(Ink));
            }
        }
    }
}

// Every pixel its own random colour: the most colours a logo can have.
void Noise(TPixelGraphic& Logo) {
    std::mt19937 Rng(2);
    for (int Y = 0; Y < Logo.Height(); ++Y) {
        for (int X = 0; X < Logo.Width(); ++X) {
            Logo.SetPixel(X, Y, Rng() & 0xFFFFFF);
        }
    }
}

// Smooth changes in all three channels, as in a photograph.
void Smooth(TPixelGraphic& Logo) {
    for (int Y = 0; Y < Logo.Height(); ++Y) {
        for (int X = 0; X < Logo.Width(); ++X) {
            Logo.SetPixel(X, Y,
                          static_cast<std::uint32_t>(
                              RGB(X * 255 / 639, Y * 255 / 399, (X * Y / 97 + X / 3) % 256)));
        }
    }
}

std::uint64_t Fnv1a(const std::string& Bytes) {
    std::uint64_t Hash = 14695981039346656037ULL;
    for (const char C : Bytes) {
        Hash = (Hash ^ static_cast<unsigned char>(C)) * 1099511628211ULL;
    }
    return Hash;
}

} // namespace

// The exact bytes installation writes for these pictures are pinned, so that work on the speed
// of the reduction cannot change a single pixel or palette entry of an installed logo.
TEST(LogoReduction, InstalledBytesStayExactlyTheSame) {
    struct TCase {
        const char* Name;
        void (*Draw)(TPixelGraphic&);
        std::uint64_t Digest;
    };
    const TCase Cases[] = {
        {"blocks on a gradient", BlocksOnGradient, 3352814530124647922ULL},
        {"noise", Noise, 10907723861439660745ULL},
        {"smooth", Smooth, 6018368804171443725ULL},
    };
    for (const TCase& Case : Cases) {
        TPixelGraphic Logo;
        Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
        Case.Draw(Logo);
        const std::string Bytes = LogoFileData(Logo);
        EXPECT_EQ(Bytes.size(), 14u + 40u + 256u * 4u + 320u * 400u) << Case.Name;
        EXPECT_EQ(Fnv1a(Bytes), Case.Digest) << Case.Name;
    }
}

TEST(LogoReduction, ThePreviewAsInstalledIsTheInstalledFileStretchedBack) {
    TPixelGraphic Logo;
    Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    BlocksOnGradient(Logo);
    const TTempDir Dir;
    WriteFile(Dir / "logow.sys", LogoFileData(Logo));
    TPixelGraphic Installed;
    Installed.LoadFromFile(Dir / "logow.sys");
    ASSERT_EQ(Installed.Width(), kInstalledLogoWidth);

    TPixelGraphic Preview;
    InstalledLogoPreview(Logo, Preview);
    ASSERT_EQ(Preview.Width(), kComposedLogoWidth);
    ASSERT_EQ(Preview.Height(), kLogoHeight);
    for (int Y = 0; Y < kLogoHeight; ++Y) {
        for (int X = 0; X < kComposedLogoWidth; ++X) {
            ASSERT_EQ(Preview.PixelColors(X, Y), Installed.PixelColors(X / 2, Y)) << X << " " << Y;
        }
    }
}
