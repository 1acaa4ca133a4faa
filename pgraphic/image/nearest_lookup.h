#pragma once

// The lookup behind TPixelGraphic::NearestIndex, inline for the loops that call it per pixel:
// the memo, then the colour cache of an optimised palette, then the rules of each palette kind.

#include "pgraphic/image/pixel_graphic.h"

#include <cstddef>
#include <cstdint>

// Cell of a colour in the 5-6-5 lattice.
inline std::size_t ColorCell(int R5, int G6, int B5) {
    return static_cast<std::size_t>(R5 * 2048 + G6 * 32 + B5);
}

inline int TPixelGraphic::CachedNearestEntry(TColor Color) {
    if (FCacheRebuild) {
        BuildColorCache();
    }
    const std::size_t Cell =
        ColorCell(GetRValue(Color) / 8, GetGValue(Color) / 4, GetBValue(Color) / 8);
    std::uint64_t& Word = FColorCacheValid[Cell / 64];
    const std::uint64_t Bit = 1ULL << (Cell % 64);
    if ((Word & Bit) == 0) {
        FColorCache[Cell] = static_cast<std::uint8_t>(NearestEntry(Color));
        Word |= Bit;
    }
    return FColorCache[Cell];
}

inline int TPixelGraphic::LookupNearestIndex(TColor Color) {
    if (!FMemoInvalid && FMemoColor == Color) {
        return FMemoIndex;
    }
    int Index;
    if (FPaletteIdent == pUnknown && FUseColorCache && !FCacheRebuild) {
        Index = CachedNearestEntry(Color); // the common case of copies into optimised palettes
    } else {
        Index = ComputeNearestIndex(Color);
    }
    FMemoColor = Color;
    FMemoIndex = Index;
    FMemoInvalid = false;
    return Index;
}
