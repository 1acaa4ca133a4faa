#pragma once

#include <QString>
#include <string>
#include <string_view>

// Text between the platform layer (UTF-8 in std::string) and Qt.
QString ToQString(std::string_view Text);
std::string ToStdString(const QString& Text);
