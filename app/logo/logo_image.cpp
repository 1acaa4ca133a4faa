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

void ReduceLogo(const TPixelGraphic& Logo, TPixelGraphic& Installed) {
    TPixelGraphic TrueColor;
    TrueColor.SetSize(kInstalledLogoWidth, kLogoHeight, bc24);
    TrueColor.SetStretchMode(smPrecise);
    TrueColor.StretchFrom(Logo);

    Installed.SetSize(kInstalledLogoWidth, kLogoHeight, bc8);
    Installed.SetDither(true);
    Installed.CreateOptimizedPalette(TrueColor, 256, true);
    Installed.SetPaletteCount(256); // the logo format always carries 256 entries
    Installed.StretchFrom(TrueColor);
}

void InstalledLogoPreview(const TPixelGraphic& Logo, TPixelGraphic& Preview) {
    TPixelGraphic Installed;
    ReduceLogo(Logo, Installed);
    Preview.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    Preview.SetStretchMode(smFast);
    Preview.StretchFrom(Installed);
}
