#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <cstring>

// Comparisons of composed true-colour pictures.

inline bool SamePixels(const TPixelGraphic& A, const TPixelGraphic& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height() || A.BitCount() != B.BitCount()) {
        return false;
    }
    const auto RowBytes = static_cast<std::size_t>(A.Width()) * 3;
    for (int Y = 0; Y < A.Height(); ++Y) {
        if (std::memcmp(A.ScanLine(Y), B.ScanLine(Y), RowBytes) != 0) {
            return false;
        }
    }
    return true;
}

inline int CountColor(const TPixelGraphic& Image, TColor Color) {
    int Count = 0;
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            Count += Image.PixelColors(X, Y) == Color ? 1 : 0;
        }
    }
    return Count;
}
