#include "platform/qt/qt_color.h"

#include "platform/system_colors.h"

#include <QGuiApplication>

namespace {

// The palette entry that plays a system colour's part.
QColor SystemColorValue(int Index, const QPalette& P) {
    switch (Index) {
    case COLOR_SCROLLBAR:
    case COLOR_APPWORKSPACE:
    case COLOR_INACTIVECAPTION:
        return P.color(QPalette::Mid);
    case COLOR_BACKGROUND:
        return P.color(QPalette::Dark);
    case COLOR_3DDKSHADOW:
        return P.color(QPalette::Shadow);
    case COLOR_WINDOWFRAME:
        return P.color(QPalette::WindowText);
    case COLOR_ACTIVECAPTION:
    case COLOR_HIGHLIGHT:
        return P.color(QPalette::Highlight);
    case COLOR_MENU:
        return P.color(QPalette::Window);
    case COLOR_WINDOW:
        return P.color(QPalette::Base);
    case COLOR_MENUTEXT:
        return P.color(QPalette::WindowText);
    case COLOR_WINDOWTEXT:
        return P.color(QPalette::Text);
    case COLOR_CAPTIONTEXT:
    case COLOR_HIGHLIGHTTEXT:
        return P.color(QPalette::HighlightedText);
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
    case COLOR_BTNFACE:
        return P.color(QPalette::Button);
    case COLOR_BTNSHADOW:
        return P.color(QPalette::Dark);
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
        return Qt::black; // an unknown system colour, as the platform reports it
    }
}

} // namespace

QColor ToQColor(TColor Color) {
    return QColor::fromRgb(ToQRgb(ResolveSysColor(Color)));
}

QColor PaletteQColor(TColor Color, const QPalette& Palette) {
    if (IsSystemColor(Color)) {
        return SystemColorValue(SystemColorIndex(Color), Palette);
    }
    return QColor::fromRgb(ToQRgb(Color));
}

QColor PaletteQColor(TColor Color) {
    return PaletteQColor(Color, QGuiApplication::palette());
}

TColor ColorToRGB(TColor Color) {
    return IsSystemColor(Color) ? FromQColor(PaletteQColor(Color)) : Color;
}

TColor FromQColor(const QColor& Color) {
    const QColor Rgb = Color.toRgb();
    return RGB(Rgb.red(), Rgb.green(), Rgb.blue());
}
