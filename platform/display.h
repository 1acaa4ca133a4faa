#pragma once

#include <functional>

// What the program knows of the screen, and the system's beep. Both values have fixed defaults
// (a true-colour display at 96 logical pixels per inch) so that logos look the same everywhere;
// each can be overridden through the environment or a setter, so that the 8- and 4-bit display
// paths of the image views run in tests.

// Bits per pixel of the display: the value set with SetScreenColorDepth, else
// $VESPERA_DISPLAY_DEPTH when it is 1, 4, 8, 15, 16, 24 or 32, else 24.
int ScreenColorDepth();
// Overrides the depth; 0 goes back to the environment or the default.
void SetScreenColorDepth(int Depth);

// Logical pixels per inch of the screen: the value set with SetScreenPixelsPerInch, else
// $VESPERA_PIXELS_PER_INCH when it is a number from 24 to 960, else 96.
int ScreenPixelsPerInch();
// Overrides the value; 0 goes back to the environment or the default.
void SetScreenPixelsPerInch(int PixelsPerInch);

// The system's beep. A window framework installs its own; without one the beep is the terminal
// bell on standard error.
using TBeepHook = std::function<void()>;
void Beep();
// Installs a hook (none restores the default); returns the one it replaces.
TBeepHook SetBeepHook(TBeepHook Hook);
