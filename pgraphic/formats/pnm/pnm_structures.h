#pragma once

// The variants of the portable anymap formats, the header number reader and the failures,
// shared by the reader and the writer.

#include "pgraphic/formats/format_failure.h"
#include "pgraphic/image/pg_types.h"

#include <cstdint>

class TPGBufferedInput;

namespace pnm {

// What a variant digit stands for.
struct TVariant {
    char Digit = 0;
    bool Raw = false; // '4' to '6': binary samples
    int Samples = 1;  // per pixel: 3 for pixmaps
    TPGBitCount Format = bc1;
    bool HasMaxValue() const { return Format != bc1; }
    int BitsPerPixel() const { return Format == bc1 ? 1 : Format == bc8 ? 8 : 24; }
};

// The variant of a digit '1' to '6'; false for any other character.
bool VariantOf(std::uint8_t Digit, TVariant& Variant);

// The readers' and the writers' failures: "PBM, PGM, PPM: " and the message; an index error of
// ReadImage says "PxM: " instead, a writer given the wrong colours its extension ("PGM: ").
inline constexpr TPGFormatFailure FailRead{"PBM, PGM, PPM: ", PGFailureOf<EPGPxMFileFormatReader>};
inline constexpr TPGFormatFailure FailWrite{"PBM, PGM, PPM: ", PGFailureOf<EPGPxMFileFormatWriter>};

// Numbers that do not fit a 32-bit unsigned value read as this one.
constexpr std::uint64_t kNumberTooLarge = std::uint64_t{1} << 32;

// The next decimal number: non-digits before it are skipped, '#' starts a comment that runs to
// the next line feed, and the first character after the digits is consumed. The end of the
// data right after the digits ends the number too.
std::uint64_t ReadNumber(TPGBufferedInput& Input);

// A header number; one too large for a 32-bit signed value is "Not supported subformat".
int ReadHeaderNumber(TPGBufferedInput& Input);

// 'P' and the variant digit.
TVariant ReadMagic(TPGBufferedInput& Input);

} // namespace pnm
