// Mapping a colour to the nearest palette index, for every kind of palette.

#include "pgraphic/image/nearest_lookup.h"
#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>

namespace {

constexpr std::size_t kCacheCells = 65536;
// The cache keeps one byte per cell; longer palettes are searched without it.
constexpr int kCacheMaxEntries = 256;

int SquaredDistance(TColor A, TColor B) {
    const int DR = GetRValue(A) - GetRValue(B);
    const int DG = GetGValue(A) - GetGValue(B);
    const int DB = GetBValue(A) - GetBValue(B);
    return DR * DR + DG * DG + DB * DB;
}

int Sys16Index(TColor Color) {
    const auto& Row = Sys16Candidates()[static_cast<std::size_t>(
        (GetRValue(Color) / 64) * 16 + (GetGValue(Color) / 64) * 4 + GetBValue(Color) / 64)];
    const auto Sys16 = FixedPalette(pSys16);
    const auto Dist = [&](int I) {
        return SquaredDistance(Color, Sys16[static_cast<std::size_t>(I)]);
    };
    int Result = Row[0];
    if (Row[1] != Row[0] && Dist(Row[1]) < Dist(Result)) {
        Result = Row[1];
    }
    if (Row[2] != Row[1] && Dist(Row[2]) < Dist(Result)) {
        Result = Row[2];
    }
    return Result;
}

int Special252Index(TColor Color) {
    const auto Palette = FixedPalette(pSpecial252);
    int Best = 0;
    int BestDist = std::numeric_limits<int>::max();
    for (const std::uint8_t I :
         Special252Candidates(GetRValue(Color), GetGValue(Color), GetBValue(Color))) {
        const int D = SquaredDistance(Color, Palette[I]);
        if (D < BestDist) {
            Best = I;
            BestDist = D;
        }
    }
    return Best;
}

int Special125Level(int V) {
    return ((V == 224 ? 225 : V) + 31) / 64;
}

} // namespace

int TPixelGraphic::NearestIndex(TColor Color) {
    return LookupNearestIndex(Color);
}

int TPixelGraphic::ComputeNearestIndex(TColor Color) {
    const auto Grey = [this, Color] { return GrayValue(Color, FConversion.RGBWeighting); };
    switch (FPaletteIdent) {
    case pNone:
        throw EPGNoPalette(TPGLangStrId::NoPalette);
    case pTrueColor:
        return Color;
    case pBlackWhite:
        return (Grey() + 1) / 384;
    case pSysGray4: {
        const int G = Grey();
        return G > 670 ? 3 : G > 480 ? 2 : G > 192 ? 1 : 0;
    }
    case pSys16:
        return Sys16Index(Color);
    case pGray4:
        return (Grey() + 127) / 255;
    case pGray16:
        return (Grey() + 25) / 51;
    case pGray236:
        return Gray236IndexForGray(Grey());
    case pGray256:
        return (Grey() + 1) / 3;
    case pSpecial125:
        return Special125Level(GetRValue(Color)) * 25 + Special125Level(GetGValue(Color)) * 5 +
               Special125Level(GetBValue(Color));
    case pSpecial216:
        return (GetRValue(Color) + 24) / 51 * 36 + (GetGValue(Color) + 24) / 51 * 6 +
               (GetBValue(Color) + 24) / 51;
    case pSpecial252:
        return Special252Index(Color);
    default:
        // Only a built cache serves the fast path of NearestIndex, and it is never built for a
        // palette whose indices a byte cannot hold.
        return FUseColorCache && PaletteCount() <= kCacheMaxEntries ? CachedNearestEntry(Color)
                                                                    : NearestEntry(Color);
    }
}

int TPixelGraphic::NearestEntry(TColor Color) const {
    if (FSearchStale) {
        FSearch.Assign(FPalette);
        FSearchStale = false;
    }
    return FSearch.Nearest(Color);
}

void TPixelGraphic::FreeColorCache() {
    FColorCache.clear();
    FColorCache.shrink_to_fit();
    FColorCacheValid.clear();
    FColorCacheValid.shrink_to_fit();
    FCacheRebuild = true;
    FSearchStale = true;
}

// Pre-fills the cache around every entry: for radius 0 to 4, each entry in index order claims
// the cells on the surface of the box of that radius around its own cell that are still free.
// The cells of one red and green value lie side by side in one word of the valid bits, so a run
// of blue values is claimed at once.
void TPixelGraphic::BuildColorCache() {
    FColorCache.assign(kCacheCells, 0);
    FColorCacheValid.assign(kCacheCells / 64, 0);
    const auto Claim = [this](std::size_t FirstCell, int Count, std::uint8_t Index) {
        std::uint64_t& Word = FColorCacheValid[FirstCell / 64];
        const std::uint64_t Run = ((1ULL << Count) - 1) << (FirstCell % 64); // Count <= 32
        std::uint64_t Free = Run & ~Word;
        Word |= Run;
        const std::size_t WordStart = FirstCell / 64 * 64;
        for (; Free != 0; Free &= Free - 1) {
            FColorCache[WordStart + static_cast<std::size_t>(std::countr_zero(Free))] = Index;
        }
    };
    for (int Radius = 0; Radius <= 4; ++Radius) {
        for (int I = 0; I < PaletteCount(); ++I) {
            const TColor C = FPalette[static_cast<std::size_t>(I)];
            const int R5 = GetRValue(C) / 8, G6 = GetGValue(C) / 4, B5 = GetBValue(C) / 8;
            const int BLow = std::max(B5 - Radius, 0), BHigh = std::min(B5 + Radius, 31);
            const auto Index = static_cast<std::uint8_t>(I);
            for (int R = std::max(R5 - Radius, 0); R <= std::min(R5 + Radius, 31); ++R) {
                const bool RFace = std::abs(R - R5) == Radius;
                for (int G = std::max(G6 - Radius, 0); G <= std::min(G6 + Radius, 63); ++G) {
                    const std::size_t Row = ColorCell(R, G, 0);
                    if (RFace || std::abs(G - G6) == Radius) {
                        Claim(Row + static_cast<std::size_t>(BLow), BHigh - BLow + 1, Index);
                        continue;
                    }
                    // Inside the box's red and green faces only its two blue faces are surface.
                    if (B5 - Radius >= 0) {
                        Claim(Row + static_cast<std::size_t>(B5 - Radius), 1, Index);
                    }
                    if (B5 + Radius <= 31) {
                        Claim(Row + static_cast<std::size_t>(B5 + Radius), 1, Index);
                    }
                }
            }
        }
    }
    FCacheRebuild = false;
}
