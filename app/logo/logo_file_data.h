#pragma once

#include "app/logo/logo_image.h"

#include <cstddef>
#include <string>

class TPixelGraphic;

// The bytes of the system's logo files: an installed logo (320 x 400, 8 bits, 256 entries) as
// an uncompressed BMP file.

// Size of every logo file: file header, information header, 256 colours, 320 x 400 pixels.
constexpr std::size_t kLogoFileSize =
    14 + 40 + 4 * kLogoPaletteEntries + kInstalledLogoWidth * kLogoHeight;

// Installed as a BMP file. FirstAnimated goes into the information header's "important colours"
// field, where the start-up logo keeps the first palette entry of its animation (0: none, as in
// the shutdown logos).
std::string LogoFileBytes(TPixelGraphic& Installed, int FirstAnimated = 0);

// The composed Logo reduced to a shutdown logo (ReduceLogo): the bytes of the file to install.
std::string LogoFileData(const TPixelGraphic& Logo);
