#pragma once

#include "app/logo/logo_index.h"
#include "app/settings/setting_values.h"
#include "core/color.h"

#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

// The program's settings, each described once: the value that holds it, its key in the settings
// file and what a change of it recomputes. Loading and saving the settings file, the settings
// window's controls and the program's reactions to a change all walk these rows. A new setting
// is a value below, a row in setting_table.cpp and its place in the file's key orders there (a
// new section of the file is a values type of its own with its rows, read and written by the
// settings file beside the others).

// One setting. TextFile, OnlyOne and PreviewAsInstalled are general; the others exist once per
// logo.
enum class TSetting : std::uint8_t {
    TextFile, // the record file
    OnlyOne,  // single-logo mode as the file holds it
    // The logo pages show their logos as installed (reduced to the system's logo format) rather
    // than as composed; a setting of this program's own.
    PreviewAsInstalled,
    FontName,
    Font,
    Size,
    Position,
    TextColor,
    ShadowColor,
    Effect,
    Bold,
    Italic,
    SingleColor,
    GradientTop,
    GradientBottom,
    Bitmap,
    Background,
    Line,
    Only,
};

// The values a logo has where the settings file does not give others.
const TLogoValues& DefaultLogoValues(TLogo Logo);

// The record file used when the settings file names none.
inline constexpr const char* kDefaultTextFile = "vespera.txt";

// A setting's value as the settings file and the controls carry it: a text, an integer (a
// number, a colour, the index of a choice) or a flag.
using TSettingValue = std::variant<std::string, int, bool>;

// What a change of a setting recomputes.
enum class TRecompute : std::uint8_t {
    Nothing,         // no drawing reads it at once
    Logo,            // the logo, from its kept background
    Background,      // the logo's background, then the logo
    DefaultTexts,    // while a default text is on a logo: a new record choice and both logos
    BothBackgrounds, // both backgrounds where used, and both logos
    Previews,        // what the logo pages show: both logos shown anew
};

// The member of TValues that holds a setting.
template <typename TValues>
using TSettingMember =
    std::variant<std::string TValues::*, int TValues::*, bool TValues::*, TTextPosition TValues::*,
                 TTextEffect TValues::*, TBackgroundKind TValues::*>;

// The description of one setting. An integer, or the index of a choice, is kept within Min and
// Max as it is stored: a spin edit's range, or a group of three choices where an index above the
// last selects the last and one below -1 selects none.
template <typename TValues>
struct TSettingRow {
    TSetting Setting;
    const char* Key; // the key in the file's section; nullptr when it has none of its own
    TSettingMember<TValues> Member;
    TRecompute Recompute;
    int Min = INT_MIN;
    int Max = INT_MAX;
};

using TGeneralSettingRow = TSettingRow<TGeneralValues>;
using TLogoSettingRow = TSettingRow<TLogoValues>;

// The row of Setting among the general or the logo settings; nullptr when it is not one of them.
const TGeneralSettingRow* GeneralSettingRow(TSetting Setting);
const TLogoSettingRow* LogoSettingRow(TSetting Setting);

// A setting's value in Values.
template <typename TValues>
TSettingValue ValueOf(const TValues& Values, const TSettingRow<TValues>& Row);

// Stores Value in Values, kept within the row's range; returns whether the value changed. A
// value of another kind than the setting's raises std::invalid_argument.
template <typename TValues>
bool StoreValue(TValues& Values, const TSettingRow<TValues>& Row, const TSettingValue& Value);

// The settings file's sections and the orders in which their keys are read and written.
inline constexpr const char* kGeneralSection = "General";
inline constexpr TPerLogo<const char*> kLogoSections{{"First Logo", "Last Logo"}};
std::span<const TSetting> GeneralLoadOrder();
// The program's own settings (general ones) in a section of their own after the logos' sections,
// which a file holds only once one of them was set to other than its default.
inline constexpr const char* kOwnSection = "Preview";
std::span<const TSetting> OwnSettingsOrder();
std::span<const TSetting> LogoLoadOrder(TLogo Logo);
std::span<const TSetting> LogoSaveOrder();
