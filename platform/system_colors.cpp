#include "platform/system_colors.h"

#include <array>

namespace {

constexpr std::int32_t Rgb(int R, int G, int B) {
    return R | (G << 8) | (B << 16);
}

// The classic scheme, by system colour index (scroll bar, desktop, active caption, ...).
constexpr std::array<std::int32_t, 29> kSystemColors = {
    Rgb(192, 192, 192), // 0 scroll bar
    Rgb(0, 128, 128),   // 1 desktop
    Rgb(0, 0, 128),     // 2 active caption
    Rgb(128, 128, 128), // 3 inactive caption
    Rgb(192, 192, 192), // 4 menu
    Rgb(255, 255, 255), // 5 window
    Rgb(0, 0, 0),       // 6 window frame
    Rgb(0, 0, 0),       // 7 menu text
    Rgb(0, 0, 0),       // 8 window text
    Rgb(255, 255, 255), // 9 caption text
    Rgb(192, 192, 192), // 10 active border
    Rgb(192, 192, 192), // 11 inactive border
    Rgb(128, 128, 128), // 12 application workspace
    Rgb(0, 0, 128),     // 13 highlight
    Rgb(255, 255, 255), // 14 highlighted text
    Rgb(192, 192, 192), // 15 button face
    Rgb(128, 128, 128), // 16 button shadow
    Rgb(128, 128, 128), // 17 grey text
    Rgb(0, 0, 0),       // 18 button text
    Rgb(192, 192, 192), // 19 inactive caption text
    Rgb(255, 255, 255), // 20 button highlight
    Rgb(0, 0, 0),       // 21 3D dark shadow
    Rgb(192, 192, 192), // 22 3D light
    Rgb(0, 0, 0),       // 23 tooltip text
    Rgb(255, 255, 225), // 24 tooltip background
    Rgb(0, 0, 0),       // 25 (unused)
    Rgb(0, 0, 255),     // 26 hot-tracked item
    Rgb(16, 132, 208),  // 27 active caption gradient
    Rgb(181, 181, 181), // 28 inactive caption gradient
};

} // namespace

std::int32_t ColorToRGB(std::int32_t Color) {
    if (Color >= 0) {
        return Color;
    }
    const auto Index = static_cast<std::uint32_t>(Color) & 0xFFU;
    return Index < kSystemColors.size() ? kSystemColors[Index] : 0;
}
