#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <cstdint>
#include <vector>

// Colours of columns First..Last of row Y (0 = top) of a non-empty Source, as blue, green, red
// bytes: column X is at the result + 3 * (X - First). For a bc24 source this is the row itself;
// palette rows are expanded into Scratch with the colours PixelColors reports.
const std::uint8_t* SourceRowBGR(const TPixelGraphic& Source, int Y, int First, int Last,
                                 std::vector<std::uint8_t>& Scratch);
