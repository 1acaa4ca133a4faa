#pragma once

#include <QString>
#include <string>

// Text between the platform layer (UTF-8 in std::string) and Qt.
QString ToQString(const std::string& Text);
std::string ToStdString(const QString& Text);
