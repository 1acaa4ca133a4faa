#pragma once

#include "core/color.h"
#include "core/multicast_event.h"
#include "core/set_if_changed.h"
#include "pgraphic/view/image_view/ants_patterns.h"
#include "pgraphic/view/image_view/image_view_events.h"
#include "pgraphic/view/image_view/selection_geometry.h"
#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <QCursor>
#include <QPoint>
#include <QRegion>
#include <array>
#include <memory>

class QAbstractScrollArea;
class QMouseEvent;
class QTimer;
class TObject;
class TPGPicBoxLayout;
class TPicBox;

// What the selection and the mouse do in an image view: the selection's bounds in picture pixels
// and its frame of marching ants on the picture box, the drag in progress (drawing, moving or
// resizing the selection, or dragging the picture) with the timer that scrolls while the mouse
// is held near the edge, and the cursor that shows what a press would do; the view's own mouse
// events over the margins. The view owns one, made after the picture box and the layout, and
// hands it the margins' mouse events; it follows the picture box's mouse and paint events itself.
class TPGSelectionTracker {
public:
    // View: the view's scrolling area (its viewport, scroll bars, cursor and timers); Sender: the
    // view as its events name it; Events: the view's events, fired from here.
    TPGSelectionTracker(QAbstractScrollArea& View, TObject& Sender, TPicBox& PicBox,
                        const TPGPicBoxLayout& Layout, const TPGImageEvents& Events);
    TPGSelectionTracker(const TPGSelectionTracker&) = delete;
    TPGSelectionTracker& operator=(const TPGSelectionTracker&) = delete;
    ~TPGSelectionTracker();

    // What dragging with the left button does; true when Value changed it.
    TActionMode ActionMode() const { return FActionMode; }
    bool SetActionMode(TActionMode Value) { return SetIfChanged(FActionMode, Value); }

    bool Selection() const { return FSelection; }
    void SetSelection(bool Value);
    TColor Color1() const { return FColor1; }
    void SetColor1(TColor Value);
    TColor Color2() const { return FColor2; }
    void SetColor2(TColor Value);
    const TPGSelectionBounds& Bounds() const { return FBounds; }
    // Repaints only the strips around the old and the new frame.
    void SetBounds(const TPGSelectionBounds& Value);
    // The selection in picture-box pixels.
    TPGRect RectOnBox() const;
    TDragAction DragAction() const { return FDragAction; }

    // The mouse over the view's client area outside the picture box: the view's own mouse
    // events, and the cursor.
    void MarginMouseDown(QMouseEvent& Event);
    void MarginMouseMove(QMouseEvent& Event);
    void MarginMouseUp(QMouseEvent& Event);
    // Fires OnDblClick for a left double click; false when its handler deleted the view, which
    // then takes no press for it.
    [[nodiscard]] bool MarginDoubleClick(const QMouseEvent& Event);

private:
    // The picture box's paint and mouse events, in picture-box pixels.
    void Draw();
    void MouseDown(TMouseButton Button, int X, int Y);
    void MouseMove(int X, int Y);
    void MouseUp();
    // The marching ants start or stop with the selection.
    void SelectionSwitched();
    // The strips around R that hold its frame and handles, in picture-box pixels.
    QRegion Strips(const TPGRect& R) const;
    void StepMarchingAnts();
    void CreateSelectionTo(int X, int Y);
    void StartAutoScroll();
    void AutoScrollStep();
    void UpdateCursor(QPoint ViewportPosition);
    QCursor PicBoxCursorAt(int X, int Y) const;

    QAbstractScrollArea& FView;
    TObject& FSender;
    TPicBox& FPicBox;
    const TPGPicBoxLayout& FLayout;
    const TPGImageEvents& FEvents;
    // The picture box's mouse down, move and up and its paint.
    std::array<TEventConnection, 4> FPicBoxEvents;
    TActionMode FActionMode = amMoveImage;
    bool FSelection = false;
    TColor FColor1 = clWhite;
    TColor FColor2 = clRed;
    TPGSelectionBounds FBounds;
    TPGAntsPatterns FAnts;
    int FAntsPhase = 0;
    std::unique_ptr<QTimer> FAntsTimer;
    TDragAction FDragAction = daNone;
    TPGPoint FDragStart;
    TPGPoint FDragOffset;
    TPGPoint FAnchor;
    std::unique_ptr<QTimer> FAutoScrollTimer;
    QPoint FLastMouse; // where the mouse was last seen, in client pixels
};
