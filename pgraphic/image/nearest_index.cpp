// Mapping a colour to the nearest palette index, for every kind of palette.

#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
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

// Cell of a colour in the 5-6-5 lattice.
std::size_t ColorCell(int R5, int G6, int B5) {
    return static_cast<std::size_t>(R5 * 2048 + G6 * 32 + B5);
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

inline int TPixelGraphic::CachedNearestEntry(TColor Color) {
    if (FCacheRebuild) {
        BuildColorCache();
    }
    const std::size_t Cell =
        ColorCell(GetRValue(Color) / 8, GetGValue(Color) / 4, GetBValue(Color) / 8);
    std::uint64_t& Word = FColorCacheValid[Cell / 64];
    const std::uint64_t Bit = 1ULL << (Cell % 64);
    if ((Word & Bit) == 0) {
        FColorCache[Cell] = static_cast<std::uint8_t>(NearestEntry(Color));
        Word |= Bit;
    }
    return FColorCache[Cell];
}

int TPixelGraphic::NearestIndex(TColor Color) {
    if (!FMemoInvalid && FMemoColor == Color) {
        return FMemoIndex;
    }
    int Index;
    if (FPaletteIdent == pUnknown && FUseColorCache && !FCacheRebuild) {
        Index = CachedNearestEntry(Color); // the common case of copies into optimised palettes
    } else {
        Index = ComputeNearestIndex(Color);
    }
    FMemoColor = Color;
    FMemoIndex = Index;
    FMemoInvalid = false;
    return Index;
}

int TPixelGraphic::ComputeNearestIndex(TColor Color) {
    const auto Grey = [this, Color] { return GrayValue(Color, FRGBWeighting); };
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
void TPixelGraphic::BuildColorCache() {
    FColorCache.assign(kCacheCells, 0);
    FColorCacheValid.assign(kCacheCells / 64, 0);
    for (int Radius = 0; Radius <= 4; ++Radius) {
        for (int I = 0; I < PaletteCount(); ++I) {
            const TColor C = FPalette[static_cast<std::size_t>(I)];
            const int R5 = GetRValue(C) / 8, G6 = GetGValue(C) / 4, B5 = GetBValue(C) / 8;
            for (int R = std::max(R5 - Radius, 0); R <= std::min(R5 + Radius, 31); ++R) {
                const bool RFace = std::abs(R - R5) == Radius;
                for (int G = std::max(G6 - Radius, 0); G <= std::min(G6 + Radius, 63); ++G) {
                    const bool RGFace = RFace || std::abs(G - G6) == Radius;
                    for (int B = std::max(B5 - Radius, 0); B <= std::min(B5 + Radius, 31); ++B) {
                        if (!RGFace && std::abs(B - B5) != Radius) {
                            continue;
                        }
                        const std::size_t Cell = ColorCell(R, G, B);
                        std::uint64_t& Word = FColorCacheValid[Cell / 64];
                        const std::uint64_t Bit = 1ULL << (Cell % 64);
                        if ((Word & Bit) == 0) {
                            Word |= Bit;
                            FColorCache[Cell] = static_cast<std::uint8_t>(I);
                        }
                    }
                }
            }
        }
    }
    FCacheRebuild = false;
}
