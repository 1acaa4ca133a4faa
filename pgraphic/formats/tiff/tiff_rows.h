#pragma once

// Conversions between TIFF sample rows and rows of the pixel buffer, shared by the reader and
// the writer.

#include <cstddef>
#include <cstdint>

namespace tiff {

// Bilevel, 4- and 8-bit rows are laid out as in the pixel buffer (most significant bits first).
// Inverts every value when Invert is set (WhiteIsZero) and clears the bits of the last byte
// that lie beyond Width pixels.
void InvertAndMask(std::uint8_t* Row, std::size_t Length, unsigned Bits, std::uint32_t Width,
                   bool Invert);

// Red, green, blue to blue, green, red or back; Source may be Dest.
void SwapRedBlue(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Pixels);

// Four samples per pixel into blue, green, red: CMYK (ink amounts) or RGB and a fourth sample
// that is ignored.
void FourSamplesToBGR(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Pixels,
                      bool CMYK);

// Blue, green, red into CMYK with the most black the colour allows.
void BGRToCMYK(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Pixels);

} // namespace tiff
