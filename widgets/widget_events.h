#pragma once

#include <Qt>
#include <functional>

class TObject;

// A mouse button pressed or released over a control: which button, the modifier keys held and
// the point in the control's coordinates.
using TMouseEvent = std::function<void(TObject* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;
