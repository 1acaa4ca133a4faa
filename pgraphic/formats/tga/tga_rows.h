#pragma once

#include "pgraphic/formats/tga/tga_structures.h"

#include <cstddef>
#include <cstdint>

class TPGBufferedInput;
class TPixelGraphic;

namespace tga {

// Decodes run-length packets into Row until Width pixels of PixelBytes bytes are present;
// pixels of a packet beyond the end of the row are read and dropped.
void DecodeRunLengthRow(TPGBufferedInput& Input, std::uint8_t* Row, std::size_t Width,
                        std::size_t PixelBytes);

// Converts the file's row R (0 = first stored) from Row into the image, placed as the
// descriptor's direction bits say.
void StoreRow(const TTGAHeader& Header, const std::uint8_t* Row, TPixelGraphic& Graphic, int R);

} // namespace tga
