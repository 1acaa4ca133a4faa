// The image view control: auto size, placing the picture box, the frame and the scroll bars.

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/view_rect_qt.h"

#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

int TPGImage::BorderWidth() const {
    if (FBorderStyle != bsSingle) {
        return 0;
    }
    return FCtl3D ? 2 : 1;
}

void TPGImage::ApplyFrame() {
    // The frame is exactly BorderWidth wide: a sunken panel of two lines with Ctl3D, a single
    // line without.
    if (FBorderStyle != bsSingle) {
        setFrameStyle(QFrame::NoFrame);
    } else if (FCtl3D) {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    } else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
}

TPGViewArea TPGImage::ViewArea() const {
    const int B = BorderWidth();
    const int Extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return {width() - 2 * B, height() - 2 * B, Extent, Extent};
}

void TPGImage::PixelGraphicChanged() {
    StopWorker();
    FImageWidth = FPixelGraphic ? FPixelGraphic->Width() : 0;
    FImageHeight = FPixelGraphic ? FPixelGraphic->Height() : 0;
    const TPGPoint Wanted =
        PGAutoSize(FImageWidth, FImageHeight, BorderWidth(), ViewArea(), FAutoSizeLimits);
    if (OnNewAutoSize) {
        OnNewAutoSize(this, Wanted.X, Wanted.Y);
    }
    FPaintInvalid = true;
    if (FAutoSize && (Wanted.X != width() || Wanted.Y != height())) {
        SetBounds(x(), y(), Wanted.X, Wanted.Y);
    } else {
        ArrangePicBox(false);
    }
    if (OnPixelGraphicChange) {
        OnPixelGraphicChange(this);
    }
}

void TPGImage::ArrangePicBox(bool Force) {
    const TPGViewArea Area = ViewArea();
    const TPGDisplaySize Size =
        PGDisplaySize(FImageWidth, FImageHeight, Area, FStretch, FZoomFactor);
    if (Size.Scale != FScale) {
        FScale = Size.Scale;
        if (OnZoomFactorChange) {
            OnZoomFactorChange(this);
        }
    }
    const int W = Size.Width;
    const int H = Size.Height;
    const TPGScrollBars Bars = PGScrollBarsFor(W, H, Area);
    const TPGPoint Position = FCenter ? PGCenteredPosition(W, H, Bars) : TPGPoint{};

    // Nothing moves when the box keeps its size and, when asked to rearrange, also its place and
    // the scroll positions that place implies.
    bool Unchanged = FBox.Width() == W && FBox.Height() == H;
    if (Unchanged && (FRearrangeAlways || Force)) {
        const int Horizontal = horizontalScrollBar()->value();
        const int Vertical = verticalScrollBar()->value();
        Unchanged = FBox.Left == Position.X && FBox.Top == Position.Y;
        if (FCenter) {
            Unchanged = Unchanged && (!Bars.Horizontal || Horizontal == (W - ClientWidth()) / 2) &&
                        (!Bars.Vertical || Vertical == (H - ClientHeight()) / 2);
        } else {
            Unchanged = Unchanged && Horizontal == 0 && Vertical == 0;
        }
    }
    if (!Unchanged) {
        const QScopedValueRollback Arranging(FArranging, true);
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        FBox = {Position.X, Position.Y, Position.X + W, Position.Y + H};
        UpdateScrollBars();
        if (FCenter) {
            if (Bars.Horizontal) {
                horizontalScrollBar()->setValue((W - ClientWidth()) / 2);
            }
            if (Bars.Vertical) {
                verticalScrollBar()->setValue((H - ClientHeight()) / 2);
            }
        }
        PositionPicBox();
    }
    // The area may have changed without the box (a new border).
    UpdateScrollBars();
    Invalidate();
}

void TPGImage::UpdateScrollBars() {
    // The scroll range follows the picture box's extent.
    const TPGViewArea Area = ViewArea();
    FBars = PGScrollBarsFor(FBox.Right, FBox.Bottom, Area);
    if (!FAutoScroll) {
        FBars = {false, false, Area.Width, Area.Height};
    }
    setHorizontalScrollBarPolicy(FBars.Horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(FBars.Vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    QScrollBar& Horizontal = *horizontalScrollBar();
    QScrollBar& Vertical = *verticalScrollBar();
    Horizontal.setRange(0, FBars.Horizontal ? std::max(FBox.Right - FBars.ClientWidth, 0) : 0);
    Vertical.setRange(0, FBars.Vertical ? std::max(FBox.Bottom - FBars.ClientHeight, 0) : 0);
    Horizontal.setPageStep(std::max(FBars.ClientWidth, 1));
    Vertical.setPageStep(std::max(FBars.ClientHeight, 1));
    Horizontal.setSingleStep(std::max(FBars.ClientWidth / 10, 1));
    Vertical.setSingleStep(std::max(FBars.ClientHeight / 10, 1));
}

void TPGImage::PositionPicBox() {
    FPicBox->setGeometry(ToQRect(BoxOnClient()));
}

void TPGImage::ZeroPicBox() {
    FBox = {};
    FPicBox->setGeometry(0, 0, 0, 0);
}

TPGRect TPGImage::BoxOnClient() const {
    return FBox.Shifted(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

bool TPGImage::ImageScrollable() const {
    return (FBox.Width() > ClientWidth() && FBars.Horizontal) ||
           (FBox.Height() > ClientHeight() && FBars.Vertical);
}

void TPGImage::SetBounds(int Left, int Top, int Width, int Height) {
    ZeroPicBox();
    FArrangedSize = QSize(Width, Height);
    setGeometry(Left, Top, Width, Height);
    FArrangedSize = size();
    ArrangePicBox(true);
}

void TPGImage::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    // The viewport's resizes arrive here too; only the control's own size counts.
    if (size() != FArrangedSize) {
        FArrangedSize = size();
        ZeroPicBox();
        ArrangePicBox(true);
    }
}

void TPGImage::scrollContentsBy(int /*Dx*/, int /*Dy*/) {
    PositionPicBox();
    viewport()->update();
}
