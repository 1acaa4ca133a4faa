#pragma once

// "vespera /AUTO" as a process: the unattended run (RunUnattended) under the lightest
// application object that serves it, a QGuiApplication when there is no display. Messages go to
// standard error without a display and to message boxes with one. A failed run ends with
// status 1; with a display its settings window is then built over the program's state and stays
// open, minimised, until the user closes it. Returns the exit status.
int UnattendedProgram(int& Argc, char** Argv);
