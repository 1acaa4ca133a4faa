#pragma once

#include <cstdint>

namespace bmp {

// One channel of 16- or 32-bit pixels: its mask, the shift that puts the mask's top bit on
// bit 7, and for 16-bit pixels the offset that spreads short channels over 0..255.
struct TBitField {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Offset = 0;

    TBitField() = default;
    TBitField(std::uint32_t ChannelMask, bool WithOffset);

    // The channel value of a pixel, 0..255.
    std::uint8_t Value(std::uint32_t Pixel) const {
        const std::uint32_t Bits = Pixel & Mask;
        if (Bits == 0) {
            return 0;
        }
        const std::uint32_t V = (Shift >= 0 ? Bits << Shift : Bits >> -Shift) + Offset;
        return static_cast<std::uint8_t>(V > 255 ? 255 : V);
    }
};

} // namespace bmp
