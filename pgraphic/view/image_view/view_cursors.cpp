#include "pgraphic/view/image_view/view_cursors.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <memory>

namespace {

constexpr int kSize = 32;

QBitmap Blank() {
    QBitmap Bitmap(kSize, kSize);
    Bitmap.clear();
    return Bitmap;
}

// A white shape with a black outline: the mask covers shape and outline, the image bits only
// the outline.
QCursor OutlinedShape(const QPainterPath& Shape, int HotX, int HotY) {
    QBitmap Bits = Blank();
    QBitmap Mask = Blank();
    {
        QPainter P(&Mask);
        P.setPen(QPen(Qt::color1, 1));
        P.setBrush(Qt::color1);
        P.drawPath(Shape);
    }
    {
        QPainter P(&Bits);
        P.setPen(QPen(Qt::color1, 1));
        P.setBrush(Qt::NoBrush);
        P.drawPath(Shape);
    }
    return {Bits, Mask, HotX, HotY};
}

// A black shape with a white rim, readable on any picture.
QCursor RimmedShape(const QPainterPath& Shape, int HotX, int HotY) {
    QBitmap Bits = Blank();
    QBitmap Mask = Blank();
    {
        QPainter P(&Mask);
        P.setPen(QPen(Qt::color1, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        P.setBrush(Qt::color1);
        P.drawPath(Shape);
    }
    {
        QPainter P(&Bits);
        P.setPen(Qt::NoPen);
        P.setBrush(Qt::color1);
        P.drawPath(Shape);
    }
    return {Bits, Mask, HotX, HotY};
}

QPainterPath RoundedRect(qreal X, qreal Y, qreal W, qreal H, qreal Radius) {
    QPainterPath Path;
    Path.addRoundedRect(QRectF(X, Y, W, H), Radius, Radius);
    return Path;
}

// A hand seen from its back: four fingers above the palm, the thumb to the left. Closed, the
// fingers are curled down to short stubs and the thumb lies against the palm.
QPainterPath Hand(bool Closed) {
    QPainterPath Shape = RoundedRect(9.5, 13.5, 15, 13, 4);
    const qreal FingerTop = Closed ? 10.5 : 3.5;
    const std::array<qreal, 4> FingerTops = {FingerTop + 2, FingerTop, FingerTop + 1,
                                             FingerTop + 3};
    for (int I = 0; I < 4; ++I) {
        const qreal Top = FingerTops[static_cast<std::size_t>(I)];
        Shape = Shape.united(RoundedRect(9.5 + I * 4, Top, 3, 17 - Top, 1.5));
    }
    QPainterPath Thumb;
    if (Closed) {
        Thumb = RoundedRect(6.5, 15.5, 5, 6, 2);
    } else {
        Thumb.moveTo(10, 18);
        Thumb.lineTo(5.5, 13.5);
        Thumb.lineTo(3.5, 15.5);
        Thumb.lineTo(9.5, 23.5);
        Thumb.closeSubpath();
    }
    return Shape.united(Thumb).simplified();
}

QPainterPath MoveArrow() {
    // Shafts through the hot spot and an arrow head at each end.
    QPainterPath Shape;
    Shape.addRect(QRectF(6, 14, 21, 3));
    Shape.addRect(QRectF(15, 5, 3, 21));
    QPainterPath Heads;
    const QPolygonF Left({QPointF(2, 15.5), QPointF(7, 10.5), QPointF(7, 20.5)});
    const QPolygonF Right({QPointF(31, 15.5), QPointF(26, 10.5), QPointF(26, 20.5)});
    const QPolygonF Up({QPointF(16.5, 1), QPointF(11.5, 6), QPointF(21.5, 6)});
    const QPolygonF Down({QPointF(16.5, 30), QPointF(11.5, 25), QPointF(21.5, 25)});
    for (const QPolygonF& Head : {Left, Right, Up, Down}) {
        Heads.addPolygon(Head);
        Heads.closeSubpath();
    }
    return Shape.united(Heads).simplified();
}

// A thin cross through (15, 15) with a gap of five pixels at its centre, in dashes of two pixels
// that alternate between black and white.
QCursor DashedCross() {
    QBitmap Bits = Blank();
    QBitmap Mask = Blank();
    QPainter PM(&Mask);
    QPainter PB(&Bits);
    PM.setPen(Qt::color1);
    PB.setPen(Qt::color1);
    constexpr int Centre = 15;
    for (int I = 0; I < kSize - 1; ++I) {
        if (I >= Centre - 2 && I <= Centre + 2) {
            continue;
        }
        const bool Black = (I / 2) % 2 == 0;
        for (const QPoint Point : {QPoint(I, Centre), QPoint(Centre, I)}) {
            PM.drawPoint(Point);
            if (Black) {
                PB.drawPoint(Point);
            }
        }
    }
    PM.end();
    PB.end();
    return {Bits, Mask, Centre, Centre};
}

std::unique_ptr<std::array<QCursor, 4>>& Cursors() {
    static std::unique_ptr<std::array<QCursor, 4>> Made;
    return Made;
}

// Cursors hold pixmaps, which must go before the application does.
void FreeCursors() {
    Cursors().reset();
}

} // namespace

const QCursor& PGCursor(TPGCursorKind Kind) {
    auto& Made = Cursors();
    if (!Made) {
        Made = std::make_unique<std::array<QCursor, 4>>(std::array<QCursor, 4>{
            OutlinedShape(Hand(false), 16, 12), OutlinedShape(Hand(true), 16, 12), DashedCross(),
            RimmedShape(MoveArrow(), 16, 15)});
        qAddPostRoutine(FreeCursors);
    }
    return (*Made)[Kind];
}
