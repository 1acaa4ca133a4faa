#include "app/logo/startup_logo.h"

#include "app/logo/logo_file_data.h"
#include "app/logo/logo_image.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// The rows of TrueColor outside the band, from PictureTop on, reduced to Colors entries.
void ReducePictureRows(const TPixelGraphic& TrueColor, const TBandRows& Band, int PictureTop,
                       int Colors, TPixelGraphic& Picture) {
    if (Band.Rows == 0) {
        ReduceWithSystemColors(TrueColor, Colors, Picture);
        return;
    }
    const int Rows = kLogoHeight - Band.Rows;
    TPixelGraphic Outside;
    Outside.SetSize(kInstalledLogoWidth, Rows, bc24);
    Outside.CopyRect(0, 0, kInstalledLogoWidth, Rows, 0, PictureTop, TrueColor);
    ReduceWithSystemColors(Outside, Colors, Picture);
}

// The border entry, the picture's entries after it and the band's at the end.
void SetStartupPalette(const TPixelGraphic& Picture, const TStartupBand& Band,
                       TPixelGraphic& Installed) {
    Installed.SetPaletteCount(kLogoPaletteEntries);
    Installed.SetPaletteColors(0, kStartupBorderColor);
    for (int I = 0; I < Picture.PaletteCount(); ++I) {
        Installed.SetPaletteColors(I + 1, Picture.PaletteColors(I));
    }
    if (Band.On) {
        const std::vector<TColor> Colors = BandEntryColors(Band);
        for (std::size_t I = 0; I < Colors.size(); ++I) {
            Installed.SetPaletteColors(Band.FirstAnimated + static_cast<int>(I), Colors[I]);
        }
    }
}

// The picture's pixels from row PictureTop on, each one entry on, past the border entry.
void PlacePicture(const TPixelGraphic& Picture, int PictureTop, TPixelGraphic& Installed) {
    for (int Y = 0; Y < Picture.Height(); ++Y) {
        const std::uint8_t* From = Picture.ScanLine(Y);
        std::uint8_t* To = Installed.ScanLine(PictureTop + Y);
        for (int X = 0; X < kInstalledLogoWidth; ++X) {
            To[X] = static_cast<std::uint8_t>(From[X] + 1);
        }
    }
}

void DrawBand(const TStartupBand& Band, const TBandRows& Rows, TPixelGraphic& Installed) {
    for (int Y = Rows.FirstRow; Y < Rows.FirstRow + Rows.Rows; ++Y) {
        std::uint8_t* To = Installed.ScanLine(Y);
        for (int X = 0; X < kInstalledLogoWidth; ++X) {
            To[X] = static_cast<std::uint8_t>(BandEntry(Band, X));
        }
    }
}

} // namespace

void ReduceStartupLogo(const TPixelGraphic& Composed, const TStartupBand& Band,
                       TPixelGraphic& Installed) {
    CheckStartupBand(Band);
    const TBandRows Rows = BandRows(Band);
    const int PictureTop = Rows.FirstRow == 0 ? Rows.Rows : 0; // the band at the top, or none
    const int PictureEntries = (Band.On ? Band.FirstAnimated : kLogoPaletteEntries) - 1;

    TPixelGraphic TrueColor;
    ResampleToInstalledSize(Composed, TrueColor);
    TPixelGraphic Picture;
    ReducePictureRows(TrueColor, Rows, PictureTop, PictureEntries, Picture);

    Installed.SetSize(kInstalledLogoWidth, kLogoHeight, bc8);
    SetStartupPalette(Picture, Band, Installed);
    PlacePicture(Picture, PictureTop, Installed);
    DrawBand(Band, Rows, Installed);
}

void RotateStartupPalette(std::vector<TColor>& Palette, int FirstAnimated, int Steps) {
    const int Count = static_cast<int>(Palette.size()) - FirstAnimated;
    if (FirstAnimated <= 0 || Count <= 0) {
        return;
    }
    const int Shift = ((Steps % Count) + Count) % Count;
    const auto First = Palette.begin() + FirstAnimated;
    std::rotate(First, First + Shift, Palette.end());
}

void StartupLogoFrame(const TPixelGraphic& Installed, int FirstAnimated, int Step,
                      TPixelGraphic& Frame) {
    TPixelGraphic Rotated;
    Rotated.CopyFrom(&Installed);
    std::vector<TColor> Palette = Installed.Palette();
    RotateStartupPalette(Palette, FirstAnimated, Step);
    for (int I = std::max(FirstAnimated, 1); I < static_cast<int>(Palette.size()); ++I) {
        Rotated.SetPaletteColors(I, Palette[static_cast<std::size_t>(I)]);
    }
    StretchToScreen(Rotated, Frame);
}

std::string StartupLogoFileData(const TPixelGraphic& Composed, const TStartupBand& Band) {
    TPixelGraphic Installed;
    ReduceStartupLogo(Composed, Band, Installed);
    return LogoFileBytes(Installed, FirstAnimatedEntry(Band));
}
