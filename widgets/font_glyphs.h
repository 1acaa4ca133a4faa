#pragma once

#include "widgets/font_families.h"

#include <QPainter>
#include <QPoint>

// The 12 x 12 glyphs that mark the kind of each family in a font box.
enum class TFontGlyph : std::uint8_t { TrueType, FixedPitch, TrueTypeFixed, Printer, Device };

constexpr int kFontGlyphSize = 12;

// TrueType and fixed pitch; TrueType; fixed pitch; otherwise the printer's or the screen's
// own font.
TFontGlyph FontGlyphFor(std::uint8_t PitchAndFamily, TFontDevice Device);

// Draws a glyph with its top-left at TopLeft; what it does not cover stays as it was.
void DrawFontGlyph(QPainter& Painter, QPoint TopLeft, TFontGlyph Glyph);
