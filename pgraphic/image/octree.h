#pragma once

#include "pgraphic/image/median_cut.h"
#include "pgraphic/image/pixel_graphic.h"

#include <vector>

// At most Count colours for a non-empty palette source by octree reduction of the palette
// entries its pixels use, each weighted by its number of pixels; never fewer than Count or the
// number of distinct colours used, whichever is less.
std::vector<TColor> OctreePalette(const TPixelGraphic& Source, int Count,
                                  const TPGRowCounted& RowCounted);
