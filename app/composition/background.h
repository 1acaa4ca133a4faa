#pragma once

#include "app/settings/setting_values.h"

class TPixelGraphic;

// Fills Image, a logo's 640 x 400 true-colour background, as the background settings of Logo
// ask: with SingleColor (Single); with a vertical gradient from GradientTop at the top row to
// one step short of GradientBottom at the bottom row, each channel of row y being
// Top + (Bottom - Top) * y / 400 truncated toward zero (Degraded); with the picture Bitmap
// scaled to the whole image (Bitmap), or black when there is no such file; black for any other
// kind. System colours are resolved first. A picture that cannot be read raises its reader's
// error and leaves the background black.
void BuildBackground(TPixelGraphic& Image, const TLogoValues& Logo);
