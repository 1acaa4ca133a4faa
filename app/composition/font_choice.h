#pragma once

#include <string>
#include <vector>

// The font families a logo's text can use, and the choice among them of a saved font name.

// The installed font families in the order of the settings window's font lists
// (FontFamilyBefore).
std::vector<std::string> SortedFontFamilies();

// The family of Families (sorted as SortedFontFamilies gives them) that a saved font name
// selects: the one of that name, compared without regard to case; else the family the platform
// substitutes for the name (Liberation Sans for Arial) when it is listed; else the first.
// Empty when Families is.
std::string SelectFontFamily(const std::vector<std::string>& Families, const std::string& Name);
