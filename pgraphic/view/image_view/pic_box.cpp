#include "pgraphic/view/image_view/pic_box.h"

#include "core/set_if_changed.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QToolTip>

std::optional<TMouseButton> PGMouseButtonOf(Qt::MouseButton Button) {
    switch (Button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

TShiftState PGShiftStateOf(const QMouseEvent& Event) {
    const Qt::KeyboardModifiers Keys = Event.modifiers();
    const Qt::MouseButtons Buttons = Event.buttons();
    const auto Flag = [](bool Set, TShiftStateFlag Value) { return Set ? TShiftState{Value} : 0U; };
    return Flag(Keys.testFlag(Qt::ShiftModifier), ssShift) |
           Flag(Keys.testFlag(Qt::AltModifier), ssAlt) |
           Flag(Keys.testFlag(Qt::ControlModifier), ssCtrl) |
           Flag(Buttons.testFlag(Qt::LeftButton), ssLeft) |
           Flag(Buttons.testFlag(Qt::RightButton), ssRight) |
           Flag(Buttons.testFlag(Qt::MiddleButton), ssMiddle) |
           Flag(Event.type() == QEvent::MouseButtonDblClick, ssDouble);
}

TPicBox::TPicBox(QWidget* Parent) : QWidget(Parent) {
    // Moves arrive also without a button held, as the cursor and the user's handler need them.
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void TPicBox::SetColor(TColor Value) {
    FParentColor = false;
    SetIfChanged(FColor, Value, [this] { update(); });
}

void TPicBox::InheritColor(TColor Value) {
    if (FParentColor) {
        SetIfChanged(FColor, Value, [this] { update(); });
    }
}

void TPicBox::SetShowHint(bool Value) {
    FShowHint = Value;
    FParentShowHint = false;
}

bool TPicBox::event(QEvent* Event) {
    if (Event->type() == QEvent::ToolTip) {
        const bool Show =
            FParentShowHint && ParentShowHintSource ? ParentShowHintSource() : FShowHint;
        if (Show && !FHint.isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(Event)->globalPos(), FHint, this);
        } else {
            QToolTip::hideText();
            Event->ignore();
        }
        return true;
    }
    return QWidget::event(Event);
}

void TPicBox::paintEvent(QPaintEvent* /*Event*/) {
    QPainter Painter(this);
    const QScopedValueRollback CanvasScope(FCanvas, &Painter);
    PaintListeners(this);
    if (OnPaint) {
        OnPaint(this);
    }
}

void TPicBox::mousePressEvent(QMouseEvent* Event) {
    const auto Button = PGMouseButtonOf(Event->button());
    if (!Button) {
        return;
    }
    FLeftPressed = FLeftPressed || *Button == mbLeft;
    const QPoint At = Event->position().toPoint();
    const TShiftState Shift = PGShiftStateOf(*Event);
    const QPointer<TPicBox> Alive(this);
    MouseDownListeners(this, *Button, Shift, At.x(), At.y());
    if (Alive && OnMouseDown) {
        OnMouseDown(this, *Button, Shift, At.x(), At.y());
    }
}

void TPicBox::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint At = Event->position().toPoint();
    const TShiftState Shift = PGShiftStateOf(*Event);
    const QPointer<TPicBox> Alive(this);
    MouseMoveListeners(this, Shift, At.x(), At.y());
    if (Alive && OnMouseMove) {
        OnMouseMove(this, Shift, At.x(), At.y());
    }
}

void TPicBox::mouseReleaseEvent(QMouseEvent* Event) {
    const auto Button = PGMouseButtonOf(Event->button());
    if (!Button) {
        return;
    }
    const QPoint At = Event->position().toPoint();
    const TShiftState Shift = PGShiftStateOf(*Event);
    const QPointer<TPicBox> Alive(this);
    // A click is a left press and release both on the box; it comes before the mouse-up
    // handlers, which may close the window.
    if (*Button == mbLeft) {
        const bool Clicked = FLeftPressed && rect().contains(At);
        FLeftPressed = false;
        if (Clicked && OnClick) {
            OnClick(this);
        }
    }
    if (Alive && OnMouseUp) {
        OnMouseUp(this, *Button, Shift, At.x(), At.y());
    }
    if (Alive) {
        MouseUpListeners(this, *Button, Shift, At.x(), At.y());
    }
}

void TPicBox::mouseDoubleClickEvent(QMouseEvent* Event) {
    const QPointer<TPicBox> Alive(this);
    if (Event->button() == Qt::LeftButton && OnDblClick) {
        OnDblClick(this);
    }
    if (Alive) {
        mousePressEvent(Event);
    }
}

void TPicBox::contextMenuEvent(QContextMenuEvent* Event) {
    if (FPopupMenu != nullptr) {
        FPopupMenu->popup(Event->globalPos());
        return;
    }
    Event->ignore();
}
