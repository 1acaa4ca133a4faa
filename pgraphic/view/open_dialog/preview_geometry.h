#pragma once

#include "pgraphic/view/view_rect.h"

#include <optional>
#include <vector>

// Geometry of the picture open dialog's preview panel: the size a picture is shrunk to, where
// it is painted, where the progress clock goes and the panel's sunken frame. The panel's client
// rectangle has a frame of 2 pixels on every side; the inside is what a preview may fill.

struct TPGSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TPGSize&, const TPGSize&) = default;
};

// The size a Width x Height picture is shrunk to so that it fits MaxWidth x MaxHeight keeping
// its aspect ratio (each side at least 1 pixel); none when it fits already, since previews are
// never enlarged, or when there is no room at all.
std::optional<TPGSize> PGPreviewScaledSize(int Width, int Height, int MaxWidth, int MaxHeight);

// Where a Width x Height preview is painted in the panel's client rectangle: its own size, or
// fitted into the inside keeping its aspect ratio when larger; centred in the client rectangle.
// Empty when the panel has no inside.
TPGRect PGPreviewPaintRect(const TPGRect& Client, int Width, int Height);

// Top-left corner of the 15 x 15 progress clock: 8 pixels up and left of the client centre.
TPGPoint PGPreviewClockPosition(const TPGRect& Client);

// The sunken frame of the panel: one-pixel strips in four shades, the outer ring dark at the
// top and left and white at the bottom and right, the inner ring black and face-coloured.
enum TPGFrameShade { fsShadow, fsBlack, fsWhite, fsFace };
struct TPGFrameStrip {
    TPGRect Area;
    TPGFrameShade Shade;
};
std::vector<TPGFrameStrip> PGSunkenFrame(const TPGRect& Client);

// The inside of the panel, filled with the face colour before a preview is painted.
TPGRect PGPreviewInside(const TPGRect& Client);
