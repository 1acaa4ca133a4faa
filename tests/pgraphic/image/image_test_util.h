#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

// Random bc24 pixels (or random raw values for palette images) in every pixel.
inline void FillRandom(TPixelGraphic& Image, std::mt19937& Rng) {
    const std::uint32_t Mask =
        Image.BitCount() == bc24 ? 0xFFFFFFu : (1u << Image.BitCountNum()) - 1;
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            Image.SetPixel(X, Y, static_cast<std::uint32_t>(Rng()) & Mask);
        }
    }
}

// A palette image of the given format with a random palette of Count entries.
inline void RandomPalette(TPixelGraphic& Image, int Count, std::mt19937& Rng) {
    Image.SetPaletteCount(Count);
    for (int I = 0; I < Count; ++I) {
        Image.SetPaletteColors(I, static_cast<TColor>(Rng() & 0xFFFFFF));
    }
}

inline TColor RandomColor(std::mt19937& Rng) {
    return static_cast<TColor>(Rng() & 0xFFFFFF);
}

inline int SquaredDistance(TColor A, TColor B) {
    const int DR = GetRValue(A) - GetRValue(B), DG = GetGValue(A) - GetGValue(B),
              DB = GetBValue(A) - GetBValue(B);
    return DR * DR + DG * DG + DB * DB;
}

// Index of the entry at least squared distance, the lowest index on a tie.
inline int BruteForceNearest(const std::vector<TColor>& Palette, TColor Color) {
    int Best = 0;
    for (std::size_t I = 1; I < Palette.size(); ++I) {
        if (SquaredDistance(Palette[I], Color) <
            SquaredDistance(Palette[static_cast<std::size_t>(Best)], Color)) {
            Best = static_cast<int>(I);
        }
    }
    return Best;
}

// Every pixel's raw value equal.
inline ::testing::AssertionResult SamePixels(const TPixelGraphic& A, const TPixelGraphic& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height() || A.BitCount() != B.BitCount()) {
        return ::testing::AssertionFailure() << "different size or format";
    }
    for (int Y = 0; Y < A.Height(); ++Y) {
        for (int X = 0; X < A.Width(); ++X) {
            if (A.Pixels(X, Y) != B.Pixels(X, Y)) {
                return ::testing::AssertionFailure()
                       << "pixel (" << X << ", " << Y << "): " << std::hex << A.Pixels(X, Y)
                       << " != " << B.Pixels(X, Y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}
