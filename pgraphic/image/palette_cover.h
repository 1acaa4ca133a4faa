#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <vector>

// Pixels of a palette image may hold indices beyond its palette: a file's palette can be shorter
// than its pixels need, and so can an image's that was built piece by piece. File formats forbid
// such pixels; these give the palette that covers them, with black for the missing entries.

// The image's PaletteCount, or one more than the highest index its pixels hold where that is
// more (0 for a true-colour or empty image). The pixels are looked at only when the palette is
// shorter than their format can index.
int CoveringPaletteCount(const TPixelGraphic& Image);

// The palette a file stores for the image: its colours, as many as the pixel format can index,
// then black entries up to CoveringPaletteCount.
std::vector<TColor> CoveringPalette(const TPixelGraphic& Image);

// Grows the image's palette with black entries until it covers every index its pixels hold.
void CoverPixelIndices(TPixelGraphic& Image);
