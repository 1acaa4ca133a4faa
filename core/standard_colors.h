#pragma once

#include "core/color.h"

#include <array>

// The sixteen standard colours in the platform's order: black, the six dark colours, silver,
// grey, the six bright colours and white. The system palettes begin with them, and a display of
// sixteen colours has exactly these as its solid pens.
constexpr std::array<TColor, 16> kStandardColors{
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
