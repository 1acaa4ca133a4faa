#pragma once

#include <cstdint>

class QPainter;
class QRect;
class TPixelGraphic;

// Painting an image onto a QPainter: the image's DrawToDC and PaintTo operations. They live here
// rather than on TPixelGraphic so that the image library links no Qt.

// The whole image scaled into Rect on Painter with nearest-pixel stretching; palette images are
// drawn through their colour table. RasterOp is a raster operation code (cmSrcCopy, ...);
// Background has no effect (no hardware palettes). Nothing for an empty image or an inactive
// painter.
void DrawToDC(TPixelGraphic& Image, QPainter& Painter, const QRect& Rect, bool Background,
              std::uint32_t RasterOp);

// DrawToDC with the painter's own copy mode, as a picture container paints its graphic.
void PaintTo(TPixelGraphic& Image, QPainter& Painter, const QRect& Rect);
