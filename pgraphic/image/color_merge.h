#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <cstdint>
#include <vector>

// A group of pixels: the sums of their channels and their number.
struct TPGColorSum {
    std::uint64_t R = 0, G = 0, B = 0, Pixels = 0;

    // The group's colour: each channel's sum divided by the pixels, truncated.
    TColor Mean() const;
    void Add(const TPGColorSum& Other);
};

// At most Count colours for the groups: while there are more, the two groups whose colours are
// nearest (squared distance; the first pair in order on a tie) become one, in the place of the
// first. The colours of the groups that remain, in order.
std::vector<TColor> MergeClosestColors(std::vector<TPGColorSum> Groups, int Count);
