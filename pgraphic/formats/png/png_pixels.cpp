#include "pgraphic/formats/png/png_pixels.h"

#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>

namespace png {

namespace {

bool IsColor(int ColorType) {
    return (ColorType & PNG_COLOR_MASK_COLOR) != 0 && (ColorType & PNG_COLOR_MASK_PALETTE) == 0;
}

// A sample of BitDepth bits scaled to 0..255.
std::uint8_t To8Bits(unsigned Sample, int BitDepth) {
    if (BitDepth == 16) {
        return static_cast<std::uint8_t>(Sample >> 8);
    }
    if (BitDepth >= 8) {
        return static_cast<std::uint8_t>(std::min(Sample, 255u));
    }
    const unsigned Max = (1u << BitDepth) - 1;
    return static_cast<std::uint8_t>(std::min(Sample, Max) * 255 / Max);
}

} // namespace

TImageFormat ImageFormatOf(int ColorType, int BitDepth) {
    if (IsColor(ColorType)) {
        return {bc24, pTrueColor, false};
    }
    const bool Palette = (ColorType & PNG_COLOR_MASK_PALETTE) != 0;
    switch (BitDepth) {
    case 1:
        return {bc1, Palette ? pUnknown : pBlackWhite, false};
    case 2:
        return {bc4, Palette ? pUnknown : pGray4, true};
    case 4:
        return {bc4, Palette ? pUnknown : pGray16, false};
    default:
        return {bc8, Palette ? pUnknown : pGray256, false};
    }
}

png_color_16 OutputBackground(TColor Color, int ColorType, int BitDepth) {
    png_color_16 Background{};
    Background.red = GetRValue(Color);
    Background.green = GetGValue(Color);
    Background.blue = GetBValue(Color);
    const unsigned Gray = (Background.red + Background.green + Background.blue) / 3u;
    if (ColorType == PNG_COLOR_TYPE_GRAY && BitDepth < 8) {
        const unsigned Max = (1u << BitDepth) - 1;
        Background.gray = static_cast<png_uint_16>((Gray * Max + 127) / 255);
    } else {
        Background.gray = static_cast<png_uint_16>(Gray);
    }
    return Background;
}

TColor FileBackgroundColor(const png_color_16& Background, int ColorType, int BitDepth) {
    if ((ColorType & PNG_COLOR_MASK_PALETTE) != 0) {
        return RGB(To8Bits(Background.red, 8), To8Bits(Background.green, 8),
                   To8Bits(Background.blue, 8)); // libpng fills in the palette entry
    }
    if (IsColor(ColorType)) {
        return RGB(To8Bits(Background.red, BitDepth), To8Bits(Background.green, BitDepth),
                   To8Bits(Background.blue, BitDepth));
    }
    const std::uint8_t Gray = To8Bits(Background.gray, BitDepth);
    return RGB(Gray, Gray, Gray);
}

void ExpandTwoBitRows(TPixelGraphic& Graphic) {
    const int Width = Graphic.Width();
    for (int Y = 0; Y < Graphic.Height(); ++Y) {
        std::uint8_t* Row = Graphic.ScanLine(Y);
        // Each 4-bit pixel lands on bits that held 2-bit pixels at or right of it, already read.
        for (int X = Width - 1; X >= 0; --X) {
            const auto UX = static_cast<std::size_t>(X);
            const auto Value = static_cast<std::uint8_t>((Row[UX / 4] >> (6 - 2 * (UX % 4))) & 3);
            std::uint8_t& Out = Row[UX / 2];
            if (UX % 2 == 0) {
                Out = static_cast<std::uint8_t>((Value << 4) | (X + 1 < Width ? Out & 0x0F : 0));
            } else {
                Out = static_cast<std::uint8_t>((Out & 0xF0) | Value);
            }
        }
    }
}

} // namespace png
