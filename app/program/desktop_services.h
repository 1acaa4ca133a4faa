#pragma once

#include <string>

// The desktop's "Open" for the shell hook (platform/shell_open.h): a file path or a web address
// handed to QDesktopServices, which starts the user's program for it.
bool DesktopShellOpen(const std::string& Target);
