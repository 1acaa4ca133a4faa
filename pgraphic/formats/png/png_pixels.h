#pragma once

// How the pixels of a PNG file map onto the image: pixel format and palette, the background
// colours of compositing, and the spreading of 2-bit pixels.

#include "pgraphic/image/pg_types.h"

#include <png.h>

class TPixelGraphic;

namespace png {

// The image a file becomes. Palette files keep their own palette (pUnknown).
struct TImageFormat {
    TPGBitCount BitCount = bc24;
    TPaletteIdent PaletteIdent = pTrueColor;
    bool TwoBit = false; // rows arrive with 2-bit pixels and are spread to 4 bits
};
TImageFormat ImageFormatOf(int ColorType, int BitDepth);

// Color in the form libpng composites the decoded pixels against (a background "not to be
// expanded"): 8-bit red, green and blue, and a grey level of the file's bit depth for grey files
// below 8 bits (the average of the three).
png_color_16 OutputBackground(TColor Color, int ColorType, int BitDepth);

// The colour of the file's background chunk (palette entries and samples of any depth scaled to
// 8 bits).
TColor FileBackgroundColor(const png_color_16& Background, int ColorType, int BitDepth);

// Spreads the 2-bit pixels of every row to 4-bit indices, in place from right to left.
void ExpandTwoBitRows(TPixelGraphic& Graphic);

} // namespace png
