#pragma once

#include <memory>

class TPixelGraphic;

// A copy of Source turned around left to right (Horizontal) and/or top to bottom (Vertical): same
// size, format and palette, pixel (x, y) taken from (width - 1 - x, y) and (x, height - 1 - y).
std::unique_ptr<TPixelGraphic> PGMirroredCopy(const TPixelGraphic& Source, bool Horizontal,
                                              bool Vertical);
