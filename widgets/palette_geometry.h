#pragma once

#include "widgets/color_array.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Where things lie on a colour button's palette popup. The popup is a 78 x 121 window whose
// 3-pixel dialog frame leaves a 72 x 115 client area; positions below are client coordinates.

constexpr QSize kPaletteWindowSize{78, 121};
constexpr int kPaletteFrame = 3;
constexpr QSize kPaletteClientSize{kPaletteWindowSize.width() - 2 * kPaletteFrame,
                                   kPaletteWindowSize.height() - 2 * kPaletteFrame};
constexpr int kPaletteColumns = 4;
constexpr int kPaletteRows = 5;
constexpr int kSwatchPitch = 18;
constexpr int kSwatchSize = 16;
constexpr int kOtherSwatchTop = 97;
constexpr int kSeparatorTop = 93;
// The "Other" button: left, top, width, height.
constexpr QRect kOtherButtonRect{1, 97, 50, 18};

// A swatch: (column, row) in 1..4 x 1..5, (0, 0) for the other-colour swatch, or none.
struct TPaletteCell {
    int Column = -1;
    int Row = -1;
    bool operator==(const TPaletteCell&) const = default;
};
constexpr TPaletteCell kNoCell{};
constexpr TPaletteCell kOtherCell{0, 0};
bool IsPaletteCell(TPaletteCell Cell);
bool IsValidCell(TPaletteCell Cell); // a palette cell or the other-colour swatch

// The popup's top-left on the screen: below the button, or above it when the screen ends first.
QPoint PalettePosition(const QRect& ButtonOnScreen, const QRect& Screen);

// The cell under a client point: column x div 18 + 1, row y div 18 + 1; the other-colour swatch
// for x from width - 19 to width - 1 and y from 96 to 113; none outside the grid or the client.
TPaletteCell CellAt(QPoint Point, QSize Client);

// Top-left of a cell's 16 x 16 box: (18c - 16, 18r - 16), the other swatch at (width - 18, 97).
QPoint SwatchOrigin(TPaletteCell Cell, int ClientWidth);

// The first cell, column by column, whose colour shows the same RGB as Color (system colours
// resolved); none when no cell does.
TPaletteCell FindPaletteCell(const TColorArrayClass& Palette, TColor Color);
