#pragma once

// File structures of TIFF, shared by the reader and the writer.

#include "pgraphic/formats/format_failure.h"
#include "pgraphic/image/pg_types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tiff {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;
constexpr std::uint16_t kMagic = 42;

enum TTag : std::uint16_t {
    tagNewSubfileType = 254,
    tagImageWidth = 256,
    tagImageLength = 257,
    tagBitsPerSample = 258,
    tagCompression = 259,
    tagPhotometricInterpretation = 262,
    tagStripOffsets = 273,
    tagSamplesPerPixel = 277,
    tagRowsPerStrip = 278,
    tagStripByteCounts = 279,
    tagXResolution = 282,
    tagYResolution = 283,
    tagPlanarConfiguration = 284,
    tagResolutionUnit = 296,
    tagColorMap = 320,
};

enum TFieldType : std::uint16_t { ftByte = 1, ftShort = 3, ftLong = 4, ftRational = 5 };

enum TCompression : std::uint32_t {
    cmpNone = 1,
    cmpCCITT1D = 2,
    cmpGroup3Fax = 3,
    cmpGroup4Fax = 4,
    cmpLZW = 5,
    cmpJPEG = 6,
    cmpPackBits = 32773,
};

enum TPhotometric : std::uint32_t {
    phWhiteIsZero = 0,
    phBlackIsZero = 1,
    phRGB = 2,
    phPalette = 3,
    phSeparated = 5,
};

// Numbers in the file's byte order.
struct TByteOrder {
    bool BigEndian = false;

    std::uint16_t Get16(const std::uint8_t* P) const {
        return static_cast<std::uint16_t>(BigEndian ? (P[0] << 8) | P[1] : P[0] | (P[1] << 8));
    }
    std::uint32_t Get32(const std::uint8_t* P) const {
        const std::uint32_t A = Get16(P), B = Get16(P + 2);
        return BigEndian ? (A << 16) | B : A | (B << 16);
    }
    void Put16(std::uint8_t* P, std::uint32_t V) const {
        const auto Hi = static_cast<std::uint8_t>(V >> 8), Lo = static_cast<std::uint8_t>(V);
        P[0] = BigEndian ? Hi : Lo;
        P[1] = BigEndian ? Lo : Hi;
    }
    void Put32(std::uint8_t* P, std::uint32_t V) const {
        Put16(P + (BigEndian ? 2 : 0), V);
        Put16(P + (BigEndian ? 0 : 2), V >> 16);
    }
};

// What the reader takes from one image file directory.
struct TDirectory {
    TByteOrder Order;
    std::int64_t Base = 0; // stream position of the header: offsets count from here
    int ImageCount = 1;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint32_t> BitsPerSample;
    std::uint32_t Compression = 0;
    std::uint32_t Photometric = 0;
    std::uint32_t SamplesPerPixel = 0;
    std::uint32_t RowsPerStrip = 0;
    std::vector<std::uint32_t> StripOffsets;
    std::vector<std::uint32_t> StripByteCounts;
    // Colours of the colour map that an image can index, as many as the map has up to 256.
    std::vector<TColor> ColorMap;
};

// The reader's and the writer's failures: "TIFF: " and the message.
inline constexpr TPGFormatFailure FailRead{"TIFF: ", PGFailureOf<EPGTIFFileFormatReader>};
inline constexpr TPGFormatFailure FailWrite{"TIFF: ", PGFailureOf<EPGTIFFileFormatWriter>};

} // namespace tiff
