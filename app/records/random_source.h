#pragma once

#include "platform/clock.h"

#include <cstdint>

// The pseudo-random source of the record choice: a 32-bit linear congruential generator.
class TRandomSource {
public:
    explicit TRandomSource(std::uint32_t Seed = 0) : FState(Seed) {}

    std::uint32_t Seed() const { return FState; }
    void SetSeed(std::uint32_t Value) { FState = Value; }

    // Seeds with the milliseconds since midnight, universal time, of the platform clock.
    void Randomize();

    // Steps the state (state * 134775813 + 1, modulo 2^32) and returns the upper 32 bits of the
    // 64-bit product state * Range: a value in 0..Range-1, and 0 when Range is 0.
    std::uint32_t RandomInt(std::uint32_t Range);

private:
    std::uint32_t FState;
};

// Hours * 3600000 + minutes * 60000 + seconds * 1000 + milliseconds of Time.
std::uint32_t MillisecondsSinceMidnight(const TSystemTime& Time);
