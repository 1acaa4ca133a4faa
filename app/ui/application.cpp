#include "app/ui/application.h"

#include "app/exception_report.h"

#include <QGuiApplication>
#include <cstdlib>
#include <exception>
#include <string_view>

// No display name is set: the platform would append it to every window title ("... — Vespera"),
// and the windows carry their own titles; messages are captioned with the program's title.
TVesperaApplication::TVesperaApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    NameApplication();
}

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("vespera"));
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

bool HeadlessPlatformNamed() {
    const char* Value = std::getenv("QT_QPA_PLATFORM");
    if (Value == nullptr) {
        return false;
    }
    // The first of a list of platforms, without its options ("offscreen:fontengine=...").
    const std::string_view Named(Value);
    const std::string_view Platform = Named.substr(0, Named.find_first_of(":;"));
    return Platform == "offscreen" || Platform == "minimal";
}

bool DisplayNamed() {
    const auto Set = [](const char* Name) {
        const char* Value = std::getenv(Name);
        return Value != nullptr && *Value != '\0';
    };
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

void UseOffscreenWithoutDisplay() {
    if (!DisplayNamed()) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}
