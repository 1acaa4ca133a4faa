#include "widgets/folder_glyph.h"

#include <QPainter>

QPixmap FolderGlyph() {
    QPixmap Glyph(16, 16);
    Glyph.fill(Qt::transparent);
    QPainter Painter(&Glyph);
    const QColor Edge(128, 128, 0);
    const QColor Body(255, 255, 0);
    const QColor Light(255, 255, 192);
    // The tab on the back, then the body in front.
    Painter.fillRect(QRect(QPoint(1, 2), QPoint(6, 3)), Edge);
    Painter.fillRect(QRect(QPoint(2, 3), QPoint(5, 3)), Body);
    Painter.fillRect(QRect(QPoint(0, 4), QPoint(15, 13)), Edge);
    Painter.fillRect(QRect(QPoint(1, 5), QPoint(14, 12)), Body);
    Painter.fillRect(QRect(QPoint(1, 5), QPoint(14, 5)), Light);
    Painter.fillRect(QRect(QPoint(1, 14), QPoint(15, 14)), Qt::black); // shadow below
    Painter.fillRect(QRect(QPoint(15, 5), QPoint(15, 14)), Qt::black);
    return Glyph;
}
