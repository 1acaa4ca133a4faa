#pragma once

#include <QApplication>

// The program's application object: the default error handler of every event it delivers, so
// that a failure inside an event handler is shown in a message box (captioned with the
// program's title, "Vespera") and the program goes on instead of ending.
class TVesperaApplication : public QApplication {
public:
    TVesperaApplication(int& Argc, char** Argv);

    bool notify(QObject* Receiver, QEvent* Event) override;
};

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
