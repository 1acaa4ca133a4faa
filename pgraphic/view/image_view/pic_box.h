#pragma once

#include "core/color.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "pgraphic/image/pg_types.h"
#include "pgraphic/view/view_types.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class QMenu;
class QPainter;

// The picture box of an image view: a child widget whose rectangle is where the picture is shown.
// It paints no background, so the picture that the view paints beneath shows through; it only
// adds what its paint handlers draw (the selection frame, the user's own drawing).
//
// Its public events are the single handlers the view's PicBoxOn... properties set. The view's
// own parts follow the box through the listener events instead: they hear a press, a move and a
// paint before the public handler and a release after it, so that the public mouse-up handler
// still sees the drag the release ends. Coordinates are picture-box pixels.
class TPicBox : public QWidget, public TObject {
    Q_OBJECT

public:
    explicit TPicBox(QWidget* Parent);

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnPaint;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // The view's own parts follow these.
    TMulticastEvent<TObject*, TMouseButton, TShiftState, int, int> MouseDownListeners;
    TMulticastEvent<TObject*, TShiftState, int, int> MouseMoveListeners;
    TMulticastEvent<TObject*, TMouseButton, TShiftState, int, int> MouseUpListeners;
    TMulticastEvent<TObject*> PaintListeners;

    // The painter of the paint in progress (for the paint handlers), else none.
    QPainter* Canvas() const { return FCanvas; }

    // The colour of the empty picture box. Setting it ends ParentColor; with ParentColor the view
    // passes its own colour down through InheritColor.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value) { FParentColor = Value; }
    void InheritColor(TColor Value);

    // The cursor over the box when the view chooses none of its own; none: the view's.
    const std::optional<QCursor>& Cursor() const { return FCursor; }
    void SetCursor(std::optional<QCursor> Value) { FCursor = std::move(Value); }

    // The tool tip, shown when ShowHint (or, with ParentShowHint, the view's ShowHint) is on.
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value) { FParentShowHint = Value; }
    std::function<bool()> ParentShowHintSource;

    // Shown on a right click (not owned).
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* Value) { FPopupMenu = Value; }

    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    QPainter* FCanvas = nullptr;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    std::optional<QCursor> FCursor;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    QMenu* FPopupMenu = nullptr;
    std::intptr_t FTag = 0;
    bool FLeftPressed = false;
};

// The button and the keys and buttons held, as the mouse handlers take them.
std::optional<TMouseButton> PGMouseButtonOf(Qt::MouseButton Button);
TShiftState PGShiftStateOf(const QMouseEvent& Event);
