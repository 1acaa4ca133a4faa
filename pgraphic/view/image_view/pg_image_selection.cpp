// The image view control: the selection, the mouse, the marching ants and the cursor.

#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/image_view/view_cursors.h"
#include "pgraphic/view/view_rect_qt.h"
#include "platform/qt/qt_color.h"

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

// --- Selection ---------------------------------------------------------------------------------

TPGScaling TPGImage::Scaling() const {
    return {FImageWidth, FImageHeight, FBox.Width(), FBox.Height()};
}

TPGRect TPGImage::SelectionRectOnBox() const {
    return PGSelectionOnBox(Scaling(), FSelectionBounds);
}

QRegion TPGImage::SelectionStrips(const TPGRect& R) const {
    const int Margin = FActionMode == amMoveResizeCreateSelection ? 8 : 1;
    const TPGRect OnClient = BoxOnClient();
    QRegion Strips;
    for (const TPGRect& Strip : PGSelectionStrips(R, Margin)) {
        Strips += ToQRect(Strip.Shifted(OnClient.Left, OnClient.Top));
    }
    return Strips;
}

void TPGImage::SetSelectionBounds(int Left, int Top, int Width, int Height) {
    const TPGSelectionBounds Bounds{Left, Top, Width, Height};
    if (Bounds == FSelectionBounds) {
        return;
    }
    QRegion Dirty;
    if (FSelection) {
        Dirty += SelectionStrips(SelectionRectOnBox());
    }
    FSelectionBounds = Bounds;
    if (FSelection) {
        Dirty += SelectionStrips(SelectionRectOnBox());
    }
    const QPointer<TPGImage> Alive(this);
    if (OnSelectionChange) {
        OnSelectionChange(this);
    }
    if (Alive && FSelection && !Dirty.isEmpty()) {
        viewport()->repaint(Dirty & viewport()->rect());
    }
}

void TPGImage::SetSelectionLeft(int Value) {
    SetSelectionBounds(Value, FSelectionBounds.Top, FSelectionBounds.Width,
                       FSelectionBounds.Height);
}

void TPGImage::SetSelectionTop(int Value) {
    SetSelectionBounds(FSelectionBounds.Left, Value, FSelectionBounds.Width,
                       FSelectionBounds.Height);
}

void TPGImage::SetSelectionWidth(int Value) {
    SetSelectionBounds(FSelectionBounds.Left, FSelectionBounds.Top, Value, FSelectionBounds.Height);
}

void TPGImage::SetSelectionHeight(int Value) {
    SetSelectionBounds(FSelectionBounds.Left, FSelectionBounds.Top, FSelectionBounds.Width, Value);
}

void TPGImage::SetSelection(bool Value) {
    if (Value == FSelection) {
        return;
    }
    FSelection = Value;
    if (FSelection && !FAntsTimer) {
        FAntsTimer = NewTimer(this, "MarchingAnts");
        connect(FAntsTimer.get(), &QTimer::timeout, this, [this] { StepMarchingAnts(); });
        FAntsTimer->start();
    } else if (!FSelection) {
        FAntsTimer.reset();
    }
    FPicBox->update();
    if (OnSelectionChange) {
        OnSelectionChange(this);
    }
}

void TPGImage::SetSelectionColor1(TColor Value) {
    if (Value != FSelectionColor1) {
        FSelectionColor1 = Value;
        FAnts.Clear();
    }
}

void TPGImage::SetSelectionColor2(TColor Value) {
    if (Value != FSelectionColor2) {
        FSelectionColor2 = Value;
        FAnts.Clear();
    }
}

void TPGImage::DrawSelection() {
    QPainter* Painter = FPicBox->Canvas();
    if (!FSelection || Painter == nullptr) {
        return;
    }
    const TPGRect R = SelectionRectOnBox();
    const QBrush& Brush = FAnts.Brush(PGAntsPatternIndex(FAntsPhase, R), ToQColor(FSelectionColor1),
                                      ToQColor(FSelectionColor2));
    FrameRect(*Painter, {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1}, Brush);
    if (FActionMode == amMoveResizeCreateSelection) {
        for (const TPGRect& Handle : PGHandleRects(R)) {
            FrameRect(*Painter, Handle, Brush);
        }
    }
}

void TPGImage::StepMarchingAnts() {
    FAntsPhase = (FAntsPhase + 1) % 8;
    // Only the frame (and the handles) change; widgets above the box are left alone by Qt.
    const TPGRect OnClient = BoxOnClient();
    FPicBox->update(
        SelectionStrips(SelectionRectOnBox()).translated(-OnClient.Left, -OnClient.Top));
}

void TPGImage::CreateSelectionTo(int X, int Y) {
    const TPGPoint At = PGBoxToImage(Scaling(), X, Y);
    const TPGSelectionBounds Bounds = PGSpannedSelection(FSelectionAnchor, At.X, At.Y);
    SetSelectionBounds(Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height);
}

// --- Mouse ---------------------------------------------------------------------------------------

void TPGImage::PicBoxMouseDown(TMouseButton Button, int X, int Y) {
    if (Button != mbLeft) {
        return;
    }
    const TPGPoint At = PGBoxToImage(Scaling(), X, Y);
    const TPGRect R = SelectionRectOnBox();
    if (MovesSelection(FActionMode) && FSelection && R.Contains(X, Y)) {
        FDragAction = daMoveSelection;
        FDragStart = {X, Y};
        FDragOffset = PGDragOffset(daMoveSelection, FSelectionBounds, At.X, At.Y);
    } else if (MovesImage(FActionMode) && ImageScrollable()) {
        FDragAction = daMoveImage;
        if (QGuiApplication::overrideCursor() == nullptr) {
            FPicBox->setCursor(PGCursor(crPGClosedHand));
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
            FDragOffset = PGDragOffset(FDragAction, FSelectionBounds, At.X, At.Y);
        } else if (FActionMode == amMoveResizeCreateSelection) {
            FDragAction = daCreateSelection;
            FDragStart = {X, Y};
            SetSelection(true);
            FSelectionAnchor = At;
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

void TPGImage::PicBoxMouseMove(int X, int Y) {
    const TPGRect OnClient = BoxOnClient();
    FLastMouse = QPoint(X + OnClient.Left, Y + OnClient.Top);
    const TPGPoint At = PGBoxToImage(Scaling(), X, Y);
    switch (FDragAction) {
    case daNone:
        break;
    case daCreateSelection:
        CreateSelectionTo(X, Y);
        break;
    case daMoveSelection: {
        const TPGSelectionBounds Moved =
            PGMovedSelection(FSelectionBounds, FDragOffset, At.X, At.Y, FImageWidth, FImageHeight);
        SetSelectionBounds(Moved.Left, Moved.Top, Moved.Width, Moved.Height);
        break;
    }
    case daMoveImage: {
        // The grabbed point of the picture stays under the mouse.
        QScrollBar& Horizontal = *horizontalScrollBar();
        QScrollBar& Vertical = *verticalScrollBar();
        const int H = Horizontal.value();
        const int V = Vertical.value();
        Horizontal.setValue(H + FDragStart.X - X);
        Vertical.setValue(V + FDragStart.Y - Y);
        FDragStart = {Horizontal.value() + X - H, Vertical.value() + Y - V};
        viewport()->repaint();
        break;
    }
    default: {
        const TPGSelectionBounds Resized =
            PGResizedSelection(FDragAction, FSelectionBounds, FDragOffset, At.X, At.Y);
        SetSelectionBounds(Resized.Left, Resized.Top, Resized.Width, Resized.Height);
        break;
    }
    }
    UpdateCursor(FLastMouse);
}

void TPGImage::PicBoxMouseUp() {
    const TDragAction Ended = FDragAction;
    FDragAction = daNone;
    FAutoScrollTimer.reset();
    if (Ended >= daMoveSelection) {
        const QPointer<TPGImage> Alive(this);
        SetSelection(true);
        if (OnSelectionMade) {
            OnSelectionMade(this);
        }
        if (!Alive) {
            return;
        }
    }
    UpdateCursor(FLastMouse);
}

void TPGImage::StartAutoScroll() {
    FAutoScrollTimer = NewTimer(this, "AutoScroll");
    connect(FAutoScrollTimer.get(), &QTimer::timeout, this, [this] { AutoScrollStep(); });
    FAutoScrollTimer->start();
}

void TPGImage::AutoScrollStep() {
    // The mouse is where it was last seen: the box holds it, so every move is reported. The
    // selection itself follows at the next mouse move.
    const QPoint Mouse = FLastMouse;
    QScrollBar& Horizontal = *horizontalScrollBar();
    QScrollBar& Vertical = *verticalScrollBar();
    const TPGPoint To = PGAutoScrolled(
        {Horizontal.value(), Vertical.value(), Horizontal.maximum(), Vertical.maximum()}, Mouse.x(),
        Mouse.y(), ClientWidth(), ClientHeight());
    Horizontal.setValue(To.X);
    Vertical.setValue(To.Y);
}

// The margins' own mouse events.
void TPGImage::mousePressEvent(QMouseEvent* Event) {
    const auto Button = PGMouseButtonOf(Event->button());
    if (Button && OnMouseDown) {
        const QPoint At = Event->position().toPoint();
        OnMouseDown(this, *Button, PGShiftStateOf(*Event), At.x(), At.y());
    }
}

void TPGImage::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint At = Event->position().toPoint();
    FLastMouse = At;
    UpdateCursor(At);
    if (OnMouseMove) {
        OnMouseMove(this, PGShiftStateOf(*Event), At.x(), At.y());
    }
}

void TPGImage::mouseReleaseEvent(QMouseEvent* Event) {
    const auto Button = PGMouseButtonOf(Event->button());
    const QPoint At = Event->position().toPoint();
    const QPointer<TPGImage> Alive(this);
    if (Button == mbLeft && viewport()->rect().contains(At) && OnClick) {
        OnClick(this);
    }
    if (Alive && Button && OnMouseUp) {
        OnMouseUp(this, *Button, PGShiftStateOf(*Event), At.x(), At.y());
    }
}

void TPGImage::mouseDoubleClickEvent(QMouseEvent* Event) {
    const QPointer<TPGImage> Alive(this);
    if (Event->button() == Qt::LeftButton && OnDblClick) {
        OnDblClick(this);
    }
    if (Alive) {
        mousePressEvent(Event);
    }
}

// --- Cursor -------------------------------------------------------------------------------------

QCursor TPGImage::PicBoxCursorAt(int X, int Y) const {
    QCursor Cursor = FPicBox->Cursor().value_or(cursor());
    if (MovesImage(FActionMode) && ImageScrollable()) {
        Cursor = PGCursor(FDragAction == daMoveImage ? crPGClosedHand : crPGOpenHand);
    }
    if (FActionMode == amMoveResizeCreateSelection) {
        Cursor = PGCursor(crPGCross);
    }
    const TPGRect R = SelectionRectOnBox();
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

void TPGImage::UpdateCursor(QPoint ViewportPosition) {
    // While the application shows a cursor of its own (the hour-glass), that one stands.
    if (QGuiApplication::overrideCursor() != nullptr) {
        return;
    }
    QWidget* Under = viewport()->childAt(ViewportPosition);
    if (Under == FPicBox && FPicBox->isEnabled()) {
        const QPoint At = ViewportPosition - FPicBox->pos();
        QCursor Cursor = PicBoxCursorAt(At.x(), At.y());
        if (PicBoxOnSetCursor) {
            PicBoxOnSetCursor(this, Cursor);
        }
        FPicBox->setCursor(Cursor);
    } else if (Under == nullptr && viewport()->rect().contains(ViewportPosition)) {
        QCursor Cursor = cursor();
        if (OnSetCursor) {
            OnSetCursor(this, Cursor);
            viewport()->setCursor(Cursor);
        } else {
            viewport()->unsetCursor();
        }
    }
}
