#pragma once

#include "core/events.h"
#include "pgraphic/image/pg_types.h"

#include <cstdint>
#include <functional>

// Enumerations and event types of the image view control.

// How the picture is fitted into the control's area. KAR: keeping the aspect ratio.
enum TStretch : std::uint8_t {
    sNeverKAR,
    sAlways,
    sAlwaysKAR,
    sShrink,
    sShrinkKAR,
    sEnlarge,
    sEnlargeKAR,
    sAlwaysLongerEdgeKAR,
    sShrinkLongerEdgeKAR,
    sEnlargeShrinkLongerEdgeKAR,
    sEnlargeLongerEdgeKAR,
    sZoomKAR
};

// Repetition of the picture around its display rectangle.
enum TTiling : std::uint8_t { tNone, tRepeat, tMirrorHorizontal, tMirrorVertical, tMirror };

// What dragging with the left mouse button does.
enum TActionMode : std::uint8_t {
    amMoveImage,
    amMoveResizeCreateSelection,
    amMoveSelection,
    amMoveSelectionMoveImage,
    amNone
};

// The drag in progress while the left button is held.
enum TDragAction : std::uint8_t {
    daNone,
    daMoveImage,
    daMoveSelection,
    daCreateSelection,
    daSizeTopLeft,
    daSizeTop,
    daSizeTopRight,
    daSizeLeft,
    daSizeRight,
    daSizeBottomLeft,
    daSizeBottom,
    daSizeBottomRight
};

// The control's outline: none, or a single (sunken with Ctl3D) frame.
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// The palette kinds a view may choose for a 256-colour display: pBlackWhite .. pOptimized252Sys16
// for true-colour pictures, pBlackWhite .. pSource for palette pictures.
using TPalette8BitSys24BitGraphic = TPaletteIdent;
using TPalette8BitSys8BitGraphic = TPaletteIdent;
constexpr bool IsPalette8BitSys24BitGraphic(TPaletteIdent Value) {
    return Value >= pBlackWhite && Value <= pOptimized252Sys16;
}
constexpr bool IsPalette8BitSys8BitGraphic(TPaletteIdent Value) {
    return Value >= pBlackWhite && Value <= pSource;
}

// Both palette kinds, as a view and the picture open dialog hand them to their workers.
struct TPGDisplayPalettes {
    TPalette8BitSys24BitGraphic Palette8BitSys24BitGraphic = pOptimized252Sys16;
    TPalette8BitSys8BitGraphic Palette8BitSys8BitGraphic = pOptimized252Sys16;

    friend bool operator==(const TPGDisplayPalettes&, const TPGDisplayPalettes&) = default;
};

// A colour without the system-colour flag, 0 .. 0xFFFFFF.
using TRGB = std::int32_t;

// Mouse buttons and the keys and buttons held during a mouse event.
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// The size the control would need to show its picture unscaled (reported also without AutoSize).
using TPGINewAutoSizeEvent =
    std::function<void(TObject* Sender, int PGImageWidth, int PGImageHeight)>;
