#pragma once

// File structures of device-independent bitmaps, shared by the reader and the writer.

#include "core/little_endian.h"
#include "core/stream.h"

#include <array>
#include <cstdint>

namespace bmp {

constexpr std::uint16_t kSignature = 0x4D42; // "BM"
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

enum TCompression : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

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
