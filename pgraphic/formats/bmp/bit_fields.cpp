#include "pgraphic/formats/bmp/bit_fields.h"

#include <bit>

namespace bmp {

TBitField::TBitField(std::uint32_t ChannelMask, bool WithOffset) : Mask(ChannelMask) {
    if (Mask == 0) {
        return; // no bits: the channel is always 0
    }
    // Down by the trailing zeros, then so that the top bit of the mask lands on bit 7 (up for
    // narrow masks, down for masks wider than 8 bits).
    const int Trailing = std::countr_zero(Mask);
    const int Width = static_cast<int>(std::bit_width(Mask >> Trailing));
    Shift = 8 - Width - Trailing;
    if (WithOffset) {
        const std::uint32_t Normalised =
            Shift >= 0 ? (Mask << Shift) & 0xFF : (Mask >> -Shift) & 0xFF;
        Offset = Normalised & (~Normalised + 1); // its lowest set bit
    }
}

} // namespace bmp
