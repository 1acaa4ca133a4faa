#pragma once

#include "pgraphic/view/view_rect.h"

#include <QRect>

// Rectangles between the window-free geometry and the toolkit.

inline QRect ToQRect(const TPGRect& R) {
    return {R.Left, R.Top, R.Width(), R.Height()};
}

inline TPGRect ToRect(const QRect& R) {
    return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
}
