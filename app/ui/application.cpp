#include "app/ui/application.h"

#include "app/exception_report.h"

#include <QGuiApplication>
#include <cstdlib>
#include <exception>

TVesperaApplication::TVesperaApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    setApplicationName(QStringLiteral("vespera"));
    setApplicationDisplayName(QString::fromUtf8(kProgramTitle));
}

bool TVesperaApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ShowException(E);
    }
    return false;
}

bool RunsWithoutDisplay() {
    const QString Platform = QGuiApplication::platformName();
    return Platform == QLatin1String("offscreen") || Platform == QLatin1String("minimal");
}

void UseOffscreenWithoutDisplay() {
    const auto Unset = [](const char* Name) {
        const char* Value = std::getenv(Name);
        return Value == nullptr || *Value == '\0';
    };
    if (Unset("DISPLAY") && Unset("WAYLAND_DISPLAY") && Unset("QT_QPA_PLATFORM")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}
