#pragma once

// Plain per-pixel implementations of the copy rules, written straight from the rules with no
// attention to speed, to check the library's copies against.

#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>
#include <vector>

namespace reference {

// The limited value of error E (-255..255), entry by entry from the rules: the soft knee
// (limit div 2 <= |E| <= 3 limit div 2, below 255) halves the error and adds limit div 4; beyond
// it errors of limit and more are cut to the limit, unless the limit is 255; negative errors
// mirror positive ones.
inline int LimitedError(bool Soft, int Limit, int E) {
    if (E < 0) {
        return -LimitedError(Soft, Limit, -E);
    }
    if (Soft && E >= Limit / 2 && E <= 3 * Limit / 2 && E < 255) {
        return E / 2 + Limit / 4;
    }
    if (Limit != 255 && E >= Limit) {
        return Limit;
    }
    return E;
}

// The (soft, limit) pair of a target: its own settings, or with DitherErrorLimitAuto the pair
// its palette kind is given.
inline std::pair<bool, int> LimitFor(const TPixelGraphic& T) {
    if (!T.DitherErrorLimitAuto()) {
        return {T.DitherErrorLimitSoft(), T.DitherErrorLimit()};
    }
    struct TKindLimit {
        TPaletteIdent Kind;
        int Limit;
    };
    static constexpr TKindLimit kLimits[] = {
        {pBlackWhite, 255}, {pSysGray4, 128},   {pSys16, 128},      {pGray4, 128},    {pGray236, 3},
        {pGray256, 2},      {pSpecial125, 104}, {pSpecial252, 104}, {pSpecial216, 86}};
    for (const TKindLimit& Entry : kLimits) {
        if (Entry.Kind == T.PaletteIdent()) {
            return {true, Entry.Limit};
        }
    }
    return {true, 32};
}

// Writes colours into a target as a copy does.
class Writer {
public:
    explicit Writer(TPixelGraphic& T) : Target(T) {
        Dithering = T.Dither() && T.BitCount() != bc24;
        if (Dithering) {
            std::tie(Soft, Limit) = LimitFor(T);
            Gray = true;
            for (int I = 0; I < T.PaletteCount(); ++I) {
                const TColor C = T.PaletteColors(I);
                Gray = Gray && GetRValue(C) == GetGValue(C) && GetGValue(C) == GetBValue(C);
            }
            Cur.assign(static_cast<std::size_t>(T.Width() + 2), {0, 0, 0});
            Next = Cur;
        }
    }

    void NewRow() {
        if (Dithering) {
            std::swap(Cur, Next);
            for (auto& A : Next) {
                A = {0, 0, 0};
            }
        }
    }

    void Put(int X, int Y, TColor C) {
        if (Target.BitCount() == bc24) {
            Target.SetPixel(X, Y, static_cast<std::uint32_t>(C));
            return;
        }
        if (!Dithering) {
            Target.SetPixelColor(X, Y, C);
            return;
        }
        const int Dir = Y % 2 == 0 ? 1 : -1;
        auto Err = [&](int Channel) {
            const int A = Cur[static_cast<std::size_t>(X + 1)][static_cast<std::size_t>(Channel)];
            const int E = A >= 0 ? (A + 8) / 16 : -((-A + 8) / 16);
            return LimitedError(Soft, Limit, E);
        };
        auto Spread = [&](int Channel, int E) {
            const auto Ch = static_cast<std::size_t>(Channel);
            Cur[static_cast<std::size_t>(X + 1 + Dir)][Ch] += 7 * E;
            Next[static_cast<std::size_t>(X + 1)][Ch] += 5 * E;
            Next[static_cast<std::size_t>(X + 1 - Dir)][Ch] += 3 * E;
            Next[static_cast<std::size_t>(X + 1 + Dir)][Ch] += 1 * E;
        };
        if (Gray) {
            const int T = std::clamp(GrayValue(C, Target.RGBWeighting()) / 3 + Err(1), 0, 255);
            const int Index = Target.NearestIndex(RGB(T, T, T));
            Target.SetPixel(X, Y, static_cast<std::uint32_t>(Index));
            Spread(1, T - GetGValue(Target.PaletteColors(Index)));
            return;
        }
        const int R = std::clamp(GetRValue(C) + Err(0), 0, 255);
        const int G = std::clamp(GetGValue(C) + Err(1), 0, 255);
        const int B = std::clamp(GetBValue(C) + Err(2), 0, 255);
        const int Index = Target.NearestIndex(RGB(R, G, B));
        Target.SetPixel(X, Y, static_cast<std::uint32_t>(Index));
        const TColor E = Target.PaletteColors(Index);
        Spread(0, R - GetRValue(E));
        Spread(1, G - GetGValue(E));
        Spread(2, B - GetBValue(E));
    }

private:
    TPixelGraphic& Target;
    bool Dithering = false;
    bool Gray = false;
    bool Soft = true;
    int Limit = 32;
    std::vector<std::array<int, 3>> Cur, Next;
};

inline bool Inside(const TPixelGraphic& I, long long X, long long Y) {
    return X >= 0 && Y >= 0 && X < I.Width() && Y < I.Height();
}

inline void CopyRect(TPixelGraphic& T, int DestX, int DestY, int W, int H, int SrcX, int SrcY,
                     const TPixelGraphic& S) {
    if (T.IsEmpty() || S.IsEmpty()) {
        return;
    }
    Writer Out(T);
    for (int Y = std::max(DestY, 0); Y <= std::min(DestY + H - 1, T.Height() - 1); ++Y) {
        const int SY = Y + SrcY - DestY;
        if (SY < 0 || SY >= S.Height()) {
            continue;
        }
        if (T.BitCount() != bc24 || S.BitCount() != bc24) {
            Out.NewRow();
        }
        for (int I = DestX; I <= DestX + W - 1; ++I) {
            const int X = Y % 2 != 0 ? DestX + DestX + W - 1 - I : I;
            const int SX = X + SrcX - DestX;
            if (Inside(T, X, Y) && Inside(S, SX, SY)) {
                Out.Put(X, Y, S.PixelColors(SX, SY));
            }
        }
    }
}

struct Span {
    std::vector<std::pair<long long, long long>> Cols; // column and weight
    long long Divisor = 1;
    bool Valid = false;
};

inline Span Record(TStretchMode Mode, long long Pos, long long S, long long D, long long I,
                   long long Extent) {
    Span R;
    auto Inside1 = [&](long long C) { return C >= 0 && C < Extent; };
    if (Mode == smFast || S == D) {
        const long long C = S == D ? Pos + I : Pos + S * I / D;
        R.Cols = {{C, 1}};
        R.Valid = Inside1(C);
        return R;
    }
    const bool Linear = (Mode == smMedium && S > D) || (Mode == smPrecise && S < D);
    if (Linear) {
        const long long U = S * (2 * I + 1);
        long long C0 = Pos + (U - D) / (2 * D), C1 = Pos + (U + D) / (2 * D);
        if (S < D && Inside1(C0) != Inside1(C1)) {
            C0 = std::clamp(C0, 0LL, Extent - 1);
            C1 = std::clamp(C1, 0LL, Extent - 1);
        }
        const long long W0 = 2 * D - (U - (2 * (C0 - Pos) + 1) * D);
        const long long W1 = 2 * D - ((2 * (C1 - Pos) + 1) * D - U);
        if (U == (2 * (C0 - Pos) + 1) * D || C0 == C1) {
            R.Cols = {{C0, 2 * D}};
        } else {
            R.Cols = {{C0, W0}, {C1, W1}};
        }
        R.Divisor = 2 * D;
        R.Valid = Inside1(C0) && Inside1(C1);
        return R;
    }
    const long long C0 = Pos + S * I / D;
    long long C1 = Pos + S * (I + 1) / D;
    if ((S * (I + 1)) % D == 0) {
        C1 -= 1;
    }
    if (C0 == C1) {
        R.Cols = {{C0, S}};
    } else {
        R.Cols.push_back({C0, D * (C0 - Pos + 1) - S * I});
        for (long long C = C0 + 1; C < C1; ++C) {
            R.Cols.push_back({C, D});
        }
        R.Cols.push_back({C1, S * (I + 1) - (C1 - Pos) * D});
    }
    R.Divisor = S;
    R.Valid = Inside1(C0) && Inside1(C1);
    return R;
}

inline void StretchRect(TPixelGraphic& T, int DestX, int DestY, int DW, int DH, int SrcX, int SrcY,
                        int SW, int SH, const TPixelGraphic& S) {
    if (DW == SW && DH == SH) {
        CopyRect(T, DestX, DestY, DW, DH, SrcX, SrcY, S);
        return;
    }
    if (T.IsEmpty() || S.IsEmpty()) {
        return;
    }
    Writer Out(T);
    for (int Y = std::max(DestY, 0); Y <= std::min(DestY + DH - 1, T.Height() - 1); ++Y) {
        Out.NewRow();
        const Span Row = Record(T.StretchMode(), SrcY, SH, DH, Y - DestY, S.Height());
        if (!Row.Valid) {
            continue;
        }
        for (int I = DestX; I <= DestX + DW - 1; ++I) {
            const int X = Y % 2 != 0 ? DestX + DestX + DW - 1 - I : I;
            if (!Inside(T, X, Y)) {
                continue;
            }
            const Span Col = Record(T.StretchMode(), SrcX, SW, DW, X - DestX, S.Width());
            if (!Col.Valid) {
                continue;
            }
            long long Total[3] = {0, 0, 0};
            for (const auto& [SY, RW] : Row.Cols) {
                long long Sum[3] = {0, 0, 0};
                for (const auto& [SX, CW] : Col.Cols) {
                    const TColor C = S.PixelColors(static_cast<int>(SX), static_cast<int>(SY));
                    Sum[0] += GetRValue(C) * CW;
                    Sum[1] += GetGValue(C) * CW;
                    Sum[2] += GetBValue(C) * CW;
                }
                for (int K = 0; K < 3; ++K) {
                    Total[K] += Sum[K] / Col.Divisor * RW;
                }
            }
            Out.Put(X, Y,
                    RGB(static_cast<int>(Total[0] / Row.Divisor),
                        static_cast<int>(Total[1] / Row.Divisor),
                        static_cast<int>(Total[2] / Row.Divisor)));
        }
    }
}

} // namespace reference
