#include "pgraphic/view/image_view/tiling.h"

namespace {

// Ceiling of a positive numerator over a positive divisor.
int CeilDiv(int Numerator, int Divisor) {
    return (Numerator + Divisor - 1) / Divisor;
}

} // namespace

TPGTileRange PGTileRange(int BoxStart, int Size, int ClientEnd, bool Tiled) {
    TPGTileRange Range;
    if (!Tiled || Size <= 0) {
        return Range;
    }
    if (BoxStart > 0) {
        Range.First = -CeilDiv(BoxStart, Size);
    }
    if (BoxStart + Size < ClientEnd) {
        Range.Last = (ClientEnd - BoxStart - 1) / Size;
    }
    return Range;
}

TPGMirror PGTileMirror(int Column, int Row, TTiling Tiling, bool FlipHorizontal,
                       bool FlipVertical) {
    // Odd also for negative indices.
    const bool OddColumn = Column % 2 != 0;
    const bool OddRow = Row % 2 != 0;
    const bool Horizontal =
        FlipHorizontal != ((Tiling == tMirrorHorizontal || Tiling == tMirror) && OddColumn);
    const bool Vertical =
        FlipVertical != ((Tiling == tMirrorVertical || Tiling == tMirror) && OddRow);
    return static_cast<TPGMirror>((Horizontal ? mHorizontal : mNone) |
                                  (Vertical ? mVertical : mNone));
}

std::vector<TPGTile> PGVisibleTiles(const TPGRect& Box, int ClientWidth, int ClientHeight,
                                    const TPGRect& Clip, TTiling Tiling, bool FlipHorizontal,
                                    bool FlipVertical) {
    std::vector<TPGTile> Tiles;
    const int W = Box.Width();
    const int H = Box.Height();
    // A display rectangle without extent (a very small zoom) shows no tiles.
    if (W <= 0 || H <= 0) {
        return Tiles;
    }
    const bool Tiled = Tiling != tNone;
    const TPGTileRange Rows = PGTileRange(Box.Top, H, ClientHeight, Tiled);
    const TPGTileRange Columns = PGTileRange(Box.Left, W, ClientWidth, Tiled);
    for (int Row = Rows.First; Row <= Rows.Last; ++Row) {
        const int Top = Box.Top + Row * H;
        if (Top + H < Clip.Top || Clip.Bottom < Top) {
            continue;
        }
        for (int Column = Columns.First; Column <= Columns.Last; ++Column) {
            const int Left = Box.Left + Column * W;
            if (Left + W < Clip.Left || Clip.Right < Left) {
                continue;
            }
            Tiles.push_back({Column,
                             Row,
                             {Left, Top, Left + W, Top + H},
                             PGTileMirror(Column, Row, Tiling, FlipHorizontal, FlipVertical)});
        }
    }
    return Tiles;
}

std::array<int, 4> PGMirrorCounts(const std::vector<TPGTile>& Tiles) {
    std::array<int, 4> Counts{};
    for (const TPGTile& Tile : Tiles) {
        ++Counts[Tile.Mirror];
    }
    return Counts;
}
