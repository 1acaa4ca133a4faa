#pragma once

#include <string>

// Where the program and the system's files live.

// The Windows folder whose logo files the program rewrites, without a trailing "/":
// $VESPERA_WINDIR when set and not empty; else the Windows folder of the Wine prefix
// ($WINEPREFIX, then ~/.wine) when it exists; else $XDG_DATA_HOME/vespera/windows (by default
// ~/.local/share/vespera/windows), created when missing.
std::string GetWindowsDirectory();

// The Windows folder with the trailing separator: a "/" is appended unless it ends in one.
std::string WindowsDirectory();

// Full path of the running program file; empty when the system does not tell.
std::string ProgramFileName();

// Folder of the running program file with its trailing "/"; the current folder ("./") when the
// program file is unknown.
std::string ProgramDirectory();
