#pragma once

#include "core/events.h"
#include "pgraphic/view/view_types.h"

#include <functional>

class QCursor;

// A handler may replace the cursor about to be shown.
using TPGSetCursorEvent = std::function<void(TObject* Sender, QCursor& Cursor)>;

// The events an image view publishes, each a single handler called only when assigned, with the
// view as Sender. The view's parts that fire them get this block, not the view.
struct TPGImageEvents {
    TPGINewAutoSizeEvent OnNewAutoSize;
    TNotifyEvent OnPaint;
    TNotifyEvent OnPainting;
    TNotifyEvent OnPixelGraphicChange;
    TPGProgressEvent OnPixelGraphicProgress;
    TNotifyEvent OnPixelGraphicProgressEnd;
    TNotifyEvent OnPixelGraphicProgressStart;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnSelectionMade;
    TPGSetCursorEvent OnSetCursor;
    TNotifyEvent OnZoomFactorChange;
    TPGSetCursorEvent PicBoxOnSetCursor;
    // Mouse events of the margins (the client area outside the picture box).
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
};
