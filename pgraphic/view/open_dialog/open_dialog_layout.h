#pragma once

#include "pgraphic/view/open_dialog/dialog_units.h"
#include "pgraphic/view/view_rect.h"

// Where the picture open dialog puts its preview. Its own part is 288 x 144 dialog units: the
// left 192 units take the file dialog's standard controls, beside them the preview panel at
// (192, 20), 92 x 85, and the description panel at (193, 110), 92 x 33. The side panel is the
// part right of the standard controls; the two panels are placed in it.
struct TPGOpenDialogLayout {
    int SideWidth = 0;
    int SideHeight = 0;
    TPGRect Preview;
    TPGRect Description;
};

TPGOpenDialogLayout PGOpenDialogLayout(const TPGDialogBaseUnits& Base);

// The top-left corner of a window of Width x Height on Screen: centred horizontally, and with a
// third of the free height above it.
TPGPoint PGOpenDialogPosition(const TPGRect& Screen, int Width, int Height);
