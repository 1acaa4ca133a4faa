#pragma once

#include <Qt>
#include <functional>

class TObject;

// A mouse button pressed or released over a control: which button, the modifier keys held and
// the point in the control's coordinates. (Named apart from the image view's TMouseEvent, which
// carries the view's own button and shift types, so that a window can use both.)
using TWidgetMouseEvent = std::function<void(TObject* Sender, Qt::MouseButton Button,
                                             Qt::KeyboardModifiers Shift, int X, int Y)>;
