#pragma once

// A rectangle in whole pixels, right and bottom exclusive: it covers Left <= x < Right and
// Top <= y < Bottom.
struct TPGRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int X, int Y) const { return Left <= X && X < Right && Top <= Y && Y < Bottom; }
    TPGRect Shifted(int Dx, int Dy) const { return {Left + Dx, Top + Dy, Right + Dx, Bottom + Dy}; }
    friend bool operator==(const TPGRect&, const TPGRect&) = default;
};

// A point in whole pixels.
struct TPGPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPGPoint&, const TPGPoint&) = default;
};
