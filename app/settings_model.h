#pragma once

#include "core/color.h"
#include "core/object.h"

#include <cstdint>
#include <functional>
#include <string>

// The program's settings: what the settings file holds and what the settings window shows.
// Every value has a setter that acts only when the value really changes and then reports the
// change through OnChange, the way a control runs its change handling when it is set to a
// different value and nothing when it is set to the value it has. The settings window binds
// its controls to these values; the program reacts to the reported changes.

// One setting. The first four are general; the others exist once per logo.
enum class TSetting : std::uint8_t {
    TextFile,  // the record file ("TextFile")
    OnlyOne,   // single-logo mode as last read or saved ("Only One"): 0, 1 or 2
    OnlyFirst, // "Use Only the first logo": the first logo carries both texts
    OnlyLast,  // "Use Only the second logo": the second logo carries both texts
    FontName,  // the font name as read ("Font"), from which the font is selected at start-up
    Font,      // the selected font family; empty when none is selected
    Size,      // points, 8 to 72
    Position,  // 0 top, 1 middle, 2 bottom; -1 none
    TextColor,
    ShadowColor,
    Effect, // 0 "Nothing", 1 "Shadow", 2 "3D"; -1 none
    Bold,
    Italic,
    Color1,     // the single background colour
    Color2,     // the gradient's top colour
    Color3,     // the gradient's bottom colour
    Bitmap,     // the background picture's path
    Background, // 0 "Single", 1 "Degraded", 2 "Bitmap"; -1 none
    Line,       // the default text
};

// Which setting changed; Logo is 1 (first logo), 2 (second logo) or 0 for a general setting.
struct TSettingChange {
    int Logo = 0;
    TSetting Setting = TSetting::TextFile;
    bool operator==(const TSettingChange&) const = default;
};

// The values of one logo.
struct TLogoValues {
    std::string FontName;
    std::string Font;
    int Size = kMinFontSize;
    int Position = -1;
    TColor TextColor = 0;
    TColor ShadowColor = 0;
    int Effect = -1;
    bool Bold = false;
    bool Italic = false;
    TColor Color1 = 0;
    TColor Color2 = 0;
    TColor Color3 = 0;
    std::string Bitmap;
    int Background = -1;
    std::string Line;

    static constexpr int kMinFontSize = 8;
    static constexpr int kMaxFontSize = 72;
};

// The values a logo has when the settings file does not say otherwise (Logo 1 or 2).
TLogoValues DefaultLogoValues(int Logo);

// The record file used when the settings file names none.
inline constexpr const char* kDefaultTextFile = "vespera.txt";

class TSettingsModel : public TObject {
public:
    // All values start empty, zero or unselected, as the settings window's controls do before
    // the settings file is loaded into them.
    TSettingsModel() = default;

    const std::string& TextFile() const { return FTextFile; }
    int OnlyOne() const { return FOnlyOne; }
    bool OnlyFirst() const { return FOnlyFirst; }
    bool OnlyLast() const { return FOnlyLast; }
    // Single-logo mode: one logo carries both texts.
    bool SingleLogo() const { return FOnlyFirst || FOnlyLast; }
    // Logo 1 or 2: whether the other logo carries both texts, so that this one is not made and
    // its background is not used.
    bool LogoSkipped(int Logo) const { return Logo == 1 ? FOnlyLast : FOnlyFirst; }
    // Logo 1 or 2.
    const TLogoValues& Logo(int Logo) const;

    // Each returns whether the value changed. A size is kept within 8..72, the choices of a
    // group (position, effect, background) within -1..2: an index above the last choice selects
    // the last, one below -1 selects none.
    bool SetTextFile(const std::string& Value);
    bool SetOnlyOne(int Value);
    bool SetOnlyFirst(bool Value);
    bool SetOnlyLast(bool Value);
    bool SetFontName(int Logo, const std::string& Value);
    bool SetFont(int Logo, const std::string& Value);
    bool SetSize(int Logo, int Value);
    bool SetPosition(int Logo, int Value);
    bool SetTextColor(int Logo, TColor Value);
    bool SetShadowColor(int Logo, TColor Value);
    bool SetEffect(int Logo, int Value);
    bool SetBold(int Logo, bool Value);
    bool SetItalic(int Logo, bool Value);
    bool SetColor1(int Logo, TColor Value);
    bool SetColor2(int Logo, TColor Value);
    bool SetColor3(int Logo, TColor Value);
    bool SetBitmap(int Logo, const std::string& Value);
    bool SetBackground(int Logo, int Value);
    bool SetLine(int Logo, const std::string& Value);

    // Called after every change, with the model as sender.
    std::function<void(TObject* Sender, TSettingChange Change)> OnChange;

private:
    TLogoValues& LogoValues(int Logo);
    template <typename T>
    bool Assign(T& Field, const T& Value, int Logo, TSetting Setting);

    std::string FTextFile;
    int FOnlyOne = 0;
    bool FOnlyFirst = false;
    bool FOnlyLast = false;
    TLogoValues FFirst;
    TLogoValues FLast;
};

// An index of a group of three choices as the group takes it: above 2 selects 2, below -1
// selects none (-1).
int ClampChoice(int Index);
