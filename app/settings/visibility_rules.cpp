#include "app/settings/visibility_rules.h"

bool AffectsVisibility(TSetting Setting) {
    return Setting == TSetting::Effect || Setting == TSetting::Background ||
           Setting == TSetting::Only;
}

bool ShadowColorVisible(const TSettingsModel& Settings, TLogo Logo) {
    return Settings.Logo(Logo).Effect == TTextEffect::Shadow;
}

TBackgroundButtons BackgroundButtonsVisible(const TSettingsModel& Settings, TLogo Logo) {
    if (Settings.LogoSkipped(Logo)) {
        return {};
    }
    const TBackgroundKind Kind = Settings.Logo(Logo).Background;
    return {Kind == TBackgroundKind::Single, Kind == TBackgroundKind::Degraded,
            Kind == TBackgroundKind::Bitmap};
}

bool PositionStripsVisible(const TSettingsModel& Settings) {
    return !Settings.SingleLogo();
}

TPageChangeState PageChangeState(const TSettingsModel& Settings, TLogo Logo) {
    return {!Settings.Logo(OtherLogo(Logo)).Only, !Settings.LogoSkipped(Logo)};
}

std::optional<TLogo> LogoRecomposedOnPageChange(const TSettingsModel& Settings, TPage Page) {
    if (!Settings.SingleLogo()) {
        return std::nullopt;
    }
    switch (Page) {
    case TPage::First:
        return TLogo::First;
    case TPage::Last:
        return TLogo::Last;
    case TPage::General:
        break;
    }
    return std::nullopt;
}
