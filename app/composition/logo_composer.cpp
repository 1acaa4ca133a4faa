#include "app/composition/logo_composer.h"

#include "app/composition/background.h"
#include "app/composition/logo_text.h"
#include "app/logo/logo_image.h"
#include "app/report/failure_report.h"

#include <string>

namespace {

// The logos as the pages of the settings window name them.
constexpr TPerLogo<const char*> kLogoNames{{"First Logo", "Second Logo"}};

} // namespace

TLogoComposer::TLogoComposer(const TSettingsModel& Settings, const TRecordChooser& Records)
    : FSettings(Settings), FRecords(Records) {
    for (const TLogo Logo : kLogos) {
        FLogos[Logo].Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
        FLogos[Logo].Back.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    }
}

void TLogoComposer::BuildBackground(TLogo Logo) {
    // In single-logo mode the logo that is not made keeps its background unbuilt.
    if (FSettings.LogoSkipped(Logo)) {
        return;
    }
    const TLogoValues& Values = FSettings.Logo(Logo);
    RunForSubject(std::string(kLogoNames[Logo]) + " background " + Values.Bitmap,
                  [&] { ::BuildBackground(Back(Logo), Values); });
}

void TLogoComposer::RebuildBackground(TLogo Logo) {
    BuildBackground(Logo);
    RecomposeLogo(Logo);
}

void TLogoComposer::RecomposeLogo(TLogo Logo) {
    // A logo that the other one's single-logo box skips is drawn on that one's background.
    const TLogo Background = FSettings.LogoSkipped(Logo) ? OtherLogo(Logo) : Logo;
    TPixelGraphic& Image = this->Logo(Logo);
    Image.StretchFrom(Back(Background));
    if (FSettings.SingleLogo()) {
        // The question above the answer, each in its own page's font, colours and effect.
        const TTextInfo Texts[] = {
            {&FSettings.Logo(TLogo::First), FRecords.Text(TLogo::First)},
            {&FSettings.Logo(TLogo::Last), FRecords.Text(TLogo::Last)},
        };
        DrawLogoText(Image, Texts);
    } else {
        const TTextInfo Texts[] = {{&FSettings.Logo(Logo), FRecords.Text(Logo)}};
        DrawLogoText(Image, Texts);
    }
    Image.Flush(); // the drawing goes into the pixels now; its view is not kept
    LogoComposed(Logo);
    // In single-logo mode both logos are the same composition of both pages' settings: the
    // other one follows, so that the logo installed never lags behind a change made on the
    // page of the logo that is not installed.
    if (FSettings.SingleLogo()) {
        const TLogo Other = OtherLogo(Logo);
        this->Logo(Other).StretchFrom(Image);
        LogoComposed(Other);
    }
}

void TLogoComposer::RecomposeLogos() {
    if (FSettings.SingleLogo()) {
        // Either logo's recomposition gives both the composition; the last's ends where
        // recomposing the first and then the last would.
        RecomposeLogo(TLogo::Last);
        return;
    }
    for (const TLogo Logo : kLogos) {
        RecomposeLogo(Logo);
    }
}

void TLogoComposer::LogoComposed(TLogo Logo) {
    FLogos[Logo].Composed = true;
    FLogos[Logo].InstalledCurrent = false;
    Show(Logo);
}

void TLogoComposer::Show(TLogo Logo) {
    TLogoState& State = FLogos[Logo];
    State.Waiting = FSettings.General().PreviewAsInstalled && !FInView[Logo];
    if (!State.Waiting) {
        OnShowLogo(this, Logo, PreviewPicture(Logo));
    }
}

void TLogoComposer::SetInView(const TPerLogo<bool>& InView) {
    FInView = InView;
    for (const TLogo Logo : kLogos) {
        if (FInView[Logo] && FLogos[Logo].Waiting) {
            Show(Logo);
        }
    }
}

void TLogoComposer::ShowPreviews() {
    for (const TLogo Logo : kLogos) {
        if (FLogos[Logo].Composed) {
            Show(Logo);
        }
    }
}

const TPixelGraphic& TLogoComposer::PreviewPicture(TLogo Logo) {
    TLogoState& State = FLogos[Logo];
    if (!FSettings.General().PreviewAsInstalled) {
        return State.Logo;
    }
    if (!State.InstalledCurrent) {
        InstalledLogoPreview(State.Logo, State.Installed);
        State.InstalledCurrent = true;
    }
    return State.Installed;
}
