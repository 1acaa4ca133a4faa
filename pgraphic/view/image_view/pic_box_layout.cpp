#include "pgraphic/view/image_view/pic_box_layout.h"

#include "core/set_if_changed.h"
#include "pgraphic/view/view_rect_qt.h"

#include <QAbstractScrollArea>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <algorithm>

TPGPicBoxLayout::TPGPicBoxLayout(QAbstractScrollArea& View, QWidget& PicBox)
    : FView(View), FPicBox(PicBox) {}

void TPGPicBoxLayout::ResetScrollBars() {
    FBars = PGScrollBarsFor(0, 0, ViewArea());
}

void TPGPicBoxLayout::SetImageSize(int Width, int Height) {
    FImageWidth = Width;
    FImageHeight = Height;
}

TPGPoint TPGPicBoxLayout::AutoSize(const TPGAutoSizeLimits& Limits) const {
    return PGAutoSize(FImageWidth, FImageHeight, BorderWidth(), ViewArea(), Limits);
}

int TPGPicBoxLayout::BorderWidth() const {
    if (FPlacement.BorderStyle != bsSingle) {
        return 0;
    }
    return FPlacement.Ctl3D ? 2 : 1;
}

void TPGPicBoxLayout::ApplyFrame() {
    // The frame is exactly BorderWidth wide: a sunken panel of two lines with Ctl3D, a single
    // line without.
    if (FPlacement.BorderStyle != bsSingle) {
        FView.setFrameStyle(QFrame::NoFrame);
    } else if (FPlacement.Ctl3D) {
        FView.setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    } else {
        FView.setFrameStyle(QFrame::Box | QFrame::Plain);
        FView.setLineWidth(1);
    }
}

TPGViewArea TPGPicBoxLayout::ViewArea() const {
    const int B = BorderWidth();
    const int Extent = FView.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &FView);
    return {FView.width() - 2 * B, FView.height() - 2 * B, Extent, Extent};
}

TPGDisplaySize TPGPicBoxLayout::DisplaySize() const {
    return PGDisplaySize(FImageWidth, FImageHeight, ViewArea(), FPlacement.Stretch,
                         FPlacement.ZoomFactor);
}

bool TPGPicBoxLayout::SetScale(long double Value) {
    return SetIfChanged(FScale, Value);
}

void TPGPicBoxLayout::Arrange(const TPGDisplaySize& Size, bool Force) {
    const TPGViewArea Area = ViewArea();
    const int W = Size.Width;
    const int H = Size.Height;
    const TPGScrollBars Bars = PGScrollBarsFor(W, H, Area);
    const bool Center = FPlacement.Center;
    const TPGPoint Position = Center ? PGCenteredPosition(W, H, Bars) : TPGPoint{};
    QScrollBar& Horizontal = *FView.horizontalScrollBar();
    QScrollBar& Vertical = *FView.verticalScrollBar();

    // Nothing moves when the box keeps its size and, when asked to rearrange, also its place and
    // the scroll positions that place implies.
    bool Unchanged = FBox.Width() == W && FBox.Height() == H;
    if (Unchanged && (FPlacement.RearrangeAlways || Force)) {
        Unchanged = FBox.Left == Position.X && FBox.Top == Position.Y;
        if (Center) {
            Unchanged = Unchanged &&
                        (!Bars.Horizontal || Horizontal.value() == (W - ClientWidth()) / 2) &&
                        (!Bars.Vertical || Vertical.value() == (H - ClientHeight()) / 2);
        } else {
            Unchanged = Unchanged && Horizontal.value() == 0 && Vertical.value() == 0;
        }
    }
    if (!Unchanged) {
        const QScopedValueRollback Arranging(FArranging, true);
        Horizontal.setValue(0);
        Vertical.setValue(0);
        FBox = {Position.X, Position.Y, Position.X + W, Position.Y + H};
        UpdateScrollBars();
        if (Center) {
            if (Bars.Horizontal) {
                Horizontal.setValue((W - ClientWidth()) / 2);
            }
            if (Bars.Vertical) {
                Vertical.setValue((H - ClientHeight()) / 2);
            }
        }
        PositionPicBox();
    }
    // The area may have changed without the box (a new border).
    UpdateScrollBars();
}

void TPGPicBoxLayout::UpdateScrollBars() {
    // The scroll range follows the picture box's extent.
    const TPGViewArea Area = ViewArea();
    FBars = PGScrollBarsFor(FBox.Right, FBox.Bottom, Area);
    if (!FPlacement.AutoScroll) {
        FBars = {false, false, Area.Width, Area.Height};
    }
    FView.setHorizontalScrollBarPolicy(FBars.Horizontal ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
    FView.setVerticalScrollBarPolicy(FBars.Vertical ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
    QScrollBar& Horizontal = *FView.horizontalScrollBar();
    QScrollBar& Vertical = *FView.verticalScrollBar();
    Horizontal.setRange(0, FBars.Horizontal ? std::max(FBox.Right - FBars.ClientWidth, 0) : 0);
    Vertical.setRange(0, FBars.Vertical ? std::max(FBox.Bottom - FBars.ClientHeight, 0) : 0);
    Horizontal.setPageStep(std::max(FBars.ClientWidth, 1));
    Vertical.setPageStep(std::max(FBars.ClientHeight, 1));
    Horizontal.setSingleStep(std::max(FBars.ClientWidth / 10, 1));
    Vertical.setSingleStep(std::max(FBars.ClientHeight / 10, 1));
}

void TPGPicBoxLayout::PositionPicBox() {
    FPicBox.setGeometry(ToQRect(BoxOnClient()));
}

void TPGPicBoxLayout::ZeroPicBox() {
    FBox = {};
    FPicBox.setGeometry(0, 0, 0, 0);
}

TPGRect TPGPicBoxLayout::BoxOnClient() const {
    return FBox.Shifted(-FView.horizontalScrollBar()->value(), -FView.verticalScrollBar()->value());
}

bool TPGPicBoxLayout::ImageScrollable() const {
    return (FBox.Width() > ClientWidth() && FBars.Horizontal) ||
           (FBox.Height() > ClientHeight() && FBars.Vertical);
}

void TPGPicBoxLayout::SetBounds(int Left, int Top, int Width, int Height) {
    ZeroPicBox();
    FArrangedSize = QSize(Width, Height);
    FView.setGeometry(Left, Top, Width, Height);
    FArrangedSize = FView.size();
}

bool TPGPicBoxLayout::TakeResize() {
    // The viewport's resizes arrive here too; only the view's own size counts.
    if (FView.size() == FArrangedSize) {
        return false;
    }
    FArrangedSize = FView.size();
    ZeroPicBox();
    return true;
}
