#pragma once

#include "platform/message_box.h"

#include <functional>

class TVesperaApp;

// "vespera /AUTO" as a process: the unattended run (RunUnattended) under the lightest
// application object that serves it. Without a display a QGuiApplication alone: no Qt Widgets
// are loaded, messages go to standard error. With one the window part takes over
// (window_program.h), for message boxes and for the window that a failed run leaves open; when
// the window part cannot be loaded the run goes on as without a display. A failed run ends with
// status 1. Returns the exit status.
int UnattendedProgram(int& Argc, char** Argv);

// What a display adds to the unattended run: the message boxes, and the window that a failed
// run leaves open (minimised, until the user closes it).
struct TUnattendedDisplay {
    TMessageBoxHook Messages;
    std::function<void(TVesperaApp& App)> KeepOpen;
};

// The unattended run once the application object exists: the program's services with the
// messages of WithDisplay (none: standard error), the run, and after a failure its window.
// Returns the exit status.
int RunUnattendedProcess(const TUnattendedDisplay* WithDisplay);
