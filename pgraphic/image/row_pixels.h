#pragma once

#include "pgraphic/image/pg_types.h"

#include <cstddef>
#include <cstdint>

// Pixel X of a row in the image's layout: palette indices of 1 bit (most significant bit first),
// 4 bits (high nibble first) or 8 bits, or blue-green-red triples holding a TColor.

inline std::uint32_t GetRowPixel(const std::uint8_t* Row, std::size_t X, TPGBitCount BitCount) {
    switch (BitCount) {
    case bc1:
        return (Row[X / 8] & (0x80U >> (X % 8))) != 0 ? 1U : 0U;
    case bc4:
        return X % 2 == 0 ? static_cast<std::uint32_t>(Row[X / 2] >> 4)
                          : static_cast<std::uint32_t>(Row[X / 2] & 0x0F);
    case bc8:
        return Row[X];
    case bc24: {
        const std::uint8_t* P = Row + 3 * X;
        return static_cast<std::uint32_t>(RGB(P[2], P[1], P[0]));
    }
    }
    return 0;
}

// A 1-bit pixel is set by the value 1 only; 4-bit pixels take the low nibble.
inline void SetRowPixel(std::uint8_t* Row, std::size_t X, TPGBitCount BitCount,
                        std::uint32_t Value) {
    switch (BitCount) {
    case bc1: {
        const auto Mask = static_cast<std::uint8_t>(0x80U >> (X % 8));
        Row[X / 8] = static_cast<std::uint8_t>(Value == 1 ? Row[X / 8] | Mask : Row[X / 8] & ~Mask);
        break;
    }
    case bc4: {
        std::uint8_t& B = Row[X / 2];
        const auto Nibble = static_cast<std::uint8_t>(Value & 0x0F);
        B = X % 2 == 0 ? static_cast<std::uint8_t>((B & 0x0F) | (Nibble << 4))
                       : static_cast<std::uint8_t>((B & 0xF0) | Nibble);
        break;
    }
    case bc8:
        Row[X] = static_cast<std::uint8_t>(Value);
        break;
    case bc24: {
        std::uint8_t* P = Row + 3 * X;
        P[0] = static_cast<std::uint8_t>(Value >> 16);
        P[1] = static_cast<std::uint8_t>(Value >> 8);
        P[2] = static_cast<std::uint8_t>(Value);
        break;
    }
    }
}
