#pragma once

#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <array>
#include <optional>

// The selection rectangle's geometry: conversions between image and picture-box pixels, the
// frame's handles, the strips that change when the frame moves, and the new bounds while the
// mouse drags.

// A picture of ImageWidth x ImageHeight shown in a picture box of BoxWidth x BoxHeight.
struct TPGScaling {
    int ImageWidth = 0;
    int ImageHeight = 0;
    int BoxWidth = 0;
    int BoxHeight = 0;
};

// Integer conversions, product first, truncating toward zero; 0 when the divisor is not
// positive.
TPGPoint PGImageToBox(const TPGScaling& Scaling, int X, int Y);
TPGPoint PGBoxToImage(const TPGScaling& Scaling, int X, int Y);

// A selection in image pixels: Left .. Left + Width - 1 by Top .. Top + Height - 1.
struct TPGSelectionBounds {
    int Left = 0;
    int Top = 0;
    int Width = 1;
    int Height = 1;
    friend bool operator==(const TPGSelectionBounds&, const TPGSelectionBounds&) = default;
};

// The selection in picture-box pixels.
TPGRect PGSelectionOnBox(const TPGScaling& Scaling, const TPGSelectionBounds& Bounds);

// The eight handles, in the order they are tested.
enum TPGHandle : std::uint8_t {
    hTopLeft,
    hTop,
    hTopRight,
    hLeft,
    hRight,
    hBottomLeft,
    hBottom,
    hBottomRight
};
constexpr int kPGHandleCount = 8;

// The 5 x 5 handle squares just outside the frame of R.
std::array<TPGRect, kPGHandleCount> PGHandleRects(const TPGRect& R);

// The first handle that contains (X, Y).
std::optional<TPGHandle> PGHandleAt(const TPGRect& R, int X, int Y);

// The drag that a handle starts.
TDragAction PGHandleAction(TPGHandle Handle);

// The four strips around R, Margin wide, that hold its frame (and handles): left, top, right,
// bottom.
std::array<TPGRect, 4> PGSelectionStrips(const TPGRect& R, int Margin);

// Where the mouse grabs the selection when a drag starts at image pixel (X, Y): for a move the
// offset from the top-left corner; for a resize the offset of each edge that follows the mouse
// (from the left or top edge, or from the width or height for the right and bottom edges).
TPGPoint PGDragOffset(TDragAction Action, const TPGSelectionBounds& Bounds, int X, int Y);

// The selection spanned by the anchor and image pixel (X, Y), both included.
TPGSelectionBounds PGSpannedSelection(TPGPoint Anchor, int X, int Y);

// The selection after a resize drag to image pixel (X, Y): the edges of Action follow the
// mouse, the others stay; never smaller than 1 x 1, no edge passes the opposite one.
TPGSelectionBounds PGResizedSelection(TDragAction Action, const TPGSelectionBounds& Bounds,
                                      TPGPoint Offset, int X, int Y);

// The selection after a move drag to image pixel (X, Y): at least its last row and column, or
// its first, stay on the picture.
TPGSelectionBounds PGMovedSelection(const TPGSelectionBounds& Bounds, TPGPoint Offset, int X, int Y,
                                    int ImageWidth, int ImageHeight);

// Marching ants: the pattern (0..7) that frames R in Phase, fixed relative to the selection, and
// whether pattern Pattern shows its second colour at (X, Y) of its 8 x 8 cell (diagonal bands
// four pixels wide).
int PGAntsPatternIndex(int Phase, const TPGRect& R);
bool PGAntsSecondColor(int Pattern, int X, int Y);

// The scroll positions after one auto-scroll step while the mouse, at (X, Y) in client pixels,
// is outside the client area: 5 pixels toward it along each edge it passed, within 0 .. Max.
struct TPGScrollState {
    int Horizontal = 0;
    int Vertical = 0;
    int HorizontalMax = 0; // range less the client extent
    int VerticalMax = 0;
};
TPGPoint PGAutoScrolled(const TPGScrollState& Scroll, int X, int Y, int ClientWidth,
                        int ClientHeight);
