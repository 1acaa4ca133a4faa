#pragma once

#include <string>
#include <vector>

// The font families a logo's text can use, and the choice among them of a saved font name.

// The installed font families, sorted without regard to case, as the font lists show them.
std::vector<std::string> InstalledFontFamilies();

// The family of Families (sorted as InstalledFontFamilies gives them) that a saved font name
// selects: the one of that name, compared without regard to case; else the family the platform
// substitutes for the name (Liberation Sans for Arial) when it is listed; else the first.
// Empty when Families is.
std::string SelectFontFamily(const std::vector<std::string>& Families, const std::string& Name);
