#include "pgraphic/view/open_dialog/preview_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFrame = 2;

// A picture of aspect ratio Ratio fitted to Width x Height: the full height when the area is
// relatively wider, else the full width.
TPGSize Fit(long double Ratio, int Width, int Height) {
    if (static_cast<long double>(Width) / Height >= Ratio) {
        return {static_cast<int>(std::trunc(Height * Ratio)), Height};
    }
    return {Width, static_cast<int>(std::trunc(Width / Ratio))};
}

} // namespace

std::optional<TPGSize> PGPreviewScaledSize(int Width, int Height, int MaxWidth, int MaxHeight) {
    if (Width <= 0 || Height <= 0 || MaxWidth <= 0 || MaxHeight <= 0) {
        return std::nullopt;
    }
    if (Width <= MaxWidth && Height <= MaxHeight) {
        return std::nullopt;
    }
    const long double Ratio = static_cast<long double>(Width) / Height;
    TPGSize Size = Fit(Ratio, MaxWidth, MaxHeight);
    Size.Width = std::min(std::max(Size.Width, 1), Width);
    Size.Height = std::min(std::max(Size.Height, 1), Height);
    return Size;
}

TPGRect PGPreviewPaintRect(const TPGRect& Client, int Width, int Height) {
    const int InsideWidth = Client.Width() - 2 * kFrame;
    const int InsideHeight = Client.Height() - 2 * kFrame;
    if (InsideWidth <= 0 || InsideHeight <= 0 || Width <= 0 || Height <= 0) {
        return {};
    }
    TPGSize Size{Width, Height};
    if (Width > InsideWidth || Height > InsideHeight) {
        Size = Fit(static_cast<long double>(Width) / Height, InsideWidth, InsideHeight);
    }
    const int Top = (Client.Top + Client.Bottom - Size.Height) / 2;
    const int Left = (Client.Left + Client.Right - Size.Width) / 2;
    return {Left, Top, Left + Size.Width, Top + Size.Height};
}

TPGPoint PGPreviewClockPosition(const TPGRect& Client) {
    return {Client.Left + Client.Width() / 2 - 8, Client.Top + Client.Height() / 2 - 8};
}

std::vector<TPGFrameStrip> PGSunkenFrame(const TPGRect& C) {
    const int L = C.Left;
    const int T = C.Top;
    const int R = C.Right;
    const int B = C.Bottom;
    // Each shade: a row and a column, none overlapping another (right and bottom exclusive).
    return {
        {{L, T, R - 1, T + 1}, fsShadow},        // outer top
        {{L, T + 1, L + 1, B - 1}, fsShadow},    // outer left
        {{L + 1, T + 1, R - 2, T + 2}, fsBlack}, // inner top
        {{L + 1, T + 2, L + 2, B - 2}, fsBlack}, // inner left
        {{L, B - 1, R - 1, B}, fsWhite},         // outer bottom
        {{R - 1, T, R, B}, fsWhite},             // outer right
        {{L + 1, B - 2, R - 2, B - 1}, fsFace},  // inner bottom
        {{R - 2, T + 1, R - 1, B - 1}, fsFace},  // inner right
    };
}

TPGRect PGPreviewInside(const TPGRect& Client) {
    return {Client.Left + kFrame, Client.Top + kFrame, Client.Right - kFrame,
            Client.Bottom - kFrame};
}
