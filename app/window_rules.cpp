#include "app/window_rules.h"

namespace {

enum TBackgroundKind { bkSingle = 0, bkDegraded = 1, bkBitmap = 2 };
constexpr int kEffectShadow = 1;

} // namespace

bool ShadowColorVisible(const TSettingsModel& Settings, int Logo) {
    return Settings.Logo(Logo).Effect == kEffectShadow;
}

TBackgroundButtons BackgroundButtonsVisible(const TSettingsModel& Settings, int Logo) {
    if (Settings.LogoSkipped(Logo)) {
        return {};
    }
    const int Kind = Settings.Logo(Logo).Background;
    return {Kind == bkSingle, Kind == bkDegraded, Kind == bkBitmap};
}

bool PositionStripsVisible(const TSettingsModel& Settings) {
    return !Settings.SingleLogo();
}

TPageChangeState PageChangeState(const TSettingsModel& Settings) {
    TPageChangeState State;
    State.OnlyFirstEnabled = !Settings.OnlyLast();
    State.OnlyLastEnabled = !Settings.OnlyFirst();
    State.FirstBackgroundVisible = !Settings.LogoSkipped(1);
    State.LastBackgroundVisible = !Settings.LogoSkipped(2);
    return State;
}

int LogoRecomposedOnPageChange(const TSettingsModel& Settings, TPage Page) {
    if (!Settings.SingleLogo()) {
        return 0;
    }
    switch (Page) {
    case TPage::First:
        return 1;
    case TPage::Last:
        return 2;
    case TPage::General:
        break;
    }
    return 0;
}
