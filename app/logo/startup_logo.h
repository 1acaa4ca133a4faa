#pragma once

#include "app/logo/startup_band.h"
#include "core/color.h"

#include <string>
#include <vector>

class TPixelGraphic;

// The start-up logo (LOGO.SYS): the shutdown logos' 320 x 400 8-bit form, whose palette entries
// from the first animated one to 255 the system rotates while it starts (startup_band.h).
//
// Palette: entry 0 is the colour of the screen's border, kept black: the picture's own blacks
// use the system black among its entries, so the border never takes a colour from the picture.
// Entries 1 to FirstAnimated - 1 hold the picture's optimised palette (with the 16 system
// colours), the rest the band's colours. Without a band the picture has entries 1 to 255.

constexpr TColor kStartupBorderColor = RGB(0, 0, 0);

// Reduces a composed 640 x 400 logo to the start-up logo: the rows outside the band resampled and
// dithered as ReduceLogo does, onto entries 1 to FirstAnimated - 1; the band's rows drawn over
// whatever the picture has there, column by column in the animated entries (BandEntry). Raises
// EStartupBand for a band outside its ranges (CheckStartupBand).
void ReduceStartupLogo(const TPixelGraphic& Composed, const TStartupBand& Band,
                       TPixelGraphic& Installed);

// One animation step Steps times over (negative steps go back): every entry from FirstAnimated
// to the palette's last takes the colour of the next one, and the first wraps to the last. A
// full turn, 256 - FirstAnimated steps for a logo's palette, gives the palette back. Nothing
// moves when FirstAnimated is 0 (no animation) or past the palette.
void RotateStartupPalette(std::vector<TColor>& Palette, int FirstAnimated, int Steps);

// Frame Step of the animation as the screen shows it: Installed (a start-up logo of
// ReduceStartupLogo) with its palette rotated Step steps, stretched to 640 x 400 in true colour.
void StartupLogoFrame(const TPixelGraphic& Installed, int FirstAnimated, int Step,
                      TPixelGraphic& Frame);

// The composed Logo as a start-up logo: the bytes of the file to install (kLogoFileSize of them),
// with the first animated entry in the byte the system reads it from.
std::string StartupLogoFileData(const TPixelGraphic& Composed, const TStartupBand& Band);
