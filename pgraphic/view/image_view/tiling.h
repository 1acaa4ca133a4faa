#pragma once

#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <array>
#include <vector>

// The tiles that show a picture: its display rectangle, repeated (and mirrored) over the client
// area when tiling is on.

// Mirroring of one tile's picture.
enum TPGMirror : std::uint8_t { mNone, mHorizontal, mVertical, mBoth };

struct TPGTile {
    int Column = 0;
    int Row = 0;
    TPGRect Rect;
    TPGMirror Mirror = mNone;
};

// The columns (or rows) First .. Last of tiles of extent Size starting at BoxStart that cover the
// client area 0 .. ClientEnd; only 0 without tiling. Size must be positive.
struct TPGTileRange {
    int First = 0;
    int Last = 0;
};
TPGTileRange PGTileRange(int BoxStart, int Size, int ClientEnd, bool Tiled);

// The mirroring of the tile in Column and Row: the flips apply to every tile; the mirror modes
// turn odd columns (rows) around once more.
TPGMirror PGTileMirror(int Column, int Row, TTiling Tiling, bool FlipHorizontal, bool FlipVertical);

// Every tile of the display rectangle Box in a client area of ClientWidth x ClientHeight that
// touches Clip (edges included), row by row. None for an empty Box.
std::vector<TPGTile> PGVisibleTiles(const TPGRect& Box, int ClientWidth, int ClientHeight,
                                    const TPGRect& Clip, TTiling Tiling, bool FlipHorizontal,
                                    bool FlipVertical);

// Mirrored copies pay off only for a variant that more than this many tiles show.
constexpr int kPGMirrorCopyThreshold = 2;

// How many tiles show each mirror variant (indexed by TPGMirror).
std::array<int, 4> PGMirrorCounts(const std::vector<TPGTile>& Tiles);
