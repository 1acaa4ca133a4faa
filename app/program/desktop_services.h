#pragma once

#include "platform/shell_open.h"

#include <QObject>
#include <string>

// The desktop's "Open" for the shell hook (platform/shell_open.h): a file path or a web address
// handed to the program the user's desktop opens it with.
//
// Through xdg-open, the freedesktop opener, when the PATH holds one. It reports that nothing can
// open the target ("no method available") only by its exit status, so it is run as a child and
// watched: a failure within its first seconds calls the opening's Failed. After that it waits for
// a program that stays in the foreground, whose end says nothing about the opening. Without
// xdg-open, QDesktopServices opens the target, and says at once whether it found a program.
class TDesktopOpener {
public:
    TDesktopOpener() = default;
    // Openers still running are stopped, unheard (the programs they started keep running).
    ~TDesktopOpener();

    TDesktopOpener(const TDesktopOpener&) = delete;
    TDesktopOpener& operator=(const TDesktopOpener&) = delete;

    bool Open(const std::string& Target, const TShellOpenFailed& Failed);

private:
    // The parent of the running openers.
    QObject FRunning;
};
