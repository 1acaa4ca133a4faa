#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <functional>
#include <vector>

// Called after each source row counted, with the row; returns true to stop counting.
using TPGRowCounted = std::function<bool(int Row)>;

// At most Count colours for a non-empty bc24 source by median cut over its 5-6-5 histogram.
std::vector<TColor> MedianCutPalette(const TPixelGraphic& Source, int Count,
                                     const TPGRowCounted& RowCounted);
