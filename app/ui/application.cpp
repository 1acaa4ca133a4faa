#include "app/ui/application.h"

#include "app/program/display_environment.h"
#include "app/report/failure_report.h"
#include "app/ui/focus_frame_style.h"

#include <QStyleFactory>
#include <exception>

// No display name is set: the platform would append it to every window title ("... — Vespera"),
// and the windows carry their own titles; messages are captioned with the program's title.
TVesperaApplication::TVesperaApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    NameApplication();
    // The style the platform chose (or -style named), showing the focus of every control.
    setStyle(new TFocusFrameStyle(QStyleFactory::create(style()->name())));
}

bool TVesperaApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ShowException(E);
    }
    return false;
}
