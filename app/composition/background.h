#pragma once

#include "app/settings/setting_values.h"
#include "core/color.h"

#include <string>

class TPixelGraphic;

// The background of one logo, as its settings ask for it.
struct TBackgroundInfo {
    TPixelGraphic* Image = nullptr; // the 640 x 400 true-colour background to fill
    TBackgroundKind Kind = TBackgroundKind::Single;
    TColor SingleColor = 0;    // Single
    TColor GradientTop = 0;    // Degraded: the top row's colour
    TColor GradientBottom = 0; // Degraded: where the gradient runs to
    std::string BitmapPath{};  // Bitmap: the picture file
};

// Fills B.Image: with SingleColor (Single); with a vertical gradient from GradientTop at the
// top row to one step short of GradientBottom at the bottom row, each channel of row y being
// Top + (Bottom - Top) * y / 400 truncated toward zero (Degraded); with the picture
// B.BitmapPath scaled to the whole image (Bitmap), or black when there is no such file; black
// for any other kind. System colours are resolved first. A picture that cannot be read raises
// its reader's error and leaves the background black.
void BuildBackground(const TBackgroundInfo& B);
