#include "app/logo/logo_image.h"

#include "pgraphic/image/pixel_graphic.h"

void LoadBackgroundPicture(const std::string& FileName, TPixelGraphic& Background) {
    Background.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    Background.SetBackGroundColor(RGB(0, 0, 0));
    Background.Clear();
    TPixelGraphic Picture;
    Picture.SetReadWarningAction(pgwaIgnore);
    Picture.LoadFromFile(FileName);
    Background.StretchFrom(Picture);
}

void ResampleToInstalledSize(const TPixelGraphic& Logo, TPixelGraphic& TrueColor) {
    TrueColor.SetSize(kInstalledLogoWidth, kLogoHeight, bc24);
    TrueColor.SetStretchMode(smPrecise);
    TrueColor.StretchFrom(Logo);
}

void ReduceWithSystemColors(const TPixelGraphic& TrueColor, int Colors, TPixelGraphic& Reduced) {
    Reduced.SetSize(TrueColor.Width(), TrueColor.Height(), bc8);
    Reduced.SetDither(true);
    Reduced.CreateOptimizedPalette(TrueColor, Colors, true);
    Reduced.SetPaletteCount(Colors);
    Reduced.StretchFrom(TrueColor);
}

void ReduceLogo(const TPixelGraphic& Logo, TPixelGraphic& Installed) {
    TPixelGraphic TrueColor;
    ResampleToInstalledSize(Logo, TrueColor);
    ReduceWithSystemColors(TrueColor, kLogoPaletteEntries, Installed);
}

void InstalledLogoPreview(const TPixelGraphic& Logo, TPixelGraphic& Preview) {
    TPixelGraphic Installed;
    ReduceLogo(Logo, Installed);
    StretchToScreen(Installed, Preview);
}

void StretchToScreen(const TPixelGraphic& Installed, TPixelGraphic& Preview) {
    Preview.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    Preview.SetStretchMode(smFast);
    Preview.StretchFrom(Installed);
}
