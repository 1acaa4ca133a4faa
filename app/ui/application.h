#pragma once

#include <QApplication>

// The program's application object when it shows a window: the default error handler of every
// event it delivers, so that a failure inside an event handler is shown in a message box
// (captioned with the program's title, "Vespera") and the program goes on instead of ending; its
// style shows the focus of every control that takes it (TFocusFrameStyle).
class TVesperaApplication : public QApplication {
public:
    TVesperaApplication(int& Argc, char** Argv);

    bool notify(QObject* Receiver, QEvent* Event) override;
};
