#pragma once

#include "app/settings/setting_values.h"
#include "core/color.h"

#include <string>

class TPixelGraphic;

// The texts of a logo: fitted to the picture by shrinking the font, word-wrapped in a box from
// x = 20 to x = 620, each line centred, placed at the top, middle or bottom, and drawn plain,
// with a drop shadow or raised ("3D"). Texts are UTF-8; CR LF starts a new line and "&" is drawn
// as itself.

// The font of one text.
struct TFontInfo {
    std::string Name; // family
    int Size = 18;    // points
    TColor Color = 0;
    bool Bold = false;
    bool Italic = false;
};

// The texts of one logo: one text (Count 1) placed by Position, or the question above the
// answer (Count 2), the pair centred as a block.
struct TTextInfo {
    TPixelGraphic* Image = nullptr; // the logo to draw on
    TFontInfo Font1;
    TFontInfo Font2;
    std::string Text1;
    std::string Text2;
    TColor Shadow1 = 0;
    TColor Shadow2 = 0;
    TTextPosition Position = TTextPosition::Middle; // one text only
    TTextEffect Effect1 = TTextEffect::Shadow;
    TTextEffect Effect2 = TTextEffect::Shadow;
    int Count = 1;
};

// The font a logo's text is drawn in, as its settings ask for it.
TFontInfo FontOf(const TLogoValues& Values);

// Font sizes never shrink below this many points while a text is fitted.
constexpr int kSmallestFitSize = 1;

// Character height in pixels of Points at the screen's logical pixels per inch, rounded; at
// least 1.
int FontPixelSize(int Points);

// Height in pixels that Text takes in Image's box at font F; 0 for an empty text.
int MeasureText(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text);

// Draws Text in the box that starts at row Top with Effect: Nothing in F.Color; Shadow first
// ShadowColor 2 pixels right and down, then F.Color; Raised first a light copy 1 pixel up and
// left, then a dark copy 1 pixel down and right, then F.Color. Only the glyphs are painted.
void DrawTextWithEffect(TPixelGraphic& Image, const TFontInfo& F, TColor ShadowColor,
                        const std::string& Text, TTextEffect Effect, int Top);

// Color moved Percent percent toward white (Percent > 0) or black (Percent <= 0), channel by
// channel, truncating; a system colour is resolved first.
TColor ShadeColor(TColor Color, int Percent);

// Fits, places and draws the texts of T (sizes are fitted on copies of its fonts). One text
// shrinks while it is taller than 360 pixels and is placed 20 pixels from the top, centred, or
// 20 pixels from the bottom. Two texts shrink together while they are taller than 350 pixels
// together and are centred as a block with a gap of 10 pixels.
void DrawLogoText(const TTextInfo& T);
