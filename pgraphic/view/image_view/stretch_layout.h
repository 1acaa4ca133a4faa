#pragma once

#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

// Where the view control puts its picture: the display size by stretch rule, the scroll bars a
// content needs, the centred position and the size the control asks for in AutoSize.

// The area a picture is fitted into, and the room one scroll bar takes.
struct TPGViewArea {
    int Width = 0; // the control less its border
    int Height = 0;
    int ScrollBarHeight = 0; // of a horizontal bar
    int ScrollBarWidth = 0;  // of a vertical bar
};

// The display rectangle's size and the effective scale: 1.0 at natural size, -1 for a scaling
// that is not uniform, otherwise the uniform factor.
struct TPGDisplaySize {
    int Width = 0;
    int Height = 0;
    long double Scale = 1.0L;
};

// Picture sizes beyond this are cut to it (a widget cannot be larger).
constexpr int kPGMaxDisplayExtent = 16777215;

// The display size of an ImageWidth x ImageHeight picture in Area under Stretch; ZoomFactor
// counts for sZoomKAR only. Natural size unless picture and area both have an extent.
TPGDisplaySize PGDisplaySize(int ImageWidth, int ImageHeight, const TPGViewArea& Area,
                             TStretch Stretch, long double ZoomFactor);

// The scroll bars a content of ContentWidth x ContentHeight needs in Area, and the client area
// they leave. A bar that appears narrows the area for the other, so the test runs twice.
struct TPGScrollBars {
    bool Horizontal = false;
    bool Vertical = false;
    int ClientWidth = 0;
    int ClientHeight = 0;
};
TPGScrollBars PGScrollBarsFor(int ContentWidth, int ContentHeight, const TPGViewArea& Area);

// Top-left corner of a Width x Height display rectangle centred in the client area that Bars
// leave; 0 along an edge where the picture is not smaller than the client area.
TPGPoint PGCenteredPosition(int Width, int Height, const TPGScrollBars& Bars);

// The size of a control (Border pixels on each side) that shows an ImageWidth x ImageHeight
// picture unscaled, with the room of a scroll bar where a limit cuts the picture, within the
// limits. The minimum wins over the maximum.
struct TPGAutoSizeLimits {
    int MinWidth = 0;
    int MaxWidth = 2147483647;
    int MinHeight = 0;
    int MaxHeight = 2147483647;
};
TPGPoint PGAutoSize(int ImageWidth, int ImageHeight, int Border, const TPGViewArea& Bars,
                    const TPGAutoSizeLimits& Limits);
