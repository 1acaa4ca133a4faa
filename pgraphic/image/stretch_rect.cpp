// Copying a rectangle of one image into another with scaling: nearest sample, linear
// interpolation or area averaging, all in integer arithmetic.

#include "pgraphic/image/color_writer.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"
#include "pgraphic/image/sampling.h"
#include "pgraphic/image/source_rows.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

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
        FOneColumnEach =
            std::all_of(Columns.Spans.begin(), Columns.Spans.end(),
                        [](const TPGSampleSpan& Span) { return Span.First == Span.Last; });
        // Shrinking to exactly half: two columns of equal weight, half the divisor each, whose
        // weighted sum divided is their plain mean.
        FHalving = std::all_of(
            Columns.Spans.begin(), Columns.Spans.end(), [&Columns](const TPGSampleSpan& Span) {
                return Span.Last == Span.First + 1 && Span.FirstWeight == Span.LastWeight &&
                       2 * Span.FirstWeight == Columns.Divide.Divisor();
            });
        // Where each destination column's first source column lies in a row of the range.
        if (FOneColumnEach || FHalving) {
            FOffsets.reserve(Columns.Spans.size());
            for (const auto& Span : Columns.Spans) {
                FOffsets.push_back(Span.Valid
                                       ? static_cast<std::uint32_t>(3 * (Span.First - FSrcFirst))
                                       : kNoColumn);
            }
        }
    }

    // The colours of source row SourceRow at the valid destination columns, as blue, green and
    // red bytes into Pixels.
    void WriteRow(int SourceRow, std::uint8_t* Pixels, const std::vector<std::uint8_t>& Valid,
                  bool AllValid) {
        if (!FOneColumnEach && !FHalving) {
            const std::uint32_t* Sums = Row(SourceRow);
            for (std::size_t I = 0; I < Valid.size(); ++I, Pixels += 3, Sums += 3) {
                if (AllValid || Valid[I] != 0) {
                    Pixels[0] = static_cast<std::uint8_t>(Sums[0]);
                    Pixels[1] = static_cast<std::uint8_t>(Sums[1]);
                    Pixels[2] = static_cast<std::uint8_t>(Sums[2]);
                }
            }
            return;
        }
        if (FSrcFirst > FSrcLast) {
            return; // no column of the range reads the source
        }
        const std::uint8_t* Src = SourceRowBGR(FSource, SourceRow, FSrcFirst, FSrcLast, FScratch);
        if (FHalving) {
            for (const std::uint32_t Offset : FOffsets) {
                if (Offset != kNoColumn) {
                    const std::uint8_t* P = Src + Offset;
                    Pixels[0] = static_cast<std::uint8_t>((P[0] + P[3]) >> 1);
                    Pixels[1] = static_cast<std::uint8_t>((P[1] + P[4]) >> 1);
                    Pixels[2] = static_cast<std::uint8_t>((P[2] + P[5]) >> 1);
                }
                Pixels += 3;
            }
        } else {
            for (const std::uint32_t Offset : FOffsets) {
                if (Offset != kNoColumn) {
                    std::memcpy(Pixels, Src + Offset, 3);
                }
                Pixels += 3;
            }
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
    // A span of one column has its weight equal to the divisor, so its sum is the column's own
    // value; spans of two columns (linear sampling, halving) skip the loop.
    void Compute(int SourceRow, std::uint32_t* Out) {
        if (FSrcFirst > FSrcLast) {
            return; // no column of the range reads the source
        }
        const std::uint8_t* Src = SourceRowBGR(FSource, SourceRow, FSrcFirst, FSrcLast, FScratch);
        const TPGDivider& Divide = FColumns.Divide;
        for (const auto& Span : FColumns.Spans) {
            if (!Span.Valid) {
                Out += 3;
                continue;
            }
            const std::uint8_t* P = Src + 3 * static_cast<std::size_t>(Span.First - FSrcFirst);
            if (Span.Last == Span.First) {
                Out[0] = P[0];
                Out[1] = P[1];
                Out[2] = P[2];
                Out += 3;
                continue;
            }
            const std::uint64_t W0 = Span.FirstWeight, W1 = Span.LastWeight;
            std::uint64_t B = P[0] * W0, G = P[1] * W0, R = P[2] * W0;
            if (Span.Last > Span.First + 1) {
                std::uint64_t MB = 0, MG = 0, MR = 0;
                for (auto C = Span.First + 1; C < Span.Last; ++C) {
                    P += 3;
                    MB += P[0];
                    MG += P[1];
                    MR += P[2];
                }
                B += MB * Span.MidWeight;
                G += MG * Span.MidWeight;
                R += MR * Span.MidWeight;
            }
            P += 3;
            Out[0] = static_cast<std::uint32_t>(Divide(B + P[0] * W1));
            Out[1] = static_cast<std::uint32_t>(Divide(G + P[1] * W1));
            Out[2] = static_cast<std::uint32_t>(Divide(R + P[2] * W1));
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
    bool FOneColumnEach = false;
    bool FHalving = false;
    static constexpr std::uint32_t kNoColumn = UINT32_MAX;
    std::vector<std::uint32_t> FOffsets; // byte offsets of the source columns; kNoColumn: invalid
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
    const TPGAxisSampling Columns =
        BuildAxisSampling(FConversion.StretchMode, SrcX, SrcWidth, DestWidth, FirstCol - DestX,
                          LastCol - DestX, Source.Width());
    const TPGAxisSampling Rows =
        BuildAxisSampling(FConversion.StretchMode, SrcY, SrcHeight, DestHeight, FirstRow - DestY,
                          LastRow - DestY, Source.Height());
    THorizontalRows Horizontal(Source, Columns);
    std::vector<std::uint64_t> Totals(3 * Columns.Spans.size());
    std::vector<TColor> Colors(Columns.Spans.size());
    std::vector<std::uint8_t> ColumnValid(Columns.Spans.size());
    bool AllValid = true;
    for (std::size_t I = 0; I < ColumnValid.size(); ++I) {
        ColumnValid[I] = Columns.Spans[I].Valid ? 1 : 0;
        AllValid = AllValid && Columns.Spans[I].Valid;
    }

    const bool Direct = FBitCount == bc24;
    const int MaxStep = static_cast<int>(std::max(LastRow - FirstRow, 0LL));
    const TPGProgress Progress(*this, this);
    Progress.Run([&] {
        for (long long Y = FirstRow; Y <= LastRow; ++Y) {
            const TPGSampleSpan& RowSpan = Rows.Spans[static_cast<std::size_t>(Y - FirstRow)];
            if (!RowSpan.Valid) {
                Writer.StartRow(); // every row of the range moves the error rows on
                continue;
            }
            // Weighted sum of the horizontal sums of the counted source rows. A single row has its
            // weight equal to the divisor: its sums are the result as they stand.
            const std::uint32_t* Single = nullptr;
            if (RowSpan.First == RowSpan.Last && Direct) {
                // A true-colour target takes the colours as its blue, green and red bytes.
                Horizontal.WriteRow(static_cast<int>(RowSpan.First),
                                    ScanLine(static_cast<int>(Y)) + 3 * FirstCol, ColumnValid,
                                    AllValid);
                if (Progress.Aborted(static_cast<int>(Y - FirstRow), MaxStep)) {
                    break;
                }
                continue;
            }
            if (RowSpan.First == RowSpan.Last) {
                Single = Horizontal.Row(static_cast<int>(RowSpan.First));
            } else {
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
            }
            for (std::size_t I = 0; I < Colors.size(); ++I) {
                const auto At = 3 * I;
                Colors[I] = Single != nullptr ? RGB(static_cast<int>(Single[At + 2]),
                                                    static_cast<int>(Single[At + 1]),
                                                    static_cast<int>(Single[At]))
                                              : RGB(static_cast<int>(Rows.Divide(Totals[At + 2])),
                                                    static_cast<int>(Rows.Divide(Totals[At + 1])),
                                                    static_cast<int>(Rows.Divide(Totals[At])));
            }
            Writer.WriteRow(static_cast<int>(Y), static_cast<int>(FirstCol),
                            static_cast<int>(Colors.size()), Colors.data(),
                            AllValid ? nullptr : ColumnValid.data());
            if (Progress.Aborted(static_cast<int>(Y - FirstRow), MaxStep)) {
                break;
            }
        }
    });
    NotifyChange(this);
}
