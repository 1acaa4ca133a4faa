#pragma once

#include <string>

class TPixelGraphic;

// The picture steps the logo application shares with the command line: a background picture
// scaled onto the composition, and a composed logo reduced to the system's logo format.

// Size of a composed logo and of an installed one (its width halved).
constexpr int kComposedLogoWidth = 640;
constexpr int kLogoHeight = 400;
constexpr int kInstalledLogoWidth = 320;

// Fills Background with the picture in FileName: a black 640 x 400 true-colour image onto which
// the whole picture is scaled, whatever its proportions, with the default resampling. Reader
// warnings are passed over; a picture that cannot be read raises its reader's error and leaves
// the background black.
void LoadBackgroundPicture(const std::string& FileName, TPixelGraphic& Background);

// Reduces a composed logo to an installed one: resampled to 320 x 400 (smPrecise), then an
// optimised palette of 256 entries keeping the 16 system colours and a dithered 8-bit copy.
void ReduceLogo(const TPixelGraphic& Logo, TPixelGraphic& Installed);

// The installed form of a composed logo as the machine shows it on the screen: ReduceLogo's
// picture stretched back to 640 x 400 (each pixel twice in its row), in true colour.
void InstalledLogoPreview(const TPixelGraphic& Logo, TPixelGraphic& Preview);
