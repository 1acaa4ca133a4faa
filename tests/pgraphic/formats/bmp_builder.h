#pragma once

// Builds BMP files byte by byte for tests, so that every field can be set as a hostile or
// unusual file would.

#include <cstdint>
#include <string>
#include <vector>

struct TBmpBuilder {
    std::vector<std::uint8_t> Bytes;

    TBmpBuilder& U8(std::uint32_t V) {
        Bytes.push_back(static_cast<std::uint8_t>(V));
        return *this;
    }
    TBmpBuilder& U16(std::uint32_t V) { return U8(V).U8(V >> 8); }
    TBmpBuilder& U32(std::uint32_t V) { return U16(V).U16(V >> 16); }
    TBmpBuilder& Raw(const std::vector<std::uint8_t>& V) {
        Bytes.insert(Bytes.end(), V.begin(), V.end());
        return *this;
    }
    TBmpBuilder& FileHeader() { return U8('B').U8('M').U32(0).U32(0).U32(0); }
    TBmpBuilder& InfoHeader(std::int32_t Width, std::int32_t Height, int Bits,
                            std::uint32_t Compression = 0, std::uint32_t SizeImage = 0,
                            std::uint32_t ClrUsed = 0, int Planes = 1) {
        return U32(40)
            .U32(static_cast<std::uint32_t>(Width))
            .U32(static_cast<std::uint32_t>(Height))
            .U16(static_cast<std::uint32_t>(Planes))
            .U16(static_cast<std::uint32_t>(Bits))
            .U32(Compression)
            .U32(SizeImage)
            .U32(0)
            .U32(0)
            .U32(ClrUsed)
            .U32(0);
    }
    TBmpBuilder& CoreHeader(int Width, int Height, int Bits, int Planes = 1) {
        return U32(12)
            .U16(static_cast<std::uint32_t>(Width))
            .U16(static_cast<std::uint32_t>(Height))
            .U16(static_cast<std::uint32_t>(Planes))
            .U16(static_cast<std::uint32_t>(Bits));
    }
    // A 4-byte palette entry.
    TBmpBuilder& Color(int R, int G, int B) {
        return U8(static_cast<std::uint32_t>(B))
            .U8(static_cast<std::uint32_t>(G))
            .U8(static_cast<std::uint32_t>(R))
            .U8(0);
    }
};
