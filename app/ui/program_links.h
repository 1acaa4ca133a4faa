#pragma once

#include <QString>

enum class TPage;

// Where the settings window leads the user beyond itself.

// The help file the window opens; it stands for the program's HTML help pages.
inline constexpr const char* kHelpFile = "vespera.hlp";

// The help page that describes Page, which F1 opens there: the contents ("Using Vespera", the
// window and the steps from a record to the logos) for "General Settings", "The settings" for
// the logo pages.
const char* HelpTopic(TPage Page);

// The maker's web address, chosen when the program is built (the CMake cache variable
// VESPERA_HOME_PAGE).
QString HomePage();
