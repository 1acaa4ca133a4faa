#include "pgraphic/image/palette_search.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr std::size_t kLanes = 8;
constexpr std::size_t kMaxFast = 256;
// Padding entries lie so far away that they never win.
constexpr std::int32_t kFarAway = 10000;

} // namespace

void TPGPaletteSearch::Assign(const std::vector<TColor>& Palette) {
    FCount = static_cast<int>(Palette.size());
    const std::size_t Padded = (Palette.size() + kLanes - 1) / kLanes * kLanes;
    FRed.assign(Padded, kFarAway);
    FGreen.assign(Padded, kFarAway);
    FBlue.assign(Padded, kFarAway);
    for (std::size_t I = 0; I < Palette.size(); ++I) {
        FRed[I] = GetRValue(Palette[I]);
        FGreen[I] = GetGValue(Palette[I]);
        FBlue[I] = GetBValue(Palette[I]);
    }
}

int TPGPaletteSearch::Nearest(TColor Color) const {
    const std::int32_t R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
    const std::size_t N = FRed.size();
    if (N == 0) {
        return 0;
    }
    if (N <= kMaxFast) {
        // Distances of all entries, their minimum, then the first entry at that distance.
        std::array<std::int32_t, kMaxFast> Distance;
        const std::int32_t* PR = FRed.data();
        const std::int32_t* PG = FGreen.data();
        const std::int32_t* PB = FBlue.data();
        for (std::size_t I = 0; I < N; ++I) {
            const std::int32_t DR = PR[I] - R, DG = PG[I] - G, DB = PB[I] - B;
            Distance[I] = DR * DR + DG * DG + DB * DB;
        }
        std::int32_t Least = std::numeric_limits<std::int32_t>::max();
        for (std::size_t I = 0; I < N; ++I) {
            Least = std::min(Least, Distance[I]);
        }
        for (std::size_t I = 0;; ++I) {
            if (Distance[I] == Least) {
                return static_cast<int>(I);
            }
        }
    }
    int Best = 0;
    std::int32_t BestDistance = std::numeric_limits<std::int32_t>::max();
    for (int I = 0; I < FCount; ++I) {
        const auto U = static_cast<std::size_t>(I);
        const std::int32_t DR = FRed[U] - R, DG = FGreen[U] - G, DB = FBlue[U] - B;
        const std::int32_t D = DR * DR + DG * DG + DB * DB;
        if (D < BestDistance) {
            Best = I;
            BestDistance = D;
        }
    }
    return Best;
}
