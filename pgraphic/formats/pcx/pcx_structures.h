#pragma once

// The file header of PCX files and the failures of the reader.

#include "pgraphic/formats/format_failure.h"

#include <cstddef>
#include <cstdint>

class TPGBufferedInput;

namespace pcx {

constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kManufacturer = 0x0A;
// The 256-colour palette closes the file: the marker and 256 entries of red, green, blue.
constexpr std::uint8_t kPaletteMarker = 0x0C;
constexpr std::int64_t kPaletteBlockSize = 1 + 256 * 3;
// Longest run one code byte can give.
constexpr std::size_t kMaxRun = 0x3F;

struct TPCXHeader {
    std::uint8_t Version = 0;
    std::uint8_t BitsPerPlane = 0;
    std::uint16_t XMin = 0, YMin = 0, XMax = 0, YMax = 0;
    std::uint8_t Palette16[48] = {};
    std::uint8_t Reserved = 0;
    std::uint8_t Planes = 0;
    std::uint16_t BytesPerLine = 0;
    std::uint16_t PaletteInfo = 0;

    int Width() const { return XMax - XMin + 1; }
    int Height() const { return YMax - YMin + 1; }
    int BitsPerPixel() const { return Planes * BitsPerPlane; }
    // Bytes of one encoded row: all planes one after the other.
    std::size_t ScanLineSize() const { return std::size_t{Planes} * BytesPerLine; }
};

// The reader's failures: "PCX: " and the message.
inline constexpr TPGFormatFailure Fail{"PCX: ", PGFailureOf<EPGPCXFileFormatReader>};

// Reads the 128-byte header and checks the fields every use of it requires (palette
// information 1, reserved byte 0).
TPCXHeader ReadHeader(TPGBufferedInput& Input);

} // namespace pcx
