#pragma once

#include <QString>

// Where the settings window leads the user beyond itself.

// The help file the window opens; it stands for the program's HTML help pages.
inline constexpr const char* kHelpFile = "vespera.hlp";

// The maker's web address, chosen when the program is built (the CMake cache variable
// VESPERA_HOME_PAGE).
QString HomePage();
