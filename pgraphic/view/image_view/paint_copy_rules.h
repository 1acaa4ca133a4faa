#pragma once

#include "pgraphic/image/pg_types.h"

#include <optional>

// When a view shows a prepared display copy of its picture instead of the picture itself, and in
// what format that copy is made. A copy is needed when the display has 8 bits per pixel or fewer
// and cannot show the picture's colours unchanged, or when the view resamples the picture itself
// (a stretch mode other than smFast) to a display size that differs from the picture's.

struct TPGPaintCopyQuery {
    int ImageBits = 24; // 1, 4, 8 or 24
    TPaletteIdent ImagePalette = pTrueColor;
    int ImageWidth = 0;
    int ImageHeight = 0;
    int BoxWidth = 0; // the display rectangle
    int BoxHeight = 0;
    int ScreenBits = 24;
    TStretchMode StretchMode = smFast;
    bool ReduceOnLoad = false;
    bool Invalid = false; // the prepared copy is out of date
    TPaletteIdent Palette8BitSys8BitGraphic = pOptimized252Sys16;
};

struct TPGPaintCopyNeed {
    bool Needed = false;
    bool Stretch = false; // the copy is to be resampled to the display size
};

TPGPaintCopyNeed PGPaintCopyNeed(const TPGPaintCopyQuery& Query);

// Whether a true-colour intermediate of the display size is made first, so that the palette is
// optimised for the resampled picture.
bool PGStretchFirst(bool Allow24BitStretch, bool Stretch, int ScreenBits,
                    TPaletteIdent Palette8BitSys24BitGraphic);

// The display copy's format: bit count, a fixed palette to set, or an optimised palette to
// compute, or the intermediate's palette to copy.
struct TPGPaintTargetFormat {
    TPGBitCount BitCount = bc24;
    std::optional<TPaletteIdent> PaletteIdent;
    bool OptimizePalette = false;
    bool CopyPalette = false;
};

TPGPaintTargetFormat PGPaintTargetFormat(int ScreenBits, TPGBitCount IntermediateBits,
                                         TPaletteIdent Palette8BitSys24BitGraphic,
                                         TPaletteIdent Palette8BitSys8BitGraphic);

// Colours of an optimised display palette: computed ones and the 16 system colours.
constexpr int kPGOptimizedDisplayColors = 252;
