#pragma once

#include "core/color.h"

#include <string>

// The values of the program's settings: the general ones and those of one logo, with the
// choices the logo pages offer. What each means for a logo's drawing is told where it is drawn
// (app/composition).

// How a text is drawn, as the effect radio group numbers the effects; Unselected (no item of the
// group selected) and any other value draw nothing.
enum class TTextEffect : int { Unselected = -1, Nothing = 0, Shadow = 1, Raised = 2 /* "3D" */ };

// Where a logo's one text stands, as the position strip numbers its buttons; Unselected (no
// button selected) and any other value place it in the middle.
enum class TTextPosition : int { Unselected = -1, Top = 0, Middle = 1, Bottom = 2 };

// The kinds of background, as the background radio group numbers them; Unselected (no item of
// the group selected) and any other value give a black background.
enum class TBackgroundKind : int { Unselected = -1, Single = 0, Degraded = 1, Bitmap = 2 };

// The general settings.
struct TGeneralValues {
    std::string TextFile;
    int OnlyOne = 0; // 0 both logos are made, 1 only the first, 2 only the second; as last read or
                     // saved (the logos' Only decide between those times)
    bool PreviewAsInstalled = false;
};

// The settings of one logo.
struct TLogoValues {
    static constexpr int kMinFontSize = 8;
    static constexpr int kMaxFontSize = 72;

    std::string FontName{};  // the font name as the file gives it, from which Font is selected
    std::string Font{};      // the font family selected; empty while none is
    int Size = kMinFontSize; // points
    TTextPosition Position = TTextPosition::Unselected;
    TColor TextColor = 0;
    TColor ShadowColor = 0;
    TTextEffect Effect = TTextEffect::Unselected;
    bool Bold = false;
    bool Italic = false;
    TColor SingleColor = 0;
    TColor GradientTop = 0;
    TColor GradientBottom = 0;
    std::string Bitmap{}; // the background picture's path
    TBackgroundKind Background = TBackgroundKind::Unselected;
    std::string Line{}; // the default text
    // This logo carries both texts and the other one is not made ("Use Only the first logo").
    bool Only = false;
};
