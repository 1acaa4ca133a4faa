#include "pgraphic/image/palettes.h"

#include "core/standard_colors.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr int kCellCount = 9; // lattice cells per channel for the 252-colour palette

// Builds a palette from RRGGBB values (as they are usually written) into TColor entries.
template <std::size_t N>
constexpr std::array<TColor, N> FromRRGGBB(const std::array<std::uint32_t, N>& Values) {
    std::array<TColor, N> Result{};
    for (std::size_t I = 0; I < N; ++I) {
        const auto V = Values[I];
        Result[I] = RGB(static_cast<int>(V >> 16), static_cast<int>((V >> 8) & 0xFF),
                        static_cast<int>(V & 0xFF));
    }
    return Result;
}

constexpr std::array<std::uint32_t, 252> kSpecial252RRGGBB{
#include "pgraphic/image/special252.inc"
};

template <std::size_t N, typename F>
constexpr std::array<TColor, N> Generate(F Level) {
    std::array<TColor, N> Result{};
    for (std::size_t I = 0; I < N; ++I) {
        Result[I] = Level(static_cast<int>(I));
    }
    return Result;
}

constexpr TColor Gray(int V) {
    return RGB(V, V, V);
}

// round((255 * i - 20/235) / 235) to nearest, ties to even, in exact integer arithmetic:
// the value is (255 * 235 * i - 20) / 235^2.
constexpr int Gray236LevelOf(int I) {
    constexpr long long Den = 235LL * 235LL;
    const long long Num = 255LL * 235LL * I - 20;
    if (Num <= 0) {
        return 0; // only i = 0, whose value rounds to 0
    }
    const long long Floor = Num / Den;
    const long long Twice = 2 * (Num - Floor * Den);
    if (Twice > Den || (Twice == Den && Floor % 2 != 0)) {
        return static_cast<int>(Floor + 1);
    }
    return static_cast<int>(Floor);
}

constexpr std::array<TColor, 2> kBlackWhite{Gray(0), Gray(255)};
constexpr std::array<TColor, 4> kSysGray4{Gray(0), Gray(128), Gray(192), Gray(255)};
constexpr auto kGray4 = Generate<4>([](int I) { return Gray(I * 255 / 3); });
constexpr auto kGray16 = Generate<16>([](int I) { return Gray(I * 255 / 15); });
constexpr auto kGray236 = Generate<236>([](int I) { return Gray(Gray236LevelOf(I)); });
constexpr auto kGray256 = Generate<256>([](int I) { return Gray(I); });
constexpr auto kSpecial125 = Generate<125>([](int I) {
    constexpr auto Level = [](int K) { return (K * 255 + 3) / 4; };
    return RGB(Level(I / 25), Level(I / 5 % 5), Level(I % 5));
});
constexpr auto kSpecial216 = Generate<216>([](int I) {
    constexpr auto Level = [](int K) { return (K * 255 + 4) / 5; };
    return RGB(Level(I / 36), Level(I / 6 % 6), Level(I % 6));
});
constexpr auto kSpecial252 = FromRRGGBB(kSpecial252RRGGBB);

static_assert(std::equal(kStandardColors.begin(), kStandardColors.end(), kSpecial252.begin()),
              "the 252-colour palette begins with the 16 system colours");

// Squared distance from V to the nearest and the farthest point of the interval [Lo, Hi].
struct TSpan {
    int Lo, Hi;
    [[nodiscard]] int MinDist(int V) const {
        const int D = V < Lo ? Lo - V : (V > Hi ? V - Hi : 0);
        return D * D;
    }
    [[nodiscard]] int MaxDist(int V) const {
        const int D = std::max(std::abs(V - Lo), std::abs(V - Hi));
        return D * D;
    }
};

TSpan CellSpan(int Cell) {
    return {std::max(0, Cell * 32 - 16), std::min(255, Cell * 32 + 15)};
}

// Candidate lists for every lattice cell: an entry is kept when its least distance to the cell
// does not exceed the greatest distance from the cell to the entry that is farthest at most.
// Every colour's nearest entries (all of them, on a tie) are then among the candidates.
struct TSpecial252Lattice {
    std::vector<std::uint8_t> Entries;
    std::array<std::uint32_t, kCellCount * kCellCount * kCellCount + 1> Offsets{};

    TSpecial252Lattice() {
        std::size_t Cell = 0;
        for (int R = 0; R < kCellCount; ++R) {
            for (int G = 0; G < kCellCount; ++G) {
                for (int B = 0; B < kCellCount; ++B, ++Cell) {
                    Offsets[Cell] = static_cast<std::uint32_t>(Entries.size());
                    AddCell(CellSpan(R), CellSpan(G), CellSpan(B));
                }
            }
        }
        Offsets[Cell] = static_cast<std::uint32_t>(Entries.size());
    }

    void AddCell(TSpan R, TSpan G, TSpan B) {
        int Bound = std::numeric_limits<int>::max();
        for (const TColor C : kSpecial252) {
            Bound = std::min(Bound, R.MaxDist(GetRValue(C)) + G.MaxDist(GetGValue(C)) +
                                        B.MaxDist(GetBValue(C)));
        }
        for (std::size_t I = 0; I < kSpecial252.size(); ++I) {
            const TColor C = kSpecial252[I];
            if (R.MinDist(GetRValue(C)) + G.MinDist(GetGValue(C)) + B.MinDist(GetBValue(C)) <=
                Bound) {
                Entries.push_back(static_cast<std::uint8_t>(I));
            }
        }
    }
};

struct TGray236Index {
    std::array<std::uint8_t, 766> Index{};
    TGray236Index() {
        for (int Grey = 0; Grey <= 765; ++Grey) {
            int Best = 0;
            int BestDist = std::numeric_limits<int>::max();
            for (int I = 0; I < 236; ++I) {
                const int Dist = std::abs(3 * Gray236LevelOf(I) - Grey);
                if (Dist < BestDist) {
                    Best = I;
                    BestDist = Dist;
                }
            }
            Index[static_cast<std::size_t>(Grey)] = static_cast<std::uint8_t>(Best);
        }
    }
};

} // namespace

std::span<const TColor> FixedPalette(TPaletteIdent Kind) {
    switch (Kind) {
    case pBlackWhite:
        return kBlackWhite;
    case pSysGray4:
        return kSysGray4;
    case pSys16:
        return kStandardColors;
    case pGray4:
        return kGray4;
    case pGray16:
        return kGray16;
    case pGray236:
        return kGray236;
    case pGray256:
        return kGray256;
    case pSpecial125:
        return kSpecial125;
    case pSpecial216:
        return kSpecial216;
    case pSpecial252:
        return kSpecial252;
    default:
        return {};
    }
}

int Gray236IndexForGray(int Grey) {
    static const TGray236Index Table;
    return Table.Index[static_cast<std::size_t>(std::clamp(Grey, 0, 765))];
}

const std::array<std::array<std::uint8_t, 3>, 64>& Sys16Candidates() {
    static constexpr std::array<std::array<std::uint8_t, 3>, 64> kTable{{
        // keys 0-7
        {0, 0, 0},
        {4, 4, 4},
        {4, 4, 4},
        {12, 12, 12},
        {2, 2, 2},
        {6, 6, 6},
        {6, 6, 6},
        {6, 12, 12},
        // keys 8-15
        {2, 2, 2},
        {6, 6, 6},
        {6, 6, 6},
        {6, 14, 14},
        {10, 10, 10},
        {6, 10, 10},
        {6, 14, 14},
        {14, 14, 14},
        // keys 16-23
        {1, 1, 1},
        {5, 5, 5},
        {5, 5, 5},
        {5, 12, 12},
        {3, 3, 3},
        {8, 8, 8},
        {8, 8, 8},
        {8, 12, 12},
        // keys 24-31
        {3, 3, 3},
        {8, 8, 8},
        {8, 8, 8},
        {7, 8, 14},
        {3, 10, 10},
        {8, 10, 10},
        {7, 8, 14},
        {7, 14, 14},
        // keys 32-39
        {1, 1, 1},
        {5, 5, 5},
        {5, 5, 5},
        {5, 13, 13},
        {3, 3, 3},
        {8, 8, 8},
        {8, 8, 8},
        {7, 8, 13},
        // keys 40-47
        {3, 3, 3},
        {8, 8, 8},
        {7, 8, 8},
        {7, 7, 7},
        {3, 11, 11},
        {7, 8, 11},
        {7, 7, 7},
        {7, 7, 7},
        // keys 48-55
        {9, 9, 9},
        {5, 9, 9},
        {5, 13, 13},
        {13, 13, 13},
        {3, 9, 9},
        {8, 9, 9},
        {7, 8, 13},
        {7, 13, 13},
        // keys 56-63
        {3, 11, 11},
        {7, 8, 11},
        {7, 7, 7},
        {7, 7, 7},
        {11, 11, 11},
        {7, 11, 11},
        {7, 7, 7},
        {7, 15, 15},
    }};
    return kTable;
}

std::span<const std::uint8_t> Special252Candidates(int R, int G, int B) {
    static const TSpecial252Lattice Lattice;
    const auto Cell = static_cast<std::size_t>(
        ((R + 16) / 32 * kCellCount + (G + 16) / 32) * kCellCount + (B + 16) / 32);
    const auto First = Lattice.Offsets[Cell];
    return {Lattice.Entries.data() + First, Lattice.Offsets[Cell + 1] - First};
}
