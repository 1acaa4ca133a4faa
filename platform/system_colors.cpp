#include "platform/system_colors.h"

#include <array>
#include <mutex>
#include <utility>

namespace {

// The classic scheme, by system colour index.
constexpr std::array<TColor, 29> kClassicColors = {
    RGB(192, 192, 192), // 0 scroll bar
    RGB(0, 128, 128),   // 1 desktop
    RGB(0, 0, 128),     // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(192, 192, 192), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0),       // 6 window frame
    RGB(0, 0, 0),       // 7 menu text
    RGB(0, 0, 0),       // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(192, 192, 192), // 10 active border
    RGB(192, 192, 192), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(0, 0, 128),     // 13 highlight
    RGB(255, 255, 255), // 14 highlighted text
    RGB(192, 192, 192), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(192, 192, 192), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(0, 0, 0),       // 21 3D dark shadow
    RGB(192, 192, 192), // 22 3D light
    RGB(0, 0, 0),       // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(0, 0, 0),       // 25 (unused)
    RGB(0, 0, 255),     // 26 hot-tracked item
    RGB(16, 132, 208),  // 27 active caption gradient
    RGB(181, 181, 181), // 28 inactive caption gradient
};

std::mutex GSourceLock;
TSysColorSource GSource;

} // namespace

TColor GetSysColor(int Index) {
    TSysColorSource Source;
    {
        const std::lock_guard Guard(GSourceLock);
        Source = GSource;
    }
    if (Source) {
        return Source(Index);
    }
    return Index >= 0 && static_cast<std::size_t>(Index) < kClassicColors.size()
               ? kClassicColors[static_cast<std::size_t>(Index)]
               : RGB(0, 0, 0);
}

TSysColorSource SetSysColorSource(TSysColorSource Source) {
    const std::lock_guard Guard(GSourceLock);
    std::swap(GSource, Source);
    return Source;
}

TColor ResolveSysColor(TColor Color) {
    return IsSystemColor(Color) ? GetSysColor(SystemColorIndex(Color)) : Color;
}
