#pragma once

#include <cstdint>

// Fields of file headers and memory blocks stored low byte first.

inline std::uint16_t GetLE16(const std::uint8_t* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}

inline std::uint32_t GetLE32(const std::uint8_t* P) {
    return static_cast<std::uint32_t>(GetLE16(P)) | static_cast<std::uint32_t>(GetLE16(P + 2))
                                                        << 16;
}

// Stores the low 16 bits of Value.
inline void PutLE16(std::uint8_t* P, std::uint32_t Value) {
    P[0] = static_cast<std::uint8_t>(Value);
    P[1] = static_cast<std::uint8_t>(Value >> 8);
}

inline void PutLE32(std::uint8_t* P, std::uint32_t Value) {
    PutLE16(P, Value);
    PutLE16(P + 2, Value >> 16);
}
