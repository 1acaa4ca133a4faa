#include "pgraphic/view/image_view/stretch_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int ClampExtent(long double Value) {
    if (!(Value > 0)) {
        return 0;
    }
    return Value >= kPGMaxDisplayExtent ? kPGMaxDisplayExtent : static_cast<int>(Value);
}

// Fitting keeping the aspect ratio: the relatively longer edge fills the area.
class TFitter {
public:
    TFitter(int ImageWidth, int ImageHeight, const TPGViewArea& Area)
        : FImageWidth(ImageWidth), FImageHeight(ImageHeight), FArea(Area),
          FAvailRatio(static_cast<long double>(Area.Width) / Area.Height),
          FImageRatio(static_cast<long double>(ImageWidth) / ImageHeight) {}

    TPGDisplaySize Fit() const {
        if (FAvailRatio < FImageRatio) {
            return ByWidth(FArea.Width);
        }
        return ByHeight(FArea.Height);
    }

    // Fit, unless the result leaves room for a scroll bar: then the shorter relative edge fills
    // the area less one bar and the picture scrolls along the other.
    TPGDisplaySize LongerEdge() const {
        const TPGDisplaySize Fitted = Fit();
        if (Fitted.Width >= FArea.Width - FArea.ScrollBarWidth &&
            Fitted.Height >= FArea.Height - FArea.ScrollBarHeight) {
            return Fitted;
        }
        if (FAvailRatio > FImageRatio) {
            return ByWidth(FArea.Width - FArea.ScrollBarWidth);
        }
        return ByHeight(FArea.Height - FArea.ScrollBarHeight);
    }

private:
    TPGDisplaySize ByWidth(int W) const {
        const long double H = std::trunc(W / FImageRatio);
        return {ClampExtent(W), ClampExtent(H), static_cast<long double>(W) / FImageWidth};
    }
    TPGDisplaySize ByHeight(int H) const {
        const long double W = std::trunc(H * FImageRatio);
        return {ClampExtent(W), ClampExtent(H), static_cast<long double>(H) / FImageHeight};
    }

    int FImageWidth;
    int FImageHeight;
    TPGViewArea FArea;
    long double FAvailRatio;
    long double FImageRatio;
};

} // namespace

TPGDisplaySize PGDisplaySize(int ImageWidth, int ImageHeight, const TPGViewArea& Area,
                             TStretch Stretch, long double ZoomFactor) {
    TPGDisplaySize Natural{ImageWidth, ImageHeight, 1.0L};
    if (ImageWidth <= 0 || ImageHeight <= 0 || Area.Width <= 0 || Area.Height <= 0) {
        return Natural;
    }
    const TFitter Fitter(ImageWidth, ImageHeight, Area);
    const bool Wider = ImageWidth > Area.Width;
    const bool Taller = ImageHeight > Area.Height;
    const bool Narrower = ImageWidth < Area.Width;
    const bool Lower = ImageHeight < Area.Height;
    // The natural size would need both scroll bars.
    const bool NeedsBothBars = (Wider && ImageHeight > Area.Height - Area.ScrollBarHeight) ||
                               (ImageWidth > Area.Width - Area.ScrollBarWidth && Taller);

    switch (Stretch) {
    case sNeverKAR:
        return Natural;
    case sAlways:
        return {Area.Width, Area.Height, -1.0L};
    case sShrink: {
        TPGDisplaySize Result = Natural;
        if (Wider) {
            Result.Width = Area.Width;
            Result.Scale = -1.0L;
        }
        if (Taller) {
            Result.Height = Area.Height;
            Result.Scale = -1.0L;
        }
        return Result;
    }
    case sShrinkKAR:
        return Wider || Taller ? Fitter.Fit() : Natural;
    case sAlwaysKAR:
        return Fitter.Fit();
    case sEnlarge: {
        const int RoomHeight = Wider ? Area.Height - Area.ScrollBarHeight : Area.Height;
        const int RoomWidth = Taller ? Area.Width - Area.ScrollBarWidth : Area.Width;
        TPGDisplaySize Result = Natural;
        if (ImageWidth < RoomWidth) {
            Result.Width = RoomWidth;
            Result.Scale = -1.0L;
        }
        if (ImageHeight < RoomHeight) {
            Result.Height = RoomHeight;
            Result.Scale = -1.0L;
        }
        return Result;
    }
    case sEnlargeKAR:
        return Narrower && Lower ? Fitter.Fit() : Natural;
    case sAlwaysLongerEdgeKAR:
        return Fitter.LongerEdge();
    case sShrinkLongerEdgeKAR:
        return NeedsBothBars ? Fitter.LongerEdge() : Natural;
    case sEnlargeShrinkLongerEdgeKAR:
        if (Narrower && Lower) {
            return Fitter.Fit();
        }
        return NeedsBothBars ? Fitter.LongerEdge() : Natural;
    case sEnlargeLongerEdgeKAR:
        return Narrower || Lower ? Fitter.LongerEdge() : Natural;
    case sZoomKAR: {
        // NaN and factors up to 0 keep the natural size.
        if (!(ZoomFactor > 0)) {
            return Natural;
        }
        // Halves round to even, the rounding of the default floating-point mode.
        return {ClampExtent(std::nearbyint(ImageWidth * ZoomFactor)),
                ClampExtent(std::nearbyint(ImageHeight * ZoomFactor)), ZoomFactor};
    }
    }
    return Natural;
}

TPGScrollBars PGScrollBarsFor(int ContentWidth, int ContentHeight, const TPGViewArea& Area) {
    TPGScrollBars Bars;
    Bars.ClientWidth = Area.Width;
    Bars.ClientHeight = Area.Height;
    for (int Pass = 0; Pass < 2; ++Pass) {
        if (Bars.ClientWidth < ContentWidth && !Bars.Horizontal) {
            Bars.ClientHeight -= Area.ScrollBarHeight;
            Bars.Horizontal = true;
        }
        if (ContentHeight > Bars.ClientHeight && !Bars.Vertical) {
            Bars.ClientWidth -= Area.ScrollBarWidth;
            Bars.Vertical = true;
        }
    }
    return Bars;
}

TPGPoint PGCenteredPosition(int Width, int Height, const TPGScrollBars& Bars) {
    TPGPoint Position;
    if (Bars.ClientHeight > Height) {
        Position.Y = (Bars.ClientHeight - Height) / 2;
    }
    if (Bars.ClientWidth > Width) {
        Position.X = (Bars.ClientWidth - Width) / 2;
    }
    return Position;
}

TPGPoint PGAutoSize(int ImageWidth, int ImageHeight, int Border, const TPGViewArea& Bars,
                    const TPGAutoSizeLimits& Limits) {
    // 64 bits: a picture near the largest width plus border and bar must not overflow.
    std::int64_t W = std::int64_t{ImageWidth} + 2 * std::int64_t{Border};
    std::int64_t H = std::int64_t{ImageHeight} + 2 * std::int64_t{Border};
    bool HorizontalCounted = false;
    bool VerticalCounted = false;
    for (int Pass = 0; Pass < 2; ++Pass) {
        if (W > Limits.MaxWidth && !HorizontalCounted) {
            H += Bars.ScrollBarHeight;
            HorizontalCounted = true;
        }
        if (H > Limits.MaxHeight && !VerticalCounted) {
            W += Bars.ScrollBarWidth;
            VerticalCounted = true;
        }
    }
    W = std::max(std::min(W, std::int64_t{Limits.MaxWidth}), std::int64_t{Limits.MinWidth});
    H = std::max(std::min(H, std::int64_t{Limits.MaxHeight}), std::int64_t{Limits.MinHeight});
    return {static_cast<int>(W), static_cast<int>(H)};
}
