#include "pgraphic/formats/pcx/pcx_scan_line.h"

#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <cstring>

namespace pcx {

void DecodeScanLine(TPGBufferedInput& Input, std::uint8_t* Line, std::size_t Length) {
    std::size_t Filled = 0;
    while (Filled < Length) {
        const std::uint8_t Code = Input.ReadByte();
        if (Code < 0xC0) {
            Line[Filled++] = Code;
            continue;
        }
        const std::uint8_t Value = Input.ReadByte();
        const std::size_t Count = std::min<std::size_t>(Code & kMaxRun, Length - Filled);
        std::memset(Line + Filled, Value, Count);
        Filled += Count;
    }
}

namespace {

// One plane of 1 bit per pixel: the bytes as they stand, the bits past the width cleared.
void StoreMonochrome(const std::uint8_t* Line, std::size_t PlaneBytes, std::uint8_t* Out,
                     std::size_t Stride, int Width) {
    std::memcpy(Out, Line, std::min(PlaneBytes, Stride));
    const auto Last = static_cast<std::size_t>(Width / 8);
    // With a width that is a multiple of 8 this byte is padding; when the row has no padding it
    // lies outside the row and is left alone.
    if (Last < Stride) {
        Out[Last] &= static_cast<std::uint8_t>(0xFF00 >> (Width % 8));
    }
}

// Four planes of 1 bit: plane k gives bit k of the palette index.
void StoreSixteenColors(const std::uint8_t* Line, std::size_t PlaneBytes, std::uint8_t* Out,
                        int Width) {
    for (int X = 0; X < Width; ++X) {
        const auto Byte = static_cast<std::size_t>(X / 8);
        const int Shift = 7 - X % 8;
        unsigned Index = 0;
        for (std::size_t K = 0; K < 4; ++K) {
            Index |= ((Line[K * PlaneBytes + Byte] >> Shift) & 1u) << K;
        }
        std::uint8_t& Target = Out[X / 2];
        Target = X % 2 == 0 ? static_cast<std::uint8_t>((Target & 0x0F) | (Index << 4))
                            : static_cast<std::uint8_t>((Target & 0xF0) | Index);
    }
}

// Three planes of 8 bits: red, green, blue, stored blue, green, red.
void StoreTrueColor(const std::uint8_t* Line, std::size_t PlaneBytes, std::uint8_t* Out,
                    int Width) {
    const std::uint8_t* Red = Line;
    const std::uint8_t* Green = Line + PlaneBytes;
    const std::uint8_t* Blue = Line + 2 * PlaneBytes;
    for (int X = 0; X < Width; ++X, Out += 3) {
        const auto UX = static_cast<std::size_t>(X);
        Out[0] = Blue[UX];
        Out[1] = Green[UX];
        Out[2] = Red[UX];
    }
}

} // namespace

void StoreScanLine(const TPCXHeader& Header, const std::uint8_t* Line, TPixelGraphic& Graphic,
                   int Row) {
    std::uint8_t* Out = Graphic.ScanLine(Row);
    const std::size_t PlaneBytes = Header.BytesPerLine;
    const int Width = Graphic.Width();
    switch (Graphic.BitCount()) {
    case bc1:
        StoreMonochrome(Line, PlaneBytes, Out, Graphic.BytesPerLine(), Width);
        break;
    case bc4:
        StoreSixteenColors(Line, PlaneBytes, Out, Width);
        break;
    case bc8:
        std::memcpy(Out, Line, static_cast<std::size_t>(Width));
        break;
    case bc24:
        StoreTrueColor(Line, PlaneBytes, Out, Width);
        break;
    }
}

} // namespace pcx
