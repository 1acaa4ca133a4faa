#pragma once

#include "pgraphic/formats/pcx/pcx_structures.h"

#include <cstddef>
#include <cstdint>

class TPGBufferedInput;
class TPixelGraphic;

namespace pcx {

// Decodes one encoded row into Line until Length bytes are filled. A run reaching past the end
// is cut there; its remaining repetitions are dropped.
void DecodeScanLine(TPGBufferedInput& Input, std::uint8_t* Line, std::size_t Length);

// Converts a decoded row (all planes) into image row Row (0 = top). The header's bytes per line
// must cover the image's width.
void StoreScanLine(const TPCXHeader& Header, const std::uint8_t* Line, TPixelGraphic& Graphic,
                   int Row);

} // namespace pcx
