#include "pgraphic/formats/color_resolution.h"

#include "pgraphic/image/pixel_graphic.h"

#include <array>

namespace {

constexpr std::array<const char*, 8> kTexts{
    "black and white", "2 colors",           "16 shades of gray", "16 system colors",
    "16 colors",       "256 shades of gray", "256 colors",        "16.7 million colors"};

// Per current code, the codes to try in order.
constexpr std::array<std::array<std::uint8_t, 8>, 8> kPreference{{
    {0, 1, 2, 3, 4, 5, 6, 7},
    {1, 4, 6, 7, 3, 0, 2, 5},
    {2, 4, 5, 6, 7, 3, 0, 1},
    {3, 4, 6, 7, 2, 5, 0, 1},
    {4, 6, 7, 3, 2, 5, 0, 1},
    {5, 6, 7, 2, 4, 3, 0, 1},
    {6, 7, 4, 3, 5, 2, 0, 1},
    {7, 6, 4, 3, 5, 2, 0, 1},
}};

} // namespace

std::string ColorResolutionText(TColorResolution Code) {
    return kTexts[Code];
}

TColorResolution ColorResolutionOf(const TPixelGraphic& Image) {
    switch (Image.BitCount()) {
    case bc1:
        return Image.PaletteIdent() == pBlackWhite ? crBlackWhite : cr2Colors;
    case bc4:
        return Image.PaletteIdent() == pGray16  ? crGray16
               : Image.PaletteIdent() == pSys16 ? crSys16
                                                : cr16Colors;
    case bc8:
        return Image.PaletteIdent() == pGray256 ? crGray256 : cr256Colors;
    case bc24:
        return crTrueColor;
    }
    return crTrueColor;
}

bool PreferredResolution(TColorResolution Current, TColorResolutions CanWrite,
                         TColorResolution& Result) {
    for (const std::uint8_t Code : kPreference[Current]) {
        if (Contains(CanWrite, static_cast<TColorResolution>(Code))) {
            Result = static_cast<TColorResolution>(Code);
            return true;
        }
    }
    return false;
}

void ConvertToResolution(const TPixelGraphic& Source, TColorResolution Code,
                         TPixelGraphic& Target) {
    Target.OnProgress = Source.OnProgress;
    Target.OnProgressStart = Source.OnProgressStart;
    Target.OnProgressEnd = Source.OnProgressEnd;
    switch (Code) {
    case crBlackWhite:
        Target.SetBitCount(bc1);
        Target.SetPaletteIdent(pBlackWhite);
        break;
    case cr2Colors:
        Target.SetBitCount(bc1);
        Target.CreateOptimizedPalette(Source, 2, false);
        break;
    case crGray16:
        Target.SetBitCount(bc4);
        Target.SetPaletteIdent(pGray16);
        break;
    case crSys16:
        Target.SetBitCount(bc4);
        Target.SetPaletteIdent(pSys16);
        break;
    case cr16Colors:
        Target.SetBitCount(bc4);
        Target.CreateOptimizedPalette(Source, 16, false);
        break;
    case crGray256:
        Target.SetBitCount(bc8);
        Target.SetPaletteIdent(pGray256);
        break;
    case cr256Colors:
        Target.SetBitCount(bc8);
        Target.CreateOptimizedPalette(Source, 252, true);
        break;
    case crTrueColor:
        Target.SetBitCount(bc24);
        break;
    }
    Target.SetSize(Source.Width(), Source.Height(), Target.BitCount());
    Target.StretchFrom(Source);
}
