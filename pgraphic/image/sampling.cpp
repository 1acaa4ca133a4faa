#include "pgraphic/image/sampling.h"

#include <algorithm>
#include <bit>

namespace {

constexpr unsigned kDividendBits = 31;

enum class TSampling { Nearest, Linear, Area };

TSampling SamplingFor(TStretchMode Mode, long long S, long long D) {
    if (Mode == smFast || S == D) {
        return TSampling::Nearest;
    }
    const bool Shrinking = S > D;
    if (Mode == smMedium) {
        return Shrinking ? TSampling::Linear : TSampling::Area;
    }
    return Shrinking ? TSampling::Area : TSampling::Linear;
}

TPGSampleSpan Nearest(long long SrcPos, long long S, long long D, long long I) {
    TPGSampleSpan Span;
    Span.First = Span.Last = S == D ? SrcPos + I : SrcPos + S * I / D;
    return Span;
}

TPGSampleSpan Linear(long long SrcPos, long long S, long long D, long long I, long long Extent) {
    const long long U = S * (2 * I + 1);
    long long C0 = SrcPos + (U - D) / (2 * D);
    long long C1 = SrcPos + (U + D) / (2 * D);
    const auto Outside = [Extent](long long C) { return C < 0 || C >= Extent; };
    if (S < D && Outside(C0) != Outside(C1)) {
        C0 = std::clamp(C0, 0LL, Extent - 1);
        C1 = std::clamp(C1, 0LL, Extent - 1);
    }
    TPGSampleSpan Span;
    Span.First = C0;
    if (U == (2 * (C0 - SrcPos) + 1) * D || C0 == C1) {
        Span.Last = Span.First;
        Span.FirstWeight = static_cast<std::uint64_t>(2 * D);
    } else {
        Span.Last = C1;
        Span.FirstWeight = static_cast<std::uint64_t>(2 * D - (U - (2 * (C0 - SrcPos) + 1) * D));
        Span.LastWeight = static_cast<std::uint64_t>(2 * D - ((2 * (C1 - SrcPos) + 1) * D - U));
    }
    return Span;
}

TPGSampleSpan Area(long long SrcPos, long long S, long long D, long long I) {
    const long long C0 = SrcPos + S * I / D;
    long long C1 = SrcPos + S * (I + 1) / D;
    if (S * (I + 1) % D == 0) {
        --C1;
    }
    TPGSampleSpan Span;
    Span.First = C0;
    if (C0 == C1) {
        Span.Last = Span.First;
        Span.FirstWeight = static_cast<std::uint64_t>(S);
    } else {
        Span.Last = C1;
        Span.FirstWeight = static_cast<std::uint64_t>(D * (C0 - SrcPos + 1) - S * I);
        Span.MidWeight = static_cast<std::uint64_t>(D);
        Span.LastWeight = static_cast<std::uint64_t>(S * (I + 1) - (C1 - SrcPos) * D);
    }
    return Span;
}

} // namespace

TPGDivider::TPGDivider(std::uint64_t Divisor) : FDivisor(std::max<std::uint64_t>(Divisor, 1)) {
    // floor(N * M / 2^K) = floor(N / d) for every N < 2^31 when K = 31 + ceil(log2 d) and
    // M = floor(2^K / d) + 1. Used only when every dividend (at most 255 * d) stays below 2^31.
    if (FDivisor > 1 && 255 * FDivisor < (1ULL << kDividendBits)) {
        const unsigned Log = static_cast<unsigned>(std::bit_width(FDivisor - 1));
        FShift = kDividendBits + Log;
        FMultiplier = (1ULL << FShift) / FDivisor + 1;
    }
}

TPGAxisSampling BuildAxisSampling(TStretchMode Mode, long long SrcPos, long long SrcSize,
                                  long long DestSize, long long FirstI, long long LastI,
                                  long long SourceExtent) {
    TPGAxisSampling Result;
    if (LastI < FirstI) {
        return Result;
    }
    Result.Spans.resize(static_cast<std::size_t>(LastI - FirstI + 1));
    if (SrcSize <= 0 || DestSize <= 0) {
        return Result; // nothing to sample: every span stays invalid
    }
    const TSampling Kind = SamplingFor(Mode, SrcSize, DestSize);
    Result.Divide =
        TPGDivider(Kind == TSampling::Nearest  ? 1
                   : Kind == TSampling::Linear ? static_cast<std::uint64_t>(2 * DestSize)
                                               : static_cast<std::uint64_t>(SrcSize));
    for (long long I = FirstI; I <= LastI; ++I) {
        TPGSampleSpan Span = Kind == TSampling::Nearest ? Nearest(SrcPos, SrcSize, DestSize, I)
                             : Kind == TSampling::Linear
                                 ? Linear(SrcPos, SrcSize, DestSize, I, SourceExtent)
                                 : Area(SrcPos, SrcSize, DestSize, I);
        Span.Valid = Span.First >= 0 && Span.Last >= 0 && Span.First < SourceExtent &&
                     Span.Last < SourceExtent;
        Result.Spans[static_cast<std::size_t>(I - FirstI)] = Span;
    }
    return Result;
}
