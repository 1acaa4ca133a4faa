#pragma once

#include "widgets/color_array.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The string form in which the sixteen custom colours of the colour dialog travel:
// "Color" + letter + "=" + eight hexadecimal digits, letters "A" to "H" for row 1, columns 1 to 8,
// and "I" to "P" for row 2.

constexpr int kCustomColorColumns = 8;
constexpr int kCustomColorRows = 2;
constexpr int kCustomColorCount = kCustomColorColumns * kCustomColorRows;

// The 8 x 2 grid a colour button and its popup start with: every custom colour white.
TColorArrayClass WhiteCustomColors();

// The strings of an 8 x 2 grid, "ColorA" first.
std::vector<std::string> CustomColorStrings(const TColorArrayClass& Colors);

struct TCustomColor {
    int Column;
    int Row;
    TColor Color;
};
// The cell and colour one string names: the letter before "=" gives the cell (letter - "A" = k,
// column k mod 8 + 1, row k div 8 + 1), the text after it the colour, 0xFFFFFF when it is not
// hexadecimal. None when the string has no "=" or its letter names no cell.
std::optional<TCustomColor> ParseCustomColorString(std::string_view Text);

// Writes every string that names a cell into the 8 x 2 grid.
void ReadCustomColorStrings(const std::vector<std::string>& Strings, TColorArrayClass& Colors);
