#pragma once

// How the program's main window is to appear when the program starts: the show command that
// the starter hands it (1 normal, 3 maximised, 7 minimised without activation, and the other
// codes of the platform's window API). Desktop launchers on this platform pass none, so the
// window appears normally unless $VESPERA_SHOW_COMMAND gives a code from 0 to 11.

inline constexpr int kShowNormal = 1;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinNoActive = 7;

int StartupShowCommand();
