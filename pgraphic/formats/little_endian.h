#pragma once

#include <cstdint>

// 16-bit fields of file headers stored low byte first.

inline std::uint16_t GetLE16(const std::uint8_t* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}

inline void PutLE16(std::uint8_t* P, std::uint16_t Value) {
    P[0] = static_cast<std::uint8_t>(Value);
    P[1] = static_cast<std::uint8_t>(Value >> 8);
}
