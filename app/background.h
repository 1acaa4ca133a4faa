#pragma once

#include "core/color.h"

#include <string>

class TPixelGraphic;

// The background of one logo, as its settings ask for it.
struct TBackgroundInfo {
    TPixelGraphic* Image = nullptr; // the 640 x 400 true-colour background to fill
    TColor Color1 = 0;              // kind 0: the single colour; kind 1: the gradient's top
    TColor Color2 = 0;              // kind 1: the gradient's bottom colour
    std::string BitmapPath;         // kind 2: the picture file
    int Kind = 0;                   // 0 "Single", 1 "Degraded", 2 "Bitmap"
};

// Fills B.Image: with Color1 (kind 0); with a vertical gradient from Color1 at the top row to
// one step short of Color2 at the bottom row, each channel of row y being
// C1 + (C2 - C1) * y / 400 truncated toward zero (kind 1); with the picture B.BitmapPath scaled
// to the whole image (kind 2), or black when there is no such file; black for any other kind.
// System colours are resolved first. A picture that cannot be read raises its reader's error and
// leaves the background black.
void BuildBackground(const TBackgroundInfo& B);
