#include "pgraphic/view/system_colors.h"

#include <QPalette>

namespace {

// The palette entry that plays a system colour's part (as the form widgets resolve them).
QColor SystemColorValue(int Index, const QPalette& P) {
    switch (Index) {
    case COLOR_SCROLLBAR:
    case COLOR_APPWORKSPACE:
    case COLOR_INACTIVECAPTION:
        return P.color(QPalette::Mid);
    case COLOR_BACKGROUND:
    case COLOR_BTNSHADOW:
        return P.color(QPalette::Dark);
    case COLOR_3DDKSHADOW:
        return P.color(QPalette::Shadow);
    case COLOR_WINDOWFRAME:
    case COLOR_MENUTEXT:
        return P.color(QPalette::WindowText);
    case COLOR_ACTIVECAPTION:
    case COLOR_HIGHLIGHT:
        return P.color(QPalette::Highlight);
    case COLOR_MENU:
        return P.color(QPalette::Window);
    case COLOR_WINDOW:
        return P.color(QPalette::Base);
    case COLOR_WINDOWTEXT:
        return P.color(QPalette::Text);
    case COLOR_CAPTIONTEXT:
    case COLOR_HIGHLIGHTTEXT:
        return P.color(QPalette::HighlightedText);
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
    case COLOR_BTNFACE:
        return P.color(QPalette::Button);
    case COLOR_GRAYTEXT:
    case COLOR_INACTIVECAPTIONTEXT:
        return P.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT:
        return P.color(QPalette::ButtonText);
    case COLOR_BTNHIGHLIGHT:
        return P.color(QPalette::Light);
    case COLOR_3DLIGHT:
        return P.color(QPalette::Midlight);
    case COLOR_INFOTEXT:
        return P.color(QPalette::ToolTipText);
    case COLOR_INFOBK:
        return P.color(QPalette::ToolTipBase);
    default:
        return Qt::black;
    }
}

} // namespace

QColor PGResolveColor(TColor Color, const QPalette& Palette) {
    if (IsSystemColor(Color)) {
        return SystemColorValue(SystemColorIndex(Color), Palette);
    }
    return {GetRValue(Color), GetGValue(Color), GetBValue(Color)};
}
