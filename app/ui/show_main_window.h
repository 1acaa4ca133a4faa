#pragma once

class QWidget;

// Shows the main window as the show command the program was started with asks
// (platform/show_command.h): minimised for the minimising commands, maximised for 3 (a window of
// fixed size keeps its size there), normally otherwise.
void ShowMainWindow(QWidget& Window, int ShowCommand);
