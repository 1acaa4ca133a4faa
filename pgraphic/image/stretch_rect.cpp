// Copying a rectangle of one image into another with scaling: nearest sample, linear
// interpolation or area averaging, all in integer arithmetic.

#include <algorithm>
#include <array>
#include <climits>

#include "pgraphic/image/color_writer.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/sampling.h"
#include "pgraphic/image/source_rows.h"

namespace {

// Horizontal sums of one source row: for every destination column of the range, the three
// channel sums over its source columns, each divided by the column divisor. Two rows are kept,
// which is all that consecutive destination rows share.
class THorizontalRows {
public:
    THorizontalRows(const TPixelGraphic& Source, const TPGAxisSampling& Columns)
        : FSource(Source), FColumns(Columns) {
        for (const auto& Span : Columns.Spans) {
            if (Span.Valid) {
                FSrcFirst = std::min(FSrcFirst, static_cast<int>(Span.First));
                FSrcLast = std::max(FSrcLast, static_cast<int>(Span.Last));
            }
        }
        for (auto& Slot : FSlots) {
            Slot.Sums.resize(3 * Columns.Spans.size());
        }
    }

    const std::uint32_t* Row(int SourceRow) {
        for (auto& Slot : FSlots) {
            if (Slot.Row == SourceRow) {
                Slot.Used = ++FClock;
                return Slot.Sums.data();
            }
        }
        auto& Slot = FSlots[0].Used <= FSlots[1].Used ? FSlots[0] : FSlots[1];
        Compute(SourceRow, Slot.Sums.data());
        Slot.Row = SourceRow;
        Slot.Used = ++FClock;
        return Slot.Sums.data();
    }

private:
    void Compute(int SourceRow, std::uint32_t* Out) {
        const std::uint8_t* Src = SourceRowBGR(FSource, SourceRow, FSrcFirst, FSrcLast, FScratch);
        const TPGDivider& Divide = FColumns.Divide;
        for (const auto& Span : FColumns.Spans) {
            if (!Span.Valid) {
                Out += 3;
                continue;
            }
            const std::uint8_t* P = Src + 3 * static_cast<std::size_t>(Span.First - FSrcFirst);
            std::uint64_t B = P[0] * Span.FirstWeight, G = P[1] * Span.FirstWeight,
                          R = P[2] * Span.FirstWeight;
            if (Span.Last != Span.First) {
                std::uint64_t MB = 0, MG = 0, MR = 0;
                for (auto C = Span.First + 1; C < Span.Last; ++C) {
                    P += 3;
                    MB += P[0];
                    MG += P[1];
                    MR += P[2];
                }
                P += 3;
                B += MB * Span.MidWeight + P[0] * Span.LastWeight;
                G += MG * Span.MidWeight + P[1] * Span.LastWeight;
                R += MR * Span.MidWeight + P[2] * Span.LastWeight;
            }
            Out[0] = static_cast<std::uint32_t>(Divide(B));
            Out[1] = static_cast<std::uint32_t>(Divide(G));
            Out[2] = static_cast<std::uint32_t>(Divide(R));
            Out += 3;
        }
    }

    struct TSlot {
        int Row = -1;
        std::uint64_t Used = 0;
        std::vector<std::uint32_t> Sums;
    };

    const TPixelGraphic& FSource;
    const TPGAxisSampling& FColumns;
    int FSrcFirst = INT_MAX;
    int FSrcLast = INT_MIN;
    std::array<TSlot, 2> FSlots;
    std::uint64_t FClock = 0;
    std::vector<std::uint8_t> FScratch;
};

} // namespace

void TPixelGraphic::StretchRect(int DestX, int DestY, int DestWidth, int DestHeight, int SrcX,
                                int SrcY, int SrcWidth, int SrcHeight,
                                const TPixelGraphic& Source) {
    Flush();
    Source.Flush();
    if (DestWidth == SrcWidth && DestHeight == SrcHeight) {
        CopyRect(DestX, DestY, DestWidth, DestHeight, SrcX, SrcY, Source);
        return;
    }
    if (IsEmpty() || Source.IsEmpty()) {
        return;
    }
    const long long FirstCol = std::max(DestX, 0);
    const long long LastCol =
        std::min(static_cast<long long>(DestX) + DestWidth - 1, static_cast<long long>(FWidth) - 1);
    const long long FirstRow = std::max(DestY, 0);
    const long long LastRow = std::min(static_cast<long long>(DestY) + DestHeight - 1,
                                       static_cast<long long>(FHeight) - 1);

    TPGColorWriter Writer(*this);
    const TPGAxisSampling Columns = BuildAxisSampling(FStretchMode, SrcX, SrcWidth, DestWidth,
                                                      FirstCol - DestX, LastCol - DestX,
                                                      Source.Width());
    const TPGAxisSampling Rows = BuildAxisSampling(FStretchMode, SrcY, SrcHeight, DestHeight,
                                                   FirstRow - DestY, LastRow - DestY,
                                                   Source.Height());
    THorizontalRows Horizontal(Source, Columns);
    std::vector<std::uint64_t> Totals(3 * Columns.Spans.size());

    if (OnProgressStart) {
        OnProgressStart(this);
    }
    const int MaxStep = static_cast<int>(std::max(LastRow - FirstRow, 0LL));
    for (long long Y = FirstRow; Y <= LastRow; ++Y) {
        Writer.StartRow();
        const TPGSampleSpan& RowSpan = Rows.Spans[static_cast<std::size_t>(Y - FirstRow)];
        if (!RowSpan.Valid) {
            continue;
        }
        // Weighted sum of the horizontal sums of the counted source rows.
        std::fill(Totals.begin(), Totals.end(), 0);
        for (auto R = RowSpan.First; R <= RowSpan.Last; ++R) {
            const std::uint64_t Weight = R == RowSpan.First  ? RowSpan.FirstWeight
                                         : R == RowSpan.Last ? RowSpan.LastWeight
                                                             : RowSpan.MidWeight;
            const std::uint32_t* Sums = Horizontal.Row(static_cast<int>(R));
            for (std::size_t I = 0; I < Totals.size(); ++I) {
                Totals[I] += Sums[I] * Weight;
            }
        }
        const int Row = static_cast<int>(Y);
        const bool Reverse = Row % 2 != 0;
        const auto Count = static_cast<long long>(Columns.Spans.size());
        for (long long I = 0; I < Count; ++I) {
            const long long Index = Reverse ? Count - 1 - I : I;
            if (!Columns.Spans[static_cast<std::size_t>(Index)].Valid) {
                continue;
            }
            const std::uint64_t* T = &Totals[3 * static_cast<std::size_t>(Index)];
            Writer.Write(static_cast<int>(FirstCol + Index), Row,
                         RGB(static_cast<int>(Rows.Divide(T[2])),
                             static_cast<int>(Rows.Divide(T[1])),
                             static_cast<int>(Rows.Divide(T[0]))));
        }
        if (OnProgress) {
            bool Abort = false;
            OnProgress(this, static_cast<int>(Y - FirstRow), MaxStep, Abort);
            if (Abort) {
                break;
            }
        }
    }
    if (OnProgressEnd) {
        OnProgressEnd(this);
    }
    NotifyChange(this);
}
