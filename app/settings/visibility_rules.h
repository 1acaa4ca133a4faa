#pragma once

#include "app/settings/settings_model.h"

#include <optional>

// Which controls of the settings window are visible and enabled, as the settings decide it.
// The window applies these after every change of the settings involved and at start-up.

// Whether a change of Setting can change what the rules below show or hide.
bool AffectsVisibility(TSetting Setting);

// The background buttons of a logo page.
struct TBackgroundButtons {
    bool SingleColor = false; // the single colour, beside "Single"
    bool Gradient = false;    // both gradient colours, beside "Degraded"
    bool Select = false;      // the picture's "Select", beside "Bitmap"
    bool operator==(const TBackgroundButtons&) const = default;
};

// The shadow colour shows only for the effect "Shadow".
bool ShadowColorVisible(const TSettingsModel& Settings, TLogo Logo);

// The button of the background kind shows; none shows while the other logo carries both texts
// (this logo's background is not used then).
TBackgroundButtons BackgroundButtonsVisible(const TSettingsModel& Settings, TLogo Logo);

// The position strips show only while each logo carries its own text.
bool PositionStripsVisible(const TSettingsModel& Settings);

// What a page change settles on a logo's page: its single-logo box can be checked only while
// the other logo's is not, and its background settings show only while its background is used.
struct TPageChangeState {
    bool OnlyEnabled = true;
    bool BackgroundVisible = true;
    bool operator==(const TPageChangeState&) const = default;
};
TPageChangeState PageChangeState(const TSettingsModel& Settings, TLogo Logo);

// The pages of the settings window, in their order.
enum class TPage { General, First, Last };

// The logo that a change to Page recomposes: in single-logo mode the logo of a logo page shown,
// since the other page's settings take part in it; else none.
std::optional<TLogo> LogoRecomposedOnPageChange(const TSettingsModel& Settings, TPage Page);
