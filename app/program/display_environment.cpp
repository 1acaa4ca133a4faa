#include "app/program/display_environment.h"

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <string_view>

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("vespera"));
}

namespace {

// Whether Qt's platform Platform shows nothing on a screen.
bool HeadlessPlatform(std::string_view Platform) {
    return Platform == "offscreen" || Platform == "minimal";
}

} // namespace

bool RunsWithoutDisplay() {
    return HeadlessPlatform(QGuiApplication::platformName().toStdString());
}

bool HeadlessPlatformNamed() {
    const char* Value = std::getenv("QT_QPA_PLATFORM");
    if (Value == nullptr) {
        return false;
    }
    // The first of a list of platforms, without its options ("offscreen:fontengine=...").
    const std::string_view Named(Value);
    const std::string_view Platform = Named.substr(0, Named.find_first_of(":;"));
    return HeadlessPlatform(Platform);
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
