#pragma once

// What the program learns about its display before and after the application object exists,
// and the application's name. Qt Gui only: the program part that runs without its window uses
// it as well as the window part.

// Names the application object (QGuiApplication or TVesperaApplication) "vespera".
void NameApplication();

// Whether the program runs without a display (Qt's offscreen or minimal platform): messages
// then go to standard error instead of message boxes.
bool RunsWithoutDisplay();

// Whether QT_QPA_PLATFORM names Qt's offscreen or minimal platform, so that the program will
// run without a display: known before the application object exists.
bool HeadlessPlatformNamed();

// Whether the environment names a display or a Qt platform (DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM set and not empty).
bool DisplayNamed();

// Makes Qt use its offscreen platform when nothing names a display or a platform, so that the
// unattended run works on a machine without one. Call before the application object exists.
void UseOffscreenWithoutDisplay();

// Says on standard error that the settings window needs a display; returns the exit status 2.
int NoDisplayForTheWindow();
