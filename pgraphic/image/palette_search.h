#pragma once

#include "pgraphic/image/pg_types.h"

#include <cstdint>
#include <vector>

// Exact nearest-entry search in an arbitrary palette: the entry at least squared RGB distance,
// the lowest index on a tie. The channels are kept apart so the distances of all entries are
// computed in one vectorisable pass.
class TPGPaletteSearch {
public:
    void Assign(const std::vector<TColor>& Palette);
    int Nearest(TColor Color) const;

private:
    int FCount = 0;
    std::vector<std::int32_t> FRed, FGreen, FBlue; // padded to a multiple of 8 entries
};
