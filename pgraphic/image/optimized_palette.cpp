// Building a palette of at most Count colours for the colours of another image: median cut over
// a 5-6-5 histogram for true-colour sources, an octree over the used palette entries otherwise.

#include "pgraphic/image/median_cut.h"
#include "pgraphic/image/octree.h"
#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>

namespace {

constexpr int kSystemColors = 16;

} // namespace

void TPixelGraphic::CreateOptimizedPalette(const TPixelGraphic& Source, int Count, bool AddSys16) {
    Flush();
    const int N = AddSys16 ? Count - kSystemColors : Count;
    if (Source.Width() == 0 || Source.Height() == 0 || Source.IsEmpty() || N < 1) {
        SetPaletteIdent(pSys16);
        SetPaletteCount(std::min(Count, kSystemColors));
        return;
    }
    SetPaletteCount(0);

    // Counting runs over the source rows with this image's progress event; Abort keeps the rows
    // counted so far.
    const TPGProgress Progress(*this, this);
    const auto RowDone = [&Progress, &Source](int Row) {
        return Progress.Aborted(Row, Source.Height() - 1);
    };
    const std::vector<TColor> Colors = Source.BitCount() == bc24
                                           ? MedianCutPalette(Source, N, RowDone)
                                           : OctreePalette(Source, N, RowDone);
    SetPaletteCount(static_cast<int>(Colors.size()));
    for (std::size_t I = 0; I < Colors.size(); ++I) {
        SetPaletteColors(static_cast<int>(I), Colors[I]);
    }
    if (AddSys16) {
        const auto Sys16 = FixedPalette(pSys16);
        for (int I = 0; I < kSystemColors && PaletteCount() < Count; ++I) {
            SetPaletteCount(PaletteCount() + 1);
            SetPaletteColors(PaletteCount() - 1, Sys16[static_cast<std::size_t>(I)]);
        }
    }
}
