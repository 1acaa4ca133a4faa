#include "pgraphic/view/image_view/ants_patterns.h"

#include "pgraphic/view/image_view/selection_geometry.h"

#include <QImage>

const QBrush& TPGAntsPatterns::Brush(int Index, const QColor& First, const QColor& Second) {
    auto& Slot = FBrushes[static_cast<std::size_t>(Index & 7)];
    if (!Slot) {
        QImage Cell(8, 8, QImage::Format_RGB32);
        for (int Y = 0; Y < 8; ++Y) {
            for (int X = 0; X < 8; ++X) {
                Cell.setPixel(X, Y, (PGAntsSecondColor(Index & 7, X, Y) ? Second : First).rgb());
            }
        }
        Slot = QBrush(Cell);
    }
    return *Slot;
}

void TPGAntsPatterns::Clear() {
    for (auto& Slot : FBrushes) {
        Slot.reset();
    }
}
