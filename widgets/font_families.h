#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// Whose fonts a font box lists.
enum TFontDevice : std::uint8_t { fdScreen, fdPrinter };
// Which families a font box lists.
enum TFontType : std::uint8_t { ftAll, ftTrueType, ftFixedPitch, ftPrinter };

// The pitch-and-family bits kept with every family.
constexpr std::uint8_t kVariablePitchBit = 0x01;
constexpr std::uint8_t kTrueTypeBit = 0x04;

struct TFontFamily {
    QString Name;
    std::uint8_t PitchAndFamily = 0;
};

// Where a font box gets the families of a device.
using TFontFamilySource = std::function<std::vector<TFontFamily>(TFontDevice Device)>;

// The families of the font database: scalable ones carry the TrueType bit, all but fixed-pitch
// ones the variable-pitch bit. Printing uses the same fonts as the screen on this platform.
std::vector<TFontFamily> InstalledFontFamilies(TFontDevice Device);

// The families FontType admits, in the order given: all; those with the TrueType bit; those
// without the variable-pitch bit. ftPrinter admits none.
std::vector<TFontFamily> FilterFontFamilies(std::vector<TFontFamily> Families, TFontType Type);

// Sorts by name in the order of every font list (FontFamilyBefore), as a sorted list keeps its
// items.
void SortFontFamilies(std::vector<TFontFamily>& Families);
