#pragma once

// The file header of Targa files and the reader's failures, shared by the reader and the writer.

#include "pgraphic/formats/format_failure.h"
#include "pgraphic/image/pg_types.h"

#include <cstddef>
#include <cstdint>

class TStream;

namespace tga {

constexpr std::size_t kHeaderSize = 18;

enum TImageType : std::uint8_t {
    itColorMapped = 1,
    itTrueColor = 2,
    itBlackWhite = 3,
    itRunLength = 8, // the bit that marks run-length encoding
};

enum TDescriptor : std::uint8_t {
    dRightToLeft = 0x10,
    dTopDown = 0x20,
};

struct TTGAHeader {
    std::uint8_t IdLength = 0;
    std::uint8_t ColorMapType = 0;
    std::uint8_t ImageType = 0;
    std::uint16_t FirstEntry = 0;
    std::uint16_t ColorMapLength = 0;
    std::uint8_t EntrySize = 0; // bits
    std::uint16_t XOrigin = 0, YOrigin = 0;
    std::uint16_t Width = 0, Height = 0;
    std::uint8_t Depth = 0; // bits per pixel
    std::uint8_t Descriptor = 0;

    bool RunLength() const { return (ImageType & itRunLength) != 0; }
    bool RightToLeft() const { return (Descriptor & dRightToLeft) != 0; }
    bool TopDown() const { return (Descriptor & dTopDown) != 0; }
    std::size_t BytesPerPixel() const { return Depth / 8u; }
    // Bytes of one colour-map entry: the entry size rounded up to whole bytes.
    std::size_t EntryBytes() const { return (EntrySize + 7u) / 8u; }
    std::int64_t ColorMapBytes() const {
        return std::int64_t{ColorMapLength} * static_cast<std::int64_t>(EntryBytes());
    }
};

// Reads the header at the stream's position; a short file raises the stream read error.
TTGAHeader ReadHeader(TStream& Stream);
void WriteHeader(TStream& Stream, const TTGAHeader& Header);

// A pixel or colour-map entry of 2, 3 or 4 bytes as a colour: 16 bits are five bits each of
// red, green, blue; 24 and 32 bits are blue, green, red (and a byte that is ignored).
inline TColor DecodeColor(const std::uint8_t* P, std::size_t Bytes) {
    if (Bytes == 2) {
        const unsigned W = P[0] | (unsigned{P[1]} << 8);
        return RGB(static_cast<std::uint8_t>((W & 0x7C00) >> 7),
                   static_cast<std::uint8_t>((W & 0x03E0) >> 2),
                   static_cast<std::uint8_t>((W & 0x001F) << 3));
    }
    return RGB(P[2], P[1], P[0]);
}

// The reader's and the writer's failures: "TGA: " and the message.
inline constexpr TPGFormatFailure Fail{"TGA: ", PGFailureOf<EPGTGAFileFormatReader>};
inline constexpr TPGFormatFailure FailWrite{"TGA: ", PGFailureOf<EPGTGAFileFormatWriter>};

} // namespace tga
