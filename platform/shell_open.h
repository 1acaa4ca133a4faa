#pragma once

#include <functional>
#include <string>

// "Open" of the desktop's shell: a document or a web address handed to the program the user's
// desktop opens it with. A window framework installs the opener; without one nothing opens.

// Called when an opener that accepted a target finds out later that nothing could open it (the
// desktop's opener runs on its own and reports its failure only when it ends).
using TShellOpenFailed = std::function<void()>;

// Target is an absolute file path or a web address; returns whether the opener accepted it. An
// opener that finds out later that it failed calls Failed (when set), on the thread it was
// called on.
using TShellOpenHook =
    std::function<bool(const std::string& Target, const TShellOpenFailed& Failed)>;

// Opens Target through the installed opener; false when there is none or it failed at once.
// Failed, when set, is called when it fails later.
bool ShellOpen(const std::string& Target, const TShellOpenFailed& Failed = {});

// Installs an opener (none removes it); returns the one it replaces.
TShellOpenHook SetShellOpenHook(TShellOpenHook Hook);
