#pragma once

#include "pgraphic/image/median_cut.h"
#include "pgraphic/image/pixel_graphic.h"

#include <vector>

// At most Count colours for a non-empty palette source by octree reduction of the palette
// entries its pixels use, each weighted by its number of pixels.
std::vector<TColor> OctreePalette(const TPixelGraphic& Source, int Count,
                                  const TPGRowCounted& RowCounted);
