#pragma once

#include "pgraphic/image/pg_types.h"

#include <cstdint>
#include <vector>

// Exact unsigned division by a divisor fixed for a whole copy, by multiplication and shift when
// the dividends are known to stay below 2^31 (they are sums of 8-bit channels times weights that
// add up to the divisor), else by plain division.
class TPGDivider {
public:
    explicit TPGDivider(std::uint64_t Divisor = 1);
    std::uint64_t operator()(std::uint64_t N) const {
        if (FShift != 0) {
            return (N * FMultiplier) >> FShift;
        }
        return FDivisor == 1 ? N : N / FDivisor;
    }
    std::uint64_t Divisor() const { return FDivisor; }

private:
    std::uint64_t FDivisor;
    std::uint64_t FMultiplier = 0;
    unsigned FShift = 0;
};

// The source columns (or rows) one destination column (or row) reads and their weights: First
// with FirstWeight; when Last differs, the ones between with MidWeight and Last with LastWeight.
struct TPGSampleSpan {
    std::int64_t First = 0;
    std::int64_t Last = 0;
    std::uint64_t FirstWeight = 1;
    std::uint64_t MidWeight = 0;
    std::uint64_t LastWeight = 0;
    bool Valid = false;
};

// Sampling of one axis: a span per destination position of a range, and the divisor of the
// weighted sums.
struct TPGAxisSampling {
    std::vector<TPGSampleSpan> Spans;
    TPGDivider Divide;
};

// Spans for destination positions I = FirstI..LastI (relative to the destination rectangle) when
// SrcSize source positions starting at SrcPos are scaled to DestSize ones; SourceExtent is the
// size of the source image along the axis. smFast (or equal sizes) takes the nearest sample;
// linear interpolation serves smMedium shrinking and smPrecise enlarging; area averaging serves
// smPrecise shrinking and smMedium enlarging.
TPGAxisSampling BuildAxisSampling(TStretchMode Mode, long long SrcPos, long long SrcSize,
                                  long long DestSize, long long FirstI, long long LastI,
                                  long long SourceExtent);
