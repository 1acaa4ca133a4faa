#pragma once

#include <string>

// Shell links as freedesktop desktop entries: the start-up folder's programs and menu entries of
// this platform are such files.

// Which fields of a TShellLinkInfo a link applies.
enum TShellLinkFlag : unsigned {
    slDescription = 1,
    slArguments = 2,
    slIcon = 4, // IconPath with IconIndex
    slWorkingDirectory = 8,
    slHotKey = 16,
    slShowCmd = 32,
};

// The parameters of one link. Path, the target, is always used; the others as Flags says.
struct TShellLinkInfo {
    std::string Path;
    unsigned Flags = 0;
    std::string Description;
    std::string Arguments;
    std::string IconPath;
    int IconIndex = 0;
    std::string WorkingDirectory;
    int ShowCmd = 0;
    int HotKey = 0;
};

// Writes a link to Info.Path as LinkFile, replacing any link of that name. A name ending in
// ".LNK" (any case) is saved with ".desktop" instead, the ending the desktop looks for.
//
// The entry is an application (Type, Name = LinkFile's name without its ending, Terminal=false)
// whose Exec is the absolute target followed by the arguments, each quoted as the Desktop Entry
// rules ask. Description becomes Comment (unless it only repeats the name), IconPath becomes
// Icon, WorkingDirectory becomes Path;
// without a working folder Path is the target's folder. The icon index, the hot key and the show
// command have no field in a desktop entry and are not written.
//
// The file is written to a temporary file and renamed, so a link is never half-written.
// Returns 0, or a negative result code (minus the system's error number of the call that
// failed) when it fails.
int CreateShellLink(const std::string& LinkFile, const TShellLinkInfo& Info);

// The contents CreateShellLink writes for a link named Name.
std::string DesktopEntryText(const std::string& Name, const TShellLinkInfo& Info);

// The file name CreateShellLink saves LinkFile under.
std::string DesktopEntryFileName(const std::string& LinkFile);
