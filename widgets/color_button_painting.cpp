#include "widgets/color_button_painting.h"

#include "widgets/palette_geometry.h"

namespace {

const QColor kBevelGray{128, 128, 128};
const QColor kBevelLight{223, 223, 223};

void HorizontalLine(QPainter& Painter, int X1, int X2, int Y, const QColor& Color) {
    Painter.fillRect(QRect(QPoint(X1, Y), QPoint(X2, Y)), Color);
}

void VerticalLine(QPainter& Painter, int X, int Y1, int Y2, const QColor& Color) {
    Painter.fillRect(QRect(QPoint(X, Y1), QPoint(X, Y2)), Color);
}

// A sunken edge through the square from (L, T) to (L + Size - 1, T + Size - 1).
void SunkenEdge(QPainter& Painter, int L, int T, int Size, const QColor& TopLeft,
                const QColor& BottomRight) {
    const int R = L + Size - 1;
    const int B = T + Size - 1;
    HorizontalLine(Painter, L, R - 1, T, TopLeft);
    VerticalLine(Painter, L, T, B - 1, TopLeft);
    HorizontalLine(Painter, L, R, B, BottomRight);
    VerticalLine(Painter, R, T, B, BottomRight);
}

} // namespace

void DrawOutline(QPainter& Painter, QPoint TopLeft, QPoint BottomRight, const QColor& Color) {
    HorizontalLine(Painter, TopLeft.x(), BottomRight.x(), TopLeft.y(), Color);
    HorizontalLine(Painter, TopLeft.x(), BottomRight.x(), BottomRight.y(), Color);
    VerticalLine(Painter, TopLeft.x(), TopLeft.y(), BottomRight.y(), Color);
    VerticalLine(Painter, BottomRight.x(), TopLeft.y(), BottomRight.y(), Color);
}

void PaintSwatch(QPainter& Painter, QPoint Origin, const QColor& Fill, bool Highlighted,
                 const QPalette& Palette) {
    const int X = Origin.x();
    const int Y = Origin.y();
    const QColor Around = Highlighted ? QColor(Qt::black) : Palette.color(QPalette::Button);
    DrawOutline(Painter, {X - 1, Y - 1}, {X + kSwatchSize, Y + kSwatchSize}, Around);
    if (Highlighted) {
        DrawOutline(Painter, {X + 1, Y + 1}, {X + 14, Y + 14}, Qt::black);
        DrawOutline(Painter, {X, Y}, {X + 15, Y + 15}, Qt::white);
    } else {
        SunkenEdge(Painter, X, Y, kSwatchSize, kBevelGray, Qt::white);
        SunkenEdge(Painter, X + 1, Y + 1, kSwatchSize - 2, Qt::black, kBevelLight);
    }
    Painter.fillRect(QRect(X + 2, Y + 2, 12, 12), Fill);
}

void PaintPaletteSeparator(QPainter& Painter, int ClientWidth, const QPalette& Palette) {
    HorizontalLine(Painter, 2, ClientWidth - 3, kSeparatorTop, Palette.color(QPalette::Dark));
    HorizontalLine(Painter, 2, ClientWidth - 3, kSeparatorTop + 1, Palette.color(QPalette::Light));
}

void DrawDropDownArrow(QPainter& Painter, QPoint TopLeft, const QColor& Color) {
    for (int Row = 0; Row < kDropDownArrowSize.height(); ++Row) {
        HorizontalLine(Painter, TopLeft.x() + Row,
                       TopLeft.x() + kDropDownArrowSize.width() - 1 - Row, TopLeft.y() + Row,
                       Color);
    }
}
