#include "pgraphic/image/color_writer.h"

#include "pgraphic/image/nearest_lookup.h"

#include <algorithm>
#include <typeinfo>

TPGErrorLimitTable BuildErrorLimitTable(bool Soft, int Limit) {
    std::array<std::int32_t, 256> Positive{};
    for (int E = 0; E <= 255; ++E) {
        Positive[static_cast<std::size_t>(E)] = E;
    }
    if (Limit != 255) {
        for (int E = std::max(Limit, 0); E <= 255; ++E) {
            Positive[static_cast<std::size_t>(E)] = Limit;
        }
    }
    if (Soft) {
        for (int E = Limit / 2; E <= 3 * Limit / 2 && E < 255; ++E) {
            Positive[static_cast<std::size_t>(E)] = E / 2 + Limit / 4;
        }
    }
    TPGErrorLimitTable Table{};
    for (int E = 0; E <= 255; ++E) {
        Table[static_cast<std::size_t>(255 + E)] = Positive[static_cast<std::size_t>(E)];
        Table[static_cast<std::size_t>(255 - E)] = -Positive[static_cast<std::size_t>(E)];
    }
    return Table;
}

std::pair<bool, int> ErrorLimitFor(const TPixelGraphic& Target) {
    if (!Target.DitherErrorLimitAuto()) {
        return {Target.DitherErrorLimitSoft(), Target.DitherErrorLimit()};
    }
    switch (Target.PaletteIdent()) {
    case pBlackWhite:
        return {true, 255};
    case pSysGray4:
    case pSys16:
    case pGray4:
        return {true, 128};
    case pGray236:
        return {true, 3};
    case pGray256:
        return {true, 2};
    case pSpecial125:
    case pSpecial252:
        return {true, 104};
    case pSpecial216:
        return {true, 86};
    default:
        return {true, 32};
    }
}

namespace {

// The accumulated error in sixteenths, rounded half away from zero ((a + 8) div 16 for a >= 0,
// -((-a + 8) div 16) below, which is floor((a + 7) / 16) there) and passed through the limit
// table; without a branch.
inline int LimitedError(const std::int32_t* Limit, std::int32_t Accumulator) {
    const int Negative = static_cast<int>(static_cast<std::uint32_t>(Accumulator) >> 31);
    return Limit[std::clamp((Accumulator + 8 - Negative) >> 4, -255, 255)];
}

// An error accumulator holds at most 16 sixteenths of the largest error, 16 x 255 = 4080 in
// magnitude: every value lies in -4096..4095, and its low 13 bits tell it apart.
constexpr int kAccumulatorValues = 1 << 13;
constexpr int kAccumulatorMask = kAccumulatorValues - 1;

// Column K of a row in visiting order: left to right on even rows, right to left on odd ones.
inline int Visit(int K, int Count, bool Reverse) {
    return Reverse ? Count - 1 - K : K;
}

} // namespace

TPGColorWriter::TPGColorWriter(TPixelGraphic& Target)
    : FTarget(Target), FDirect(Target.BitCount() == bc24),
      FDithering(Target.Dither() && Target.BitCount() != bc24),
      FOwnLookup(typeid(Target) == typeid(TPixelGraphic)) {
    if (!FDithering) {
        return;
    }
    const auto [Soft, Limit] = ErrorLimitFor(Target);
    FLimit = BuildErrorLimitTable(Soft, Limit);
    const auto& Palette = Target.Palette();
    FGray = std::all_of(Palette.begin(), Palette.end(), [](TColor C) {
        return GetRValue(C) == GetGValue(C) && GetGValue(C) == GetBValue(C);
    });
    Target.FIsGrayPalette = FGray;
    const auto Size = (static_cast<std::size_t>(Target.Width()) + 2) * 3;
    FCurrent.assign(Size, 0);
    FNext.assign(Size, 0);
    FLimitByAccumulator.resize(kAccumulatorValues);
    for (int A = -kAccumulatorValues / 2; A < kAccumulatorValues / 2; ++A) {
        FLimitByAccumulator[static_cast<std::size_t>(A & kAccumulatorMask)] =
            LimitedError(FLimit.data() + 255, A);
    }
}

void TPGColorWriter::StartRow() {
    if (FDithering) {
        FCurrent.swap(FNext);
        std::fill(FNext.begin(), FNext.end(), 0);
    }
}

TColor TPGColorWriter::EntryColor(int Index) const {
    const auto& Palette = FTarget.FPalette;
    if (static_cast<std::size_t>(Index) < Palette.size() && FTarget.FPaletteIdent != pTrueColor) {
        return Palette[static_cast<std::size_t>(Index)];
    }
    return FTarget.PaletteColors(Index);
}

void TPGColorWriter::Put(std::uint8_t* Row, int X, int Y, int Index) {
    if (FTarget.FBitCount == bc8) {
        Row[X] = static_cast<std::uint8_t>(Index);
    } else {
        FTarget.WritePixel(X, Y, static_cast<std::uint32_t>(Index));
    }
}

void TPGColorWriter::WriteRow(int Y, int FirstX, int Count, const TColor* Colors,
                              const std::uint8_t* Valid) {
    if (FDirect) {
        WriteDirect(Y, FirstX, Count, Colors, Valid);
    } else if (FDithering) {
        StartRow();
        if (Valid == nullptr && !FGray && UseCellEntries()) {
            WriteCachedRun(Y, FirstX, Count, Colors);
        } else if (Valid == nullptr && !FGray && FOwnLookup) {
            WriteDitheredRun(Y, FirstX, Count, Colors, [this](int R, int G, int B) {
                const int Index = FTarget.LookupNearestIndex(RGB(R, G, B));
                return TEntry{Index, EntryColor(Index)};
            });
        } else if (Valid == nullptr && !FGray) {
            WriteDitheredRun(Y, FirstX, Count, Colors, [this](int R, int G, int B) {
                const int Index = FTarget.NearestIndex(RGB(R, G, B));
                return TEntry{Index, EntryColor(Index)};
            });
        } else {
            WriteDithered(Y, FirstX, Count, Colors, Valid);
        }
    } else {
        WriteNearest(Y, FirstX, Count, Colors, Valid);
    }
}

void TPGColorWriter::WriteDirect(int Y, int FirstX, int Count, const TColor* Colors,
                                 const std::uint8_t* Valid) {
    std::uint8_t* P = FTarget.FBits.get() +
                      static_cast<std::size_t>(FTarget.FHeight - 1 - Y) * FTarget.FBytesPerLine +
                      3 * static_cast<std::size_t>(FirstX);
    for (int I = 0; I < Count; ++I, P += 3) {
        if (Valid == nullptr || Valid[I] != 0) {
            P[0] = GetBValue(Colors[I]);
            P[1] = GetGValue(Colors[I]);
            P[2] = GetRValue(Colors[I]);
        }
    }
}

void TPGColorWriter::WriteNearest(int Y, int FirstX, int Count, const TColor* Colors,
                                  const std::uint8_t* Valid) {
    std::uint8_t* Row = FTarget.FBits.get() +
                        static_cast<std::size_t>(FTarget.FHeight - 1 - Y) * FTarget.FBytesPerLine;
    const bool Reverse = Y % 2 != 0;
    for (int K = 0; K < Count; ++K) {
        const int I = Visit(K, Count, Reverse);
        if (Valid == nullptr || Valid[I] != 0) {
            Put(Row, FirstX + I, Y, FTarget.NearestIndex(Colors[I]));
        }
    }
}

void TPGColorWriter::WriteDithered(int Y, int FirstX, int Count, const TColor* Colors,
                                   const std::uint8_t* Valid) {
    std::uint8_t* Row = FTarget.FBits.get() +
                        static_cast<std::size_t>(FTarget.FHeight - 1 - Y) * FTarget.FBytesPerLine;
    const bool Reverse = Y % 2 != 0;
    const std::ptrdiff_t Ahead = Reverse ? -3 : 3; // the next column in the direction of travel
    const std::int32_t* Limit = FLimit.data() + 255;
    std::int32_t* const Current = FCurrent.data();
    std::int32_t* const Next = FNext.data();
    const bool Weighted = FTarget.RGBWeighting();
    for (int K = 0; K < Count; ++K) {
        const int I = Visit(K, Count, Reverse);
        if (Valid != nullptr && Valid[I] == 0) {
            continue;
        }
        const int X = FirstX + I;
        const TColor Color = Colors[I];
        // Accumulator X + 1 serves column X.
        std::int32_t* Here = Current + 3 * static_cast<std::ptrdiff_t>(X + 1);
        std::int32_t* Below = Next + 3 * static_cast<std::ptrdiff_t>(X + 1);
        // 7/16 ahead in this row; 5/16 below, 3/16 below behind and 1/16 below ahead.
        const auto Spread = [&](int Channel, int Error) {
            Here[Ahead + Channel] += 7 * Error;
            Below[Channel] += 5 * Error;
            Below[-Ahead + Channel] += 3 * Error;
            Below[Ahead + Channel] += Error;
        };
        if (FGray) {
            const int T =
                std::clamp(GrayValue(Color, Weighted) / 3 + LimitedError(Limit, Here[1]), 0, 255);
            const int Index = FTarget.NearestIndex(RGB(T, T, T));
            Put(Row, X, Y, Index);
            Spread(1, T - GetGValue(EntryColor(Index)));
            continue;
        }
        const int R = std::clamp(GetRValue(Color) + LimitedError(Limit, Here[0]), 0, 255);
        const int G = std::clamp(GetGValue(Color) + LimitedError(Limit, Here[1]), 0, 255);
        const int B = std::clamp(GetBValue(Color) + LimitedError(Limit, Here[2]), 0, 255);
        const int Index = FTarget.NearestIndex(RGB(R, G, B));
        Put(Row, X, Y, Index);
        const TColor Entry = EntryColor(Index);
        Spread(0, R - GetRValue(Entry));
        Spread(1, G - GetGValue(Entry));
        Spread(2, B - GetBValue(Entry));
    }
}

bool TPGColorWriter::UseCellEntries() {
    if (FCellEntriesState == TCellEntries::Unknown) {
        const bool Used = FOwnLookup && FTarget.FPaletteIdent == pUnknown &&
                          FTarget.FUseColorCache && !FTarget.FPalette.empty() &&
                          FTarget.FPalette.size() <= 256;
        FCellEntriesState = Used ? TCellEntries::Used : TCellEntries::NotUsed;
        if (Used) {
            if (FTarget.FCacheRebuild) {
                FTarget.BuildColorCache(); // as the first look-up would
            }
            FCellEntries.assign(FTarget.FColorCache.size(), 0);
            for (std::size_t Cell = 0; Cell < FCellEntries.size(); ++Cell) {
                if ((FTarget.FColorCacheValid[Cell / 64] >> (Cell % 64) & 1) != 0) {
                    const std::uint8_t Index = FTarget.FColorCache[Cell];
                    FCellEntries[Cell] =
                        static_cast<std::uint32_t>(Index) << 24 |
                        (static_cast<std::uint32_t>(FTarget.FPalette[Index]) & 0xFFFFFFU);
                }
            }
        }
    }
    return FCellEntriesState == TCellEntries::Used;
}

std::uint32_t TPGColorWriter::NewCellEntry(std::size_t Cell, TColor Color) {
    const auto Index = static_cast<std::uint32_t>(FTarget.CachedNearestEntry(Color));
    FCellEntries[Cell] =
        Index << 24 | (static_cast<std::uint32_t>(FTarget.FPalette[Index]) & 0xFFFFFFU);
    return FCellEntries[Cell];
}

// The lookups of LookupNearestIndex, cell by cell: the memo only ever holds a colour whose cell
// is filled with the memo's index, so going to the cell directly gives the same entry; the memo
// is left as the last lookup would leave it.
void TPGColorWriter::WriteCachedRun(int Y, int FirstX, int Count, const TColor* Colors) {
    const std::uint64_t* const Known = FTarget.FColorCacheValid.data();
    const std::uint32_t* const Entries = FCellEntries.data();
    TColor LastColor = 0;
    std::uint32_t LastEntry = 0;
    WriteDitheredRun(Y, FirstX, Count, Colors, [&](int R, int G, int B) {
        const std::size_t Cell = ColorCell(R >> 3, G >> 2, B >> 3);
        LastColor = RGB(R, G, B);
        LastEntry = (Known[Cell / 64] >> (Cell % 64) & 1) != 0 ? Entries[Cell]
                                                               : NewCellEntry(Cell, LastColor);
        return TEntry{static_cast<int>(LastEntry >> 24),
                      static_cast<TColor>(LastEntry & 0xFFFFFFU)};
    });
    if (Count > 0) {
        FTarget.FMemoColor = LastColor;
        FTarget.FMemoIndex = static_cast<int>(LastEntry >> 24);
        FTarget.FMemoInvalid = false;
    }
}

template <typename TLookup>
void TPGColorWriter::WriteDitheredRun(int Y, int FirstX, int Count, const TColor* Colors,
                                      TLookup Lookup) {
    if (Count <= 0) {
        return;
    }
    std::uint8_t* Row = FTarget.FBits.get() +
                        static_cast<std::size_t>(FTarget.FHeight - 1 - Y) * FTarget.FBytesPerLine;
    const bool Bytes = FTarget.FBitCount == bc8;
    const bool Reverse = Y % 2 != 0;
    const int Step = Reverse ? -1 : 1;
    const std::ptrdiff_t Behind3 = Reverse ? 3 : -3;
    const std::int32_t* Limited = FLimitByAccumulator.data();
    const auto Channel = [Limited](int Value, std::int32_t Accumulator) {
        return std::clamp(Value + Limited[Accumulator & kAccumulatorMask], 0, 255);
    };
    const std::int32_t* const Current = FCurrent.data();
    std::int32_t* const Next = FNext.data();
    int X = Reverse ? FirstX + Count - 1 : FirstX;
    const TColor* Color = Colors + (Reverse ? Count - 1 : 0);
    // Per channel: 7/16 of the last error, due to this column of this row; what the row below
    // owes this column (1/16 of the last error) and the column behind it (5/16 of the last
    // error and 1/16 of the one before), completed by this pixel's error.
    std::int32_t Ahead[3] = {0, 0, 0}, BelowHere[3] = {0, 0, 0}, BelowBehind[3] = {0, 0, 0};
    for (int K = 0; K < Count; ++K, X += Step, Color += Step) {
        const std::int32_t* Here = Current + 3 * static_cast<std::ptrdiff_t>(X + 1);
        std::int32_t* Below = Next + 3 * static_cast<std::ptrdiff_t>(X + 1);
        const int R = Channel(GetRValue(*Color), Here[0] + Ahead[0]);
        const int G = Channel(GetGValue(*Color), Here[1] + Ahead[1]);
        const int B = Channel(GetBValue(*Color), Here[2] + Ahead[2]);
        const TEntry Entry = Lookup(R, G, B);
        if (Bytes) {
            Row[X] = static_cast<std::uint8_t>(Entry.Index);
        } else {
            FTarget.WritePixel(X, Y, static_cast<std::uint32_t>(Entry.Index));
        }
        const std::int32_t Error[3] = {R - GetRValue(Entry.Color), G - GetGValue(Entry.Color),
                                       B - GetBValue(Entry.Color)};
        for (int C = 0; C < 3; ++C) {
            Below[Behind3 + C] = BelowBehind[C] + 3 * Error[C]; // complete: nobody adds later
            BelowBehind[C] = BelowHere[C] + 5 * Error[C];
            BelowHere[C] = Error[C];
            Ahead[C] = 7 * Error[C];
        }
    }
    // X is now one column past the last pixel; the last two owed columns are complete too.
    for (int C = 0; C < 3; ++C) {
        Next[3 * static_cast<std::ptrdiff_t>(X - Step + 1) + C] = BelowBehind[C];
        Next[3 * static_cast<std::ptrdiff_t>(X + 1) + C] = BelowHere[C];
    }
}
