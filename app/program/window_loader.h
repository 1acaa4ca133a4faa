#pragma once

#include <string>

// The program's window part (the settings window with the widgets it is made of) lives in a
// module of its own, which the program loads only when it shows a window: the unattended run
// without a display then loads no Qt Widgets at all.

// The window part's entry (window_program.h): the program with a window, or with Unattended the
// unattended run with a display; returns the exit status.
using TWindowProgram = int (*)(int* Argc, char** Argv, int Unattended);

// Loads the window part from beside the program (a build folder, a portable copy) or from its
// installed place, and returns its entry; nullptr, with Error saying why, when it cannot.
TWindowProgram LoadWindowProgram(std::string& Error);
