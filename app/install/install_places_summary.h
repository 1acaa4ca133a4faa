#pragma once

#include "app/install/install_places.h"

#include <string>
#include <vector>

// Where the logos go, told to the user of the settings window.

// Places in one line, "; " between them: "automatic: /home/me/.wine/drive_c/windows" for the
// Windows folder found on this machine, "VESPERA_WINDIR (cannot be changed here): ..." for the
// environment's target, the description of each target of the settings, and "... (not valid)"
// for a target that is not one.
std::string InstallPlacesSummary(const std::vector<TInstallPlace>& Places);

// The same at length, a line for each place, saying what named them and what the user can
// change.
std::string InstallPlacesDetails(const std::vector<TInstallPlace>& Places);

// The Windows folder found on this machine, as the user reads it: without its trailing "/".
std::string AutomaticFolderText(const std::string& WindowsDir);
