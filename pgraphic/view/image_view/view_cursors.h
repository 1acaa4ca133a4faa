#pragma once

#include <QCursor>
#include <cstdint>

// The view control's own mouse cursors, 32 x 32 and monochrome, drawn here and created once per
// application.
enum TPGCursorKind : std::uint8_t {
    crPGOpenHand,   // the picture can be grabbed (hot spot 16, 12)
    crPGClosedHand, // the picture is being dragged (16, 12)
    crPGCross,      // a selection can be drawn: a thin cross in black and white dashes (15, 15)
    crPGMoveArrow   // the selection can be moved: a four-headed arrow (16, 15)
};

const QCursor& PGCursor(TPGCursorKind Kind);
