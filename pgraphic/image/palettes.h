#pragma once

#include "pgraphic/image/pg_types.h"

#include <array>
#include <cstdint>
#include <span>

// The fixed palettes an image can hold, and the lookup tables that map colours into them.

// Entries of a fixed palette kind (pBlackWhite .. pSpecial252); empty for every other kind.
std::span<const TColor> FixedPalette(TPaletteIdent Kind);

// Index into the 236-step grey palette for a grey sum (0..765): the entry whose level is nearest
// to Grey / 3, the lower index on a tie.
int Gray236IndexForGray(int Grey);

// Three candidate entries of the 16 system colours per key
// (R div 64) * 16 + (G div 64) * 4 + (B div 64).
const std::array<std::array<std::uint8_t, 3>, 64>& Sys16Candidates();

// The entries of the 252-colour palette that can be nearest to some colour of the lattice cell
// ((R + 16) div 32, (G + 16) div 32, (B + 16) div 32), in index order.
std::span<const std::uint8_t> Special252Candidates(int R, int G, int B);
