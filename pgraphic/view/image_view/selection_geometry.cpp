#include "pgraphic/view/image_view/selection_geometry.h"

#include <algorithm>
#include <cstdint>

namespace {

// Coordinates are kept within this, so that frames and handles around them stay in range.
constexpr std::int64_t kCoordinateLimit = INT32_MAX / 4;

int Scale(std::int64_t Value, int Numerator, int Divisor) {
    if (Divisor <= 0) {
        return 0;
    }
    // 64 bits: the product of two pixel coordinates may not fit in 32.
    const std::int64_t Result = Value * Numerator / Divisor;
    return static_cast<int>(std::clamp(Result, -kCoordinateLimit, kCoordinateLimit));
}

constexpr int kAutoScrollStep = 5;

} // namespace

TPGPoint PGImageToBox(const TPGScaling& Scaling, int X, int Y) {
    return {Scale(X, Scaling.BoxWidth, Scaling.ImageWidth),
            Scale(Y, Scaling.BoxHeight, Scaling.ImageHeight)};
}

TPGPoint PGBoxToImage(const TPGScaling& Scaling, int X, int Y) {
    return {Scale(X, Scaling.ImageWidth, Scaling.BoxWidth),
            Scale(Y, Scaling.ImageHeight, Scaling.BoxHeight)};
}

TPGRect PGSelectionOnBox(const TPGScaling& Scaling, const TPGSelectionBounds& Bounds) {
    const TPGPoint TopLeft = PGImageToBox(Scaling, Bounds.Left, Bounds.Top);
    const int Right =
        Scale(std::int64_t{Bounds.Left} + Bounds.Width, Scaling.BoxWidth, Scaling.ImageWidth);
    const int Bottom =
        Scale(std::int64_t{Bounds.Top} + Bounds.Height, Scaling.BoxHeight, Scaling.ImageHeight);
    return {TopLeft.X, TopLeft.Y, Right, Bottom};
}

std::array<TPGRect, kPGHandleCount> PGHandleRects(const TPGRect& R) {
    const int Mx = (R.Left + R.Right) / 2;
    const int My = (R.Top + R.Bottom) / 2;
    return {{
        {R.Left - 8, R.Top - 8, R.Left - 3, R.Top - 3},
        {Mx - 2, R.Top - 8, Mx + 3, R.Top - 3},
        {R.Right + 3, R.Top - 8, R.Right + 8, R.Top - 3},
        {R.Left - 8, My - 2, R.Left - 3, My + 3},
        {R.Right + 3, My - 2, R.Right + 8, My + 3},
        {R.Left - 8, R.Bottom + 3, R.Left - 3, R.Bottom + 8},
        {Mx - 2, R.Bottom + 3, Mx + 3, R.Bottom + 8},
        {R.Right + 3, R.Bottom + 3, R.Right + 8, R.Bottom + 8},
    }};
}

std::optional<TPGHandle> PGHandleAt(const TPGRect& R, int X, int Y) {
    const auto Rects = PGHandleRects(R);
    for (int I = 0; I < kPGHandleCount; ++I) {
        if (Rects[static_cast<std::size_t>(I)].Contains(X, Y)) {
            return static_cast<TPGHandle>(I);
        }
    }
    return std::nullopt;
}

TDragAction PGHandleAction(TPGHandle Handle) {
    return static_cast<TDragAction>(static_cast<int>(daSizeTopLeft) + static_cast<int>(Handle));
}

std::array<TPGRect, 4> PGSelectionStrips(const TPGRect& R, int Margin) {
    const int M = Margin;
    return {{
        {R.Left - M, R.Top - M, R.Left, R.Bottom + M},
        {R.Left - M, R.Top - M, R.Right + M, R.Top},
        {R.Right, R.Top - M, R.Right + M, R.Bottom + M},
        {R.Left - M, R.Bottom, R.Right + M, R.Bottom + M},
    }};
}

namespace {

bool FollowsLeft(TDragAction A) {
    return A == daSizeTopLeft || A == daSizeLeft || A == daSizeBottomLeft;
}
bool FollowsTop(TDragAction A) {
    return A == daSizeTopLeft || A == daSizeTop || A == daSizeTopRight;
}
bool FollowsRight(TDragAction A) {
    return A == daSizeTopRight || A == daSizeRight || A == daSizeBottomRight;
}
bool FollowsBottom(TDragAction A) {
    return A == daSizeBottomLeft || A == daSizeBottom || A == daSizeBottomRight;
}

} // namespace

TPGPoint PGDragOffset(TDragAction Action, const TPGSelectionBounds& Bounds, int X, int Y) {
    if (Action == daMoveSelection) {
        return {X - Bounds.Left, Y - Bounds.Top};
    }
    TPGPoint Offset;
    if (FollowsLeft(Action)) {
        Offset.X = X - Bounds.Left;
    } else if (FollowsRight(Action)) {
        Offset.X = X - Bounds.Width;
    }
    if (FollowsTop(Action)) {
        Offset.Y = Y - Bounds.Top;
    } else if (FollowsBottom(Action)) {
        Offset.Y = Y - Bounds.Height;
    }
    return Offset;
}

TPGSelectionBounds PGSpannedSelection(TPGPoint Anchor, int X, int Y) {
    const int Left = std::min(X, Anchor.X);
    const int Top = std::min(Y, Anchor.Y);
    return {Left, Top, std::max(X, Anchor.X) - Left + 1, std::max(Y, Anchor.Y) - Top + 1};
}

TPGSelectionBounds PGResizedSelection(TDragAction Action, const TPGSelectionBounds& Bounds,
                                      TPGPoint Offset, int X, int Y) {
    TPGSelectionBounds Result = Bounds;
    if (FollowsLeft(Action)) {
        Result.Left = std::min(X - Offset.X, Bounds.Left + Bounds.Width - 1);
        Result.Width = Bounds.Width + Bounds.Left - Result.Left;
    }
    if (FollowsTop(Action)) {
        Result.Top = std::min(Y - Offset.Y, Bounds.Top + Bounds.Height - 1);
        Result.Height = Bounds.Height + Bounds.Top - Result.Top;
    }
    if (FollowsRight(Action)) {
        Result.Width = std::max(X - Offset.X, 1);
    }
    if (FollowsBottom(Action)) {
        Result.Height = std::max(Y - Offset.Y, 1);
    }
    return Result;
}

TPGSelectionBounds PGMovedSelection(const TPGSelectionBounds& Bounds, TPGPoint Offset, int X, int Y,
                                    int ImageWidth, int ImageHeight) {
    TPGSelectionBounds Result = Bounds;
    Result.Top = std::min(std::max(Y - Offset.Y, 1 - Bounds.Height), ImageHeight - 1);
    Result.Left = std::min(std::max(X - Offset.X, 1 - Bounds.Width), ImageWidth - 1);
    return Result;
}

int PGAntsPatternIndex(int Phase, const TPGRect& R) {
    const int K = (Phase + R.Left + R.Top) % 8;
    return K < 0 ? K + 8 : K;
}

bool PGAntsSecondColor(int Pattern, int X, int Y) {
    return (X + Y - Pattern + 8) % 8 > 3;
}

TPGPoint PGAutoScrolled(const TPGScrollState& Scroll, int X, int Y, int ClientWidth,
                        int ClientHeight) {
    TPGPoint Result{Scroll.Horizontal, Scroll.Vertical};
    if (X < 0 && Scroll.Horizontal > 0) {
        Result.X -= kAutoScrollStep;
    }
    if (Y < 0 && Scroll.Vertical > 0) {
        Result.Y -= kAutoScrollStep;
    }
    if (X >= ClientWidth && Scroll.Horizontal < Scroll.HorizontalMax) {
        Result.X += kAutoScrollStep;
    }
    if (Y >= ClientHeight && Scroll.Vertical < Scroll.VerticalMax) {
        Result.Y += kAutoScrollStep;
    }
    Result.X = std::clamp(Result.X, 0, std::max(Scroll.HorizontalMax, 0));
    Result.Y = std::clamp(Result.Y, 0, std::max(Scroll.VerticalMax, 0));
    return Result;
}
