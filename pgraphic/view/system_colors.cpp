#include "pgraphic/view/system_colors.h"

#include <QPalette>
#include <array>

namespace {

struct TSystemRole {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// The palette roles that stand for the platform's colour indices 0 .. 24.
constexpr std::array<TSystemRole, 25> kRoles = {{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Window},          // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Mid},           // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Button},          // active border
    {QPalette::Active, QPalette::Button},          // inactive border
    {QPalette::Active, QPalette::Dark},            // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::Text},          // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3D light
    {QPalette::Active, QPalette::ToolTipText},     // tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // tooltip background
}};

} // namespace

QColor PGResolveColor(TColor Color, const QPalette& Palette) {
    if (Color >= 0) {
        return {GetRValue(Color), GetGValue(Color), GetBValue(Color)};
    }
    const auto Index = static_cast<std::size_t>(static_cast<std::uint32_t>(Color) & 0xFFu);
    if (Index >= kRoles.size()) {
        return Qt::black;
    }
    return Palette.color(kRoles[Index].Group, kRoles[Index].Role);
}
