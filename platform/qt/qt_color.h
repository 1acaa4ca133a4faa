#pragma once

#include "core/color.h"

#include <QColor>
#include <QPalette>

// TColor values and Qt's colours.

// A colour's red, green and blue bytes as Qt's value; a system colour must be resolved first.
inline QRgb ToQRgb(TColor Color) {
    return qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color));
}

// The colour the program draws with: a system colour as the platform resolves it
// (platform/system_colors.h, which the program points at the colours its controls show).
QColor ToQColor(TColor Color);

// The colour a control shows: a system colour as the entry of Palette (the application's unless
// given) that plays its part.
QColor PaletteQColor(TColor Color, const QPalette& Palette);
QColor PaletteQColor(TColor Color);

// The RGB value a colour shows now in the application's controls: a system colour as the
// application's palette plays it.
TColor ColorToRGB(TColor Color);

TColor FromQColor(const QColor& Color);
