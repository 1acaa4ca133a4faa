#pragma once

#include "pgraphic/image/pg_types.h"

#include <QColor>

class QPalette;

// The platform's named colours as TColor values (negative: resolved only when drawing) and their
// resolution through the palette of the widget that draws.

constexpr TColor PGSystemColor(int Index) {
    return static_cast<TColor>(0x80000000u | static_cast<unsigned>(Index));
}

constexpr TColor clScrollBar = PGSystemColor(0);
constexpr TColor clWindow = PGSystemColor(5);
constexpr TColor clWindowFrame = PGSystemColor(6);
constexpr TColor clWindowText = PGSystemColor(8);
constexpr TColor clHighlight = PGSystemColor(13);
constexpr TColor clBtnFace = PGSystemColor(15);
constexpr TColor clBtnShadow = PGSystemColor(16);
constexpr TColor clBtnText = PGSystemColor(18);
constexpr TColor clBtnHighlight = PGSystemColor(20);
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;

// The colour to draw Color with: a system colour from Palette, any other as its red, green and
// blue bytes.
QColor PGResolveColor(TColor Color, const QPalette& Palette);
