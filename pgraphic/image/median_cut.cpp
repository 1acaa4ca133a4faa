#include "pgraphic/image/median_cut.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// Axes of the 5-6-5 colour cells.
enum TAxis { kRed = 0, kGreen = 1, kBlue = 2 };
constexpr std::array<int, 3> kAxisMax{31, 63, 31};

class THistogram {
public:
    explicit THistogram() : FCounts(65536, 0) {}

    // Counts the pixels of one row of blue, green, red bytes. A run of pixels in one cell is
    // added at once, which is the same as counting them one by one up to the limit.
    void AddRow(const std::uint8_t* P, int Width) {
        std::size_t RunCell = 0;
        unsigned Run = 0;
        for (int X = 0; X < Width; ++X, P += 3) {
            const std::size_t C = Cell(P[2] >> 3, P[1] >> 2, P[0] >> 3);
            if (Run != 0 && C != RunCell) {
                AddRun(RunCell, Run);
                Run = 0;
            }
            RunCell = C;
            ++Run;
        }
        if (Run != 0) {
            AddRun(RunCell, Run);
        }
    }
    std::uint16_t At(int R5, int G6, int B5) const { return FCounts[Cell(R5, G6, B5)]; }

private:
    // Counters stop at 65,535.
    void AddRun(std::size_t At, unsigned Run) {
        FCounts[At] = static_cast<std::uint16_t>(std::min<unsigned>(FCounts[At] + Run, UINT16_MAX));
    }

    static std::size_t Cell(int R5, int G6, int B5) {
        return static_cast<std::size_t>(R5 * 2048 + G6 * 32 + B5);
    }
    std::vector<std::uint16_t> FCounts;
};

struct TBox {
    std::array<int, 3> Lo{0, 0, 0};
    std::array<int, 3> Hi = kAxisMax;
    long long Spread = 0;
    long long Cells = 0;

    int Extent(TAxis Axis) const { return Hi[Axis] - Lo[Axis]; }
};

// Whether any cell of the box's plane Axis = Value is counted.
template <typename F>
bool AnyInPlane(const TBox& Box, TAxis Axis, int Value, F Counted) {
    std::array<int, 3> Lo = Box.Lo, Hi = Box.Hi;
    Lo[Axis] = Hi[Axis] = Value;
    for (int R = Lo[kRed]; R <= Hi[kRed]; ++R) {
        for (int G = Lo[kGreen]; G <= Hi[kGreen]; ++G) {
            for (int B = Lo[kBlue]; B <= Hi[kBlue]; ++B) {
                if (Counted(R, G, B)) {
                    return true;
                }
            }
        }
    }
    return false;
}

void Shrink(TBox& Box, const THistogram& Histogram) {
    const auto Counted = [&Histogram](int R, int G, int B) { return Histogram.At(R, G, B) != 0; };
    for (const TAxis Axis : {kBlue, kGreen, kRed}) {
        while (Box.Lo[Axis] < Box.Hi[Axis] && !AnyInPlane(Box, Axis, Box.Lo[Axis], Counted)) {
            ++Box.Lo[Axis];
        }
        while (Box.Hi[Axis] > Box.Lo[Axis] && !AnyInPlane(Box, Axis, Box.Hi[Axis], Counted)) {
            --Box.Hi[Axis];
        }
    }
    const long long B = 16LL * Box.Extent(kBlue), G = 12LL * Box.Extent(kGreen),
                    R = 16LL * Box.Extent(kRed);
    Box.Spread = B * B + G * G + R * R;
    Box.Cells = (Box.Extent(kBlue) + 1LL) * (Box.Extent(kGreen) + 1LL) * (Box.Extent(kRed) + 1LL);
}

// The box to split next: by spread once the boxes are more than half of the target count, by
// number of cells before; only boxes of more than one cell qualify, the first wins a tie.
int ChooseBox(const std::vector<TBox>& Boxes, int Count) {
    const bool BySpread = Count < 2 * static_cast<int>(Boxes.size());
    int Best = -1;
    for (std::size_t I = 0; I < Boxes.size(); ++I) {
        const TBox& Box = Boxes[I];
        if (Box.Spread <= 0) {
            continue;
        }
        if (Best < 0) {
            Best = static_cast<int>(I);
            continue;
        }
        const TBox& Current = Boxes[static_cast<std::size_t>(Best)];
        if (BySpread ? Box.Spread > Current.Spread : Box.Cells > Current.Cells) {
            Best = static_cast<int>(I);
        }
    }
    return Best;
}

TAxis SplitAxis(const TBox& Box) {
    const int B = 16 * Box.Extent(kBlue), G = 12 * Box.Extent(kGreen), R = 16 * Box.Extent(kRed);
    if (B > G && B > R) {
        return kBlue;
    }
    return R > G ? kRed : kGreen;
}

TColor MeanColor(const TBox& Box, const THistogram& Histogram) {
    unsigned long long Total = 0, SumR = 0, SumG = 0, SumB = 0;
    for (int R = Box.Lo[kRed]; R <= Box.Hi[kRed]; ++R) {
        for (int G = Box.Lo[kGreen]; G <= Box.Hi[kGreen]; ++G) {
            for (int B = Box.Lo[kBlue]; B <= Box.Hi[kBlue]; ++B) {
                const unsigned long long C = Histogram.At(R, G, B);
                Total += C;
                SumR += C * static_cast<unsigned>(8 * R + 4);
                SumG += C * static_cast<unsigned>(4 * G + 2);
                SumB += C * static_cast<unsigned>(8 * B + 4);
            }
        }
    }
    if (Total == 0) {
        return 0;
    }
    const auto Mean = [Total](unsigned long long Sum) {
        return static_cast<int>((Sum + Total / 2) / Total);
    };
    return RGB(Mean(SumR), Mean(SumG), Mean(SumB));
}

} // namespace

std::vector<TColor> MedianCutPalette(const TPixelGraphic& Source, int Count,
                                     const TPGRowCounted& RowCounted) {
    THistogram Histogram;
    for (int Y = 0; Y < Source.Height(); ++Y) {
        Histogram.AddRow(Source.ScanLine(Y), Source.Width());
        if (RowCounted(Y)) {
            break;
        }
    }

    std::vector<TBox> Boxes(1);
    Shrink(Boxes[0], Histogram);
    while (static_cast<int>(Boxes.size()) < Count) {
        const int Chosen = ChooseBox(Boxes, Count);
        if (Chosen < 0) {
            break;
        }
        TBox& Box = Boxes[static_cast<std::size_t>(Chosen)];
        const TAxis Axis = SplitAxis(Box);
        TBox Upper = Box;
        const int Middle = (Box.Lo[Axis] + Box.Hi[Axis]) / 2;
        Box.Hi[Axis] = Middle;
        Upper.Lo[Axis] = Middle + 1;
        Shrink(Box, Histogram);
        Shrink(Upper, Histogram);
        Boxes.push_back(Upper);
    }

    std::vector<TColor> Colors;
    Colors.reserve(Boxes.size());
    for (const TBox& Box : Boxes) {
        Colors.push_back(MeanColor(Box, Histogram));
    }
    return Colors;
}
