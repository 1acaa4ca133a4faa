#pragma once

#include <QBrush>
#include <QColor>
#include <array>
#include <optional>

// The eight brushes of the marching ants: 8 x 8 cells of diagonal bands in two colours, each
// shifted by one pixel against the one before. Built on first use, dropped when a colour changes.
class TPGAntsPatterns {
public:
    // Pattern Index (0..7) in the colours First and Second.
    const QBrush& Brush(int Index, const QColor& First, const QColor& Second);
    void Clear();

private:
    std::array<std::optional<QBrush>, 8> FBrushes;
};
