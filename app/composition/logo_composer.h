#pragma once

#include "app/logo/logo_index.h"
#include "app/records/record_chooser.h"
#include "app/settings/settings_model.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "pgraphic/image/pixel_graphic.h"

// The logos as the settings and the record choice ask for them: each logo's background and
// composition (640 x 400, true colour), and what its preview shows, the composition or, with the
// preview as installed, the logo as installation reduces it and the machine shows it. It tells
// what to show, with the picture itself, through OnShowLogo.
class TLogoComposer : public TObject {
public:
    TLogoComposer(const TSettingsModel& Settings, const TRecordChooser& Records);

    TPixelGraphic& Logo(TLogo Logo) { return FLogos[Logo].Logo; }
    TPixelGraphic& Back(TLogo Logo) { return FLogos[Logo].Back; }

    // Builds a logo's background from its settings, unless single-logo mode leaves it unused. A
    // picture that cannot be read is raised as the failure of "<page> background <picture>".
    void BuildBackground(TLogo Logo);
    // Builds a logo's background and composes the logo.
    void RebuildBackground(TLogo Logo);
    // Composes a logo from its kept background (the other one's in single-logo mode), then
    // shows it. In single-logo mode the other logo takes the same composition and is shown too,
    // whichever page's setting changed.
    void RecomposeLogo(TLogo Logo);
    // Composes both logos; in single-logo mode the one composition they share is made once.
    void RecomposeLogos();

    // Which logos' previews are in view. The logo as installed is made for a preview in view
    // only; one out of view is shown when it comes into view. All are in view at first.
    void SetInView(const TPerLogo<bool>& InView);
    // Shows every composed logo anew, as the preview's setting now asks.
    void ShowPreviews();
    // What a logo's preview shows as things stand.
    const TPixelGraphic& PreviewPicture(TLogo Logo);

    // A logo is to be shown anew, with the picture to show.
    TMulticastEvent<TObject*, TLogo, const TPixelGraphic&> OnShowLogo;

private:
    struct TLogoState {
        TPixelGraphic Logo;
        TPixelGraphic Back;
        bool Composed = false;
        TPixelGraphic Installed;       // the preview as installed
        bool InstalledCurrent = false; // made from the composition as it stands
        bool Waiting = false;          // composed while its preview was out of view
    };

    // A logo was composed: its preview as installed is out of date; it is shown.
    void LogoComposed(TLogo Logo);
    void Show(TLogo Logo);

    const TSettingsModel& FSettings;
    const TRecordChooser& FRecords;
    TPerLogo<TLogoState> FLogos;
    TPerLogo<bool> FInView{{true, true}};
};
