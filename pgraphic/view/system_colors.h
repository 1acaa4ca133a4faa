#pragma once

#include "core/color.h"

#include <QColor>

// Colours the view control draws with.

constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

// The colour to draw Color with: a system colour as the platform resolves it (the program's
// controls and its own drawing agree on it), any other as its red, green and blue bytes.
QColor PGQColor(TColor Color);
