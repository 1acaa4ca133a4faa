#pragma once

#include <string>

// Where the program and the system's files live.

// The Windows folder found on this machine, where the logos go unless the settings or
// $VESPERA_WINDIR name other places; without a trailing "/": the Windows folder of the Wine
// prefix ($WINEPREFIX, then ~/.wine) when it exists; else $XDG_DATA_HOME/vespera/windows (by
// default ~/.local/share/vespera/windows), created when missing.
std::string GetWindowsDirectory();

// $VESPERA_WINDIR: the one place the logos go, overriding every other, written as an install
// target (a folder or a disk image); empty when it is not set.
std::string InstallTargetOverride();

// The Windows folder with the trailing separator: a "/" is appended unless it ends in one.
std::string WindowsDirectory();

// The user's home folder: $HOME, else the one the user database gives; empty when neither
// tells.
std::string HomeDirectory();

// Full path of the running program file; empty when the system does not tell.
std::string ProgramFileName();

// The program's folder, which holds its settings file, the backups of the logos and the record
// files, with its trailing "/": the folder of ProgramFile when the user can write to it and it
// does not lie under /usr (a build tree, a portable copy); else ConfigHome() + "/vespera/",
// created when missing. The current folder ("./") when ProgramFile has no folder.
std::string ProgramDirectoryOf(const std::string& ProgramFile);

// The user's configuration folder, without a trailing "/": $XDG_CONFIG_HOME when it is an
// absolute path, else ~/.config.
std::string ConfigHome();

// The folder whose programs the desktop starts at log-in: the XDG autostart folder,
// ConfigHome() + "/autostart", without a trailing "/" and created when missing. Empty when
// neither $XDG_CONFIG_HOME nor a home folder is known.
std::string GetStartupFolder();
