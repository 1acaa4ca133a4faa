#pragma once

#include "app/install/install_target_list.h"
#include "app/logo/logo_index.h"
#include "app/settings/setting_table.h"
#include "core/multicast_event.h"
#include "core/object.h"

#include <optional>

// The program's settings: what the settings file holds and what the settings window shows (the
// settings and their rows: setting_table.h). A setting changes only when it is set to another
// value, and then reports the change through OnChange, the way a control runs its change
// handling when it is set to a different value and nothing when it is set to the value it has.
// The settings window binds its controls to these values; the program reacts to the changes.

// A general setting (no Logo) or a setting of one logo.
struct TSettingKey {
    // A general setting is its own key.
    TSettingKey(TSetting Which) : Setting(Which) {}
    TSettingKey(TLogo Of, TSetting Which) : Logo(Of), Setting(Which) {}

    std::optional<TLogo> Logo;
    TSetting Setting;
    bool operator==(const TSettingKey&) const = default;
};

// Which setting changed.
using TSettingChange = TSettingKey;

class TSettingsModel : public TObject {
public:
    // All values start empty, zero or unselected, as the settings window's controls do before
    // the settings file is loaded into them.
    TSettingsModel() = default;

    const TGeneralValues& General() const { return FGeneral; }
    const TLogoValues& Logo(TLogo Logo) const { return FLogos[Logo]; }
    // Where the logos go; it reports its changes itself.
    TInstallTargetList& InstallTargets() { return FInstallTargets; }
    const TInstallTargetList& InstallTargets() const { return FInstallTargets; }

    const std::string& TextFile() const { return FGeneral.TextFile; }
    int OnlyOne() const { return FGeneral.OnlyOne; }
    // Single-logo mode: one logo carries both texts.
    bool SingleLogo() const;
    // Whether the other logo carries both texts, so that this one is not made and its
    // background is not used.
    bool LogoSkipped(TLogo Logo) const { return FLogos[OtherLogo(Logo)].Only; }

    TSettingValue Value(const TSettingKey& Key) const;
    // Stores Value (kept within the setting's range: TSettingRow) and reports a change; returns
    // whether the value changed. A key of a general setting with a logo, or of a logo setting
    // without one, and a value of another kind raise std::invalid_argument.
    bool Set(const TSettingKey& Key, const TSettingValue& Value);

    // Called after every change, with the model as sender.
    TMulticastEvent<TObject*, TSettingChange> OnChange;

private:
    TGeneralValues FGeneral;
    TPerLogo<TLogoValues> FLogos{};
    TInstallTargetList FInstallTargets;
};
