#include "platform/qt/qt_string.h"

QString ToQString(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

std::string ToStdString(const QString& Text) {
    return Text.toStdString();
}
