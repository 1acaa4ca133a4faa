#include "pgraphic/image/palette_cover.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// The highest pixel index of one row of Width pixels: 1-bit rows are tested for a set pixel,
// 4-bit rows take both nibbles of their bytes; the filler after the last pixel does not count.
unsigned HighestInRow(const std::uint8_t* Row, std::size_t Width, TPGBitCount BitCount) {
    unsigned Highest = 0;
    switch (BitCount) {
    case bc1: {
        std::uint8_t Any = 0;
        for (std::size_t I = 0; I < Width / 8; ++I) {
            Any |= Row[I];
        }
        if (Width % 8 != 0) {
            Any |= static_cast<std::uint8_t>(Row[Width / 8] & (0xFF00u >> (Width % 8)));
        }
        return Any != 0 ? 1 : 0;
    }
    case bc4: {
        std::uint8_t High = 0, Low = 0;
        for (std::size_t I = 0; I < Width / 2; ++I) {
            High = std::max(High, Row[I]);
            Low = std::max(Low, static_cast<std::uint8_t>(Row[I] & 0x0F));
        }
        if (Width % 2 != 0) {
            High = std::max(High, Row[Width / 2]);
        }
        return std::max(static_cast<unsigned>(High >> 4), static_cast<unsigned>(Low));
    }
    case bc8: {
        std::uint8_t Max = 0;
        for (std::size_t I = 0; I < Width; ++I) {
            Max = std::max(Max, Row[I]);
        }
        Highest = Max;
        break;
    }
    case bc24:
        break;
    }
    return Highest;
}

} // namespace

int CoveringPaletteCount(const TPixelGraphic& Image) {
    const int Full = Image.MaxPaletteCount();
    if (Image.PaletteCount() >= Full || Image.IsEmpty()) {
        return Image.PaletteCount();
    }
    const auto Width = static_cast<std::size_t>(Image.Width());
    unsigned Highest = 0;
    for (int Y = 0; Y < Image.Height() && static_cast<int>(Highest) + 1 < Full; ++Y) {
        Highest = std::max(Highest, HighestInRow(Image.ScanLine(Y), Width, Image.BitCount()));
    }
    return std::max(Image.PaletteCount(), static_cast<int>(Highest) + 1);
}

std::vector<TColor> CoveringPalette(const TPixelGraphic& Image) {
    const std::vector<TColor>& Own = Image.Palette();
    std::vector<TColor> Palette(
        Own.begin(), Own.begin() + std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(Own.size()),
                                                            Image.MaxPaletteCount()));
    const int Covering = std::min(CoveringPaletteCount(Image), Image.MaxPaletteCount());
    if (Covering > static_cast<int>(Palette.size())) {
        Palette.resize(static_cast<std::size_t>(Covering), RGB(0, 0, 0));
    }
    return Palette;
}

void CoverPixelIndices(TPixelGraphic& Image) {
    const int Count = CoveringPaletteCount(Image);
    if (Count > Image.PaletteCount()) {
        Image.SetPaletteCount(Count);
    }
}
