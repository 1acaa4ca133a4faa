#pragma once

#include "pgraphic/image/pg_types.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <cstdint>

class TPixelGraphic;

// Pixels to be handed to Qt: rows from the top with a signed stride (negative for the image's
// bottom-up buffer), as palette indices of 1, 4 or 8 bits, blue-green-red triples or a
// true-colour QImage's 32-bit pixels.
struct TPGPixelSource {
    enum TKind { pkIndex1, pkIndex4, pkIndex8, pkBGR24, pkRGB32 };
    const std::uint8_t* Top = nullptr;
    std::ptrdiff_t Stride = 0;
    int Width = 0;
    int Height = 0;
    TKind Kind = pkBGR24;
    QList<QRgb> ColorTable; // for the index kinds
};

// The colour table a palette image is drawn with: MaxPaletteCount entries, entry i being palette
// entry i while i < PaletteCount and entry 0 after that, all black without a palette. Empty for
// bc24.
QList<QRgb> PGColorTable(const TPixelGraphic& Image);

// A buffer in the image's layout (bottom-up rows of BytesPerLine bytes) as a pixel source.
TPGPixelSource PGPixelSource(const std::uint8_t* Bits, int Width, int Height,
                             std::uint32_t BytesPerLine, TPGBitCount BitCount,
                             QList<QRgb> ColorTable);

// A true-colour QImage (RGB32 or ARGB32) as a pixel source.
TPGPixelSource PGPixelSource(const QImage& Image);

// The part Visible of the source scaled to DestSize with nearest pixels: destination pixel d
// shows source pixel floor((2d + 1) * source size / (2 * DestSize)), the source pixel under its
// centre, counted from the far edge when mirrored. Indexed8 with the source's colour table for
// the index kinds, RGB32 otherwise. Visible lies within (0, 0, DestSize).
QImage PGScaledImage(const TPGPixelSource& Source, QSize DestSize, const QRect& Visible,
                     bool MirrorX, bool MirrorY);

// The whole source, unscaled.
inline QImage PGWholeImage(const TPGPixelSource& Source) {
    const QSize Size(Source.Width, Source.Height);
    return PGScaledImage(Source, Size, QRect(QPoint(0, 0), Size), false, false);
}
