#pragma once

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QPoint>

// Pixel-exact drawing of the colour button and its palette popup.

// A one-pixel frame through the pixels from TopLeft to BottomRight, both included.
void DrawOutline(QPainter& Painter, QPoint TopLeft, QPoint BottomRight, const QColor& Color);

// A palette swatch whose 16 x 16 box starts at Origin: highlighted, a black frame around it and
// black and white frames inside; otherwise a sunken bevel in a button-face frame. Then the
// 12 x 12 colour inside.
void PaintSwatch(QPainter& Painter, QPoint Origin, const QColor& Fill, bool Highlighted,
                 const QPalette& Palette);

// The popup's separator above the other-colour row: a shadow line over a highlight line.
void PaintPaletteSeparator(QPainter& Painter, int ClientWidth, const QPalette& Palette);

// The button's drop-down arrow, a triangle 5 pixels wide and 3 high pointing down.
constexpr QSize kDropDownArrowSize{5, 3};
void DrawDropDownArrow(QPainter& Painter, QPoint TopLeft, const QColor& Color);
