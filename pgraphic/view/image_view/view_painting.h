#pragma once

#include "core/color.h"
#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <QSize>

class QColor;
class QPainter;
class QRegion;
class TPixelGraphic;

// Painting an image view's client area of size Client around and in the display rectangle
// Display (the picture box's rectangle on the client area).

// Fills what lies outside Display with Fill.
void PGPaintMargins(QPainter& Painter, const TPGRect& Display, QSize Client, const QColor& Fill);

// Paints Image into Display and, when tiled, into the tiles around it that Region shows, each
// mirrored as Tiling and the flips ask.
void PGPaintTiles(QPainter& Painter, TPixelGraphic& Image, const TPGRect& Display, QSize Client,
                  const QRegion& Region, TTiling Tiling, bool FlipHorizontal, bool FlipVertical);

// The empty picture box: its outline in FrameColor on its outer pixels, the inside in Color.
void PGPaintEmptyBox(QPainter& Painter, const TPGRect& Display, TColor FrameColor, TColor Color);
