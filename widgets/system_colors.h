#pragma once

#include "core/color.h"

#include <QColor>
#include <QPalette>

// TColor values for drawing: plain colours as they are, system colours resolved against a
// palette (the application's unless one is given).
QColor ToQColor(TColor Color, const QPalette& Palette);
QColor ToQColor(TColor Color);

// The RGB value a colour shows now: system colours become their current value.
TColor ColorToRGB(TColor Color);

TColor FromQColor(const QColor& Color);
