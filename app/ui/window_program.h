#pragma once

// The program with a display, as the window part runs it (window_loader.h loads it).

// The settings window, shown as the program was started, until the user closes it; without a
// display (the offscreen platform asked for by name) it says that it needs one. Returns the
// exit status.
int SettingsWindowProgram(int& Argc, char** Argv);

// The unattended run with a display: message boxes placed where the main window's messages go,
// and after a failure the settings window, built over the program's state, minimised until the
// user closes it. Without a display it runs as the program part without a window does.
int UnattendedWindowProgram(int& Argc, char** Argv);

// The window part's entry, as the program finds it in the loaded module.
extern "C" int VesperaWindowProgram(int* Argc, char** Argv, int Unattended);
