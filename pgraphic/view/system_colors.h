#pragma once

#include "core/color.h"

#include <QColor>

class QPalette;

// Colours the view control draws with. System colours (core/color.h) are resolved through the
// palette of the widget that draws, so the view follows the style and the platform's theme.

constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

// The colour to draw Color with: a system colour from Palette, any other as its red, green and
// blue bytes.
QColor PGResolveColor(TColor Color, const QPalette& Palette);
