#pragma once

#include <string>

class TPixelGraphic;

// The picture steps the logo application shares with the command line: a background picture
// scaled onto the composition, and a composed logo reduced to the system's logo format.

// Size of a composed logo and of an installed one (its width halved).
constexpr int kComposedLogoWidth = 640;
constexpr int kLogoHeight = 400;
constexpr int kInstalledLogoWidth = 320;
// Palette entries of an installed logo: the format always carries all 256.
constexpr int kLogoPaletteEntries = 256;

// Fills Background with the picture in FileName: a black 640 x 400 true-colour image onto which
// the whole picture is scaled, whatever its proportions, with the default resampling. Reader
// warnings are passed over; a picture that cannot be read raises its reader's error and leaves
// the background black.
void LoadBackgroundPicture(const std::string& FileName, TPixelGraphic& Background);

// Reduces a composed logo to an installed one: resampled to 320 x 400 (ResampleToInstalledSize),
// then reduced to 256 colours (ReduceWithSystemColors).
void ReduceLogo(const TPixelGraphic& Logo, TPixelGraphic& Installed);

// The two steps of every logo's reduction, which the start-up logo applies to part of the picture.
// A composed logo resampled to the installed 320 x 400 in true colour (smPrecise).
void ResampleToInstalledSize(const TPixelGraphic& Logo, TPixelGraphic& TrueColor);
// A true-colour picture as an 8-bit one of the same size: an optimised palette of exactly Colors
// entries (17..256; black ones where the picture needs fewer) ending in the 16 system colours,
// and the pixels dithered onto it.
void ReduceWithSystemColors(const TPixelGraphic& TrueColor, int Colors, TPixelGraphic& Reduced);

// The installed form of a composed logo as the machine shows it on the screen: ReduceLogo's
// picture stretched back to 640 x 400 (StretchToScreen).
void InstalledLogoPreview(const TPixelGraphic& Logo, TPixelGraphic& Preview);

// An installed logo as the screen shows it: stretched to 640 x 400 (each pixel twice in its
// row), in true colour.
void StretchToScreen(const TPixelGraphic& Installed, TPixelGraphic& Preview);
