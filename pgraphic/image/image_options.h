#pragma once

#include "pgraphic/image/pg_types.h"

#include <cstdint>

// Option groups of an image that travel together: an image copies them whole from another, and
// whoever prepares an image for a conversion hands them over whole.

// How an image takes in colours and pixels from another: error diffusion into a palette and its
// limit, the weighting of grey values, and the resampling of scaled copies.
struct TPGConversionOptions {
    bool Dither = true;
    std::uint8_t DitherErrorLimit = 32;
    bool DitherErrorLimitAuto = true;
    bool DitherErrorLimitSoft = true;
    bool RGBWeighting = true;
    TStretchMode StretchMode = smPrecise;

    friend bool operator==(const TPGConversionOptions&, const TPGConversionOptions&) = default;
};

// What a reader's warning and a save with fewer colours than the image has do.
struct TPGWarningOptions {
    TPGWarningAction ReadWarningAction = pgwaOKCancelBox;
    TPGWarningAction SaveColorResWarningAction = pgwaOKCancelBox;

    friend bool operator==(const TPGWarningOptions&, const TPGWarningOptions&) = default;
};
