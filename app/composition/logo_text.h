#pragma once

#include "app/settings/setting_values.h"
#include "core/color.h"

#include <span>
#include <string>
#include <string_view>

class TPixelGraphic;

// The texts of a logo: fitted to the picture by shrinking the font, word-wrapped in a box from
// x = 20 to x = 620, each line centred, placed at the top, middle or bottom, and drawn plain,
// with a drop shadow or raised ("3D"). Texts are UTF-8; CR LF starts a new line and "&" is drawn
// as itself.

// The font of a text: the family, colour, bold and italic of its logo's settings at Size points,
// which a text fitted to the picture takes on its own.
struct TFontInfo {
    const TLogoValues* Logo = nullptr;
    int Size = 0;
    bool operator==(const TFontInfo&) const = default;
};

// One text of a logo and the settings of the logo it is drawn with: font, colours, effect and,
// for a text alone, position.
struct TTextInfo {
    const TLogoValues* Logo = nullptr;
    std::string_view Text;
};

// Font sizes never shrink below this many points while a text is fitted.
constexpr int kSmallestFitSize = 1;

// Character height in pixels of Points at the screen's logical pixels per inch, rounded; at
// least 1.
int FontPixelSize(int Points);

// Height in pixels that Text takes in Image's box at font F; 0 for an empty text.
int MeasureText(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text);

// Draws Text in the box that starts at row Top with the effect of F's logo: Nothing in its text
// colour; Shadow first its shadow colour 2 pixels right and down, then the text colour; Raised
// first a light copy 1 pixel up and left, then a dark copy 1 pixel down and right, then the text
// colour. Only the glyphs are painted.
void DrawTextWithEffect(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text, int Top);

// Color moved Percent percent toward white (Percent > 0) or black (Percent <= 0), channel by
// channel, truncating; a system colour is resolved first.
TColor ShadeColor(TColor Color, int Percent);

// Fits, places and draws the texts of a logo on Image: one text, placed by its logo's position,
// or the question above the answer, centred as a block. Each starts at its logo's font size. One
// text shrinks while it is taller than 360 pixels and is placed 20 pixels from the top, centred,
// or 20 pixels from the bottom. Two texts shrink together while they are taller than 350 pixels
// together and stand with a gap of 10 pixels.
void DrawLogoText(TPixelGraphic& Image, std::span<const TTextInfo> Texts);
