#pragma once

#include <QPainter>
#include <cstdint>

// Raster operation codes, as a copy mode and for painting images. The operation index (bits 16
// to 23) says what happens to a destination pixel given the source pixel.
constexpr std::uint32_t cmBlackness = 0x00000042;   // 0
constexpr std::uint32_t cmNotSrcErase = 0x001100A6; // not (source or destination)
constexpr std::uint32_t cmNotSrcCopy = 0x00330008;  // not source
constexpr std::uint32_t cmSrcErase = 0x00440328;    // source and not destination
constexpr std::uint32_t cmDstInvert = 0x00550009;   // not destination
constexpr std::uint32_t cmSrcInvert = 0x00660046;   // source xor destination
constexpr std::uint32_t cmSrcAnd = 0x008800C6;      // source and destination
constexpr std::uint32_t cmMergePaint = 0x00BB0226;  // not source or destination
constexpr std::uint32_t cmSrcCopy = 0x00CC0020;     // source
constexpr std::uint32_t cmSrcPaint = 0x00EE0086;    // source or destination
constexpr std::uint32_t cmWhiteness = 0x00FF0062;   // 1

// The painter's composition mode for a raster operation. Every operation of source and
// destination alone has one (all 16 of them); operations that involve a pattern raise
// EPixelGraphic "Invalid value for RasterOp".
QPainter::CompositionMode PGCompositionModeOf(std::uint32_t RasterOp);

// The raster operation a painter's composition mode stands for: cmSrcCopy for plain source
// drawing (source over included) and for blending modes that have no raster operation.
std::uint32_t PGRasterOpOf(QPainter::CompositionMode Mode);
