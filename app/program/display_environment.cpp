#include "app/program/display_environment.h"

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <string_view>

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("vespera"));
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

int NoDisplayForTheWindow() {
    std::cerr << "vespera: the settings window needs a display; \"vespera /AUTO\" writes new "
                 "logos without one\n";
    return 2;
}
