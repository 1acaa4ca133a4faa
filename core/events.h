#pragma once

#include <functional>

class TObject;

// Event types. A handler is called only when assigned, always with the sender first.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Progress of a long operation: Step of Max done; setting Abort stops the operation after the
// current unit of work (usually one row).
using TPGProgressEvent = std::function<void(TObject* Sender, int Step, int Max, bool& Abort)>;
