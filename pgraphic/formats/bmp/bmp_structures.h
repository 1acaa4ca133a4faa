#pragma once

// File structures of device-independent bitmaps, shared by the reader and the writer.

#include "core/stream.h"

#include <array>
#include <cstdint>

namespace bmp {

constexpr std::uint16_t kSignature = 0x4D42; // "BM"
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

enum TCompression : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

inline std::uint16_t Get16(const std::uint8_t* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}
inline std::uint32_t Get32(const std::uint8_t* P) {
    return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
           (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}
inline void Put16(std::uint8_t* P, std::uint32_t V) {
    P[0] = static_cast<std::uint8_t>(V);
    P[1] = static_cast<std::uint8_t>(V >> 8);
}
inline void Put32(std::uint8_t* P, std::uint32_t V) {
    Put16(P, V);
    Put16(P + 2, V >> 16);
}

// Reads Size bytes; bytes the stream does not have count as zero (cut headers).
template <std::size_t Size>
std::array<std::uint8_t, Size> ReadZeroFilled(TStream& Stream) {
    std::array<std::uint8_t, Size> Bytes{};
    Stream.Read(Bytes.data(), static_cast<std::int64_t>(Size));
    return Bytes;
}

// The fields of either header kind that the reader needs.
struct TDIBHeader {
    bool Core = false;
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: rows stored top-down
    std::uint32_t Planes = 0;
    std::uint32_t BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t SizeImage = 0;
    std::uint32_t ClrUsed = 0;
};

} // namespace bmp
