#include "widgets/palette_geometry.h"

#include "platform/qt/qt_color.h"

#include <algorithm>

bool IsPaletteCell(TPaletteCell Cell) {
    return Cell.Column >= 1 && Cell.Column <= kPaletteColumns && Cell.Row >= 1 &&
           Cell.Row <= kPaletteRows;
}

bool IsValidCell(TPaletteCell Cell) {
    return Cell == kOtherCell || IsPaletteCell(Cell);
}

QPoint PalettePosition(const QRect& ButtonOnScreen, const QRect& Screen) {
    const int Below = ButtonOnScreen.bottom() + 1;
    const int Top = Screen.y() + Screen.height() < Below + kPaletteWindowSize.height()
                        ? ButtonOnScreen.top() - kPaletteWindowSize.height()
                        : Below;
    return {ButtonOnScreen.left(), Top};
}

TPaletteCell CellAt(QPoint Point, QSize Client) {
    const int X = Point.x();
    const int Y = Point.y();
    if (X < 0 || Y < 0 || X >= Client.width() || Y >= Client.height()) {
        return kNoCell;
    }
    if (X >= Client.width() - 19 && X <= Client.width() - 1 && Y >= 96 && Y <= 113) {
        return kOtherCell;
    }
    const TPaletteCell Cell{X / kSwatchPitch + 1, Y / kSwatchPitch + 1};
    return IsPaletteCell(Cell) ? Cell : kNoCell;
}

QPoint SwatchOrigin(TPaletteCell Cell, int ClientWidth) {
    if (Cell == kOtherCell) {
        return {ClientWidth - 18, kOtherSwatchTop};
    }
    return {kSwatchPitch * Cell.Column - 16, kSwatchPitch * Cell.Row - 16};
}

TPaletteCell FindPaletteCell(const TColorArrayClass& Palette, TColor Color) {
    const TColor Wanted = ColorToRGB(Color);
    for (int C = 1; C <= std::min(Palette.Columns(), kPaletteColumns); ++C) {
        for (int R = 1; R <= std::min(Palette.Rows(), kPaletteRows); ++R) {
            if (ColorToRGB(Palette.Colors(C, R)) == Wanted) {
                return {C, R};
            }
        }
    }
    return kNoCell;
}
