#include "app/settings/settings_file.h"

#include "app/install/install_targets_section.h"
#include "app/settings/settings_model.h"
#include "platform/ini_file.h"

#include <span>
#include <variant>

namespace {

// The value of Key in Section read as Default's kind, Default when the file does not give one.
TSettingValue ReadValue(const TIniFile& F, const char* Section, const char* Key,
                        const TSettingValue& Default) {
    if (const auto* Text = std::get_if<std::string>(&Default)) {
        return F.ReadString(Section, Key, *Text);
    }
    if (const auto* Flag = std::get_if<bool>(&Default)) {
        return F.ReadBool(Section, Key, *Flag);
    }
    return F.ReadInteger(Section, Key, std::get<int>(Default));
}

void WriteValue(TIniFile& F, const char* Section, const char* Key, const TSettingValue& Value) {
    if (const auto* Text = std::get_if<std::string>(&Value)) {
        F.WriteString(Section, Key, *Text);
    } else if (const auto* Flag = std::get_if<bool>(&Value)) {
        F.WriteBool(Section, Key, *Flag);
    } else {
        F.WriteInteger(Section, Key, std::get<int>(Value));
    }
}

// The general values where the settings file gives none.
const TGeneralValues& GeneralDefaults() {
    static const TGeneralValues kDefaults{.TextFile = kDefaultTextFile};
    return kDefaults;
}

// Reads the general settings of Order from Section into S.
void LoadGeneral(TSettingsModel& S, const TIniFile& F, const char* Section,
                 std::span<const TSetting> Order) {
    for (const TSetting Setting : Order) {
        const TGeneralSettingRow& Row = *GeneralSettingRow(Setting);
        S.Set(Setting, ReadValue(F, Section, Row.Key, ValueOf(GeneralDefaults(), Row)));
    }
}

// "Only One" as the logos' single-logo boxes stand: the second wins when both are checked.
int OnlyOneOf(const TSettingsModel& S) {
    int OnlyOne = 0;
    if (S.Logo(TLogo::First).Only) {
        OnlyOne = 1;
    }
    if (S.Logo(TLogo::Last).Only) {
        OnlyOne = 2;
    }
    return OnlyOne;
}

} // namespace

void LoadSettings(TSettingsModel& S, const TIniFile& F) {
    LoadGeneral(S, F, kGeneralSection, GeneralLoadOrder());
    for (const TLogo Logo : kLogos) {
        const TLogoValues& Defaults = DefaultLogoValues(Logo);
        for (const TSetting Setting : LogoLoadOrder(Logo)) {
            const TLogoSettingRow& Row = *LogoSettingRow(Setting);
            S.Set({Logo, Setting},
                  ReadValue(F, kLogoSections[Logo], Row.Key, ValueOf(Defaults, Row)));
        }
    }
    LoadInstallTargets(S.InstallTargets(), F);
    LoadGeneral(S, F, kOwnSection, OwnSettingsOrder());
}

void SaveSettings(TSettingsModel& S, TIniFile& F) {
    WriteValue(F, kGeneralSection, GeneralSettingRow(TSetting::TextFile)->Key,
               S.Value(TSetting::TextFile));
    S.Set(TSetting::OnlyOne, OnlyOneOf(S));
    WriteValue(F, kGeneralSection, GeneralSettingRow(TSetting::OnlyOne)->Key,
               S.Value(TSetting::OnlyOne));
    for (const TLogo Logo : kLogos) {
        for (const TSetting Setting : LogoSaveOrder()) {
            WriteValue(F, kLogoSections[Logo], LogoSettingRow(Setting)->Key,
                       S.Value({Logo, Setting}));
        }
    }
    SaveInstallTargets(S.InstallTargets(), F);
    // A file that never held one of the program's own settings other than its default keeps
    // only the sections above.
    for (const TSetting Setting : OwnSettingsOrder()) {
        const TGeneralSettingRow& Row = *GeneralSettingRow(Setting);
        const TSettingValue Default = ValueOf(GeneralDefaults(), Row);
        const TSettingValue Value = S.Value(Setting);
        if (Value != Default || ReadValue(F, kOwnSection, Row.Key, Default) != Default) {
            WriteValue(F, kOwnSection, Row.Key, Value);
        }
    }
}
