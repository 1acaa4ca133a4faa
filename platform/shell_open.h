#pragma once

#include <functional>
#include <string>

// "Open" of the desktop's shell: a document or a web address handed to the program the user's
// desktop opens it with. A window framework installs the opener; without one nothing opens.

// Target is an absolute file path or a web address; returns whether the opener accepted it.
using TShellOpenHook = std::function<bool(const std::string& Target)>;

// Opens Target through the installed opener; false when there is none or it failed.
bool ShellOpen(const std::string& Target);

// Installs an opener (none removes it); returns the one it replaces.
TShellOpenHook SetShellOpenHook(TShellOpenHook Hook);
