#pragma once

#include "core/color.h"

#include <cstdint>

// Pixel format: 1, 4, 8 or 24 bits per pixel.
enum TPGBitCount : std::uint8_t { bc1, bc4, bc8, bc24 };

// Kind of palette. An image only ever holds the kinds up to pSpecial252; the last two are
// display choices of the view control.
enum TPaletteIdent : std::uint8_t {
    pNone,
    pTrueColor,
    pUnknown,
    pBlackWhite,
    pSysGray4,
    pSys16,
    pGray4,
    pGray16,
    pGray236,
    pGray256,
    pSpecial125,
    pSpecial216,
    pSpecial252,
    pOptimized252Sys16,
    pSource
};

// Resampling used when copying with scaling.
enum TStretchMode : std::uint8_t { smFast, smMedium, smPrecise };

// What a reader or writer does on a warning.
enum TPGWarningAction : std::uint8_t { pgwaIgnore, pgwaOKBox, pgwaOKCancelBox, pgwaRaise };
