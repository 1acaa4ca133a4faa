#include "pgraphic/formats/tiff/tiff_rows.h"

#include <algorithm>

namespace tiff {

void InvertAndMask(std::uint8_t* Row, std::size_t Length, unsigned Bits, std::uint32_t Width,
                   bool Invert) {
    if (Length == 0) {
        return;
    }
    if (Invert) {
        for (std::size_t I = 0; I < Length; ++I) {
            Row[I] = static_cast<std::uint8_t>(~Row[I]);
        }
    }
    const auto UsedBits = static_cast<unsigned>((std::uint64_t{Bits} * Width) % 8);
    if (UsedBits != 0) {
        Row[Length - 1] &= static_cast<std::uint8_t>(0xFF00u >> UsedBits);
    }
}

void SwapRedBlue(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Pixels) {
    for (std::size_t I = 0; I < Pixels; ++I, Source += 3, Dest += 3) {
        const std::uint8_t First = Source[0], Middle = Source[1], Last = Source[2];
        Dest[0] = Last;
        Dest[1] = Middle;
        Dest[2] = First;
    }
}

void FourSamplesToBGR(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Pixels,
                      bool CMYK) {
    for (std::size_t I = 0; I < Pixels; ++I, Source += 4, Dest += 3) {
        if (CMYK) {
            const int K = Source[3];
            Dest[0] = static_cast<std::uint8_t>(std::max(255 - Source[2] - K, 0));
            Dest[1] = static_cast<std::uint8_t>(std::max(255 - Source[1] - K, 0));
            Dest[2] = static_cast<std::uint8_t>(std::max(255 - Source[0] - K, 0));
        } else {
            Dest[0] = Source[2];
            Dest[1] = Source[1];
            Dest[2] = Source[0];
        }
    }
}

void BGRToCMYK(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Pixels) {
    for (std::size_t I = 0; I < Pixels; ++I, Source += 3, Dest += 4) {
        const int C = 255 - Source[2], M = 255 - Source[1], Y = 255 - Source[0];
        const int K = std::min({C, M, Y});
        Dest[0] = static_cast<std::uint8_t>(C - K);
        Dest[1] = static_cast<std::uint8_t>(M - K);
        Dest[2] = static_cast<std::uint8_t>(Y - K);
        Dest[3] = static_cast<std::uint8_t>(K);
    }
}

} // namespace tiff
