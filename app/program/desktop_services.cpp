#include "app/program/desktop_services.h"

#include "platform/qt/qt_string.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

bool DesktopShellOpen(const std::string& Target) {
    const QString Text = ToQString(Target);
    const QUrl Url = Text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(Text) : QUrl(Text);
    return Url.isValid() && QDesktopServices::openUrl(Url);
}
