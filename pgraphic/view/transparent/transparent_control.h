#pragma once

#include <QColor>

class QEvent;
class QWidget;

// What the controls that let the picture behind them show through have in common: the
// Transparent switch with the colour filled in when it is off, and the invalidation that keeps
// transparent parents and children repainted together.
//
// Qt already composes a widget that fills no background of its own over whatever lies below it,
// and repaints the parent under such a widget when it moves or repaints. What Qt does not know is
// that a transparent container shows its transparent children's parent as well: a change of a
// control under a transparent parent repaints the whole parent (and so up the chain), and a
// container's change repaints its transparent children.
class TPGTransparentControl {
public:
    TPGTransparentControl(const TPGTransparentControl&) = delete;
    TPGTransparentControl& operator=(const TPGTransparentControl&) = delete;
    virtual ~TPGTransparentControl() = default;

    // On by default; off, the control fills its background with Color.
    bool Transparent() const { return FTransparent; }

    // Repaints the control. Under a transparent parent the whole parent is invalidated first;
    // a container then also invalidates its transparent children. A call that arrives while the
    // control is already being invalidated (a parent reaching back to its children, a child
    // reaching up to its parent) returns at once, so chains of transparent controls neither loop
    // nor invalidate each other over and over.
    virtual void Invalidate();

protected:
    // Self is the widget that derives from this class (its `this`). Containers pass
    // InvalidatesChildren.
    explicit TPGTransparentControl(QWidget* Self, bool InvalidatesChildren = false);

    void SetTransparent(bool Value);
    // The background colour (the palette's colour of the widget's background role).
    QColor Color() const;
    void SetColor(const QColor& Value);

    // To be called from the widget's event(): invalidates after a move, a resize or a change of
    // font, palette, enabled state or style.
    void InvalidateOnChange(const QEvent& Event);

private:
    QWidget& FSelf;
    bool FInvalidatesChildren;
    bool FTransparent = true;
    bool FInvalidating = false;
};

// Whether Control lets what lies behind it show through: a TPGLabel, TPGCheckBox,
// TPGRadioButton, TPGGroupBox or TPGPanel whose Transparent is on, or any TPGBevel. False for
// every other widget and for none.
bool IsTransparentControl(const QWidget* Control);

// Invalidates every direct child of Parent for which IsTransparentControl is true, so that it
// repaints over Parent's new look. Containers call it after invalidating themselves.
void InvalidateTransparentChildren(const QWidget& Parent);
