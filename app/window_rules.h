#pragma once

#include "app/settings_model.h"

// Which controls of the settings window are visible and enabled, as the settings decide it.
// The window applies these after every change of the settings involved and at start-up.

// The background buttons of a logo page.
struct TBackgroundButtons {
    bool SingleColor = false; // the single colour, beside "Single"
    bool Gradient = false;    // both gradient colours, beside "Degraded"
    bool Select = false;      // the picture's "Select", beside "Bitmap"
    bool operator==(const TBackgroundButtons&) const = default;
};

// Logo 1 or 2: the shadow colour shows only for the effect "Shadow".
bool ShadowColorVisible(const TSettingsModel& Settings, int Logo);

// Logo 1 or 2: the button of the background kind shows; none shows while the other logo
// carries both texts (that logo's background is not used then).
TBackgroundButtons BackgroundButtonsVisible(const TSettingsModel& Settings, int Logo);

// The position strips show only while each logo carries its own text.
bool PositionStripsVisible(const TSettingsModel& Settings);

// What a page change settles: a single-logo box can be checked only while the other is not,
// and a page's background settings show only while its background is used.
struct TPageChangeState {
    bool OnlyFirstEnabled = true;
    bool OnlyLastEnabled = true;
    bool FirstBackgroundVisible = true;
    bool LastBackgroundVisible = true;
    bool operator==(const TPageChangeState&) const = default;
};
TPageChangeState PageChangeState(const TSettingsModel& Settings);

// The pages of the settings window, in their order.
enum class TPage { General, First, Last };

// The logo (1 or 2) that a change to Page recomposes: in single-logo mode the logo of a logo
// page shown, since the other page's settings take part in it; else none (0).
int LogoRecomposedOnPageChange(const TSettingsModel& Settings, TPage Page);
