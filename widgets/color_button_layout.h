#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a colour button draws its parts, for a client area of the given size. Rectangles are
// pixel sets (QRect's inclusive corners).
struct TColorButtonLayout {
    QRect Content;  // inside the frame; the focus rectangle goes here
    QRect Swatch;   // outlined and filled with the colour
    int SeparatorX; // the shadow line; the highlight line is beside it
    QPoint ArrowTopLeft;
};

// Pressed shifts the content by one pixel right and down.
TColorButtonLayout ColorButtonLayout(QSize Client, bool Pressed, QSize ArrowSize);
