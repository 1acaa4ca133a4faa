#pragma once

#include <cstdint>

class TPixelGraphic;
class TStream;

namespace bmp {

// Decodes Length bytes of RLE8 (or, with Nibbles, RLE4) data from the stream into the palette
// image Graphic, bottom row first, with progress in tenths of the data.
void DecodeRLE(TStream& Stream, TPixelGraphic& Graphic, std::uint32_t Length, bool Nibbles);

} // namespace bmp
