#pragma once

#include "pgraphic/view/image_view/selection_geometry.h"
#include "pgraphic/view/image_view/stretch_layout.h"
#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <QSize>

class QAbstractScrollArea;
class QWidget;

// The properties of an image view that place its picture.
struct TPGPicBoxPlacement {
    bool AutoScroll = true;
    TBorderStyle BorderStyle = bsSingle;
    bool Center = false;
    bool Ctl3D = true;
    bool RearrangeAlways = false;
    TStretch Stretch = sNeverKAR;
    long double ZoomFactor = 1.0L;

    friend bool operator==(const TPGPicBoxPlacement&, const TPGPicBoxPlacement&) = default;
};

// Where an image view shows its picture: the frame around the view, the picture box's rectangle
// (the display rectangle, sized by the stretch rule or the zoom and optionally centred) and the
// scroll bars that let the client area show the rest of it. The view owns one and asks it to
// arrange whenever the picture, the placement or the view's size changes.
class TPGPicBoxLayout {
public:
    TPGPicBoxLayout(QAbstractScrollArea& View, QWidget& PicBox);

    // The placement; the view arranges after changing it.
    TPGPicBoxPlacement& Placement() { return FPlacement; }
    const TPGPicBoxPlacement& Placement() const { return FPlacement; }

    // The picture's size in pixels; 0 x 0 without one.
    void SetImageSize(int Width, int Height);
    // The size the view needs to show the picture unscaled, within Limits.
    TPGPoint AutoSize(const TPGAutoSizeLimits& Limits) const;

    // The client area without a picture box, for the view's current size.
    void ResetScrollBars();
    // Gives the view the frame that BorderStyle and Ctl3D ask for.
    void ApplyFrame();
    // The display rectangle's size for the current picture, placement and view size.
    TPGDisplaySize DisplaySize() const;
    // Takes over the display size's scale; true when it changed.
    bool SetScale(long double Value);
    // Places the picture box at Size and sets the scroll bars; with Force (or RearrangeAlways)
    // also when only the position or the scrolling differ.
    void Arrange(const TPGDisplaySize& Size, bool Force);
    // Moves the picture box to where the scroll bars put it.
    void PositionPicBox();
    // Moves and sizes the view, with the picture box out of the way.
    void SetBounds(int Left, int Top, int Width, int Height);
    // After a resize of the view: true when it is not the size last arranged for, and then the
    // picture box is out of the way until the next Arrange.
    bool TakeResize();

    // 1.0 at natural size, -1 for a non-uniform scaling, else the uniform factor.
    long double Scale() const { return FScale; }
    // The client area: the view less its border and the visible scroll bars.
    int ClientWidth() const { return FBars.ClientWidth; }
    int ClientHeight() const { return FBars.ClientHeight; }
    // True while the picture box and the scroll bars are being moved: paints wait for the end.
    bool Arranging() const { return FArranging; }
    // The picture box's rectangle in the client area, after scrolling.
    TPGRect BoxOnClient() const;
    int BoxWidth() const { return FBox.Width(); }
    int BoxHeight() const { return FBox.Height(); }
    // How picture pixels map onto the picture box.
    TPGScaling Scaling() const { return {FImageWidth, FImageHeight, FBox.Width(), FBox.Height()}; }
    // Whether the picture is larger than the client area along a scrolling axis.
    bool ImageScrollable() const;

private:
    int BorderWidth() const;
    TPGViewArea ViewArea() const;
    void UpdateScrollBars();
    void ZeroPicBox();

    QAbstractScrollArea& FView;
    QWidget& FPicBox;
    TPGPicBoxPlacement FPlacement;
    int FImageWidth = 0;
    int FImageHeight = 0;
    long double FScale = 1.0L;
    // The picture box's rectangle before scrolling, and the scroll bars it needs.
    TPGRect FBox;
    TPGScrollBars FBars;
    QSize FArrangedSize;
    bool FArranging = false;
};
