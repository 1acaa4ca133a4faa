#pragma once

#include "widgets/color_array.h"

// The twenty swatches of a colour button's popup, 4 columns x 5 rows. On a display of exactly
// 16 colours (a depth of 4 bits) the cells take the display's solid pens, cell (c, r) pen
// (c - 1) * 5 + r; the display has sixteen, so the last four cells keep the fixed table.
// Otherwise the fixed table: the twenty static colours of a palette display.
TColorArrayClass DefaultPaletteColors(int ScreenColorDepth);
