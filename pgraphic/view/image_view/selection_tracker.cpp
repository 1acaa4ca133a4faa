#include "pgraphic/view/image_view/selection_tracker.h"

#include "pgraphic/view/image_view/pic_box.h"
#include "pgraphic/view/image_view/pic_box_layout.h"
#include "pgraphic/view/image_view/view_cursors.h"
#include "pgraphic/view/view_rect_qt.h"
#include "platform/qt/qt_color.h"

#include <QAbstractScrollArea>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int kTimerMilliseconds = 50;

bool MovesSelection(TActionMode Mode) {
    return Mode == amMoveResizeCreateSelection || Mode == amMoveSelection ||
           Mode == amMoveSelectionMoveImage;
}

bool MovesImage(TActionMode Mode) {
    return Mode == amMoveImage || Mode == amMoveSelectionMoveImage;
}

// The one-pixel outline of R painted with Brush.
void FrameRect(QPainter& Painter, const TPGRect& R, const QBrush& Brush) {
    const int W = R.Width();
    const int H = R.Height();
    if (W <= 0 || H <= 0) {
        return;
    }
    Painter.fillRect(R.Left, R.Top, W, 1, Brush);
    Painter.fillRect(R.Left, R.Bottom - 1, W, 1, Brush);
    Painter.fillRect(R.Left, R.Top, 1, H, Brush);
    Painter.fillRect(R.Right - 1, R.Top, 1, H, Brush);
}

std::unique_ptr<QTimer> NewTimer(QObject* Parent, const char* Name) {
    auto Timer = std::make_unique<QTimer>(Parent);
    Timer->setObjectName(Name);
    Timer->setInterval(kTimerMilliseconds);
    return Timer;
}

} // namespace

TPGSelectionTracker::TPGSelectionTracker(QAbstractScrollArea& View, TObject& Sender,
                                         TPicBox& PicBox, const TPGPicBoxLayout& Layout,
                                         const TPGImageEvents& Events)
    : FView(View), FSender(Sender), FPicBox(PicBox), FLayout(Layout), FEvents(Events),
      FPicBoxEvents{
          PicBox.MouseDownListeners.Connect([this](TObject*, TMouseButton Button, TShiftState,
                                                   int X, int Y) { MouseDown(Button, X, Y); }),
          PicBox.MouseMoveListeners.Connect(
              [this](TObject*, TShiftState, int X, int Y) { MouseMove(X, Y); }),
          PicBox.MouseUpListeners.Connect(
              [this](TObject*, TMouseButton, TShiftState, int, int) { MouseUp(); }),
          PicBox.PaintListeners.Connect([this](TObject*) { Draw(); })} {}

TPGSelectionTracker::~TPGSelectionTracker() = default;

// --- Selection ---------------------------------------------------------------------------------

TPGRect TPGSelectionTracker::RectOnBox() const {
    return PGSelectionOnBox(FLayout.Scaling(), FBounds);
}

QRegion TPGSelectionTracker::Strips(const TPGRect& R) const {
    const int Margin = FActionMode == amMoveResizeCreateSelection ? 8 : 1;
    QRegion Result;
    for (const TPGRect& Strip : PGSelectionStrips(R, Margin)) {
        Result += ToQRect(Strip);
    }
    return Result;
}

void TPGSelectionTracker::SetBounds(const TPGSelectionBounds& Value) {
    if (Value == FBounds) {
        return;
    }
    // Where the box lies now: the handler below may scroll the view.
    const TPGRect OnClient = FLayout.BoxOnClient();
    QRegion Dirty;
    if (FSelection) {
        Dirty += Strips(RectOnBox());
    }
    FBounds = Value;
    if (FSelection) {
        Dirty += Strips(RectOnBox());
    }
    if (FEvents.OnSelectionChange) {
        const QPointer<QAbstractScrollArea> Alive(&FView);
        FEvents.OnSelectionChange(&FSender);
        if (!Alive) {
            return;
        }
    }
    if (FSelection && !Dirty.isEmpty()) {
        QWidget& Viewport = *FView.viewport();
        Viewport.repaint(Dirty.translated(OnClient.Left, OnClient.Top) & Viewport.rect());
    }
}

void TPGSelectionTracker::SetSelection(bool Value) {
    SetIfChanged(FSelection, Value, [this] { SelectionSwitched(); });
}

void TPGSelectionTracker::SelectionSwitched() {
    if (FSelection && !FAntsTimer) {
        FAntsTimer = NewTimer(&FView, "MarchingAnts");
        QObject::connect(FAntsTimer.get(), &QTimer::timeout, &FView,
                         [this] { StepMarchingAnts(); });
        FAntsTimer->start();
    } else if (!FSelection) {
        FAntsTimer.reset();
    }
    FPicBox.update();
    if (FEvents.OnSelectionChange) {
        FEvents.OnSelectionChange(&FSender);
    }
}

void TPGSelectionTracker::SetColor1(TColor Value) {
    SetIfChanged(FColor1, Value, [this] { FAnts.Clear(); });
}

void TPGSelectionTracker::SetColor2(TColor Value) {
    SetIfChanged(FColor2, Value, [this] { FAnts.Clear(); });
}

void TPGSelectionTracker::Draw() {
    QPainter* Painter = FPicBox.Canvas();
    if (!FSelection || Painter == nullptr) {
        return;
    }
    const TPGRect R = RectOnBox();
    const QBrush& Brush =
        FAnts.Brush(PGAntsPatternIndex(FAntsPhase, R), ToQColor(FColor1), ToQColor(FColor2));
    FrameRect(*Painter, {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1}, Brush);
    if (FActionMode == amMoveResizeCreateSelection) {
        for (const TPGRect& Handle : PGHandleRects(R)) {
            FrameRect(*Painter, Handle, Brush);
        }
    }
}

void TPGSelectionTracker::StepMarchingAnts() {
    FAntsPhase = (FAntsPhase + 1) % 8;
    // Only the frame (and the handles) change; widgets above the box are left alone by Qt.
    FPicBox.update(Strips(RectOnBox()));
}

void TPGSelectionTracker::CreateSelectionTo(int X, int Y) {
    const TPGPoint At = PGBoxToImage(FLayout.Scaling(), X, Y);
    SetBounds(PGSpannedSelection(FAnchor, At.X, At.Y));
}

// --- Mouse ---------------------------------------------------------------------------------------

void TPGSelectionTracker::MouseDown(TMouseButton Button, int X, int Y) {
    if (Button != mbLeft) {
        return;
    }
    const TPGPoint At = PGBoxToImage(FLayout.Scaling(), X, Y);
    const TPGRect R = RectOnBox();
    if (MovesSelection(FActionMode) && FSelection && R.Contains(X, Y)) {
        FDragAction = daMoveSelection;
        FDragStart = {X, Y};
        FDragOffset = PGDragOffset(daMoveSelection, FBounds, At.X, At.Y);
    } else if (MovesImage(FActionMode) && FLayout.ImageScrollable()) {
        FDragAction = daMoveImage;
        if (QGuiApplication::overrideCursor() == nullptr) {
            FPicBox.setCursor(PGCursor(crPGClosedHand));
        }
        FDragStart = {X, Y};
    } else {
        std::optional<TPGHandle> Handle;
        if (FActionMode == amMoveResizeCreateSelection && FSelection) {
            Handle = PGHandleAt(R, X, Y);
        }
        if (Handle) {
            FDragAction = PGHandleAction(*Handle);
            FDragStart = {X, Y};
            FDragOffset = PGDragOffset(FDragAction, FBounds, At.X, At.Y);
        } else if (FActionMode == amMoveResizeCreateSelection) {
            FDragAction = daCreateSelection;
            FDragStart = {X, Y};
            SetSelection(true);
            FAnchor = At;
            CreateSelectionTo(X, Y);
        } else {
            return;
        }
    }
    // The box holds the mouse until the button is released (Qt's implicit grab).
    if (FDragAction >= daMoveSelection) {
        StartAutoScroll();
    }
}

void TPGSelectionTracker::MouseMove(int X, int Y) {
    const TPGRect OnClient = FLayout.BoxOnClient();
    FLastMouse = QPoint(X + OnClient.Left, Y + OnClient.Top);
    const TPGScaling Scaling = FLayout.Scaling();
    const TPGPoint At = PGBoxToImage(Scaling, X, Y);
    switch (FDragAction) {
    case daNone:
        break;
    case daCreateSelection:
        CreateSelectionTo(X, Y);
        break;
    case daMoveSelection:
        SetBounds(PGMovedSelection(FBounds, FDragOffset, At.X, At.Y, Scaling.ImageWidth,
                                   Scaling.ImageHeight));
        break;
    case daMoveImage: {
        // The grabbed point of the picture stays under the mouse.
        QScrollBar& Horizontal = *FView.horizontalScrollBar();
        QScrollBar& Vertical = *FView.verticalScrollBar();
        const int H = Horizontal.value();
        const int V = Vertical.value();
        Horizontal.setValue(H + FDragStart.X - X);
        Vertical.setValue(V + FDragStart.Y - Y);
        FDragStart = {Horizontal.value() + X - H, Vertical.value() + Y - V};
        FView.viewport()->repaint();
        break;
    }
    default:
        SetBounds(PGResizedSelection(FDragAction, FBounds, FDragOffset, At.X, At.Y));
        break;
    }
    UpdateCursor(FLastMouse);
}

void TPGSelectionTracker::MouseUp() {
    const TDragAction Ended = FDragAction;
    FDragAction = daNone;
    FAutoScrollTimer.reset();
    if (Ended >= daMoveSelection) {
        const QPointer<QAbstractScrollArea> Alive(&FView);
        SetSelection(true);
        if (FEvents.OnSelectionMade) {
            FEvents.OnSelectionMade(&FSender);
        }
        if (!Alive) {
            return;
        }
    }
    UpdateCursor(FLastMouse);
}

void TPGSelectionTracker::MarginMouseDown(QMouseEvent& Event) {
    const auto Button = PGMouseButtonOf(Event.button());
    if (Button && FEvents.OnMouseDown) {
        const QPoint At = Event.position().toPoint();
        FEvents.OnMouseDown(&FSender, *Button, PGShiftStateOf(Event), At.x(), At.y());
    }
}

void TPGSelectionTracker::MarginMouseMove(QMouseEvent& Event) {
    const QPoint At = Event.position().toPoint();
    FLastMouse = At;
    UpdateCursor(At);
    if (FEvents.OnMouseMove) {
        FEvents.OnMouseMove(&FSender, PGShiftStateOf(Event), At.x(), At.y());
    }
}

void TPGSelectionTracker::MarginMouseUp(QMouseEvent& Event) {
    const auto Button = PGMouseButtonOf(Event.button());
    const QPoint At = Event.position().toPoint();
    const QPointer<QAbstractScrollArea> Alive(&FView);
    if (Button == mbLeft && FView.viewport()->rect().contains(At) && FEvents.OnClick) {
        FEvents.OnClick(&FSender);
    }
    if (Alive && Button && FEvents.OnMouseUp) {
        FEvents.OnMouseUp(&FSender, *Button, PGShiftStateOf(Event), At.x(), At.y());
    }
}

bool TPGSelectionTracker::MarginDoubleClick(const QMouseEvent& Event) {
    if (Event.button() == Qt::LeftButton && FEvents.OnDblClick) {
        const QPointer<QAbstractScrollArea> Alive(&FView);
        FEvents.OnDblClick(&FSender);
        return !Alive.isNull();
    }
    return true;
}

void TPGSelectionTracker::StartAutoScroll() {
    FAutoScrollTimer = NewTimer(&FView, "AutoScroll");
    QObject::connect(FAutoScrollTimer.get(), &QTimer::timeout, &FView,
                     [this] { AutoScrollStep(); });
    FAutoScrollTimer->start();
}

void TPGSelectionTracker::AutoScrollStep() {
    // The mouse is where it was last seen: the box holds it, so every move is reported. The
    // selection itself follows at the next mouse move.
    const QPoint Mouse = FLastMouse;
    QScrollBar& Horizontal = *FView.horizontalScrollBar();
    QScrollBar& Vertical = *FView.verticalScrollBar();
    const TPGPoint To = PGAutoScrolled(
        {Horizontal.value(), Vertical.value(), Horizontal.maximum(), Vertical.maximum()}, Mouse.x(),
        Mouse.y(), FLayout.ClientWidth(), FLayout.ClientHeight());
    Horizontal.setValue(To.X);
    Vertical.setValue(To.Y);
}

// --- Cursor -------------------------------------------------------------------------------------

QCursor TPGSelectionTracker::PicBoxCursorAt(int X, int Y) const {
    QCursor Cursor = FPicBox.Cursor().value_or(FView.cursor());
    if (MovesImage(FActionMode) && FLayout.ImageScrollable()) {
        Cursor = PGCursor(FDragAction == daMoveImage ? crPGClosedHand : crPGOpenHand);
    }
    if (FActionMode == amMoveResizeCreateSelection) {
        Cursor = PGCursor(crPGCross);
    }
    const TPGRect R = RectOnBox();
    if (MovesSelection(FActionMode) && FSelection && R.Contains(X, Y)) {
        Cursor = PGCursor(crPGMoveArrow);
    }
    if (FActionMode == amMoveResizeCreateSelection && FSelection) {
        if (const auto Handle = PGHandleAt(R, X, Y)) {
            switch (*Handle) {
            case hTop:
            case hBottom:
                Cursor = Qt::SizeVerCursor;
                break;
            case hLeft:
            case hRight:
                Cursor = Qt::SizeHorCursor;
                break;
            case hTopLeft:
            case hBottomRight:
                Cursor = Qt::SizeFDiagCursor;
                break;
            case hTopRight:
            case hBottomLeft:
                Cursor = Qt::SizeBDiagCursor;
                break;
            }
        }
    }
    return Cursor;
}

void TPGSelectionTracker::UpdateCursor(QPoint ViewportPosition) {
    // While the application shows a cursor of its own (the hour-glass), that one stands.
    if (QGuiApplication::overrideCursor() != nullptr) {
        return;
    }
    QWidget& Viewport = *FView.viewport();
    QWidget* Under = Viewport.childAt(ViewportPosition);
    if (Under == &FPicBox && FPicBox.isEnabled()) {
        const QPoint At = ViewportPosition - FPicBox.pos();
        QCursor Cursor = PicBoxCursorAt(At.x(), At.y());
        if (FEvents.PicBoxOnSetCursor) {
            FEvents.PicBoxOnSetCursor(&FSender, Cursor);
        }
        FPicBox.setCursor(Cursor);
    } else if (Under == nullptr && Viewport.rect().contains(ViewportPosition)) {
        QCursor Cursor = FView.cursor();
        if (FEvents.OnSetCursor) {
            FEvents.OnSetCursor(&FSender, Cursor);
            Viewport.setCursor(Cursor);
        } else {
            Viewport.unsetCursor();
        }
    }
}
