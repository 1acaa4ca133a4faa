#pragma once

#include "app/logo/logo_index.h"
#include "app/records/record_choice.h"
#include "app/settings/settings_model.h"

#include <optional>

class TPixelGraphic;

// What the settings window is to show after one action, told in one event: what the action
// changed, with the values and pictures themselves, so that the window shows them without
// asking the core again.
struct TViewUpdate {
    // The setting that changed and its new value, for the control that shows it.
    std::optional<TSettingKey> Setting;
    TSettingValue Value;
    // The change can change what the window shows or hides (visibility_rules.h).
    bool Visibility = false;
    // The texts of a record choice that took them from a record file.
    const TRecordTexts* Texts = nullptr;
    // The logos to show anew, each with the picture its preview shows; none for the others.
    TPerLogo<const TPixelGraphic*> Logos{{nullptr, nullptr}};

    bool Empty() const {
        return !Setting && Texts == nullptr && Logos[TLogo::First] == nullptr &&
               Logos[TLogo::Last] == nullptr;
    }
};
