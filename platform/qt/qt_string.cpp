#include "platform/qt/qt_string.h"

QString ToQString(const std::string& Text) {
    return QString::fromStdString(Text);
}

std::string ToStdString(const QString& Text) {
    return Text.toStdString();
}
