#pragma once

#include <cstdint>

// A colour as 0x00BBGGRR (red in the low byte). Negative values name system colours (the high
// bit set, the colour's index in the low byte), which are resolved to RGB only when drawing.
using TColor = std::int32_t;

constexpr std::uint8_t GetRValue(TColor Color) {
    return static_cast<std::uint8_t>(Color);
}
constexpr std::uint8_t GetGValue(TColor Color) {
    return static_cast<std::uint8_t>(Color >> 8);
}
constexpr std::uint8_t GetBValue(TColor Color) {
    return static_cast<std::uint8_t>(Color >> 16);
}
constexpr TColor RGB(int R, int G, int B) {
    return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}

// The indexes of the system colours, in the platform's numbering.
enum TSystemColorIndex : std::uint8_t {
    COLOR_SCROLLBAR,
    COLOR_BACKGROUND,
    COLOR_ACTIVECAPTION,
    COLOR_INACTIVECAPTION,
    COLOR_MENU,
    COLOR_WINDOW,
    COLOR_WINDOWFRAME,
    COLOR_MENUTEXT,
    COLOR_WINDOWTEXT,
    COLOR_CAPTIONTEXT,
    COLOR_ACTIVEBORDER,
    COLOR_INACTIVEBORDER,
    COLOR_APPWORKSPACE,
    COLOR_HIGHLIGHT,
    COLOR_HIGHLIGHTTEXT,
    COLOR_BTNFACE,
    COLOR_BTNSHADOW,
    COLOR_GRAYTEXT,
    COLOR_BTNTEXT,
    COLOR_INACTIVECAPTIONTEXT,
    COLOR_BTNHIGHLIGHT,
    COLOR_3DDKSHADOW,
    COLOR_3DLIGHT,
    COLOR_INFOTEXT,
    COLOR_INFOBK
};

// The TColor that names a system colour.
constexpr TColor SystemColor(TSystemColorIndex Index) {
    return static_cast<TColor>(0x80000000u | Index);
}
constexpr bool IsSystemColor(TColor Color) {
    return Color < 0;
}
// Which system colour a negative TColor names (only its low byte counts).
constexpr int SystemColorIndex(TColor Color) {
    return Color & 0xFF;
}

constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
