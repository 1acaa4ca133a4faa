#include "widgets/color_button_layout.h"

TColorButtonLayout ColorButtonLayout(QSize Client, bool Pressed, QSize ArrowSize) {
    QRect Content = QRect(QPoint(0, 0), Client).adjusted(3, 3, -3, -3);
    if (Pressed) {
        Content.translate(1, 1);
    }
    // Two pixels in from the sides and one from top and bottom; ten pixels on the right stay
    // for the separator and the arrow.
    const QRect Swatch = Content.adjusted(2, 1, -2 - 10, -1);
    const int SeparatorX = Swatch.right() + 1 + 3;
    const int ArrowX = SeparatorX + 3;
    const int ArrowY = Swatch.top() + Swatch.height() / 2 - ArrowSize.height() / 2;
    return {Content, Swatch, SeparatorX, {ArrowX, ArrowY}};
}
